#include "http/cookie.h"

#include <cmath>
#include <optional>

#include "core/convert.h"
#include "core/decimal.h"
#include "http/internet_date.h"
#include "http/text_tokens.h"
#include "net/exceptions.h"
#include "platform/codepage.h"

namespace {

// The value of the first line NAME=value whose name equals AName without
// regard to case; empty when there is none.
AnsiString ValueOf(const TStringList& list, const AnsiString& name) {
  for (int i = 0; i < list.Count(); ++i) {
    const AnsiString& line = list[i];
    const size_t eq = line.find('=');
    if (eq != AnsiString::npos && SameText(std::string_view(line).substr(0, eq), name)) {
      return line.substr(eq + 1);
    }
  }
  return AnsiString();
}

bool HasLine(const TStringList& list, const AnsiString& text) {
  for (int i = 0; i < list.Count(); ++i) {
    if (list[i] == text) return true;
  }
  return false;
}

// The "Max-Age" value as a number of seconds.
constexpr TDecimalRule kSeconds{-999999999999999999, 999999999999999999, true};

// Dates further out than this many seconds are written as this far out, so
// that no lifetime leaves the range of the date-time type.
constexpr int64_t kLongestLifetime = int64_t{100} * 366 * 86400;

}  // namespace

void AppendAttribute(const AnsiString& AName, const AnsiString& AValue, AnsiString& AText) {
  if (AValue.empty()) return;
  if (!AText.empty()) AText += "; ";
  AText += AName + "=" + AValue;
}

void AppendFlag(const AnsiString& AFlag, AnsiString& AText) {
  if (!AText.empty()) AText += "; ";
  AText += AFlag;
}

bool IsDottedQuad(const AnsiString& AText) {
  AnsiString rest = Trim(AText);
  for (int part = 0; part < 4; ++part) {
    if (rest.empty()) return false;
    const AnsiString piece = CutToken(rest, ".");
    if (piece.size() > 3 || !ParseDecimal(piece, {0, 255})) return false;
  }
  return true;
}

bool IsPlainHostName(const AnsiString& AText) {
  return !(!AText.empty() && AText[0] == '.') && !IsDottedQuad(AText);
}

AnsiString DomainOfHost(const AnsiString& AHost) {
  const size_t dot = AHost.find('.');
  return dot == AnsiString::npos ? AHost : AHost.substr(dot);
}

AnsiString RightPart(const AnsiString& AText, size_t ACount) {
  return ACount >= AText.size() ? AText : AText.substr(AText.size() - ACount);
}

void TNetNetscapeCookie::SetCookieText(const AnsiString& AText) {
  if (AText == CookieText) return;
  CookieText = AText;
  TStringList pieces;
  if (AText.find(';') == AnsiString::npos) {
    pieces.SetText(AText);
  } else {
    AnsiString rest = AText;
    while (rest.find(';') != AnsiString::npos) pieces.Add(Trim(CutToken(rest, ";")));
    if (!rest.empty()) pieces.Add(Trim(rest));
  }
  CookieName.clear();
  CookieValue.clear();
  TStringList attributes;
  for (int i = 0; i < pieces.Count(); ++i) {
    const AnsiString& line = pieces[i];
    const size_t eq = line.find('=');
    if (i == 0) {
      // A cookie without "=" has an empty name and the whole text as value.
      CookieName = eq == AnsiString::npos ? AnsiString() : line.substr(0, eq);
      CookieValue = eq == AnsiString::npos ? line : line.substr(eq + 1);
    } else if (eq != AnsiString::npos) {
      const AnsiString name = UpperCase(line.substr(0, eq));
      attributes.Add(name + "=" + ValueOf(pieces, name));
    } else {
      attributes.Add(UpperCase(line));
    }
  }
  LoadAttributes(attributes);
}

void TNetNetscapeCookie::LoadAttributes(const TStringList& AAttributes) {
  AnsiString path = ValueOf(AAttributes, "PATH");
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  if (!path.empty() && path.back() == '"') path.pop_back();
  CookiePath = path;
  SetExpiresText(ValueOf(AAttributes, "EXPIRES"));
  CookieDomain = ValueOf(AAttributes, "DOMAIN");
  IsSecure = HasLine(AAttributes, "SECURE");
}

