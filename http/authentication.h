#pragma once
// Authentication schemes for "Authorization" and "Proxy-Authorization".
// A TNetAuthentication object belongs to one request record or proxy record
// and keeps the credentials and the server's challenge; NextAction says
// whether to send, ask the program for credentials or give up, and
// AuthorizationValue gives the header value. Schemes are found by name in a
// process-wide registry, which holds "Basic" from start-up:
//
//   TNetAuthenticationClass cls = FindAuthScheme("basic");
//   std::unique_ptr<TNetAuthentication> auth = cls();
//   auth->SetUsername("u"); auth->SetPassword("p");
//   AnsiString value = auth->AuthorizationValue();   // "Basic dTpw"

#include <functional>
#include <memory>

#include "core/ansistring.h"
#include "http/header_list.h"
#include "net/exceptions.h"

enum TNetAuthAction { aaAskProgram, aaSend, aaFail };

class TNetAuthentication {
 public:
  TNetAuthentication();
  virtual ~TNetAuthentication();
  TNetAuthentication(const TNetAuthentication&) = delete;
  TNetAuthentication& operator=(const TNetAuthentication&) = delete;

  virtual TNetAuthAction NextAction() = 0;
  virtual int StepCount() const { return 0; }
  virtual void SetPassword(const AnsiString& AText) { Credentials.SetHeader("Password", AText); }
  virtual void SetUsername(const AnsiString& AText) { Credentials.SetHeader("Username", AText); }
  virtual void Reset() { RetryCount = 0; }
  virtual AnsiString AuthorizationValue() = 0;
  virtual bool KeepsConnection() const = 0;
  // The registered name of the scheme's class, for messages.
  virtual AnsiString ClassName() const = 0;

  // Copies the challenge lines that the server sent.
  void SetChallenge(const TStringList& ALines);
  // The first challenge line that begins with AScheme (case-sensitive).
  AnsiString ChallengeFor(const AnsiString& AScheme) const;
  AnsiString GetUsername() const { return Credentials.GetHeader("username"); }
  AnsiString GetPassword() const { return Credentials.GetHeader("password"); }

  int RetryCount = 0;
  int Step = 0;
  TNetHeaderList Credentials;
  std::unique_ptr<TNetHeaderList> Challenge;  // created on first use
};

class TNetBasicAuthentication : public TNetAuthentication {
 public:
  TNetBasicAuthentication() { Step = 0; }
  TNetAuthAction NextAction() override;
  int StepCount() const override { return 1; }
  void Reset() override {
    RetryCount = 0;
    Step = 0;
  }
  // "Basic " and the Base64 form of user name, ":" and password.
  AnsiString AuthorizationValue() override;
  bool KeepsConnection() const override { return false; }
  AnsiString ClassName() const override { return "TNetBasicAuthentication"; }

  AnsiString Realm;
};

// A class reference: makes a new object of the scheme's class.
struct TNetAuthenticationClass {
  std::function<std::unique_ptr<TNetAuthentication>()> Create;
  AnsiString Name;
  explicit operator bool() const { return static_cast<bool>(Create); }
  std::unique_ptr<TNetAuthentication> operator()() const { return Create(); }
};

class ENetAlreadyRegisteredAuthenticationMethod : public ENetException {
 public:
  using ENetException::ENetException;
};

// Raises ENetAlreadyRegisteredAuthenticationMethod when the name (any case)
// is registered already.
void RegisterAuthScheme(const AnsiString& AName, const TNetAuthenticationClass& AClass);
// The class registered under the name without regard to case; an empty class
// reference when there is none.
TNetAuthenticationClass FindAuthScheme(const AnsiString& AName);
// The class reference of the Basic scheme.
TNetAuthenticationClass BasicAuthenticationClass();
