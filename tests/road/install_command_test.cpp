// The install command end to end on the headless back-end: the install
// dialog shown modally over the main dialog, as the download command shows
// it, in a sandbox root made by the sample-root script.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "app/copy_form.h"
#include "app/shared_state.h"
#include "app/update_form.h"
#include "platform/registry.h"
#include "tests/road/road_sandbox.h"
#include "ui/headless/headless_backend.h"

namespace {

using namespace road;
using namespace std::string_literals;

const std::string kSuccessBox =
    "box plain \"qdupdate\" \"Database update has been successfully completed\" -> ok\n";
const std::string kCopyFailedBox =
    "box plain \"qdupdate\" \"Can't continue with update. Please close all @Quorvane modules "
    "before.\" -> ok\n";
const std::string kNoKeyBox = "box error \"qdupdate\" \"Failed to create key \" -> ok\n";
const std::string kList = "upd-2026-12\r\nline two\r\n";

bool has(const std::string& output, const std::string& record) {
  return output.find(record) != std::string::npos;
}

class InstallCommandTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    const std::string script =
        std::string(std::getenv("QD_TEST_SOURCE_DIR")) + "/scripts/make_sample_root.sh";
    ASSERT_EQ(std::system(("bash " + script + " " + root.string()).c_str()), 0);
    work = root / "work";
    installed = root / "Windows" / "System32" / "qdztempl.dll";
    fs::create_directories(work);
    previous = fs::current_path();
    fs::current_path(work);
    WriteBytes(work / "qd.upd", newDatabase);
    NewUpdateText = kList;
  }
  void TearDown() override {
    NewUpdateText.clear();
    fs::current_path(previous);
    SandboxTest::TearDown();
  }

  // Both dialogs on a headless back-end with the user's actions; the install
  // dialog is shown modally and the records it printed are returned.
  std::string install(const std::string& script) {
    std::ostringstream out;
    ui::TApplication app(std::make_unique<ui::THeadlessBackend>(out, script, false));
    TUpdateForm updateForm(app);
    TCopyForm copyForm(app);
    copyForm.Form.ShowModal();
    return out.str();
  }

  // The value file of CurrentUpdate, or none.
  std::optional<std::string> currentUpdate() const {
    const fs::path file = keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk/CurrentUpdate");
    if (!fs::exists(file)) return std::nullopt;
    return ReadBytes(file);
  }

  fs::path work, installed;
  std::string newDatabase = "new database\0\x01\x02 bytes"s + std::string(100000, 'n');
  std::string oldDatabase = "old database" + std::string(50000, 'o');
  fs::path previous;
};

TEST_F(InstallCommandTest, ContinueCopiesTheDatabaseAndRecordsTheUpdate) {
  WriteBytes(installed, oldDatabase);
  const std::string output = install("click CopyForm.Button2");
  EXPECT_TRUE(has(output, "form CopyForm shown \"Завершение обновления\"\n")) << output;
  EXPECT_TRUE(has(output, kSuccessBox + "form CopyForm closed\n")) << output;
  EXPECT_EQ(ReadBytes(installed), newDatabase);
  EXPECT_EQ(currentUpdate(), "upd-2026-12\0"s);
  // Read back through the registry calls: a REG_SZ.
  platform::RegKey key = platform::NoRegKey;
  ASSERT_EQ(platform::RegOpenKeyEx(platform::HkeyLocalMachine, "SOFTWARE\\Talvesk",
                                   platform::KeyRead, key),
            platform::RegSuccess);
  std::uint32_t type = 0;
  AnsiString data;
  EXPECT_EQ(platform::RegQueryValueEx(key, "CurrentUpdate", type, data), platform::RegSuccess);
  EXPECT_EQ(type, platform::RegSz);
  platform::RegCloseKey(key);
  // The downloaded files stay where they were.
  EXPECT_EQ(ReadBytes(work / "qd.upd"), newDatabase);
}

