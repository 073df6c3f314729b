#include "http/http_client.h"

#include "core/convert.h"
#include "http/body_streams.h"
#include "http/text_tokens.h"

const char* MethodText(TNetHTTPMethod AMethod) {
  switch (AMethod) {
    case hmHead:
      return "HEAD ";
    case hmGet:
      return "GET ";
    case hmPost:
      return "POST ";
    case hmOptions:
      return "OPTIONS ";
    case hmTrace:
      return "TRACE ";
    case hmPut:
      return "PUT ";
    case hmConnect:
      return "CONNECT ";
  }
  return "GET ";
}

namespace {

// Ends a request that failed; the request's own failure is the one the
// caller must see.
template <typename F>
void finishQuietly(F& finish) {
  try {
    finish();
  } catch (const Exception&) {
  }
}

}  // namespace

TNetCustomHTTP::TNetCustomHTTP() : RecordPair(this) {
  SetPort(80);
}

TNetCustomHTTP::~TNetCustomHTTP() {
  if (FCookieManager != nullptr && !FOwnedCookieManager) {
    FCookieManager->RemoveDestroyWatcher(this);
  }
}

void TNetCustomHTTP::SetHost(const AnsiString& AValue) {
  TNetTCPClient::SetHost(AValue);
  FCurrentURI.HostName = AValue;
}

void TNetCustomHTTP::SetPort(int AValue) {
  TNetTCPClient::SetPort(AValue);
  FCurrentURI.PortText = IntToStr(AValue);
}

void TNetCustomHTTP::SetCookieManager(TNetCookieManager* AValue) {
  if (AValue == FCookieManager) return;
  if (FCookieManager != nullptr && !FOwnedCookieManager) FCookieManager->RemoveDestroyWatcher(this);
  FOwnedCookieManager.reset();
  FCookieManager = AValue;
  if (AValue != nullptr) AValue->AddDestroyWatcher(this, [this] { FCookieManager = nullptr; });
}

bool TNetCustomHTTP::IsSecureHandler() const {
  return dynamic_cast<const TNetSecureIOHandler*>(IOHandler()) != nullptr;
}

AnsiString TNetCustomHTTP::GetString(const AnsiString& AURL) {
  TNetStringMemoryStream stream;
  GetToStream(AURL, &stream);
  return stream.TakeText();
}

void TNetCustomHTTP::GetToStream(const AnsiString& AURL, TStream* AStream) {
  PerformRequest(hmGet, AURL, AStream, nullptr);
}

void TNetCustomHTTP::PerformRequest(TNetHTTPMethod AVerb, const AnsiString& AURL,
                                    TStream* ABodyStream, TStream* AUploadStream) {
  const int64_t start = ABodyStream != nullptr ? ABodyStream->Position() : 0;
  TNetHTTPRequest& request = RecordPair.Request;
  TNetHTTPResponse& response = RecordPair.Response;
  request.Target = AURL;
  request.Verb = AVerb;
  request.UploadStream = AUploadStream;
  response.BodyStream = ABodyStream;
  auto finish = [&] {
    if (!ComputeKeepConnection()) CloseConnection();
    FPassCount = 0;
  };
  bool exchanging = false;
  try {
    for (bool again = true; again;) {
      ++FPassCount;
      PrepareTarget();
      exchanging = true;
      ConnectAndSend();
      do {
        response.StatusLine = ReadLine("\n", -1, -1);
        ParseStatusCode();
        ReadResponseHead();
        StoreResponseCookies(request, response);
      } while (response.StatusCode == 100);
      switch (RecordPair.DecideNextStep()) {
        case nsGoAgain:
          if (ABodyStream != nullptr) {
            ABodyStream->SetPosition(start);
            ABodyStream->SetSize(start);
          }
          break;
        case nsDone:
          again = false;
          break;
        case nsUndecided:
          throw ENetException("Undefined situation");
        case nsRetrySameTarget:
          --FPassCount;
          request.Target = AURL;
          break;
      }
    }
  } catch (const ENetHTTPProtocolException&) {
    // The error body was read to its end, so the connection may serve the
    // next request by the usual rule.
    finishQuietly(finish);
    throw;
  } catch (...) {
    // Any other failure during the exchange may leave part of a response
    // unread; a kept connection would hand it to the next request as if it
    // were that request's response.
    if (exchanging) CloseConnection();
    finishQuietly(finish);
    throw;
  }
  finish();
}

