#include <gtest/gtest.h>

#include "zip/zipconst.h"
#include "zip/zipexcept.h"

namespace {

struct MessageCase {
  int native;
  const char* component;
  int wantCode;
  const char* wantMessage;
};

TEST(ZipException, ComposesComponentTextAndNativeNumber) {
  const MessageCase cases[] = {
      {48, "zf", 27, "zf: Archive is damaged. Open failed - Native error: 00048"},
      {2, "", 1, "Index out of bounds - Native error: 00002"},
      {53, "", 0, "Unknown error - Native error: 00053"},
      {5, "zf", 2,
       "zf: Invalid compression mode. Mode must be in [0-9] range - Native error: 00005"},
      {35, "", 18, "Invalid archive file. - Native error: 00035"},
      {8, "zf", 4,
       "zf: Invalid size or check sum of file or unsupported compression format - Native error: "
       "00008"},
      {40, "", 22, "Cannot find Zip64 directory end record - Native error: 00040"},
      {-1, "", 0, "Unknown error - Native error: 000-1"},
  };
  for (const auto& c : cases) {
    const EZipException e(c.native, c.component);
    EXPECT_EQ(e.NativeError, c.native);
    EXPECT_EQ(e.ErrorCode, c.wantCode) << c.native;
    EXPECT_EQ(e.Message, c.wantMessage);
  }
}

TEST(ZipException, PlaceholdersTakeTheGivenArguments) {
  const EZipException created(19, {"C:\\work\\qd.upd"}, "zf");
  EXPECT_EQ(created.Message, "zf: Cannot create file \"C:\\work\\qd.upd\" - Native error: 00019");
  const EZipException missing(12, {"qd.zip"}, "");
  EXPECT_EQ(missing.Message, "File \"qd.zip\" not found - Native error: 00012");
  EXPECT_EQ(missing.ErrorCode, 6);
}

TEST(ZipException, NativeTableCoversEveryNumberInOrder) {
  for (int i = 0; i < kZipNativeToErrorCodeCount; ++i) {
    EXPECT_EQ(ZipNativeToErrorCode[i].NativeError, i);
    EXPECT_GE(ZipNativeToErrorCode[i].ErrorCode, 0);
    EXPECT_LT(ZipNativeToErrorCode[i].ErrorCode, kZipErrorMessageCount);
  }
  const std::pair<int, int> rows[] = {{16, 1}, {20, 10}, {26, 13}, {39, 21}, {44, 24}, {52, 31}};
  for (const auto& [native, code] : rows) EXPECT_EQ(ZipErrorCodeOf(native), code) << native;
}

}  // namespace
