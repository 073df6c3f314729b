#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "platform/codepage.h"
#include "tests/zip/zip_test_support.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"
#include "zip/zipexcept.h"

namespace {

using namespace ziptest;

TestEntry folder(const std::string& name) {
  TestEntry e;
  e.name = name;
  e.externalAttributes = 0x10;
  return e;
}

// Opens bytes written to a scratch file; the archiver is named "zf".
struct Opened {
  fs::path path;
  TZipArchiver zip;
  explicit Opened(const std::string& bytes, const std::string& dirName = "open") {
    path = ScratchDir(dirName) / "a.zip";
    WriteBytes(path, bytes);
    zip.Name = "zf";
    zip.FileName = path.string();
  }
  TZipDirArray& dir() { return zip.DirManager()->Directory; }
};

struct OpenCase {
  const char* title;
  std::function<std::string()> bytes;
  std::function<void(TZipArchiver&)> setUp;
  // Empty: the archive opens; else the message the open raises.
  std::string error;
  std::function<void(Opened&)> check;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
  *os << c.title;
}

std::string withComment() {
  TestArchive a;
  a.entries = {FileEntry("a.txt", "hello")};
  a.comment = "archive comment";
  return BuildZip(a);
}

std::string cutExtra(size_t extraLength) {
  TestArchive a;
  TestEntry e = FileEntry("x", "1");
  // One whole block with a data size beyond the field, or a cut header.
  e.extra = extraLength == 3 ? std::string("\x01\x00\x08", 3)
                             : std::string("\x55\x54\x40\x00\x01\x02\x03\x04\x05", 9);
  a.entries = {e};
  return BuildZip(a);
}

std::string zip64BlockWithoutOffset() {
  TestArchive a;
  TestEntry e = FileEntry("x", "abc");
  e.extra = std::string("\x01\x00\x00\x00", 4);
  a.entries = {e};
  std::string bytes = BuildZip(a);
  // The central header's offset field becomes the ZIP64 marker.
  const size_t central = bytes.find("PK\x01\x02");
  bytes.replace(central + 42, 4, "\xFF\xFF\xFF\xFF");
  return bytes;
}

std::string withEndField(size_t offset, const std::string& value) {
  TestArchive a;
  a.entries = {FileEntry("x", "abc")};
  std::string bytes = BuildZip(a);
  bytes.replace(bytes.rfind("PK\x05\x06") + offset, value.size(), value);
  return bytes;
}

const OpenCase kOpenCases[] = {
    {"comment reaching the end of the file", withComment, nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.zip.FileComment(), "archive comment");
       EXPECT_EQ(o.dir().GetCount(), 1);
     }},
    {"one byte after the comment", [] { return withComment() + "x"; }, nullptr,
     "zf: Archive is damaged. Open failed - Native error: 00048", nullptr},
    {"fewer than 22 bytes", [] { return std::string("PK\x05\x06", 4); }, nullptr,
     "zf: Archive is damaged. Open failed - Native error: 00048", nullptr},
    {"empty file", [] { return std::string(); }, nullptr,
     "zf: Archive is damaged. Open failed - Native error: 00048", nullptr},
    {"no entries behind a stub",
     [] {
       TestArchive a;
       a.stub = "12345";
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.dir().GetCount(), 0);
       EXPECT_EQ(o.zip.DirManager()->StubSize, 5);
     }},
    {"stub whose bytes the offsets do not count",
     [] {
       TestArchive a;
       a.entries = {folder("d/"), FileEntry("d/a", "alpha"), FileEntry("b", "beta")};
       a.entries[0].dosTime = 1;  // the folder entry is first
       a.stub = std::string(1000, 'S');
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.zip.DirManager()->StubSize, 1000);
       EXPECT_EQ(o.dir().GetItemPtr(0)->LocalHeaderOffset(), 0);  // folders keep theirs
       EXPECT_EQ(o.dir().GetItemPtr(1)->LocalHeaderOffset(), 1000 + 30 + 2);
       TZipMemoryStream out;
       o.zip.ExtractItem(2, out);
       EXPECT_EQ(out.Data(), "beta");
     }},
    {"stub in front of entries with data descriptors",
     [] {
       TestArchive a;
       a.entries = {FileEntry("a", "alpha", 8), FileEntry("b", "beta", 8)};
       for (auto& e : a.entries) e.dataDescriptor = true;
       a.stub = std::string(333, 'S');
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.zip.DirManager()->StubSize, 333);
       TZipMemoryStream out;
       o.zip.ExtractItem(1, out);
       EXPECT_EQ(out.Data(), "beta");
     }},
    {"stub that the offsets count",
     [] {
       TestArchive a;
       a.entries = {FileEntry("a", "alpha")};
       a.stub = std::string(1000, 'S');
       a.offsetsCountStub = true;
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.zip.DirManager()->StubSize, 0);
       EXPECT_EQ(o.dir().GetItemPtr(0)->LocalHeaderOffset(), 1000);
     }},
    {"names: backslashes, a zero byte, UTF-8 flag, 300 bytes",
     [] {
       TestArchive a;
       TestEntry utf8 = FileEntry("\xD0\x96\xD1\x83\xD0\xBA.txt", "x");
       utf8.flags = 0x0800;
       a.entries = {FileEntry("dir\\sub\\f.txt", "1"), FileEntry(std::string("cut\0here", 8), "2"),
                    utf8, FileEntry(std::string(300, 'n'), "3")};
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.dir().GetItemPtr(0)->StoredName, "dir/sub/f.txt");
       EXPECT_EQ(o.dir().GetItemPtr(1)->StoredName, "cut");
       EXPECT_EQ(o.dir().GetItemPtr(2)->StoredName, Cp1251("Жук.txt"));
       EXPECT_EQ(o.dir().GetItemPtr(3)->StoredName, std::string(300, 'n'));
     }},
    {"OEM name and raw comment",
     [] {
       TestArchive a;
       TestEntry e = FileEntry("\x92\xA5\xE1\xE2.txt", "x");  // "Тест" in code page 866
       e.comment = "\x92\xA5";
       a.entries = {e};
       return BuildZip(a);
     },
     nullptr, "",
     [](Opened& o) {
       EXPECT_EQ(o.dir().GetItemPtr(0)->StoredName, Cp1251("Тест.txt"));
       EXPECT_EQ(o.dir().GetItemPtr(0)->ItemComment, "\x92\xA5");
     }},
    {"extra field whose last block header is cut short", [] { return cutExtra(3); }, nullptr, "",
     [](Opened& o) { EXPECT_TRUE(o.dir().GetItemPtr(0)->ExtraFields.empty()); }},
    {"extra block announcing more data than the field holds", [] { return cutExtra(9); }, nullptr,
     "",
     [](Opened& o) {
       const auto& blocks = o.dir().GetItemPtr(0)->ExtraFields;
       ASSERT_EQ(blocks.size(), 1u);
       EXPECT_EQ(blocks[0].DataSize, 5);
       EXPECT_EQ(blocks[0].Data, "\x01\x02\x03\x04\x05");
     }},
    {"ZIP64 block without the offset the stored marker asks for", zip64BlockWithoutOffset, nullptr,
     "",
     [](Opened& o) {
       EXPECT_TRUE(o.dir().GetItemPtr(0)->HasZip64Info);
       EXPECT_EQ(o.dir().GetItemPtr(0)->Zip64HeaderOffset, 0);
     }},
    {"entry count larger than the file can hold",
     [] { return withEndField(8, std::string("\xFF\xFF\xFF\xFF", 4)); }, nullptr,
     "Stream read error", nullptr},
    {"directory size larger than the file",
     [] { return withEndField(12, std::string("\xFF\xFF\xFF\x7F", 4)); }, nullptr,
     "Stream read error", nullptr},
    {"end record of another disk", [] { return withEndField(4, std::string("\x01\x00", 2)); },
     nullptr, "zf: Cannot open archive file. Opening aborted or invalid file - Native error: 00044",
     nullptr},
    {"ZIP64 locator without its record",
     [] {
       TestArchive a;
       a.entries = {FileEntry("x", "abc")};
       std::string bytes = BuildZip(a);
       std::string locator("PK\x06\x07", 4);
       locator += std::string(16, '\0');
       return bytes.insert(bytes.rfind("PK\x05\x06"), locator);
     },
     nullptr, "Cannot find Zip64 directory end record - Native error: 00040", nullptr},
    {"only an end record of the other signature: rebuilt from local headers",
     [] {
       TestArchive a;
       a.entries = {FileEntry("a", "alpha"), FileEntry("e", "")};
       std::string bytes = BuildZip(a);
       bytes.replace(bytes.rfind("PK\x05\x06"), 4, "AA\x05\x06");
       return bytes;
     },
     nullptr, "",
     [](Opened& o) {
       ASSERT_EQ(o.dir().GetCount(), 2);
       EXPECT_EQ(o.dir().GetItemPtr(0)->StoredName, "a");
       EXPECT_EQ(o.dir().GetItemPtr(0)->CentralDir.ExternalFileAttributes, 0x20u);
       EXPECT_EQ(o.dir().GetItemPtr(1)->CentralDir.ExternalFileAttributes, 0x10u);
       EXPECT_EQ(o.dir().GetItemPtr(1)->LocalHeaderOffset(), 30 + 1 + 5);
       EXPECT_EQ(o.zip.FileComment(), "");
     }},
    {"no end record, corrupted archives allowed: rebuilt",
     [] {
       TestArchive a;
       a.entries = {FileEntry("a", "alpha")};
       const std::string bytes = BuildZip(a);
       return bytes.substr(0, bytes.find("PK\x01\x02"));
     },
     [](TZipArchiver& z) { z.OpenCorruptedArchives = true; }, "",
     [](Opened& o) {
       ASSERT_EQ(o.dir().GetCount(), 1);
       TZipMemoryStream out;
       o.zip.ExtractItem(0, out);
       EXPECT_EQ(out.Data(), "alpha");
     }},
    {"corrupted archives allowed, no local header at all",
     [] { return std::string("not an archive at all, not even close"); },
     [](TZipArchiver& z) { z.OpenCorruptedArchives = true; },
     "Invalid archive file. - Native error: 00035", nullptr},
};

