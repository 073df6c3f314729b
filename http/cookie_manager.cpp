#include "http/cookie_manager.h"

#include <algorithm>

#include "http/internet_date.h"
#include "platform/codepage.h"

TNetCookieManager::TNetCookieManager(TOnManagerEvent AOnCreate) : OnCreate(std::move(AOnCreate)) {
  NotifyCreate();
}

TNetCookieManager::~TNetCookieManager() {
  try {
    DropExpiredCookies();
  } catch (const Exception&) {
    // A store that is going away has no one left to tell.
  }
  NotifyDestroy();
  for (auto& [owner, notify] : watchers) notify();
}

void TNetCookieManager::NotifyCreate() {
  if (OnCreate) OnCreate(this, &store);
}

void TNetCookieManager::NotifyDestroy() {
  if (OnDestroy) OnDestroy(this, &store);
}

void TNetCookieManager::AddDestroyWatcher(void* AOwner, std::function<void()> ANotify) {
  watchers.emplace_back(AOwner, std::move(ANotify));
}

void TNetCookieManager::RemoveDestroyWatcher(void* AOwner) {
  std::erase_if(watchers, [&](const auto& w) { return w.first == AOwner; });
}

bool TNetCookieManager::AcceptNewCookie(TNetCookieRFC2109* ACookie) {
  bool accept = true;
  if (OnNewCookie) OnNewCookie(this, ACookie, accept);
  return accept;
}

void TNetCookieManager::AddSetCookie(const AnsiString& AValue, const AnsiString& AHost) {
  StoreCookie(store.NewCookie(), AValue, AHost);
}

void TNetCookieManager::AddSetCookie2(const AnsiString& AValue, const AnsiString& AHost) {
  StoreCookie(store.NewCookie2(), AValue, AHost);
}

namespace {

// A domain attribute that names a single label (".com", "com") would let a
// host set cookies for every site under it; only the host itself may be
// named that way.
bool SingleLabelDomain(const AnsiString& domain, const AnsiString& host) {
  const AnsiString bare = !domain.empty() && domain[0] == '.' ? domain.substr(1) : domain;
  return bare.find('.') == AnsiString::npos && domain != host;
}

}  // namespace

void TNetCookieManager::StoreCookie(TNetCookieRFC2109* ACookie, const AnsiString& AValue,
                                    const AnsiString& AHost) {
  try {
    ACookie->SetCookieText(AValue);
  } catch (...) {
    // A cookie that cannot be read is never filed; it must not stay in the
    // collection either, where it would only pile up.
    store.FreeCookie(ACookie);
    throw;
  }
  if (ACookie->CookieDomain.empty()) {
    ACookie->CookieDomain = AHost;
  } else if (SingleLabelDomain(ACookie->CookieDomain, AHost)) {
    store.FreeCookie(ACookie);
    return;
  }
  if (!ACookie->DomainMatches(AHost) || !AcceptNewCookie(ACookie)) {
    store.FreeCookie(ACookie);
    return;
  }
  store.PutCookie(ACookie);
}

void TNetCookieManager::DropExpiredCookies() {
  std::vector<TNetCookieKey>& keys = store.LockLists(acWrite);
  try {
    const TDateTime now = LocalNow();
    for (TNetCookieKey& key : keys) {
      for (size_t i = key.Names->size(); i-- > 0;) {
        TNetCookieRFC2109* cookie = (*key.Names)[i].second;
        if (!cookie->ExpiresText.empty() && InternetDateToLocal(cookie->ExpiresText) < now) {
          store.FreeCookie(cookie);
        }
      }
    }
  } catch (...) {
    store.UnlockLists(acWrite);
    throw;
  }
  store.UnlockLists(acWrite);
}

AnsiString TNetCookieManager::BuildCookieHeader(const TNetURI& AURI, bool ASecure) {
  DropExpiredCookies();
  std::vector<TNetCookieRFC2109*> chosen;
  std::vector<TNetCookieKey>& keys = store.LockLists(acRead);
  for (const TNetCookieKey& key : keys) {
    for (size_t i = key.Names->size(); i-- > 0;) {
      TNetCookieRFC2109* cookie = (*key.Names)[i].second;
      const bool pathMatches =
          !cookie->CookiePath.empty() &&
          AURI.PathPart.compare(0, cookie->CookiePath.size(), cookie->CookiePath) == 0;
      if (cookie->DomainMatches(AURI.HostName) && pathMatches && (!cookie->IsSecure || ASecure) &&
          !cookie->CookieValue.empty()) {
        chosen.push_back(cookie);
      }
    }
  }
  // Longer, more specific paths first; equal paths keep the order in which
  // they were chosen.
  std::stable_sort(chosen.begin(), chosen.end(), [](const auto* a, const auto* b) {
    return platform::AnsiCompareText(a->CookiePath, b->CookiePath) > 0;
  });
  AnsiString header;
  for (const TNetCookieRFC2109* cookie : chosen) {
    if (!header.empty()) header += "; ";
    header += cookie->FormatClientCookie();
  }
  store.UnlockLists(acRead);
  return header;
}
