#include <gtest/gtest.h>

#include "zip/zip_dir_array.h"
#include "zip/zipexcept.h"

namespace {

TEST(ZipDirArray, IndexErrorsNameTheOperation) {
  TZipDirArray dir;
  dir.SetCount(2);
  struct Case {
    std::function<void()> call;
    int native;
  } cases[] = {
      {[&] { dir.SetItem(2, TDirItem()); }, 1},
      {[&] { dir.GetItem(-1); }, 2},
      {[&] { dir.GetItemPtr(2); }, 3},
      {[&] { dir.DeleteItem(5); }, 4},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for native " << c.native;
    } catch (const EZipException& e) {
      EXPECT_EQ(e.NativeError, c.native);
      EXPECT_EQ(e.Message, "Index out of bounds - Native error: 0000" + std::to_string(c.native));
    }
  }
}

TEST(ZipDirArray, GrowsByADoublingStep) {
  TZipDirArray dir;
  dir.SetCount(1);
  EXPECT_GE(dir.Capacity(), 400);  // the step doubled from 200
  dir.SetCount(401);
  EXPECT_GE(dir.Capacity(), 1200);
  dir.GetItemPtr(400)->Tagged = true;
  dir.ClearTags();
  EXPECT_FALSE(dir.GetItem(400).Tagged);
  dir.DeleteItem(0);
  EXPECT_EQ(dir.GetCount(), 400);
  dir.SetCount(0);
  EXPECT_EQ(dir.GetCount(), 0);
}

TEST(DirItem, OffsetsBeyondTheStoredFieldMoveToTheZip64Value) {
  TDirItem item;
  item.CentralDir.RelativeOffsetOfLocalHeader = 0xFFFFFF00u;
  item.AddToLocalHeaderOffset(0x200);
  EXPECT_EQ(item.CentralDir.RelativeOffsetOfLocalHeader, 0xFFFFFFFFu);
  EXPECT_EQ(item.LocalHeaderOffset(), 0x100000100LL);
  item.AddToLocalHeaderOffset(8);
  EXPECT_EQ(item.LocalHeaderOffset(), 0x100000108LL);
}

}  // namespace
