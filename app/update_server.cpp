#include "app/update_server.h"

#include <cstdlib>

#include "core/convert.h"

#ifndef QD_UPDATE_URL
#define QD_UPDATE_URL "http://updates.quorvane.example"
#endif
#ifndef QD_READ_TIMEOUT_MS
#define QD_READ_TIMEOUT_MS 30000
#endif
#ifndef QD_CONNECT_TIMEOUT_MS
#define QD_CONNECT_TIMEOUT_MS 30000
#endif

namespace {

// A time limit from the environment when it is a positive number, else the
// built-in one, and 30 s when that is not positive either.
int LimitFromEnvironment(const char* name, int builtIn) {
  if (const char* fromEnvironment = std::getenv(name)) {
    if (const auto value = TryStrToInt(fromEnvironment); value && *value > 0) return *value;
  }
  return builtIn > 0 ? builtIn : 30000;
}

}  // namespace

AnsiString UpdateServerBaseURL() {
  const char* fromEnvironment = std::getenv("QD_UPDATE_URL");
  AnsiString url = fromEnvironment && *fromEnvironment ? fromEnvironment : QD_UPDATE_URL;
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

int UpdateServerReadTimeout() {
  return LimitFromEnvironment("QD_READ_TIMEOUT_MS", QD_READ_TIMEOUT_MS);
}

int UpdateServerConnectTimeout() {
  return LimitFromEnvironment("QD_CONNECT_TIMEOUT_MS", QD_CONNECT_TIMEOUT_MS);
}
