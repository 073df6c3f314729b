#pragma once
// TNetCookieManager: keeps the cookies that servers set and builds the
// "Cookie" request header. The HTTP client hands it every "Set-Cookie" and
// "Set-Cookie2" value with the host of the request, and asks it for the
// header before each request.
//
//   TNetCookieManager cookies;
//   cookies.AddSetCookie("SID=42; path=/", "example.org");
//   TNetURI uri("http://example.org/docs/a.html");
//   cookies.BuildCookieHeader(uri, false);   // "SID=42"
//
// A cookie is sent to a host that its domain matches (the host itself, or
// the host ends with the domain at a label boundary) for paths that begin
// with its path. A domain attribute of a single label, such as ".com", is
// refused.

#include <functional>
#include <memory>
#include <vector>

#include "core/ansistring.h"
#include "http/cookie_store.h"
#include "http/uri.h"

class TNetCookieManager;
using TOnManagerEvent = std::function<void(TNetCookieManager* ASender, TNetCookies* ACookies)>;
using TOnNewCookieEvent =
    std::function<void(TNetCookieManager* ASender, TNetCookieRFC2109* ACookie, bool& VAccept)>;

class TNetCookieManager {
 public:
  explicit TNetCookieManager(TOnManagerEvent AOnCreate = {});
  virtual ~TNetCookieManager();
  TNetCookieManager(const TNetCookieManager&) = delete;
  TNetCookieManager& operator=(const TNetCookieManager&) = delete;

  void AddSetCookie(const AnsiString& AValue, const AnsiString& AHost);
  void AddSetCookie2(const AnsiString& AValue, const AnsiString& AHost);
  // The "Cookie" value for the URI, empty when no cookie applies.
  AnsiString BuildCookieHeader(const TNetURI& AURI, bool ASecure);
  void DropExpiredCookies();

  TNetCookies& CookieStore() { return store; }

  TOnManagerEvent OnCreate;
  TOnManagerEvent OnDestroy;
  TOnNewCookieEvent OnNewCookie;

  // Lets an owner forget the manager when it is destroyed.
  void AddDestroyWatcher(void* AOwner, std::function<void()> ANotify);
  void RemoveDestroyWatcher(void* AOwner);

 protected:
  virtual void NotifyCreate();
  virtual void NotifyDestroy();
  virtual bool AcceptNewCookie(TNetCookieRFC2109* ACookie);
  void StoreCookie(TNetCookieRFC2109* ACookie, const AnsiString& AValue, const AnsiString& AHost);

 private:
  TNetCookies store;
  std::vector<std::pair<void*, std::function<void()>>> watchers;
};
