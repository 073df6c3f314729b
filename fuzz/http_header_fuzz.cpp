// Reads arbitrary header lines into a response record and writes a folded
// header from them: every value set must read back with single blanks where
// the folding broke it.

#include <cstdint>
#include <string>

#include "core/exceptions.h"
#include "http/header_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TNetResponseHeaderInfo response;
  response.HeaderLines.SetText(text);
  try {
    response.ReadFields();
  } catch (const EConvertError&) {
  }
  TNetHeaderList folded;
  folded.FoldWidth = 1 + static_cast<int>(size % 97);
  for (int i = 0; i < response.HeaderLines.Count() && i < 64; ++i) {
    const AnsiString name = response.HeaderLines.NameAt(i);
    const AnsiString value = response.HeaderLines.ValueAt(i);
    if (name.empty()) continue;
    folded.SetHeader(name, value);
    folded.GetHeader(name);
  }
  TNetRequestHeaderInfo request;
  request.Host = text.substr(0, 200);
  request.SetCustomHeaders(response.HeaderLines);
  request.WriteFields();
  return 0;
}
