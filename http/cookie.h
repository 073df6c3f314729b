#pragma once
// One cookie as a server set it. TNetNetscapeCookie holds name, value, path,
// expiry, domain and the secure flag; TNetCookieRFC2109 (made for
// "Set-Cookie") adds max-age, version and comment; TNetCookieRFC2965 (made
// for "Set-Cookie2") adds the comment URL, the discard flag and the ports.
//
//   TNetCookieRFC2109 c;
//   c.SetCookieText("SID=42; path=/; domain=.example.org");
//   c.DomainMatches("www.example.org");   // true
//   c.FormatClientCookie();               // "SID=42"

#include <cstdint>
#include <vector>

#include "core/ansistring.h"
#include "core/stringlist.h"

class TNetNetscapeCookie {
 public:
  TNetNetscapeCookie() = default;
  virtual ~TNetNetscapeCookie() = default;
  TNetNetscapeCookie(const TNetNetscapeCookie&) = delete;
  TNetNetscapeCookie& operator=(const TNetNetscapeCookie&) = delete;

  virtual AnsiString FormatServerCookie() const;
  virtual void SetExpiresText(const AnsiString& AText) { ExpiresText = AText; }
  AnsiString ServerCookieText() const { return FormatServerCookie(); }
  virtual AnsiString FormatClientCookie() const { return CookieName + "=" + CookieValue; }
  virtual void LoadAttributes(const TStringList& AAttributes);
  // Whether the cookie may belong to the host: the domain is the host
  // itself or a whole-label suffix of it.
  virtual bool DomainMatches(const AnsiString& AHost) const;
  virtual void Assign(const TNetNetscapeCookie& ASource);

  // Parses a Set-Cookie value; the same text twice does nothing.
  void SetCookieText(const AnsiString& AText);

  AnsiString CookieText;
  AnsiString CookieDomain;
  AnsiString ExpiresText;
  AnsiString CookieName;
  AnsiString CookiePath;
  bool IsSecure = false;
  AnsiString CookieValue;
  uint8_t CookieStyle = 0;
};

class TNetCookieRFC2109 : public TNetNetscapeCookie {
 public:
  TNetCookieRFC2109() { CookieStyle = 1; }
  AnsiString FormatServerCookie() const override;
  // Also derives MaxAgeSeconds from the date.
  void SetExpiresText(const AnsiString& AText) override;
  void LoadAttributes(const TStringList& AAttributes) override;

  int64_t MaxAgeSeconds = -1;
  AnsiString CookieVersion;
  AnsiString CookieComment;
};

class TNetCookieRFC2965 : public TNetCookieRFC2109 {
 public:
  TNetCookieRFC2965() { CookieStyle = 2; }
  void LoadAttributes(const TStringList& AAttributes) override;
  // Raises ENetException "Index out of range." for an index below 0 or more
  // than one past the end; one past the end appends.
  void SetAllowedPort(int AIndex, int32_t APort);

  AnsiString CommentAddress;
  bool DiscardFlag = false;
  std::vector<int32_t> AllowedPorts;
};

// "; " (when AText is not empty) and AName=AValue, only for a non-empty
// value.
void AppendAttribute(const AnsiString& AName, const AnsiString& AValue, AnsiString& AText);
void AppendFlag(const AnsiString& AFlag, AnsiString& AText);
bool IsDottedQuad(const AnsiString& AText);
bool IsPlainHostName(const AnsiString& AText);
AnsiString DomainOfHost(const AnsiString& AHost);
AnsiString RightPart(const AnsiString& AText, size_t ACount);
