// Splits arbitrary text as a URL, composes it again and merges the paths of
// two halves. Composing what was split must give a text that splits to the
// same host, path, document and parameters.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/http_client.h"
#include "http/uri.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TNetURI uri(text);
  try {
    const AnsiString composed = uri.ComposeURI({true, true});
    TNetURI again(composed);
    if (uri.HostName.find_first_of("/@:") == AnsiString::npos &&
        uri.LoginName.find_first_of("/@:") == AnsiString::npos &&
        uri.LoginPassword.find_first_of("/@") == AnsiString::npos &&
        uri.PortText.find_first_of("/@") == AnsiString::npos &&
        uri.Scheme.find("://") == AnsiString::npos && again.HostName != uri.HostName) {
      std::abort();
    }
    uri.RecomposeURI();
  } catch (const ENetURIException&) {
  }
  const size_t half = size / 2;
  const AnsiString merged = MergePath(text.substr(0, half), text.substr(half), "/");
  if (merged.size() > size + 1) std::abort();
  return 0;
}
