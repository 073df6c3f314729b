#include "http/header_records.h"

#include <optional>

#include "core/convert.h"
#include "core/decimal.h"
#include "http/internet_date.h"
#include "http/text_tokens.h"

namespace {

// The "Expires" value as a number of seconds.
constexpr TDecimalRule kSeconds{-999999999999999999, 999999999999999999, true};

}  // namespace

std::optional<int32_t> ParseContentLength(const TNetHeaderList& ALines) {
  TStringList values;
  ALines.CollectValues("Content-Length", values);
  std::optional<int32_t> length;
  for (int i = 0; i < values.Count(); ++i) {
    AnsiString rest = values[i];
    do {
      const auto value = ParseDecimal(Trim(CutToken(rest, ",")), {0, 2147483647});
      if (!value || (length && *length != *value)) return std::nullopt;
      length = static_cast<int32_t>(*value);
    } while (!rest.empty());
  }
  return length;
}

TNetEntityHeaderInfo::TNetEntityHeaderInfo() {
  HeaderLines.FoldWidth = 1024;
  ResetEntityFields();
}

TNetEntityHeaderInfo::~TNetEntityHeaderInfo() = default;

void TNetEntityHeaderInfo::SetContentLength(int32_t AValue) {
  ContentLength = AValue;
  ContentLengthGiven = AValue >= 0;
}

void TNetEntityHeaderInfo::ResetEntityFields() {
  Connection.clear();
  ContentVersion.clear();
  ContentEncoding.clear();
  ContentLanguage.clear();
  ContentType.clear();
  ContentLength = -1;
  ContentRangeStart = 0;
  ContentRangeEnd = 0;
  Date = 0;
  Expires = 0;
  LastModified = 0;
  HeaderLines.Clear();
}

void TNetEntityHeaderInfo::ResetFields() {
  ResetEntityFields();
}

void TNetEntityHeaderInfo::AssignEntity(const TNetEntityHeaderInfo& ASource) {
  HeaderLines.Assign(ASource.HeaderLines);
  ContentEncoding = ASource.ContentEncoding;
  ContentLanguage = ASource.ContentLanguage;
  ContentLength = ASource.ContentLength;
  ContentRangeEnd = ASource.ContentRangeEnd;
  ContentRangeStart = ASource.ContentRangeStart;
  ContentType = ASource.ContentType;
  ContentVersion = ASource.ContentVersion;
  Date = ASource.Date;
  Expires = ASource.Expires;
  LastModified = ASource.LastModified;
}

void TNetEntityHeaderInfo::Assign(const TNetEntityHeaderInfo& ASource) {
  if (&ASource != this) AssignEntity(ASource);
}

void TNetEntityHeaderInfo::ReadEntityFields() {
  Connection = HeaderLines.GetHeader("Connection");
  ContentVersion = HeaderLines.GetHeader("Content-Version");
  ContentEncoding = HeaderLines.GetHeader("Content-Encoding");
  ContentLanguage = HeaderLines.GetHeader("Content-Language");
  ContentType = HeaderLines.GetHeader("Content-Type");
  // A length that is not a number, or that does not fit the field, reads as
  // absent here; the client refuses a response that carries one.
  ContentLength = ParseContentLength(HeaderLines).value_or(-1);
  ContentLengthGiven = ContentLength >= 0;
  Date = InternetDateToLocal(HeaderLines.GetHeader("Date"));
  LastModified = InternetDateToLocal(HeaderLines.GetHeader("Last-Modified"));
  const AnsiString expires = HeaderLines.GetHeader("Expires");
  const std::optional<int64_t> seconds = ParseDecimal(expires, kSeconds);
  if (seconds && *seconds != -1) {
    Expires = LocalNow() + static_cast<double>(*seconds) / 86400.0;
  } else {
    Expires = InternetDateToLocal(expires);
  }
  Pragma = HeaderLines.GetHeader("Pragma");
}

void TNetEntityHeaderInfo::ReadFields() {
  ReadEntityFields();
}

void TNetEntityHeaderInfo::WriteEntityFields() {
  HeaderLines.Clear();
  if (!Connection.empty()) HeaderLines.SetHeader("Connection", Connection);
  if (!ContentVersion.empty()) HeaderLines.SetHeader("Content-Version", ContentVersion);
  if (!ContentEncoding.empty()) HeaderLines.SetHeader("Content-Encoding", ContentEncoding);
  if (!ContentLanguage.empty()) HeaderLines.SetHeader("Content-Language", ContentLanguage);
  if (!ContentType.empty()) HeaderLines.SetHeader("Content-Type", ContentType);
  if (ContentLength >= 0) HeaderLines.SetHeader("Content-Length", IntToStr(ContentLength));
  if (!CacheControl.empty()) HeaderLines.SetHeader("Cache-control", CacheControl);
  if (Date > 0) HeaderLines.SetHeader("Date", FormatInternetDate(Date));
  if (Expires > 0) HeaderLines.SetHeader("Expires", FormatInternetDate(Expires));
  if (LastModified > 0) HeaderLines.SetHeader("Last-Modified", FormatGmtDate(LastModified));
  if (!Pragma.empty()) HeaderLines.SetHeader("Pragma", Pragma);
  if (CustomHeaders.Count() > 0) HeaderLines.SetText(HeaderLines.Text() + CustomHeaders.Text());
}

