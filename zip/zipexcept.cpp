#include "zip/zipexcept.h"

#include "zip/zipconst.h"

namespace {

AnsiString compose(int32_t nativeError, const AnsiString& text, const AnsiString& componentName) {
  AnsiString message = componentName.empty() ? text : Format("%s: %s", {componentName, text});
  AnsiString digits = Format("%5d", {nativeError});
  for (char& c : digits)
    if (c == ' ') c = '0';
  return message + " - Native error: " + digits;
}

}  // namespace

EZipException::EZipException(int32_t nativeError, const AnsiString& componentName)
    : Exception(compose(nativeError, ZipErrorMessages[ZipErrorCodeOf(nativeError)], componentName)),
      ErrorCode(ZipErrorCodeOf(nativeError)),
      NativeError(nativeError) {}

EZipException::EZipException(int32_t nativeError, std::initializer_list<FormatArg> args,
                             const AnsiString& componentName)
    : Exception(compose(nativeError, Format(ZipErrorMessages[ZipErrorCodeOf(nativeError)], args),
                        componentName)),
      ErrorCode(ZipErrorCodeOf(nativeError)),
      NativeError(nativeError) {}
