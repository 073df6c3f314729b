#include <gtest/gtest.h>

#include <set>

#include "tests/zip/zip_test_support.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"

namespace {

using namespace ziptest;

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    TestArchive a;
    auto add = [&](const std::string& name, uint32_t attributes) {
      TestEntry e;
      e.name = name;
      e.data = "x";
      e.externalAttributes = attributes;
      a.entries.push_back(e);
    };
    add("README", 0x20);
    add("data/", 0x10);
    add("data/qd.upd", 0x20);
    add("qd.upd", 0x20);
    add("hidden.sys", 0x22);
    add("locked.txt", 0x21);
    add("notes.TXT", 0x20);
    const fs::path path = ScratchDir("select") / "s.zip";
    WriteBytes(path, BuildZip(a));
    zip.FileName = path.string();
    zip.OpenArchive();
  }

  std::set<std::string> tagged() {
    std::set<std::string> names;
    TZipDirArray& dir = zip.DirManager()->Directory;
    for (int i = 0; i < dir.GetCount(); ++i)
      if (dir.GetItemPtr(i)->Tagged) names.insert(dir.GetItemPtr(i)->StoredName);
    return names;
  }

  TZipArchiver zip;
};

TEST_F(Selection, MasksAttributesAndExclusions) {
  struct Case {
    std::string mask;
    int attr;
    std::string exclusion;
    std::set<std::string> want;
  } cases[] = {
      {"*.*",
       63,
       "",
       {"README", "data/", "data/qd.upd", "qd.upd", "hidden.sys", "locked.txt", "notes.TXT"}},
      {"*.upd", 63, "", {"data/qd.upd", "qd.upd"}},
      {"QD.UPD", 63, "", {"qd.upd"}},
      {"data\\*.upd", 63, "", {"data/qd.upd"}},
      {"C:data\\*.upd", 63, "", {"data/qd.upd"}},
      {"\\\\server\\share\\data\\*.upd", 63, "", {}},
      {"DATA", 63, "", {"data/"}},
      {"*.*",
       0x27,
       "",
       {"README", "data/qd.upd", "qd.upd", "hidden.sys", "locked.txt", "notes.TXT"}},
      {"*.*", 0, "", {"README", "data/qd.upd", "qd.upd", "locked.txt", "notes.TXT"}},
      {"*.*", 63, "*.txt", {"README", "data/", "data/qd.upd", "qd.upd", "hidden.sys"}},
      {"*", 63, "data\\*", {"README", "data/", "qd.upd", "hidden.sys", "locked.txt", "notes.TXT"}},
  };
  for (const auto& c : cases) {
    zip.TagFiles(c.mask, c.attr, c.exclusion);
    EXPECT_EQ(tagged(), c.want) << c.mask << " " << c.attr << " " << c.exclusion;
  }
}

TEST_F(Selection, PropertyListsAndRetagging) {
  zip.TagFiles("*.*", 63, "");
  zip.TagFiles();  // empty FileMasks: nothing, and the earlier tags are gone
  EXPECT_TRUE(tagged().empty());
  zip.FileMasks.Add("*.upd");
  zip.FileMasks.Add("README");
  zip.ExclusionMasks.Add("data\\*");
  zip.TagFiles();
  EXPECT_EQ(tagged(), (std::set<std::string>{"README", "qd.upd"}));
}

TEST_F(Selection, SearchRecordReportsTheEntry) {
  TZipArchiveItem item;
  ASSERT_TRUE(zip.FindFirst("*qd.upd", item, 63, ""));
  EXPECT_EQ(item.FileName, "qd.upd");
  EXPECT_EQ(item.StoredPath, "data\\");
  EXPECT_EQ(item.UncompressedSize, 1);
  EXPECT_DOUBLE_EQ(item.CompressionRate, 0);
  ASSERT_TRUE(zip.FindNext(item));
  EXPECT_EQ(item.StoredPath, "");
  EXPECT_EQ(item.FSearchRec.SearchIndex, 3);
  EXPECT_FALSE(zip.FindNext(item));
}

TEST(AttributeMatch, OnlyHiddenSystemVolumeAndFolderBitsExclude) {
  struct Case {
    uint32_t attributes, mask;
    bool want;
  } cases[] = {{0x10, 0x27, false}, {0x22, 0x27, true}, {0x21, 0, true},
               {0x08, 0x37, false}, {0x10, 63, true},   {0x81A40000, 0, true}};
  for (const auto& c : cases)
    EXPECT_EQ(TZipBaseArchiver::CheckAttributesMatch(c.attributes, c.mask), c.want)
        << std::hex << c.attributes << " " << c.mask;
}

}  // namespace