class OpenArchiveCases : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenArchiveCases, OpensOrFails) {
  const OpenCase& c = GetParam();
  Opened o(c.bytes());
  if (c.setUp) c.setUp(o.zip);
  if (c.error.empty()) {
    ASSERT_NO_THROW(o.zip.OpenArchive());
    EXPECT_TRUE(o.zip.Active());
    if (c.check) c.check(o);
    return;
  }
  try {
    o.zip.OpenArchive();
    ADD_FAILURE() << "opened";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, c.error);
  }
  EXPECT_FALSE(o.zip.Active());
  EXPECT_EQ(o.zip.DirManager(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Archives, OpenArchiveCases, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return Identifier(info.param.title); });

TEST(OpenArchive, NamesAndModes) {
  const fs::path dir = ScratchDir("modes");
  TZipArchiver zip;
  zip.Name = "zf";
  zip.FileName = (dir / "sub").string() + "\\";
  try {
    zip.OpenArchive();
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.NativeError, 9);
  }
  try {
    zip.OpenArchive(0x40);
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.NativeError, 10);
  }
  zip.FileName = (dir / "missing.zip").string();
  try {
    zip.OpenArchive(0x40);
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.Message, "zf: File \"" + zip.FileName + "\" not found - Native error: 00012");
  }
  zip.InMemory = true;
  zip.FileName = (dir / "x.zip").string();
  WriteBytes(zip.FileName, "");
  EXPECT_THROW(zip.OpenArchive(0x40), EZipException);
}

