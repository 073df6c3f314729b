#include "http/cookie_store.h"

#include <algorithm>

TNetCookieRFC2109* TNetCookies::NewCookie() {
  std::lock_guard<std::mutex> guard(itemsMutex);
  items.push_back(std::make_unique<TNetCookieRFC2109>());
  return items.back().get();
}

TNetCookieRFC2965* TNetCookies::NewCookie2() {
  auto cookie = std::make_unique<TNetCookieRFC2965>();
  TNetCookieRFC2965* raw = cookie.get();
  std::lock_guard<std::mutex> guard(itemsMutex);
  items.push_back(std::move(cookie));
  return raw;
}

void TNetCookies::FreeCookie(TNetCookieRFC2109* ACookie) {
  // Whoever frees a filed cookie also takes it out of its name list, under
  // the write lock; a holder of that lock takes it here once more.
  listLock.BeginWrite();
  for (TNetCookieKey& key : keyLists) {
    std::erase_if(*key.Names, [&](const auto& entry) { return entry.second == ACookie; });
  }
  listLock.EndWrite();
  std::lock_guard<std::mutex> guard(itemsMutex);
  std::erase_if(items, [&](const auto& item) { return item.get() == ACookie; });
}

void TNetCookies::PutCookie(TNetCookieRFC2109* ACookie) {
  listLock.BeginWrite();
  try {
    const AnsiString key = ACookie->CookieDomain + ACookie->CookiePath;
    auto keyIt = std::find_if(keyLists.begin(), keyLists.end(),
                              [&](const TNetCookieKey& k) { return SameText(k.Key, key); });
    TNetCookieList* names = nullptr;
    TNetCookieRFC2109* stored = nullptr;
    if (keyIt != keyLists.end()) {
      names = keyIt->Names.get();
      for (auto& [name, cookie] : *names) {
        if (SameText(name, ACookie->CookieName)) stored = cookie;
      }
    }
    bool full;
    {
      std::lock_guard<std::mutex> guard(itemsMutex);
      full = items.size() > MaxCookies;
    }
    if (stored == nullptr && full) {
      FreeCookie(ACookie);
    } else if (stored == nullptr) {
      if (names == nullptr) {
        keyLists.push_back({key, std::make_unique<TNetCookieList>()});
        names = keyLists.back().Names.get();
      }
      names->emplace_back(ACookie->CookieName, ACookie);
    } else {
      stored->SetCookieText(ACookie->FormatServerCookie());
      stored->CookieStyle = ACookie->CookieStyle;
      FreeCookie(ACookie);
    }
  } catch (...) {
    listLock.EndWrite();
    throw;
  }
  listLock.EndWrite();
}

std::vector<TNetCookieKey>& TNetCookies::LockLists(TNetCookieAccess AAccess) {
  if (AAccess == acRead) {
    listLock.BeginRead();
  } else {
    listLock.BeginWrite();
  }
  return keyLists;
}

void TNetCookies::UnlockLists(TNetCookieAccess AAccess) {
  if (AAccess == acRead) {
    listLock.EndRead();
  } else {
    listLock.EndWrite();
  }
}
