#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "core/exceptions.h"
#include "tests/zip/zip_test_support.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"
#include "zip/zipexcept.h"

namespace {

using namespace ziptest;

struct Failure {
  std::string name;
  int native;
  std::string message;
};

// An archive written to a scratch folder and extracted into its "out"
// folder, with every failure collected instead of shown.
struct Extraction {
  fs::path dir, out;
  TZipArchiver zip;
  std::vector<Failure> failures;

  Extraction(const std::string& test, const TestArchive& archive) {
    dir = ScratchDir(test);
    out = dir / "base" / "out";
    fs::create_directories(out);
    WriteBytes(dir / "a.zip", BuildZip(archive));
    zip.Name = "zf";
    zip.FileName = (dir / "a.zip").string();
    zip.BaseDir = out.string();
    zip.Options.CreateDirs = false;
    zip.OnProcessFileFailure = [this](TZipBaseArchiver*, const AnsiString& name,
                                      TZipProcessOperation, int32_t native, int32_t,
                                      const AnsiString& message, TZipAction& action) {
      failures.push_back({name, native, message});
      action = fxaIgnore;
    };
  }
  void run() {
    zip.OpenArchive();
    zip.ExtractFiles("*.*", 63, "");
    zip.CloseArchive();
  }
};

std::string numbers() {
  std::string text;
  for (int i = 0; i < 700; ++i) text += std::to_string(i * 7919 % 1000) + " ";
  return text;
}

// A stored deflate block, so that the last byte is data.
std::string deflateShort() {
  const std::string full = RawDeflate(numbers(), 0);
  return full.substr(0, full.size() - 1);
}

struct ExtractCase {
  const char* title;
  std::vector<TestEntry> entries;
  bool createDirs;
  bool extractCorrupted;
  std::map<std::string, std::string> wantTree;  // under out
  std::vector<int> wantNatives;
};

void PrintTo(const ExtractCase& c, std::ostream* os) {
  *os << c.title;
}

TestEntry withPayload(TestEntry e, std::string payload) {
  e.payload = std::move(payload);
  return e;
}

TestEntry withCrc(TestEntry e, uint32_t crc) {
  e.crc = crc;
  return e;
}

TestEntry bzip2Like() {
  TestEntry e = FileEntry("b.bz2", "data");
  e.method = 12;
  e.versionNeeded = 46;
  return e;
}

TestEntry folderWithoutBit() {
  TestEntry e = FileEntry("d/", "");
  e.externalAttributes = 0;
  return e;
}

const ExtractCase kExtractCases[] = {
    {"folders are not created without CreateDirs",
     {FileEntry("db/qd.upd", "new data", 8)},
     false,
     false,
     {{"qd.upd", "new data"}},
     {}},
    {"folders are created with CreateDirs",
     {[] {
        TestEntry d = FileEntry("db/", "");
        d.externalAttributes = 0x10;
        return d;
      }(),
      FileEntry("db/qd.upd", "new data", 8), FileEntry("e/f/g/h.txt", "deep")},
     true,
     false,
     {{"db", "<dir>"},
      {"db/qd.upd", "new data"},
      {"e", "<dir>"},
      {"e/f", "<dir>"},
      {"e/f/g", "<dir>"},
      {"e/f/g/h.txt", "deep"}},
     {}},
    {"same file name in two folders: the later one wins",
     {FileEntry("a/x.dat", "first"), FileEntry("b/x.dat", "second")},
     false,
     false,
     {{"x.dat", "second"}},
     {}},
    {"empty file", {FileEntry("empty", "")}, false, false, {{"empty", ""}}, {}},
    {"deflate data one byte short: fails, partial file stays",
     {withPayload(FileEntry("short", numbers(), 8), deflateShort())},
     false,
     false,
     {{"short", RawInflate(deflateShort())}},
     {8}},
    {"stored data with a wrong CRC: fails, data stays",
     {withCrc(FileEntry("c", "abc"), 1)},
     false,
     false,
     {{"c", "abc"}},
     {8}},
    {"wrong CRC kept when corrupted files are wanted",
     {withCrc(FileEntry("c", "abc"), 1)},
     false,
     true,
     {{"c", "abc"}},
     {}},
    {"unsupported method", {bzip2Like()}, false, false, {{"b.bz2", ""}}, {8}},
    {"folder entry without the folder bit", {folderWithoutBit()}, false, false, {}, {19}},
    {"bytes after the end of the deflate data",
     {withPayload(FileEntry("tail", "payload", 8), RawDeflate("payload") + "JUNKJUNK")},
     false,
     false,
     {{"tail", "payload"}},
     {}},
    {"names that climb out are refused with CreateDirs",
     {FileEntry("../evil1", "x"), FileEntry("a/../../evil2", "x"), FileEntry("/evil3", "x"),
      FileEntry("C:evil4", "x"), FileEntry("..\\evil5", "x"), FileEntry("a/.../evil6", "x"),
      FileEntry("ok/fine", "y")},
     true,
     false,
     {{"ok", "<dir>"}, {"ok/fine", "y"}},
     {19, 19, 19, 19, 19, 19}},
    {"names that climb out keep only their file name without CreateDirs",
     {FileEntry("../evil1", "x"), FileEntry("/abs/evil3", "z"), FileEntry("C:evil4", "w")},
     false,
     false,
     {{"evil1", "x"}, {"evil3", "z"}, {"evil4", "w"}},
     {}},
};

class ExtractCases : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractCases, WritesWhatTheEntriesHold) {
  const ExtractCase& c = GetParam();
  TestArchive a;
  a.entries = c.entries;
  Extraction x("extract", a);
  x.zip.Options.CreateDirs = c.createDirs;
  x.zip.ExtractCorruptedFiles = c.extractCorrupted;
  x.run();
  EXPECT_EQ(TreeOf(x.out), c.wantTree);
  // Nothing lands beside the base folder.
  EXPECT_EQ(TreeOf(x.dir / "base").size(), TreeOf(x.out).size() + 1);
  std::vector<int> natives;
  for (const auto& f : x.failures) natives.push_back(f.native);
  EXPECT_EQ(natives, c.wantNatives);
}