TEST(OpenArchive, AMissingFileBecomesAnEmptyArchiveOnClose) {
  const fs::path path = ScratchDir("create") / "new.zip";
  TZipArchiver zip;
  zip.FileName = path.string();
  zip.OpenArchive();
  EXPECT_EQ(zip.OpenMode(), 0xFFFF);
  EXPECT_EQ(zip.DirManager()->Directory.GetCount(), 0);
  zip.CloseArchive();
  EXPECT_EQ(ReadBytes(path), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  // The result opens as an archive of no entries.
  zip.OpenArchive();
  EXPECT_EQ(zip.OpenMode(), 0x22);
  EXPECT_EQ(zip.DirManager()->Directory.GetCount(), 0);
  EXPECT_EQ(zip.DirManager()->StubSize, 0);
}

// The archive is opened read-only when the write probe fails. Root writes to
// read-only files, so as root the check runs in a child process that first
// gives up its rights to those of "nobody"; the archive then lives in the
// system's temporary folder, which every user can reach.
TEST(OpenArchive, AFileThatCannotBeWrittenOpensReadOnly) {
  TestArchive a;
  a.entries = {FileEntry("a", "alpha")};
  const bool root = ::geteuid() == 0;
  const fs::path folder =
      root ? fs::temp_directory_path() / ("qd-readonly-" + std::to_string(::getpid()))
           : ScratchDir("readonly");
  fs::create_directories(folder);
  const fs::path path = folder / "a.zip";
  WriteBytes(path, BuildZip(a));
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  auto openAndRead = [&] {
    TZipArchiver zip;
    zip.Name = "zf";
    zip.FileName = path.string();
    zip.OpenArchive();
    TZipMemoryStream out;
    zip.ExtractItem(0, out);
    return zip.OpenMode() == 0x40 && out.Data() == "alpha";
  };
  if (root) {
    fs::permissions(folder, fs::perms::all);
    EXPECT_EXIT(
        {
          const uid_t nobody = 65534;
          if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) std::_Exit(2);
          if (std::ofstream(path, std::ios::app).is_open()) std::_Exit(3);
          std::_Exit(openAndRead() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    fs::remove_all(folder);
  } else {
    ASSERT_FALSE(std::ofstream(path, std::ios::app).is_open());
    EXPECT_TRUE(openAndRead());
  }
}

// Archives made by Info-ZIP zip and Python's zipfile.
class MadeByTools : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"zip", "python3"})
      if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed (Debian: zip, python3)";
    dir = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir / "src" / "d");
    WriteBytes(dir / "src" / "a.txt", "alpha\n");
    WriteBytes(dir / "src" / "d" / "b.txt", std::string(5000, 'b'));
  }
  std::string inDir(const std::string& cmd) { return "cd " + Quote(dir.string()) + " && " + cmd; }
  fs::path dir;
};

