#pragma once
// TNetURI: a URL split into its parts (protocol, user information, host,
// port, path, document, parameters, fragment) and composed again. Purely
// textual: nothing is validated, encoded or decoded, and no defaults apply.
//
//   TNetURI uri("http://host:8080/a/b/c.cgi?x=1#top");
//   uri.HostName == "host"; uri.PathPart == "/a/b/"; uri.DocumentPart == "c.cgi";
//   AnsiString plain = uri.ComposeURI({});   // without user information and fragment

#include "core/ansistring.h"
#include "net/exceptions.h"

QD_DECLARE_EXCEPTION(ENetURIException, ENetException);

struct TNetURIOptions {
  bool IncludeLogin = false;
  bool IncludeFragment = false;
};

class TNetURI {
 public:
  explicit TNetURI(const AnsiString& AURI = AnsiString());

  // Clears every field and splits the text.
  void SplitURI(const AnsiString& AURI);
  // Raises ENetURIException "Protocol field is empty" or "Host field is
  // empty".
  AnsiString ComposeURI(TNetURIOptions AOptions) const;
  // Keeps the full form in UriText and returns the form without user
  // information and fragment.
  AnsiString RecomposeURI();
  // Every backslash becomes a slash.
  static void NormalizeSlashes(AnsiString& AText);

  AnsiString DocumentPart;
  AnsiString Scheme;
  AnsiString UriText;
  AnsiString PortText;
  AnsiString PathPart;
  AnsiString HostName;
  AnsiString FragmentPart;
  AnsiString LoginName;
  AnsiString LoginPassword;
  AnsiString ParamsPart;
};

// Merges a relative path into a base path: /a/b/ with ../c gives /a/c.
AnsiString MergePath(const AnsiString& ABase, const AnsiString& ARelative,
                     const AnsiString& ASep = "/");