TEST_F(InstallCommandTest, TheIdentifierIsTheTextBeforeTheFirstCrLf) {
  const struct {
    std::string list, identifier;
  } cases[] = {
      {"upd-7\r\nrest\r\n", "upd-7"},
      {"upd-7\r\n", "upd-7"},
      {"upd-7", ""},
      {"", ""},
      {"a\nb\nc", ""},
      {"a\nb\r\nc\r\n", "a\nb"},
      {"\r\nsecond\r\n", ""},
      {"a\rb\r\n", "a\rb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UpdateIdentifier(c.list), c.identifier) << c.list;
    NewUpdateText = c.list;
    const std::string output = install("click CopyForm.Button2");
    EXPECT_TRUE(has(output, kSuccessBox)) << c.list << "\n" << output;
    EXPECT_EQ(currentUpdate(), c.identifier + '\0') << c.list;
  }
}

TEST_F(InstallCommandTest, AMissingMachineKeyIsAnErrorAfterTheCopy) {
  fs::remove_all(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  const std::string output = install("click CopyForm.Button2");
  EXPECT_TRUE(has(output, kNoKeyBox)) << output;
  EXPECT_FALSE(has(output, kSuccessBox)) << output;
  EXPECT_EQ(ReadBytes(installed), newDatabase);
  // Nothing was written anywhere in the machine hive.
  EXPECT_EQ(Entries(keyFolder("HKEY_LOCAL_MACHINE")), std::set<std::string>{"SOFTWARE"});
  EXPECT_EQ(Entries(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE")), std::set<std::string>{});
}

TEST_F(InstallCommandTest, TheDialogStaysOpenAfterAnErrorAndAnotherPressRepeatsBoth) {
  fs::remove_all(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  std::ostringstream out;
  ui::TApplication app(std::make_unique<ui::THeadlessBackend>(out, "", false));
  TUpdateForm updateForm(app);
  TCopyForm copyForm(app);
  app.Dispatch([&] { copyForm.Button2Click(); });
  EXPECT_TRUE(has(out.str(), kNoKeyBox)) << out.str();
  EXPECT_FALSE(has(out.str(), "form CopyForm closed")) << out.str();
  // The installer's key appears; the next press copies and writes again.
  fs::create_directories(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  WriteBytes(work / "qd.upd", "second");
  app.Dispatch([&] { copyForm.Button2Click(); });
  EXPECT_TRUE(has(out.str(), kSuccessBox)) << out.str();
  EXPECT_EQ(ReadBytes(installed), "second");
  EXPECT_EQ(currentUpdate(), "upd-2026-12\0"s);
}

// Every way the copy fails ends in the same message, with the installed
// database untouched, nothing written to the registry and the dialog open.
TEST_F(InstallCommandTest, AFailedCopyShowsTheMessageAndChangesNothing) {
  const fs::path system = root / "Windows" / "System32";
  const struct {
    const char* what;
    std::function<void()> arrange;
    bool oldDatabaseStays;
  } cases[] = {
      {"no qd.upd", [&] { fs::remove(work / "qd.upd"); }, true},
      {"qd.upd is a folder",
       [&] {
         fs::remove(work / "qd.upd");
         fs::create_directory(work / "qd.upd");
       },
       true},
      {"qdztempl.dll is a folder",
       [&] {
         fs::remove(installed);
         fs::create_directory(installed);
       },
       false},
      {"no system folder", [&] { fs::remove_all(system); }, false},
      {"system folder is a file",
       [&] {
         fs::remove_all(system);
         WriteBytes(system, "not a folder");
       },
       false},
  };
  for (const auto& c : cases) {
    fs::remove_all(work / "qd.upd");
    WriteBytes(work / "qd.upd", newDatabase);
    fs::remove_all(system);
    fs::create_directories(system);
    WriteBytes(installed, oldDatabase);
    c.arrange();
    const auto workBefore = Entries(work);
    const auto systemBefore = Entries(system);
    // The message, the dialog still open, then the user cancels.
    const std::string output = install("click CopyForm.Button2; click CopyForm.Button1");
    EXPECT_TRUE(has(output, kCopyFailedBox + "form CopyForm closed\n")) << c.what << "\n" << output;
    EXPECT_FALSE(has(output, kSuccessBox)) << c.what;
    if (c.oldDatabaseStays) {
      EXPECT_EQ(ReadBytes(installed), oldDatabase) << c.what;
    }
    EXPECT_EQ(currentUpdate(), std::nullopt) << c.what;
    EXPECT_EQ(Entries(work), workBefore) << c.what;
    EXPECT_EQ(Entries(system), systemBefore) << c.what;
  }
}

// A disk that fills up half-way through the copy: the process may write no
// file past a few kilobytes. The old database stays whole and no temporary
// file is left in the system folder.
TEST_F(InstallCommandTest, ACopyThatStopsHalfWayKeepsTheOldDatabase) {
  WriteBytes(installed, oldDatabase);
  const fs::path records = root / "records.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    std::ostringstream out;
    {
      ui::TApplication app(std::make_unique<ui::THeadlessBackend>(out, "", false));
      TUpdateForm updateForm(app);
      TCopyForm copyForm(app);
      const rlimit rl{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &rl);
      copyForm.Button2Click();
      const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
      ::setrlimit(RLIMIT_FSIZE, &none);
    }
    std::ofstream(records) << out.str();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadBytes(records), kCopyFailedBox);
  EXPECT_EQ(ReadBytes(installed), oldDatabase);
  EXPECT_EQ(Entries(root / "Windows" / "System32"), std::set<std::string>{"qdztempl.dll"});
  EXPECT_EQ(currentUpdate(), std::nullopt);
}

TEST_F(InstallCommandTest, CancelAndTheCloseBoxInstallNothing) {
  for (const char* script : {"click CopyForm.Button1", "close CopyForm"}) {
    const std::string output = install(script);
    EXPECT_TRUE(has(output, "form CopyForm closed\n")) << script;
    EXPECT_FALSE(has(output, "box ")) << script << "\n" << output;
    EXPECT_FALSE(fs::exists(installed)) << script;
    EXPECT_EQ(currentUpdate(), std::nullopt) << script;
  }
}

}  // namespace
