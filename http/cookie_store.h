#pragma once
// TNetCookies: the cookie store of a cookie manager. It owns every cookie;
// KeyLists files them by key (domain followed by path, compared without
// regard to case) and, under each key, by name. ListLock guards KeyLists:
// take it with LockLists(acRead) or LockLists(acWrite) and give it back with
// UnlockLists.

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/ansistring.h"
#include "http/cookie.h"
#include "http/rw_lock.h"

enum TNetCookieAccess { acRead, acWrite };

// The cookies of one key, by name, in the order they were stored.
using TNetCookieList = std::vector<std::pair<AnsiString, TNetCookieRFC2109*>>;

struct TNetCookieKey {
  AnsiString Key;
  std::unique_ptr<TNetCookieList> Names;
};

class TNetCookies {
 public:
  // Beyond this many cookies a new one is refused, so that servers cannot
  // make the store grow without end.
  static constexpr size_t MaxCookies = 4096;

  TNetCookies() = default;
  TNetCookies(const TNetCookies&) = delete;
  TNetCookies& operator=(const TNetCookies&) = delete;

  TNetCookieRFC2109* NewCookie();
  TNetCookieRFC2965* NewCookie2();
  // Files the cookie under its key and name; a cookie of that key and name
  // already stored is updated from it and the new one is freed.
  void PutCookie(TNetCookieRFC2109* ACookie);
  // Frees a cookie of the collection (filed or not).
  void FreeCookie(TNetCookieRFC2109* ACookie);

  std::vector<TNetCookieKey>& LockLists(TNetCookieAccess AAccess);
  void UnlockLists(TNetCookieAccess AAccess);

  int Count() const { return static_cast<int>(items.size()); }
  TNetCookieRFC2109* Item(int AIndex) const { return items[static_cast<size_t>(AIndex)].get(); }

 private:
  // Guards the collection itself, which clients on several threads may add to.
  std::mutex itemsMutex;
  std::vector<std::unique_ptr<TNetCookieRFC2109>> items;
  std::vector<TNetCookieKey> keyLists;
  TNetMultiReadExclusiveWriteSynchronizer listLock;
};