bool TNetNetscapeCookie::DomainMatches(const AnsiString& AHost) const {
  if (IsDottedQuad(AHost)) return CookieDomain == AHost;
  if (!IsPlainHostName(AHost)) return SameText(CookieDomain, DomainOfHost(AHost));
  if (IsPlainHostName(CookieDomain)) {
    // The domain must be the host or end it at a label boundary, so that a
    // domain "example.org" never matches the host "badexample.org".
    if (AHost == CookieDomain) return true;
    return !CookieDomain.empty() && AHost.size() > CookieDomain.size() &&
           RightPart(AHost, CookieDomain.size() + 1) == "." + CookieDomain;
  }
  // A domain with a leading dot is compared with the host's own domain,
  // which begins with a dot as well, so the match ends at a label boundary.
  return CookieDomain == RightPart(DomainOfHost(AHost), CookieDomain.size());
}

void TNetNetscapeCookie::Assign(const TNetNetscapeCookie& ASource) {
  if (&ASource == this) return;
  CookieText = ASource.CookieText;
  CookieDomain = ASource.CookieDomain;
  ExpiresText = ASource.ExpiresText;
  CookieName = ASource.CookieName;
  CookiePath = ASource.CookiePath;
  IsSecure = ASource.IsSecure;
  CookieValue = ASource.CookieValue;
  CookieStyle = ASource.CookieStyle;
}

AnsiString TNetNetscapeCookie::FormatServerCookie() const {
  AnsiString text;
  if (!CookieValue.empty()) text = CookieName + "=" + CookieValue;
  AppendAttribute("path", CookiePath, text);
  if (CookieStyle == 0) AppendAttribute("expires", ExpiresText, text);
  AppendAttribute("domain", CookieDomain, text);
  if (IsSecure) AppendFlag("secure", text);
  return text;
}

AnsiString TNetCookieRFC2109::FormatServerCookie() const {
  AnsiString text = TNetNetscapeCookie::FormatServerCookie();
  if (MaxAgeSeconds >= 0 && ExpiresText.empty()) {
    AppendAttribute("max-age", IntToStr(MaxAgeSeconds), text);
  }
  AppendAttribute("comment", CookieComment, text);
  AppendAttribute("version", CookieVersion, text);
  return text;
}

void TNetCookieRFC2109::SetExpiresText(const AnsiString& AText) {
  if (!AText.empty()) {
    try {
      const double seconds = std::trunc((InternetDateToLocal(AText) - LocalNow()) * 86400.0);
      if (std::isfinite(seconds) && std::abs(seconds) < 9.0e18) {
        MaxAgeSeconds = static_cast<int64_t>(seconds);
      }
    } catch (const Exception&) {
      // The lifetime is only informative; the date text is what counts.
    }
  }
  ExpiresText = AText;
}

void TNetCookieRFC2109::LoadAttributes(const TStringList& AAttributes) {
  TNetNetscapeCookie::LoadAttributes(AAttributes);
  MaxAgeSeconds = ParseDecimal(ValueOf(AAttributes, "MAX-AGE"), kSeconds).value_or(-1);
  CookieVersion = ValueOf(AAttributes, "VERSION");
  CookieComment = ValueOf(AAttributes, "COMMENT");
  if (ExpiresText.empty()) {
    CookieStyle = 0;
    if (MaxAgeSeconds >= 0) {
      const int64_t seconds = std::min(MaxAgeSeconds, kLongestLifetime);
      const int64_t kept = MaxAgeSeconds;
      SetExpiresText(FormatInternetDate(LocalNow() + static_cast<double>(seconds) / 86400.0));
      // The lifetime the server gave stays as it was sent.
      MaxAgeSeconds = kept;
    }
  }
}

void TNetCookieRFC2965::SetAllowedPort(int AIndex, int32_t APort) {
  if (AIndex < 0 || AIndex > static_cast<int>(AllowedPorts.size())) {
    throw ENetException("Index out of range.");
  }
  if (AIndex == static_cast<int>(AllowedPorts.size())) {
    AllowedPorts.push_back(APort);
  } else {
    AllowedPorts[static_cast<size_t>(AIndex)] = APort;
  }
}

void TNetCookieRFC2965::LoadAttributes(const TStringList& AAttributes) {
  TNetCookieRFC2109::LoadAttributes(AAttributes);
  CommentAddress = ValueOf(AAttributes, "COMMENTURL");
  DiscardFlag = HasLine(AAttributes, "DISCARD");
  AllowedPorts.clear();
  const AnsiString port = ValueOf(AAttributes, "PORT");
  if (port.empty()) {
    AllowedPorts.push_back(80);
  } else if (port.size() >= 2 && port.front() == '"' && port.back() == '"') {
    AnsiString inner = port.substr(1, port.size() - 2);
    if (inner.empty()) {
      AllowedPorts.push_back(80);
    } else {
      int index = 0;
      while (!inner.empty()) SetAllowedPort(index++, StrToInt(CutToken(inner, ",")));
    }
  }
}
