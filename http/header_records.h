#pragma once
// The header records of an HTTP message: named fields that WriteFields turns
// into HeaderLines and ReadFields reads back from them. TNetRequestHeaderInfo
// is written before a request is sent, TNetResponseHeaderInfo is read after
// a response head arrives.
//
//   TNetRequestHeaderInfo request;
//   request.Host = "example.org";
//   request.WriteFields();            // request.HeaderLines holds the lines
//
//   TNetResponseHeaderInfo response;
//   response.HeaderLines.SetText(head);
//   response.ReadFields();            // response.ContentLength, Location, ...

#include <cstdint>
#include <memory>
#include <optional>

#include "core/ansistring.h"
#include "core/datetime.h"
#include "http/authentication.h"
#include "http/header_list.h"

// The length that the "Content-Length" lines give: one decimal number from 0
// to 2147483647 with blanks around it allowed. A list of equal numbers, in
// one line separated by commas or in several lines, reads as that number.
// None when there is no such line or when any of them holds anything else.
std::optional<int32_t> ParseContentLength(const TNetHeaderList& ALines);

class TNetEntityHeaderInfo {
 public:
  TNetEntityHeaderInfo();
  virtual ~TNetEntityHeaderInfo();
  TNetEntityHeaderInfo(const TNetEntityHeaderInfo&) = delete;
  TNetEntityHeaderInfo& operator=(const TNetEntityHeaderInfo&) = delete;

  // Copies the lines and the entity fields (ContentLengthGiven excepted);
  // between request records only the request's own settings are copied.
  virtual void Assign(const TNetEntityHeaderInfo& ASource);
  virtual void ReadFields();
  virtual void WriteFields();
  virtual void ResetFields();

  // Stores the length and sets ContentLengthGiven when it is 0 or more.
  void SetContentLength(int32_t AValue);
  void SetCustomHeaders(const TStringList& ALines) { CustomHeaders.Assign(ALines); }

  AnsiString CacheControl;
  AnsiString Connection;
  AnsiString ContentEncoding;
  AnsiString ContentLanguage;
  int32_t ContentLength = -1;
  bool ContentLengthGiven = false;
  uint32_t ContentRangeEnd = 0;
  uint32_t ContentRangeStart = 0;
  AnsiString ContentType;
  AnsiString ContentVersion;
  TNetHeaderList CustomHeaders;
  TDateTime Date = 0;
  TDateTime Expires = 0;
  TDateTime LastModified = 0;
  AnsiString Pragma;
  TNetHeaderList HeaderLines;

 protected:
  void ResetEntityFields();
  void ReadEntityFields();
  void WriteEntityFields();
  void AssignEntity(const TNetEntityHeaderInfo& ASource);
};

class TNetRequestHeaderInfo : public TNetEntityHeaderInfo {
 public:
  TNetRequestHeaderInfo();
  ~TNetRequestHeaderInfo() override;

  void Assign(const TNetEntityHeaderInfo& ASource) override;
  void WriteFields() override;
  void ResetFields() override;

  AnsiString Accept;
  AnsiString AcceptCharSet;
  AnsiString AcceptEncoding;
  AnsiString AcceptLanguage;
  bool BasicAuthentication = false;
  AnsiString Host;
  AnsiString From;
  AnsiString Password;
  AnsiString Referer;
  AnsiString UserAgent;
  AnsiString Username;
  AnsiString ProxyConnection;
  // The scheme in use for "Authorization"; owned.
  std::unique_ptr<TNetAuthentication> Authenticator;
};

class TNetResponseHeaderInfo : public TNetEntityHeaderInfo {
 public:
  TNetResponseHeaderInfo();

  void ReadFields() override;
  void ResetFields() override;

  AnsiString Location;
  AnsiString ProxyConnection;
  TNetHeaderList ProxyAuthenticate;
  AnsiString Server;
  TNetHeaderList WWWAuthenticate;
};
