#include "app/update_server.h"

#include <cstdlib>

#include "core/convert.h"

#ifndef QD_UPDATE_URL
#define QD_UPDATE_URL "http://updates.quorvane.example"
#endif
#ifndef QD_READ_TIMEOUT_MS
#define QD_READ_TIMEOUT_MS 30000
#endif

AnsiString UpdateServerBaseURL() {
  const char* fromEnvironment = std::getenv("QD_UPDATE_URL");
  AnsiString url = fromEnvironment && *fromEnvironment ? fromEnvironment : QD_UPDATE_URL;
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

int UpdateServerReadTimeout() {
  if (const char* fromEnvironment = std::getenv("QD_READ_TIMEOUT_MS")) {
    if (const auto value = TryStrToInt(fromEnvironment); value && *value > 0) return *value;
  }
  return QD_READ_TIMEOUT_MS > 0 ? QD_READ_TIMEOUT_MS : 30000;
}