INSTANTIATE_TEST_SUITE_P(Entries, ExtractCases, ::testing::ValuesIn(kExtractCases),
                         [](const auto& info) { return Identifier(info.param.title); });

TEST(Extract, FailureMessagesNameThePath) {
  TestArchive a;
  a.entries = {FileEntry("d/", ""), withCrc(FileEntry("c", "abc"), 1)};
  a.entries[0].externalAttributes = 0;
  Extraction x("messages", a);
  x.run();
  ASSERT_EQ(x.failures.size(), 2u);
  EXPECT_EQ(x.failures[0].message,
            "zf: Cannot create file \"" + x.out.string() + "\\\" - Native error: 00019");
  EXPECT_EQ(x.failures[1].name, "c");
  EXPECT_EQ(x.failures[1].message,
            "zf: Invalid size or check sum of file or unsupported compression format - Native "
            "error: 00008");
}

TEST(Extract, AnEntryThatExpandsBeyondItsSizeStopsEarly) {
  // 64 MiB of zeros declared as 10 bytes: decoding stops soon after the
  // declared size instead of writing everything out.
  TestEntry bomb = FileEntry("bomb", std::string(64 << 20, '\0'), 8);
  bomb.payload = RawDeflate(bomb.data);
  bomb.data = std::string(10, '\0');
  TestArchive a;
  a.entries = {bomb};
  Extraction x("bomb", a);
  x.run();
  ASSERT_EQ(x.failures.size(), 1u);
  EXPECT_LT(fs::file_size(x.out / "bomb"), 4u << 20);
}