TEST_F(MadeByTools, CommentStubsAndZip64) {
  ASSERT_EQ(RunShell(inDir(
                "cd src && zip -qr ../plain.zip . && echo 'the comment' | zip -qz ../plain.zip")),
            0);
  ASSERT_EQ(RunShell(inDir("cd src && echo 'the comment' | zip -qr -fz -z ../z64.zip .")), 0);
  ASSERT_EQ(RunShell(inDir("head -c 777 /dev/urandom > stub && cat stub plain.zip > stubbed.zip && "
                           "cp stubbed.zip adjusted.zip && zip -qA adjusted.zip")),
            0);
  struct Case {
    const char* file;
    bool zip64;
    int64_t stub;
  } cases[] = {{"plain.zip", false, 0},
               {"z64.zip", true, 0},
               {"stubbed.zip", false, 777},
               {"adjusted.zip", false, 0}};
  for (const auto& c : cases) {
    TZipArchiver zip;
    zip.FileName = (dir / c.file).string();
    ASSERT_NO_THROW(zip.OpenArchive()) << c.file;
    EXPECT_EQ(zip.DirManager()->IsZip64, c.zip64) << c.file;
    EXPECT_EQ(zip.DirManager()->StubSize, c.stub) << c.file;
    EXPECT_EQ(zip.FileComment(), "the comment") << c.file;
    const fs::path out = dir / ("out_" + std::string(c.file));
    zip.BaseDir = out.string();
    zip.ExtractFiles("*.*", 63, "");
    EXPECT_EQ(TreeOf(out), TreeOf(dir / "src")) << c.file;
  }
}

TEST_F(MadeByTools, TrailingByteIsDamage) {
  ASSERT_EQ(RunShell(inDir("cd src && zip -qr ../t.zip . && printf x >> ../t.zip")), 0);
  TZipArchiver zip;
  zip.Name = "zf";
  zip.FileName = (dir / "t.zip").string();
  try {
    zip.OpenArchive();
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.NativeError, 48);
  }
}

TEST_F(MadeByTools, Cp866NameFromPython) {
  // zipfile stores plain ASCII names without the UTF-8 flag; the name's
  // bytes are then replaced by "Отчёт.txt" in code page 866, as a DOS-era
  // tool would have stored it.
  const std::string script =
      "import zipfile\n"
      "with zipfile.ZipFile('cp866.zip', 'w') as z: z.writestr('QQQQQ.txt', 'data')\n"
      "raw = open('cp866.zip', 'rb').read().replace(b'QQQQQ', 'Отчёт'.encode('cp866'))\n"
      "open('cp866.zip', 'wb').write(raw)\n";
  WriteBytes(dir / "make.py", script);
  ASSERT_EQ(RunShell(inDir("python3 make.py")), 0);
  TZipArchiver zip;
  zip.FileName = (dir / "cp866.zip").string();
  zip.OpenArchive();
  EXPECT_EQ(zip.DirManager()->Directory.GetItemPtr(0)->StoredName, Cp1251("Отчёт.txt"));
  zip.BaseDir = (dir / "out").string();
  zip.Options.CreateDirs = true;
  zip.ExtractFiles("*.*", 63, "");
  EXPECT_EQ(ReadBytes(dir / "out" / "Отчёт.txt"), "data");
}

}  // namespace
