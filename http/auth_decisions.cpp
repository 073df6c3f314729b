// The client's answers to a 401 or 407 challenge.

#include "http/http_client.h"
#include "http/text_tokens.h"

bool TNetCustomHTTP::AskAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  return AskFor(false, ARequest, AResponse);
}

bool TNetCustomHTTP::AskProxyAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  return AskFor(true, ARequest, AResponse);
}

bool TNetCustomHTTP::AskFor(bool AProxy, TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  const TNetHeaderList& challenges =
      AProxy ? AResponse.ProxyAuthenticate : AResponse.WWWAuthenticate;
  TNetAuthentication* auth = AProxy ? ProxyParams.Authenticator() : ARequest.Authenticator.get();
  if (auth == nullptr) {
    TNetAuthenticationClass found;
    for (int i = 0; i < challenges.Count() && !found; ++i) {
      AnsiString line = challenges[i];
      found = FindAuthScheme(CutToken(line, " "));
    }
    if (!found) return false;
    const TNetOnSelectAuthorization& select =
        AProxy ? OnSelectProxyAuthorization : OnSelectAuthorization;
    if (select) select(this, found, challenges);
    if (!found) return false;
    std::unique_ptr<TNetAuthentication> created = found();
    auth = created.get();
    if (AProxy) {
      ProxyParams.SetAuthenticator(std::move(created));
    } else {
      ARequest.Authenticator = std::move(created);
    }
  }
  const TNetOnAuthorization& onAuthorization = AProxy ? OnProxyAuthorization : OnAuthorization;
  if (!onAuthorization && (HTTPOptions & hoInProcessAuth) == 0) return false;
  AnsiString& username = AProxy ? ProxyParams.ProxyUsername : ARequest.Username;
  AnsiString& password = AProxy ? ProxyParams.ProxyPassword : ARequest.Password;
  auth->SetUsername(username);
  auth->SetPassword(password);
  auth->Credentials.SetHeader("Authorization", auth->AuthorizationValue());
  auth->SetChallenge(challenges);
  // Each evaluation raises the authenticator's retry count, and a handler
  // that keeps supplying empty credentials is asked only that many times.
  for (int asked = 0; asked <= AuthRetries; ++asked) {
    switch (auth->NextAction()) {
      case aaSend:
        return true;
      case aaFail:
        return false;
      case aaAskProgram: {
        if (!onAuthorization) return false;
        auth->SetUsername(username);
        auth->SetPassword(password);
        bool handled = false;
        onAuthorization(this, auth, handled);
        if (!handled) return false;
        if (AProxy) {
          ProxyParams.BasicAuthentication = true;
        } else {
          ARequest.BasicAuthentication = true;
        }
        username = auth->GetUsername();
        password = auth->GetPassword();
        break;
      }
    }
  }
  return false;
}
