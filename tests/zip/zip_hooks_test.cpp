#include <gtest/gtest.h>

#include <sstream>

#include "tests/zip/zip_test_support.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"

namespace {

using namespace ziptest;

TestEntry file(const std::string& name, const std::string& data) {
  TestEntry e;
  e.name = name;
  e.data = data;
  return e;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> r;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) r.push_back(l);
  return r;
}

// The default hooks answered by a scripted user: every box is printed.
struct Scripted {
  std::ostringstream printed;
  ui::TApplication app;
  fs::path dir;
  TZipArchiver zip;

  Scripted(const std::string& script, const TestArchive& archive)
      : app(std::make_unique<ui::THeadlessBackend>(printed, script, false)) {
    dir = ScratchDir("hooks");
    fs::create_directories(dir / "out");
    WriteBytes(dir / "a.zip", BuildZip(archive));
    zip.Name = "zf";
    zip.FileName = (dir / "a.zip").string();
    zip.BaseDir = (dir / "out").string();
    zip.Options.CreateDirs = false;
  }
  void extract() {
    zip.OpenArchive();
    zip.ExtractFiles("*.*", 63, "");
    zip.CloseArchive();
  }
};

const std::string kFailureBox =
    "box confirm \"Confirm\" \"zf: Invalid size or check sum of file or unsupported compression "
    "format - Native error: 00008. File processing error, possibly disk is full\" -> ";

TEST(DefaultHooks, FailureBoxRetryIgnoreAbort) {
  TestArchive a;
  TestEntry bad = file("bad", "abc");
  bad.crc = 7;
  a.entries = {bad, file("good", "fine"), bad, file("after", "late")};
  a.entries[2].name = "bad2";
  struct Case {
    std::string script;
    std::vector<std::string> wantAnswers;
    bool wantAfter;
    int wantProcessed;
  } cases[] = {
      {"answer retry;answer ignore;answer ignore", {"retry", "ignore", "ignore"}, true, 2},
      {"answer ignore;answer abort", {"ignore", "abort"}, false, 1},
      // Closing the box another way aborts.
      {"", {"cancel"}, false, 0},
  };
  for (const auto& c : cases) {
    Scripted s(c.script, a);
    s.extract();
    std::vector<std::string> want;
    for (const auto& answer : c.wantAnswers) want.push_back(kFailureBox + answer);
    EXPECT_EQ(lines(s.printed.str()), want) << c.script;
    EXPECT_EQ(fs::exists(s.dir / "out" / "after"), c.wantAfter) << c.script;
    EXPECT_EQ(s.zip.ProcessedCount, c.wantProcessed) << c.script;
  }
}

TEST(DefaultHooks, OverwriteBoxAnswers) {
  TestArchive a;
  a.entries = {file("one", "new1"), file("two", "new2"), file("three", "new3")};
  struct Case {
    std::string script;
    int wantBoxes;
    std::string want;  // "n" for a replaced file, "o" for a kept one
    TZipOverwriteMode wantMode;
  } cases[] = {
      {"answer notoall", 1, "ooo", omNever},
      {"answer yestoall", 1, "nnn", omAlways},
      {"answer yes;answer no;answer yes", 3, "non", omPrompt},
      {"", 3, "ooo", omPrompt},
  };
  for (const auto& c : cases) {
    Scripted s(c.script, a);
    for (const char* name : {"one", "two", "three"}) WriteBytes(s.dir / "out" / name, "old");
    s.zip.Options.OverwriteMode = omPrompt;
    s.extract();
    const auto printed = lines(s.printed.str());
    EXPECT_EQ(static_cast<int>(printed.size()), c.wantBoxes) << c.script;
    const std::string firstBox = "box confirm \"Confirm\" \"Overwrite file \\\"" + s.zip.BaseDir +
                                 "\\\\one\\\" with \\\"one\\\"\" -> ";
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed[0].substr(0, firstBox.size()), firstBox);
    std::string got;
    for (const char* name : {"one", "two", "three"})
      got += ReadBytes(s.dir / "out" / name) == "old" ? 'o' : 'n';
    EXPECT_EQ(got, c.want) << c.script;
    EXPECT_EQ(s.zip.Options.OverwriteMode, c.wantMode) << c.script;
  }
}

TEST(DefaultHooks, PasswordBox) {
  if (!HaveTool("zip")) GTEST_SKIP() << "zip is not installed (Debian: zip)";
  const fs::path src = ScratchDir("hooks_src");
  WriteBytes(src / "a.txt", "first");
  WriteBytes(src / "b.txt", "second");
  ASSERT_EQ(RunShell("cd " + Quote(src.string()) + " && zip -q -P pass p.zip a.txt b.txt"), 0);
  struct Case {
    std::string script;
    std::vector<std::string> wantLines;
    bool wantFiles;
  } cases[] = {
      {"answer text:nope;answer text:pass",
       {"box input \"Password for \\\"a.txt\\\"\" \"Enter password: \" -> text:nope",
        "box input \"Password for \\\"a.txt\\\"\" \"Enter password: \" -> text:pass"},
       true},
      {"answer cancel",
       {"box input \"Password for \\\"a.txt\\\"\" \"Enter password: \" -> cancel",
        "box input \"Password for \\\"b.txt\\\"\" \"Enter password: \" -> cancel"},
       false},
  };
  for (const auto& c : cases) {
    Scripted s(c.script, TestArchive());
    s.zip.FileName = (src / "p.zip").string();
    s.extract();
    EXPECT_EQ(lines(s.printed.str()), c.wantLines) << c.script;
    EXPECT_EQ(fs::exists(s.dir / "out" / "a.txt"), c.wantFiles);
    EXPECT_EQ(fs::exists(s.dir / "out" / "b.txt"), c.wantFiles);
    if (c.wantFiles) {
      EXPECT_EQ(ReadBytes(s.dir / "out" / "b.txt"), "second");
    }
  }
}

TEST(DefaultHooks, ProgressAndConfirmEvents) {
  TestArchive a;
  a.entries = {file("dir/one", std::string(10, 'x')), file("two", "y")};
  Scripted s("", a);
  std::vector<std::string> seen;
  s.zip.OnFileProgress = [&](TZipBaseArchiver*, const AnsiString& name, double progress,
                             TZipProcessOperation op, TZipProgressPhase phase, bool&) {
    seen.push_back("file " + name + " " + std::to_string(static_cast<int>(progress)) + " " +
                   std::to_string(phase) + " " + std::to_string(op));
  };
  s.zip.OnOverallProgress = [&](TZipBaseArchiver*, double progress, TZipProcessOperation,
                                TZipProgressPhase phase, bool&) {
    seen.push_back("all " + std::to_string(static_cast<int>(progress)) + " " +
                   std::to_string(phase));
  };
  s.zip.OnConfirmProcessFile = [&](TZipBaseArchiver*, const AnsiString& name, TZipProcessOperation,
                                   bool& confirm) { confirm = name != "two"; };
  s.extract();
  const std::vector<std::string> want = {"all 0 0", "file dir\\one 0 0 4",   "file dir\\one 0 1 4",
                                         "all 0 1", "file dir\\one 100 2 4", "all 100 2"};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(s.zip.ProcessedCount, 1);
  EXPECT_FALSE(fs::exists(s.dir / "out" / "two"));
}

}  // namespace
