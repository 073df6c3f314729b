// The client's answers to a 401 or 407 challenge.

#include <functional>
#include <memory>

#include "http/http_client.h"
#include "http/text_tokens.h"

bool TNetCustomHTTP::AskAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  return AskFor(false, ARequest, AResponse);
}

bool TNetCustomHTTP::AskProxyAuthorization(TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  return AskFor(true, ARequest, AResponse);
}

namespace {

// What a challenge concerns on the client: the origin server's side (the
// request record and its events) or the proxy's (ProxyParams and the proxy
// events).
struct TAuthParty {
  const TNetHeaderList& Challenges;
  const TNetOnSelectAuthorization& OnSelect;
  const TNetOnAuthorization& OnAuthorization;
  AnsiString& Username;
  AnsiString& Password;
  bool& BasicAuthentication;
  // The authenticator in use, or none, and how a new one is kept.
  TNetAuthentication* Current;
  std::function<void(std::unique_ptr<TNetAuthentication>)> Keep;
};

}  // namespace

bool TNetCustomHTTP::AskFor(bool AProxy, TNetHTTPRequest& ARequest, TNetHTTPResponse& AResponse) {
  const TAuthParty party =
      AProxy ? TAuthParty{AResponse.ProxyAuthenticate,
                          OnSelectProxyAuthorization,
                          OnProxyAuthorization,
                          ProxyParams.ProxyUsername,
                          ProxyParams.ProxyPassword,
                          ProxyParams.BasicAuthentication,
                          ProxyParams.Authenticator(),
                          [this](std::unique_ptr<TNetAuthentication> created) {
                            ProxyParams.SetAuthenticator(std::move(created));
                          }}
             : TAuthParty{AResponse.WWWAuthenticate,
                          OnSelectAuthorization,
                          OnAuthorization,
                          ARequest.Username,
                          ARequest.Password,
                          ARequest.BasicAuthentication,
                          ARequest.Authenticator.get(),
                          [&ARequest](std::unique_ptr<TNetAuthentication> created) {
                            ARequest.Authenticator = std::move(created);
                          }};
  const TNetHeaderList& challenges = party.Challenges;
  TNetAuthentication* auth = party.Current;
  if (auth == nullptr) {
    TNetAuthenticationClass found;
    for (int i = 0; i < challenges.Count() && !found; ++i) {
      AnsiString line = challenges[i];
      found = FindAuthScheme(CutToken(line, " "));
    }
    if (!found) return false;
    if (party.OnSelect) party.OnSelect(this, found, challenges);
    if (!found) return false;
    std::unique_ptr<TNetAuthentication> created = found();
    auth = created.get();
    party.Keep(std::move(created));
  }
  const TNetOnAuthorization& onAuthorization = party.OnAuthorization;
  if (!onAuthorization && (HTTPOptions & hoInProcessAuth) == 0) return false;
  auth->SetUsername(party.Username);
  auth->SetPassword(party.Password);
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
        auth->SetUsername(party.Username);
        auth->SetPassword(party.Password);
        bool handled = false;
        onAuthorization(this, auth, handled);
        if (!handled) return false;
        party.BasicAuthentication = true;
        party.Username = auth->GetUsername();
        party.Password = auth->GetPassword();
        break;
      }
    }
  }
  return false;
}
