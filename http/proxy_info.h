#pragma once
// TNetProxyConnectionInfo: the HTTP client's proxy settings (its ProxyParams).
// With a ProxyServer set, the client connects to ProxyServer:ProxyPort and
// writes the absolute URI in the request line. With BasicAuthentication set,
// AddProxyHeaders puts "Proxy-Authorization" on the request: credentials go
// only to a configured proxy (without one, the header carries no user name
// or password).
//
//   http.ProxyParams.ProxyServer = "proxy.local";
//   http.ProxyParams.ProxyPort = 3128;
//   http.ProxyParams.ProxyUsername = "user";
//   http.ProxyParams.ProxyPassword = "secret";
//   http.ProxyParams.BasicAuthentication = true;

#include <memory>

#include "core/ansistring.h"
#include "http/authentication.h"
#include "http/header_list.h"

class TNetProxyConnectionInfo {
 public:
  TNetProxyConnectionInfo() { ClearSettings(); }
  ~TNetProxyConnectionInfo();
  TNetProxyConnectionInfo(const TNetProxyConnectionInfo&) = delete;
  TNetProxyConnectionInfo& operator=(const TNetProxyConnectionInfo&) = delete;

  // Plain copies of the settings; the target's authenticator stays.
  void Assign(const TNetProxyConnectionInfo& ASource);
  // Empties server, user name and password; the port becomes 0.
  void ClearSettings();
  // Adds "Proxy-Authorization" to the request's header lines.
  void AddProxyHeaders(TNetHeaderList& AHeaderLines);

  // The authenticator in use, or none. One made for another server (other
  // than by letter case) or another port is discarded first, so changing
  // ProxyServer or ProxyPort makes the next request build a new one.
  TNetAuthentication* Authenticator();
  void SetAuthenticator(std::unique_ptr<TNetAuthentication> AValue);

  AnsiString ProxyServer;
  int ProxyPort = 0;
  AnsiString ProxyUsername;
  AnsiString ProxyPassword;
  bool BasicAuthentication = false;

 private:
  std::unique_ptr<TNetAuthentication> FAuthenticator;
  // The endpoint the authenticator was made for.
  AnsiString FAuthServer;
  int FAuthPort = 0;
};