void TNetCustomHTTP::PrepareTarget() {
  TNetHTTPRequest& request = RecordPair.Request;
  const TNetURI given(request.Target);
  if (!given.LoginName.empty()) {
    request.Username = given.LoginName;
    request.Password = given.LoginPassword;
  }
  FCurrentURI.LoginName = request.Username;
  FCurrentURI.LoginPassword = request.Password;
  FCurrentURI.PathPart = MergePath(FCurrentURI.PathPart, given.PathPart, "/");
  FCurrentURI.DocumentPart = given.DocumentPart;
  FCurrentURI.ParamsPart = given.ParamsPart;
  if (!given.HostName.empty()) FCurrentURI.HostName = given.HostName;
  FCurrentURI.Scheme = given.Scheme.empty() ? AnsiString("http") : given.Scheme;
  if (!given.PortText.empty()) {
    FCurrentURI.PortText = given.PortText;
  } else if (SameText(given.Scheme, "http")) {
    FCurrentURI.PortText = "80";
  } else if (SameText(given.Scheme, "https")) {
    FCurrentURI.PortText = "443";
  } else if (FCurrentURI.PortText.empty()) {
    throw ENetUnknownProtocol("");
  }
  request.Target = FCurrentURI.PathPart + FCurrentURI.DocumentPart + FCurrentURI.ParamsPart;
  if (request.Verb == hmOptions && given.DocumentPart == "*") request.Target = "*";
  if ((request.Verb == hmOptions || request.Verb == hmTrace || request.Verb == hmPut) &&
      ProtocolVersion == pv1_0) {
    throw ENetException("This request method is supported in HTTP 1.1");
  }
  if ((request.Verb == hmPost || request.Verb == hmPut) && request.UploadStream != nullptr) {
    request.SetContentLength(static_cast<int32_t>(request.UploadStream->Size()));
  } else {
    request.SetContentLength(-1);
  }
  request.Host = FCurrentURI.PortText == "80" ? FCurrentURI.HostName
                                              : FCurrentURI.HostName + ":" + FCurrentURI.PortText;
}

TNetConnectionKind TNetCustomHTTP::ChooseEndpoint() {
  if (!ProxyParams.ProxyServer.empty()) {
    if ((!SameText(Host(), ProxyParams.ProxyServer) || Port() != ProxyParams.ProxyPort) &&
        IsConnected()) {
      CloseConnection();
    }
    TNetTCPClient::SetHost(ProxyParams.ProxyServer);
    TNetTCPClient::SetPort(ProxyParams.ProxyPort);
    return SameText(FCurrentURI.Scheme, "HTTPS") ? ckProxySecure : ckProxy;
  }
  const int port = StrToInt(FCurrentURI.PortText);
  if (!SameText(Host(), FCurrentURI.HostName) || Port() != port) {
    if (IsConnected()) CloseConnection();
    SetHost(FCurrentURI.HostName);
    SetPort(port);
  }
  if (SameText(FCurrentURI.Scheme, "HTTPS")) {
    if (!IsSecureHandler()) throw ENetIOHandlerPropInvalid("IOHandler value is not valid");
    return ckDirectSecure;
  }
  return ckDirect;
}

void TNetCustomHTTP::ConnectAndSend() {
  TNetHTTPRequest& request = RecordPair.Request;
  request.ConnectionKind = ChooseEndpoint();
  if (request.ConnectionKind == ckProxy) request.Target = FCurrentURI.RecomposeURI();
  switch (request.ConnectionKind) {
    case ckDirect:
      if (ProtocolVersion == pv1_0 && request.Connection.empty()) request.Connection = "keep-alive";
      break;
    case ckProxy:
      if (ProtocolVersion == pv1_0 && request.Connection.empty()) {
        request.ProxyConnection = "keep-alive";
      }
      break;
    case ckDirectSecure:
    case ckProxySecure:
      request.Connection.clear();
      break;
  }
  if (request.ConnectionKind != ckProxySecure) EnsureConnected();
  SendRequestHead(FCurrentURI);
}

void TNetCustomHTTP::EnsureConnected() {
  if (!ComputeKeepConnection()) CloseConnection();
  ProbeForClose(false);
  if (!IsConnected()) OpenConnection(ConnectTimeout);
}