// A symbolic link left where an entry is written (to a read-only file, which
// the overwrite makes writable first) is replaced by the extracted file; the
// file it points at, which may lie outside BaseDir, keeps its bytes and mode.
TEST(Extract, ALinkInTheEntrysPlaceIsReplacedNotFollowed) {
  TestArchive a;
  a.entries = {FileEntry("qd.upd", "new")};
  Extraction x("link", a);
  const fs::path outside = x.dir / "outside.txt";
  WriteBytes(outside, "outside");
  fs::permissions(outside, fs::perms::owner_read);
  fs::create_symlink(outside, x.out / "qd.upd");
  x.run();
  EXPECT_TRUE(x.failures.empty());
  EXPECT_EQ(ReadBytes(outside), "outside");
  EXPECT_EQ(fs::status(outside).permissions(), fs::perms::owner_read);
  EXPECT_FALSE(fs::is_symlink(x.out / "qd.upd"));
  EXPECT_EQ(ReadBytes(x.out / "qd.upd"), "new");
}

struct OverwriteCase {
  TZipOverwriteMode mode;
  uint16_t existingTime, entryTime;
  bool readOnly, replaceReadOnly;
  bool wantReplaced;
};

TEST(Extract, OverwriteAndReadOnlyRules) {
  const OverwriteCase cases[] = {
      {omAlways, 0x6000, 0x6000, false, true, true},
      {omNever, 0x6000, 0x7000, false, true, false},
      {omIfNewer, 0x6000, 0x6000, false, true, false},
      {omIfNewer, 0x6000, 0x7000, false, true, true},
      {omIfOlder, 0x6000, 0x7000, false, true, false},
      {omIfOlder, 0x7000, 0x6000, false, true, true},
      {omAlways, 0x6000, 0x6000, true, true, true},
      {omAlways, 0x6000, 0x6000, true, false, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string label = "case " + std::to_string(n++);
    // The existing file comes from an earlier extraction, which gives it its
    // date and, for the read-only cases, its attribute.
    TestArchive old;
    old.entries = {FileEntry("qd.upd", "old")};
    old.entries[0].dosTime = c.existingTime;
    if (c.readOnly) old.entries[0].externalAttributes = 0x21;
    Extraction first("overwrite", old);
    first.run();
    TestArchive fresh;
    fresh.entries = {FileEntry("qd.upd", "new")};
    fresh.entries[0].dosTime = c.entryTime;
    WriteBytes(first.dir / "b.zip", BuildZip(fresh));
    first.zip.FileName = (first.dir / "b.zip").string();
    first.zip.Options.OverwriteMode = c.mode;
    first.zip.Options.ReplaceReadOnly = c.replaceReadOnly;
    first.run();
    EXPECT_EQ(ReadBytes(first.out / "qd.upd"), c.wantReplaced ? "new" : "old") << label;
    EXPECT_EQ(first.zip.ProcessedCount, 1) << label;
    EXPECT_TRUE(first.failures.empty()) << label;
  }
}

TEST(Extract, PasswordsFromInfoZip) {
  if (!HaveTool("zip")) GTEST_SKIP() << "zip is not installed (Debian: zip)";
  const fs::path dir = ScratchDir("password");
  fs::create_directories(dir / "src");
  WriteBytes(dir / "src" / "one.txt", std::string(4000, '1'));
  WriteBytes(dir / "src" / "two.txt", "two");
  ASSERT_EQ(RunShell("cd " + Quote((dir / "src").string()) +
                     " && zip -q -P secret ../p.zip one.txt two.txt"),
            0);
  struct Case {
    std::string password;
    std::vector<std::string> answers;  // what the hook gives, in turn; then it skips
    std::map<std::string, std::string> want;
    int hookCalls;
    std::string passwordAfter;
  } cases[] = {
      {"secret", {}, {{"one.txt", std::string(4000, '1')}, {"two.txt", "two"}}, 0, "secret"},
      // The password that passed stays for the second entry.
      {"wrong",
       {"also wrong", "secret"},
       {{"one.txt", std::string(4000, '1')}, {"two.txt", "two"}},
       2,
       "secret"},
      // Skipping removes each entry's file and reports no failure.
      {"", {}, {}, 2, ""},
  };
  for (const auto& c : cases) {
    TZipArchiver zip;
    zip.FileName = (dir / "p.zip").string();
    const fs::path out = ScratchDir("password_out");
    zip.BaseDir = out.string();
    zip.Password = c.password;
    int calls = 0;
    bool failed = false;
    zip.OnPassword = [&](TZipBaseArchiver*, const AnsiString&, AnsiString& pw, bool& skip) {
      skip = calls >= static_cast<int>(c.answers.size());
      if (!skip) pw = c.answers[static_cast<size_t>(calls)];
      ++calls;
    };
    zip.OnProcessFileFailure = [&](TZipBaseArchiver*, const AnsiString&, TZipProcessOperation,
                                   int32_t, int32_t, const AnsiString&,
                                   TZipAction&) { failed = true; };
    zip.OpenArchive();
    zip.ExtractFiles("*.*", 63, "");
    EXPECT_EQ(TreeOf(out), c.want) << c.password;
    EXPECT_EQ(calls, c.hookCalls) << c.password;
    EXPECT_FALSE(failed) << c.password;
    EXPECT_EQ(zip.Password, c.passwordAfter);
  }
}

TEST(Extract, NeedsAnOpenArchive) {
  TZipArchiver zip;
  zip.Name = "zf";
  try {
    zip.ExtractFiles("*.*", 63, "");
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.Message, "zf: Archive is not open - Native error: 00013");
  }
}