void TNetEntityHeaderInfo::WriteFields() {
  WriteEntityFields();
}

TNetRequestHeaderInfo::TNetRequestHeaderInfo() {
  ResetFields();
}

TNetRequestHeaderInfo::~TNetRequestHeaderInfo() = default;

void TNetRequestHeaderInfo::ResetFields() {
  Accept = "text/html, */*";
  AcceptCharSet.clear();
  UserAgent = "Mozilla/3.0 (compatible; Net Library)";
  BasicAuthentication = false;
  ResetEntityFields();
}

void TNetRequestHeaderInfo::Assign(const TNetEntityHeaderInfo& ASource) {
  if (&ASource == this) return;
  if (const auto* request = dynamic_cast<const TNetRequestHeaderInfo*>(&ASource)) {
    Accept = request->Accept;
    AcceptCharSet = request->AcceptCharSet;
    AcceptEncoding = request->AcceptEncoding;
    AcceptLanguage = request->AcceptLanguage;
    From = request->From;
    Password = request->Password;
    Referer = request->Referer;
    UserAgent = request->UserAgent;
    Username = request->Username;
    BasicAuthentication = request->BasicAuthentication;
    return;
  }
  AssignEntity(ASource);
}

void TNetRequestHeaderInfo::WriteFields() {
  WriteEntityFields();
  const std::pair<const char*, const AnsiString*> texts[] = {{"Proxy-Connection", &ProxyConnection},
                                                             {"Host", &Host},
                                                             {"Accept", &Accept},
                                                             {"Accept-Charset", &AcceptCharSet},
                                                             {"Accept-Encoding", &AcceptEncoding},
                                                             {"Accept-Language", &AcceptLanguage},
                                                             {"From", &From},
                                                             {"Referer", &Referer},
                                                             {"User-Agent", &UserAgent}};
  for (const auto& [name, value] : texts) {
    if (!value->empty()) HeaderLines.SetHeader(name, *value);
  }
  if (LastModified > 0)
    HeaderLines.SetHeader("If-Modified-Since", FormatInternetDate(LastModified));
  if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
    AnsiString range = "bytes=" + IntToStr(ContentRangeStart) + "-";
    if (ContentRangeEnd != 0) range += IntToStr(ContentRangeEnd);
    HeaderLines.SetHeader("Range", range);
  }
  if (!Authenticator && BasicAuthentication) {
    Authenticator = std::make_unique<TNetBasicAuthentication>();
    Authenticator->Credentials.SetHeader("Username", Username);
    Authenticator->Credentials.SetHeader("Password", Password);
  }
  if (Authenticator) {
    const AnsiString value = Authenticator->AuthorizationValue();
    if (!value.empty()) HeaderLines.SetHeader("Authorization", value);
  }
}

TNetResponseHeaderInfo::TNetResponseHeaderInfo() {
  ResetFields();
}

void TNetResponseHeaderInfo::ResetFields() {
  ResetEntityFields();
  ContentType = "text/html";
  Location.clear();
  Server.clear();
  ProxyAuthenticate.Clear();
  WWWAuthenticate.Clear();
}

void TNetResponseHeaderInfo::ReadFields() {
  Location = HeaderLines.GetHeader("Location");
  Server = HeaderLines.GetHeader("Server");
  ProxyConnection = HeaderLines.GetHeader("Proxy-Connection");
  if (HeaderLines.IndexOfHeader("Content-Range") >= 0) {
    AnsiString range = HeaderLines.GetHeader("Content-Range");
    CutToken(range, " ");
    ContentRangeStart = static_cast<uint32_t>(StrToInt(CutToken(range, "-")));
    ContentRangeEnd = static_cast<uint32_t>(StrToInt(CutToken(range, "/")));
  } else {
    ContentRangeStart = 0;
    ContentRangeEnd = 0;
  }
  WWWAuthenticate.Clear();
  HeaderLines.CollectValues("WWW-Authenticate", WWWAuthenticate);
  ProxyAuthenticate.Clear();
  HeaderLines.CollectValues("Proxy-Authenticate", ProxyAuthenticate);
  ReadEntityFields();
}
