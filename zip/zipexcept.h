#pragma once
// The archiver's one exception class. It carries the native error number,
// which names the situation, and the error code, which selects the message
// text; the message is composed from the component's name, the text and the
// native number ("zf: Archive is damaged. Open failed - Native error: 00048").

#include <cstdint>
#include <initializer_list>

#include "core/exceptions.h"
#include "core/format.h"

class EZipException : public Exception {
 public:
  // componentName is the name of the component on whose behalf the error is
  // raised; an empty name (or none) gives no prefix.
  explicit EZipException(int32_t nativeError, const AnsiString& componentName = AnsiString());
  EZipException(int32_t nativeError, std::initializer_list<FormatArg> args,
                const AnsiString& componentName = AnsiString());

  int32_t ErrorCode;
  int32_t NativeError;
};