TEST(Extract, ItemIndexOutsideTheDirectory) {
  TestArchive a;
  a.entries = {FileEntry("x", "1")};
  Extraction x("index", a);
  x.zip.OpenArchive();
  TZipMemoryStream out;
  try {
    x.zip.ExtractItem(1, out);
    ADD_FAILURE();
  } catch (const EZipException& e) {
    EXPECT_EQ(e.NativeError, 16);
  }
}

TEST(Extract, ALocalHeaderPastTheEndLeavesTheLoop) {
  TestArchive a;
  a.entries = {FileEntry("x", "1")};
  std::string bytes = BuildZip(a);
  const size_t central = bytes.find("PK\x01\x02");
  bytes.replace(central + 42, 4, std::string("\x00\x00\x01\x00", 4));  // offset 65536
  Extraction x("pastend", a);
  WriteBytes(x.dir / "a.zip", bytes);
  x.zip.OpenArchive();
  EXPECT_THROW(x.zip.ExtractFiles("*.*", 63, ""), EReadError);
  EXPECT_EQ(ReadBytes(x.out / "x"), "");
}

// Archivers on several threads at once take turns through the lock that all
// of them share, and each writes its own entries whole (scripts/tsan.sh runs
// this under ThreadSanitizer).
TEST(Extract, ArchiversOnSeveralThreadsAtOnce) {
  std::vector<std::unique_ptr<Extraction>> extractions;
  for (int t = 0; t < 3; ++t) {
    TestArchive a;
    for (int i = 0; i < 5; ++i) {
      a.entries.push_back(FileEntry("f" + std::to_string(i), numbers() + std::to_string(t), 8));
    }
    extractions.push_back(std::make_unique<Extraction>("threads" + std::to_string(t), a));
  }
  std::vector<std::thread> threads;
  for (auto& x : extractions) threads.emplace_back([&x] { x->run(); });
  for (auto& th : threads) th.join();
  for (size_t t = 0; t < extractions.size(); ++t) {
    SCOPED_TRACE(t);
    EXPECT_TRUE(extractions[t]->failures.empty());
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(ReadBytes(extractions[t]->out / ("f" + std::to_string(i))),
                numbers() + std::to_string(t));
    }
  }
}

}  // namespace
