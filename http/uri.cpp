#include "http/uri.h"

#include "http/text_tokens.h"

TNetURI::TNetURI(const AnsiString& AURI) {
  if (!AURI.empty()) SplitURI(AURI);
}

void TNetURI::NormalizeSlashes(AnsiString& AText) {
  for (size_t i = 0; i < AText.size(); ++i) {
    if (IsLeadByte(AText[i])) {
      ++i;
    } else if (AText[i] == '\\') {
      AText[i] = '/';
    }
  }
}

namespace {

// Splits the path, document and parameters of text into the URI's fields;
// absolute paths receive a leading "/".
void SplitPathPart(TNetURI& uri, const AnsiString& text, bool absolute) {
  int q = Pos("?", text);
  if (q == 0) q = Pos("=", text);
  // The last "/" at or before q, or in the whole text when q is 0.
  const size_t limit = q == 0 ? AnsiString::npos : static_cast<size_t>(q - 1);
  const size_t slash = text.rfind('/', limit);
  const size_t s = slash == AnsiString::npos ? 0 : slash + 1;
  uri.PathPart = (absolute ? "/" : "") + text.substr(0, s);
  AnsiString document;
  if (q == 0) {
    document = text;
  } else {
    document = text.substr(0, static_cast<size_t>(q - 1));
    uri.ParamsPart = text.substr(static_cast<size_t>(q - 1));
  }
  uri.DocumentPart = document.substr(std::min(s, document.size()));
}

}  // namespace

void TNetURI::SplitURI(const AnsiString& AURI) {
  DocumentPart.clear();
  Scheme.clear();
  PortText.clear();
  PathPart.clear();
  HostName.clear();
  FragmentPart.clear();
  LoginName.clear();
  LoginPassword.clear();
  ParamsPart.clear();
  UriText = AURI;
  NormalizeSlashes(UriText);
  AnsiString work = UriText;
  const int p = Pos("://", work);
  if (p > 0) {
    Scheme = work.substr(0, static_cast<size_t>(p - 1));
    work.erase(0, static_cast<size_t>(p + 2));
    AnsiString authority = CutToken(work, "/");
    const int at = Pos("@", authority);
    if (at > 0) {
      AnsiString user = authority.substr(0, static_cast<size_t>(at - 1));
      authority.erase(0, static_cast<size_t>(at));
      LoginName = CutToken(user, ":");
      LoginPassword = user;
      if (LoginName.empty()) LoginPassword.clear();
    }
    HostName = CutToken(authority, ":");
    PortText = authority;
    SplitPathPart(*this, work, true);
    const int hash = Pos("#", DocumentPart);
    if (hash > 0) {
      FragmentPart = DocumentPart.substr(static_cast<size_t>(hash));
      DocumentPart.resize(static_cast<size_t>(hash - 1));
    }
  } else {
    SplitPathPart(*this, work, false);
  }
  if (FragmentPart.empty()) {
    const int hash = Pos("#", ParamsPart);
    if (hash > 0) {
      FragmentPart = ParamsPart.substr(static_cast<size_t>(hash));
      ParamsPart.resize(static_cast<size_t>(hash - 1));
    }
  }
}

AnsiString TNetURI::ComposeURI(TNetURIOptions AOptions) const {
  if (Scheme.empty()) throw ENetURIException("Protocol field is empty");
  AnsiString text = Scheme + "://";
  if (AOptions.IncludeLogin && !LoginName.empty()) {
    text += LoginName;
    if (!LoginPassword.empty()) text += ":" + LoginPassword;
    text += "@";
  }
  if (HostName.empty()) throw ENetURIException("Host field is empty");
  text += HostName;
  if (!PortText.empty()) text += ":" + PortText;
  text += PathPart + DocumentPart + ParamsPart;
  if (AOptions.IncludeFragment && !FragmentPart.empty()) text += "#" + FragmentPart;
  return text;
}

AnsiString TNetURI::RecomposeURI() {
  const AnsiString full = ComposeURI({true, true});
  const AnsiString plain = ComposeURI({});
  UriText = full;
  return plain;
}

AnsiString MergePath(const AnsiString& ABase, const AnsiString& ARelative, const AnsiString& ASep) {
  if (ASep.empty()) return ABase + ARelative;
  if (ARelative.compare(0, ASep.size(), ASep) == 0) return ARelative;
  const bool relativeEndsWithSep =
      ARelative.empty() ||
      (ARelative.size() >= ASep.size() &&
       ARelative.compare(ARelative.size() - ASep.size(), ASep.size(), ASep) == 0);
  auto endsWithSep = [&](const AnsiString& s) {
    return s.size() >= ASep.size() && s.compare(s.size() - ASep.size(), ASep.size(), ASep) == 0;
  };
  AnsiString work = ABase;
  if (!ABase.empty() && !endsWithSep(ABase)) work += ASep;
  work += ARelative;
  AnsiString result;
  size_t i = 0;
  while (i < work.size()) {
    if (work.compare(i, ASep.size(), ASep) == 0) {
      if (i == 0) {
        result = ASep;
      } else if (!endsWithSep(result)) {
        result += ASep;
      }
      i += ASep.size();
    } else if (work[i] == '.' && endsWithSep(result) && work.compare(i, 2, "..") == 0) {
      // One segment up: drop the trailing separator and the segment before it.
      result.resize(result.size() - ASep.size());
      while (!result.empty() && !endsWithSep(result)) result.pop_back();
      i += 2;
    } else {
      result += work[i];
      ++i;
    }
  }
  if (result != ASep && endsWithSep(result) && !relativeEndsWithSep) {
    result.resize(result.size() - ASep.size());
  }
  return result;
}
