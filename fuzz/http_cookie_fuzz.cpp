// Feeds arbitrary Set-Cookie and Set-Cookie2 values from arbitrary hosts to
// a cookie manager and builds the Cookie header for arbitrary URLs. A cookie
// that is sent must belong to the host by domain.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "http/cookie_manager.h"

namespace {

// Does host end with domain at a label boundary (or equal it)?
bool OnLabelBoundary(const std::string& host, std::string domain) {
  if (host == domain) return true;
  if (domain.empty()) return false;
  if (domain[0] != '.') domain = "." + domain;
  return host.size() > domain.size() &&
         host.compare(host.size() - domain.size(), domain.size(), domain) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (size_t at; (at = text.find('\n')) != std::string::npos; text.erase(0, at + 1)) {
    lines.push_back(text.substr(0, at));
  }
  lines.push_back(text);
  TNetCookieManager manager;
  const std::string host = lines.size() > 1 ? lines[0] : "example.org";
  for (size_t i = 1; i + 1 < lines.size() && i < 64; ++i) {
    try {
      if (i % 2 == 0) {
        manager.AddSetCookie2(lines[i], host);
      } else {
        manager.AddSetCookie(lines[i], host);
      }
    } catch (const Exception&) {
    }
  }
  TNetURI uri(lines.back());
  try {
    manager.BuildCookieHeader(uri, (size & 1) != 0);
  } catch (const Exception&) {
  }
  // Every stored cookie matches its own domain rules; a sent one matched the
  // URI's host on a label boundary or exactly, or the host's own domain.
  auto& keys = manager.CookieStore().LockLists(acRead);
  for (const auto& key : keys) {
    for (const auto& [name, cookie] : *key.Names) {
      if (cookie->DomainMatches(uri.HostName) && !IsDottedQuad(uri.HostName) &&
          IsPlainHostName(uri.HostName) && IsPlainHostName(cookie->CookieDomain) &&
          !OnLabelBoundary(uri.HostName, cookie->CookieDomain)) {
        std::abort();
      }
    }
  }
  manager.CookieStore().UnlockLists(acRead);
  return 0;
}
