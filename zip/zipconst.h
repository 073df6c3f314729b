#pragma once
// The archiver's message tables: the 32 error texts, the map from native
// error numbers to error codes, and the texts of the default dialogs.

#include <cstdint>

#include "core/ansistring.h"

constexpr int kZipErrorMessageCount = 32;
extern const char* const ZipErrorMessages[kZipErrorMessageCount];

struct TZipNativeToErrorCode {
  int32_t NativeError;
  int32_t ErrorCode;
};
constexpr int kZipNativeToErrorCodeCount = 53;
extern const TZipNativeToErrorCode ZipNativeToErrorCode[kZipNativeToErrorCodeCount];

// The error code of a native error number; 0 for a number without a row.
int32_t ZipErrorCodeOf(int32_t nativeError);

extern const char* const SConfirmOverwrite;
extern const char* const SPasswordTitle;
extern const char* const SPasswordPrompt;
extern const char* const SOnProcessFileFailure;
extern const char* const SOnRequestBlankDisk;
extern const char* const SOnRequestFirstDisk;
extern const char* const SOnRequestLastDisk;
extern const char* const SOnRequestMiddleDisk;
extern const char* const SOnDiskFull;
