#include "http/proxy_info.h"

#include "http/encoder_mime.h"

TNetProxyConnectionInfo::~TNetProxyConnectionInfo() = default;

void TNetProxyConnectionInfo::Assign(const TNetProxyConnectionInfo& ASource) {
  ProxyPassword = ASource.ProxyPassword;
  ProxyPort = ASource.ProxyPort;
  ProxyServer = ASource.ProxyServer;
  ProxyUsername = ASource.ProxyUsername;
  BasicAuthentication = ASource.BasicAuthentication;
}

void TNetProxyConnectionInfo::ClearSettings() {
  ProxyServer.clear();
  ProxyUsername.clear();
  ProxyPassword.clear();
  ProxyPort = 0;
}

TNetAuthentication* TNetProxyConnectionInfo::Authenticator() {
  if (FAuthenticator && (!SameText(FAuthServer, ProxyServer) || FAuthPort != ProxyPort)) {
    FAuthenticator.reset();
  }
  return FAuthenticator.get();
}

void TNetProxyConnectionInfo::SetAuthenticator(std::unique_ptr<TNetAuthentication> AValue) {
  FAuthenticator = std::move(AValue);
  FAuthServer = ProxyServer;
  FAuthPort = ProxyPort;
}

void TNetProxyConnectionInfo::AddProxyHeaders(TNetHeaderList& AHeaderLines) {
  TNetAuthentication* auth = Authenticator();
  if (auth == nullptr) {
    if (!BasicAuthentication) return;
    SetAuthenticator(std::make_unique<TNetBasicAuthentication>());
    auth = FAuthenticator.get();
    auth->Credentials.SetHeader("Username", ProxyUsername);
    auth->Credentials.SetHeader("Password", ProxyPassword);
  }
  AnsiString value = auth->AuthorizationValue();
  // Without a proxy the request goes to the origin server, which must never
  // see the proxy's credentials; the header then carries empty ones, as it
  // does for a client that has none.
  if (ProxyServer.empty() && (!auth->GetUsername().empty() || !auth->GetPassword().empty())) {
    value = "Basic " + TNetEncoderMIME::EncodeText(":");
  }
  if (!value.empty()) AHeaderLines.SetHeader("Proxy-Authorization", value);
}
