#pragma once
// TNetHTTP: the HTTP/1.1 client. GetString fetches a URL and returns the
// body; Get writes it into a stream. Redirects are followed when
// HandleRedirects is set, cookies are kept when AllowCookies is set, a
// proxy is used when ProxyParams names one, and every failure is raised:
// ENetHTTPProtocolException for an error status, the connection layer's
// exceptions for the network. Work and status events (OnWork, OnStatus ...)
// report the progress of the body.
//
//   TNetHTTP http;
//   http.HandleRedirects = true;
//   http.Request().UserAgent = "Mozilla/3.0";
//   AnsiString body = http.GetString("http://example.org/qd.zip");
//
// One client serves one request at a time. A kept-alive connection serves
// the next request to the same endpoint.

#include <functional>
#include <memory>

#include "http/cookie_manager.h"
#include "http/http_exceptions.h"
#include "http/http_records.h"
#include "http/proxy_info.h"
#include "http/uri.h"
#include "net/tcp_client.h"

using TNetHTTPOnRedirectEvent =
    std::function<void(TNetComponent* Sender, AnsiString& dest, int& NumRedirect, bool& Handled,
                       TNetHTTPMethod& VMethod)>;
using TNetOnSelectAuthorization =
    std::function<void(TNetComponent* Sender, TNetAuthenticationClass& AuthenticationClass,
                       const TNetHeaderList& AuthInfo)>;
using TNetOnAuthorization =
    std::function<void(TNetComponent* Sender, TNetAuthentication* Authentication, bool& Handled)>;

class TNetCustomHTTP : public TNetTCPClient {
 public:
  // A response head may hold at most this many lines and bytes.
  static constexpr int MaxHeadLines = 1000;
  static constexpr int64_t MaxHeadBytes = 1024 * 1024;
  // The part of an error body that is kept as ReplyBody.
  static constexpr int64_t MaxReplyBody = 1024 * 1024;

  TNetCustomHTTP();
  ~TNetCustomHTTP() override;

  // The body of a GET of the URL.
  AnsiString GetString(const AnsiString& AURL);
  // A GET of the URL with the body written into AStream.
  void Get(const AnsiString& AURL, TStream& AStream) { GetToStream(AURL, &AStream); }
  void GetToStream(const AnsiString& AURL, TStream* AStream);
  virtual void PerformRequest(TNetHTTPMethod AVerb, const AnsiString& AURL, TStream* ABodyStream,
                              TStream* AUploadStream);

  virtual bool AskAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse);
  virtual bool AskProxyAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse);
  virtual bool FireRedirect(AnsiString& ALocation, TNetHTTPMethod& AVerb, int APassCount);

  // Also set the host and port of the current target.
  void SetHost(const AnsiString& AValue) override;
  void SetPort(int AValue) override;

  TNetHTTPRequest& Request() { return RecordPair.Request; }
  // Copies the request settings of another record.
  void SetRequest(const TNetHTTPRequest& AValue) { RecordPair.Request.Assign(AValue); }
  TNetHTTPResponse& Response() { return RecordPair.Response; }
  TNetURI& CurrentURI() { return FCurrentURI; }
  int PassCount() const { return FPassCount; }

  TNetCookieManager* CookieManager() const { return FCookieManager; }
  // Frees a manager that the client made itself; the client forgets an
  // assigned manager when that is destroyed.
  void SetCookieManager(TNetCookieManager* AValue);
  bool OwnsCookieManager() const { return FOwnedCookieManager != nullptr; }

  int AuthRetries = 3;
  bool AllowCookies = true;
  bool HandleRedirects = false;
  TNetHTTPProtocolVersion ProtocolVersion = pv1_1;
  int RedirectMaximum = 15;
  TNetProxyConnectionInfo ProxyParams;
  TNetHTTPOptions HTTPOptions = hoForceEncodeParams;
  int ConnectTimeout = 0;
  TNetHTTPOnRedirectEvent OnRedirect;
  TNetOnSelectAuthorization OnSelectAuthorization;
  TNetOnSelectAuthorization OnSelectProxyAuthorization;
  TNetOnAuthorization OnAuthorization;
  TNetOnAuthorization OnProxyAuthorization;

 protected:
  TNetHTTPProtocol RecordPair;

 private:
  friend class TNetHTTPProtocol;
  // Tests reach the steps of one pass through this seam.
  friend struct TNetHTTPTestSeam;

  // The steps of one pass, in order: internal operations, which the
  // request loop and the record pair call.
  void PrepareTarget();
  TNetConnectionKind ChooseEndpoint();
  void ConnectAndSend();
  void EnsureConnected();
  void SendRequestHead(const TNetURI& AURI);
  void ReadResponseHead();
  void StoreResponseCookies(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse);
  int ParseStatusCode();
  bool ComputeKeepConnection();
  void AddCookieHeader(const TNetURI& AURI, TNetHTTPRequest& ARequest);
  void ReadBody(TNetHTTPResponse& AResponse);
  int ReadChunkSize();

  bool AskFor(bool AProxy, TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse);
  bool IsSecureHandler() const;

  TNetURI FCurrentURI;
  int FPassCount = 0;
  TNetCookieManager* FCookieManager = nullptr;
  std::unique_ptr<TNetCookieManager> FOwnedCookieManager;
  // True while the body goes into the caller's stream, where a counted body
  // that ends early is an error.
  bool FReadingCallerBody = false;
};

// The published form of the client.
class TNetHTTP : public TNetCustomHTTP {};
