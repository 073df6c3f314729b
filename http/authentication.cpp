#include "http/authentication.h"

#include <vector>

#include "core/format.h"
#include "http/encoder_mime.h"
#include "http/text_tokens.h"

TNetAuthentication::TNetAuthentication() = default;
TNetAuthentication::~TNetAuthentication() = default;

void TNetAuthentication::SetChallenge(const TStringList& ALines) {
  if (!Challenge) Challenge = std::make_unique<TNetHeaderList>();
  Challenge->Assign(ALines);
}

AnsiString TNetAuthentication::ChallengeFor(const AnsiString& AScheme) const {
  if (!Challenge) return AnsiString();
  for (int i = 0; i < Challenge->Count(); ++i) {
    const AnsiString& line = (*Challenge)[i];
    if (line.compare(0, AScheme.size(), AScheme) == 0) return line;
  }
  return AnsiString();
}

TNetAuthAction TNetBasicAuthentication::NextAction() {
  AnsiString line = ChallengeFor("Basic");
  CutToken(line, " ");
  while (!line.empty()) {
    AnsiString token = CutToken(line, ", ");
    const int eq = Pos("=", token);
    if (eq > 0) token.replace(static_cast<size_t>(eq - 1), 1, Credentials.Separator);
    Credentials.Add(token);
  }
  const AnsiString realm = Credentials.GetHeader("realm");
  Realm = realm.size() >= 2 ? realm.substr(1, realm.size() - 2) : AnsiString();
  ++RetryCount;
  return GetUsername().empty() ? aaAskProgram : aaSend;
}

AnsiString TNetBasicAuthentication::AuthorizationValue() {
  return "Basic " + TNetEncoderMIME::EncodeText(GetUsername() + ":" + GetPassword());
}

namespace {

struct TAuthListObject {
  AnsiString Name;
  TNetAuthenticationClass Class;
};

// Filled at start-up with "Basic"; only read afterwards, so it needs no lock.
std::vector<TAuthListObject>& AuthSchemes() {
  static std::vector<TAuthListObject> schemes = {{"Basic", BasicAuthenticationClass()}};
  return schemes;
}

}  // namespace

TNetAuthenticationClass BasicAuthenticationClass() {
  return {[] { return std::make_unique<TNetBasicAuthentication>(); }, "TNetBasicAuthentication"};
}

void RegisterAuthScheme(const AnsiString& AName, const TNetAuthenticationClass& AClass) {
  for (const TAuthListObject& entry : AuthSchemes()) {
    if (SameText(entry.Name, AName)) {
      throw ENetAlreadyRegisteredAuthenticationMethod(
          Format("This authentication method is already registered with class name %s.",
                 {entry.Class.Name}));
    }
  }
  AuthSchemes().push_back({AName, AClass});
}

TNetAuthenticationClass FindAuthScheme(const AnsiString& AName) {
  for (const TAuthListObject& entry : AuthSchemes()) {
    if (SameText(entry.Name, AName)) return entry.Class;
  }
  return {};
}