void TNetCustomHTTP::SendRequestHead(const TNetURI& AURI) {
  TNetHTTPRequest& request = RecordPair.Request;
  request.WriteFields();
  ProxyParams.AddProxyHeaders(request.HeaderLines);
  AddCookieHeader(AURI, request);
  StartSendBuffer(-1);
  try {
    SendLine(MethodText(request.Verb) + request.Target + " HTTP/" +
             (ProtocolVersion == pv1_0 ? "1.0" : "1.1"));
    for (int i = 0; i < request.HeaderLines.Count(); ++i) {
      if (!request.HeaderLines[i].empty()) SendLine(request.HeaderLines[i]);
    }
    SendLine("");
  } catch (...) {
    DiscardSendBuffer();
    FinishSendBuffer();
    throw;
  }
  FinishSendBuffer();
}

void TNetCustomHTTP::AddCookieHeader(const TNetURI& AURI, TNetHTTPRequest& ARequest) {
  if (FCookieManager == nullptr) return;
  const AnsiString cookies = FCookieManager->BuildCookieHeader(AURI, IsSecureHandler());
  if (!cookies.empty()) ARequest.HeaderLines.SetHeader("Cookie", cookies);
}

void TNetCustomHTTP::StoreResponseCookies(TNetHTTPRequest&, TNetHTTPResponse& AResponse) {
  if (FCookieManager == nullptr && AllowCookies) {
    FOwnedCookieManager = std::make_unique<TNetCookieManager>();
    FCookieManager = FOwnedCookieManager.get();
  }
  if (FCookieManager == nullptr) return;
  TStringList cookies;
  AResponse.HeaderLines.CollectValues("Set-cookie", cookies);
  TStringList cookies2;
  AResponse.HeaderLines.CollectValues("Set-cookie2", cookies2);
  for (int i = 0; i < cookies.Count(); ++i) {
    FCookieManager->AddSetCookie(cookies[i], FCurrentURI.HostName);
  }
  for (int i = 0; i < cookies2.Count(); ++i) {
    FCookieManager->AddSetCookie2(cookies2[i], FCurrentURI.HostName);
  }
}

void TNetCustomHTTP::ReadResponseHead() {
  TNetHTTPResponse& response = RecordPair.Response;
  response.HeaderLines.Clear();
  // The head is bounded, so that a server cannot make it grow without end.
  int64_t bytes = static_cast<int64_t>(response.StatusLine.size());
  for (bool first = true;; first = false) {
    AnsiString line;
    try {
      line = ReadLine("\n", -1, -1);
    } catch (const ENetConnClosedGracefully&) {
      if (first) throw;
      CloseConnection();
      break;
    }
    if (line.empty()) break;
    bytes += static_cast<int64_t>(line.size()) + 2;
    if (response.HeaderLines.Count() >= MaxHeadLines || bytes > MaxHeadBytes) {
      throw ENetException("Response head exceeds 1000 lines or 1 MiB.");
    }
    response.HeaderLines.Add(std::move(line));
  }
  response.ReadFields();
  // A length that cannot be read leaves no way to tell where the body ends:
  // read as absent, the body would be lost and the request succeed empty.
  if (response.ContentLength < 0 && response.HeaderLines.IndexOfHeader("Content-Length") >= 0) {
    throw ENetException("Invalid \"Content-Length\" header in the response.");
  }
}

int TNetCustomHTTP::ParseStatusCode() {
  TNetHTTPResponse& response = RecordPair.Response;
  AnsiString rest = response.StatusLine;
  CutToken(rest, " ");
  rest = Trim(rest);
  response.StatusCode = TryStrToInt(CutToken(rest, " ")).value_or(-1);
  return response.StatusCode;
}

bool TNetCustomHTTP::ComputeKeepConnection() {
  TNetHTTPResponse& response = RecordPair.Response;
  const AnsiString version = Copy(response.StatusLine, 6, 3);
  if (SameText(version, "1.0")) {
    response.StatusVersion = pv1_0;
  } else if (SameText(version, "1.1")) {
    response.StatusVersion = pv1_1;
  }
  DetectDisconnect(false, false);
  response.KeepConnection = IsConnected();
  if (response.KeepConnection) {
    const AnsiString connection = Trim(response.Connection);
    const AnsiString proxyConnection = Trim(response.ProxyConnection);
    if (ProtocolVersion == pv1_0) {
      response.KeepConnection =
          SameText(connection, "KEEP-ALIVE") || SameText(proxyConnection, "KEEP-ALIVE");
    } else {
      response.KeepConnection =
          !SameText(connection, "CLOSE") && !SameText(proxyConnection, "CLOSE");
    }
  }
  return response.KeepConnection;
}
