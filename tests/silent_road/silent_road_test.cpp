// The unattended road, one row a case: a fresh sandbox root, a server, the
// program with --silent or --check and a log file, then its exit code, the
// log's lines, the system folder's bytes, the registry value and the
// package requests that reached nginx. And one run at a time: a second run
// during a download exits 50, and a run killed during its download leaves
// the database whole for the next one to install.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/run_lock.h"
#include "tests/support/real_server.h"
#include "tests/support/road_fixture.h"
#include "tests/support/script_server.h"

namespace {

namespace fs = std::filesystem;
using interop::CountLines;
using interop::RandomBytes;
using interop::ReadFile;
using interop::RealServer;
using interop::Response;
using interop::Scramble;
using interop::WriteFile;
using interop::ZipOf;
using testsupport::Script;
using testsupport::ScriptServer;

const std::string updateList = "upd-2026-12-10\r\n#\r\n#\r\nusual#10.12.2026#fresh data\r\n";
const std::string updateId = "upd-2026-12-10";
const std::string registryValue = updateId + std::string(1, '\0');
const std::string oldDatabase = "the database installed before\n";
const std::string installedText = "Database update has been successfully completed";
const std::string cantConnect = "Can't connect to server";

std::string Database() {
  return RandomBytes(200000, 43);
}

// The log's lines without their time stamps, which must all have the form
// 2026-12-11T13:21:23Z followed by one blank.
std::vector<std::string> LogTexts(const std::string& log) {
  std::vector<std::string> texts;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    EXPECT_GE(line.size(), 21u) << line;
    if (line.size() < 21) continue;
    EXPECT_EQ(line[4], '-');
    EXPECT_EQ(line[10], 'T');
    EXPECT_EQ(line[19], 'Z');
    EXPECT_EQ(line[20], ' ');
    texts.push_back(line.substr(21));
  }
  return texts;
}

enum class Server { Nginx, Refused, CutShort };
enum class Package { Good, NotZip, WithoutDatabase, None };
enum class Result { NewDatabase, OldDatabase };

struct SilentCase {
  const char* name;
  std::vector<std::string> args;
  Server server = Server::Nginx;
  Package package = Package::Good;
  // CurrentUpdate before the run, or none for no value.
  std::optional<std::string> stored;
  bool removeKey = false;
  int exitCode = 0;
  // Log texts that must occur, in this order.
  std::vector<std::string> lines;
  Result result = Result::OldDatabase;
  std::optional<std::string> registry;
  std::optional<int> packageRequests;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
  *os << c.name;
}

class SilentRoad {
 public:
  explicit SilentRoad(const std::string& name) {
    scratch = interop::ScratchDir("silent_" + name);
    root = scratch + "/root";
    work = root + "/work";
    const std::string source = std::getenv("QD_TEST_SOURCE_DIR");
    EXPECT_EQ(std::system(("bash " + source + "/scripts/make_sample_root.sh " + root).c_str()), 0);
    fs::create_directories(work);
    WriteFile(system() + "/qdztempl.dll", oldDatabase);
  }
  std::string system() const { return root + "/Windows/System32"; }
  std::string key() const { return root + "/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk"; }
  std::string registryFile() const { return key() + "/CurrentUpdate"; }
  std::string logFile() const { return scratch + "/run.log"; }
  std::vector<std::string> env(const std::string& base) const {
    return {"-u",
            "DISPLAY",
            "QD_ROOT=" + root,
            "QD_UPDATE_URL=" + base,
            "QD_READ_TIMEOUT_MS=5000",
            std::string(std::getenv("QD_TEST_BINARY_DIR")) + "/app/qdupdate"};
  }
  interop::Run run(const std::string& base, const std::vector<std::string>& args) const {
    auto all = env(base);
    all.insert(all.end(), args.begin(), args.end());
    return interop::RunProgram("env", all, scratch, work);
  }
  std::string scratch, root, work;
};

class SilentRoadTest : public ::testing::TestWithParam<SilentCase> {};

TEST_P(SilentRoadTest, Run) {
  const SilentCase& c = GetParam();
  SilentRoad road(c.name);
  std::string package;
  switch (c.package) {
    case Package::Good:
      package = ZipOf({{"qd.upd", Database()}, {"notes.txt", "read me\r\n"}}, road.scratch);
      break;
    case Package::WithoutDatabase:
      package = ZipOf({{"notes.txt", "read me\r\n"}}, road.scratch);
      break;
    case Package::NotZip:
      package = std::string(5000, 'x');
      break;
    case Package::None:
      break;
  }
  std::unique_ptr<RealServer> nginx;
  std::unique_ptr<ScriptServer> scripted;
  std::string base;
  switch (c.server) {
    case Server::Nginx:
      nginx = std::make_unique<RealServer>("nginx", road.scratch + "/nginx");
      ASSERT_NE(nginx->Port(), 0);
      if (c.package != Package::None) WriteFile(nginx->Www() + "/qd.zip", package);
      WriteFile(nginx->Www() + "/newupd.dat", updateList);
      base = nginx->Url("");
      break;
    case Server::Refused:
      base = "http://127.0.0.1:1";
      break;
    case Server::CutShort:
      // The list arrives whole; the package's head promises all of it, a
      // tenth arrives and the server closes.
      scripted = std::make_unique<ScriptServer>(std::vector<Script>{
          Script().Send(Response("200 OK", updateList)).ReadUntilClosed(),
          Script()
              .Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(package.size()) +
                    "\r\n\r\n" + package.substr(0, package.size() / 10))
              .Close()});
      base = "http://127.0.0.1:" + std::to_string(scripted->Port());
      break;
  }
  if (c.stored) WriteFile(road.registryFile(), *c.stored);
  if (c.removeKey) fs::remove_all(road.key());
  // A log that exists already is appended to, never truncated.
  WriteFile(road.logFile(), "earlier line\n");
  auto args = c.args;
  if (!args.empty() && args[0] != "--bogus") {
    args.push_back("--log");
    args.push_back(road.logFile());
  }
  const auto run = road.run(base, args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;

  const std::string log = ReadFile(road.logFile());
  ASSERT_EQ(log.rfind("earlier line\n", 0), 0u) << log;
  if (c.exitCode == 2) {
    EXPECT_EQ(log, "earlier line\n");
    EXPECT_NE(run.err.find("bad command line"), std::string::npos) << run.err;
  } else {
    const auto texts = LogTexts(log.substr(13));
    size_t at = 0;
    for (const auto& line : c.lines) {
      while (at < texts.size() && texts[at] != line) ++at;
      EXPECT_LT(at, texts.size()) << "missing, or out of order: " << line << "\n" << log;
    }
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "exit " + std::to_string(c.exitCode)) << log;
    // Standard error is a file here, neither a terminal nor a pipe.
    EXPECT_EQ(run.err, "");
  }

  const std::string database = ReadFile(road.system() + "/qdztempl.dll");
  if (c.result == Result::NewDatabase)
    EXPECT_TRUE(database == Database()) << "installed database differs";
  else
    EXPECT_TRUE(database == oldDatabase) << "the old database changed";
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(road.system())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
  if (c.registry)
    EXPECT_EQ(ReadFile(road.registryFile()), *c.registry);
  else
    EXPECT_FALSE(fs::exists(road.registryFile()));
  EXPECT_FALSE(fs::exists(road.key() + "/UpdateSerial"));
  if (nginx && c.packageRequests) {
    const auto access = ReadFile(nginx->Dir() + "/access.log");
    EXPECT_EQ(CountLines(access, "/qd.zip HTTP/1.1\""), static_cast<size_t>(*c.packageRequests))
        << access;
  }
}

const std::string oldId = std::string("upd-2026-11-01") + '\0';

INSTANTIATE_TEST_SUITE_P(
    Silent, SilentRoadTest,
    ::testing::Values(
        SilentCase{.name = "installed",
                   .args = {"--silent"},
                   .stored = oldId,
                   .lines = {"qdupdate silent run started",
                             "server update " + updateId + ", installed upd-2026-11-01",
                             "downloading the package", "installing", installedText},
                   .result = Result::NewDatabase,
                   .registry = registryValue,
                   .packageRequests = 1},
        SilentCase{.name = "installed_first_time",
                   .args = {"--silent"},
                   .lines = {installedText},
                   .result = Result::NewDatabase,
                   .registry = registryValue,
                   .packageRequests = 1},
        SilentCase{.name = "up_to_date",
                   .args = {"--silent"},
                   .stored = registryValue,
                   .lines = {"The database is up to date"},
                   .registry = registryValue,
                   .packageRequests = 0},
        SilentCase{.name = "forced",
                   .args = {"--silent", "--force"},
                   .stored = registryValue,
                   .lines = {"downloading the package", installedText},
                   .result = Result::NewDatabase,
                   .registry = registryValue,
                   .packageRequests = 1},
        SilentCase{.name = "check_available",
                   .args = {"--check"},
                   .stored = oldId,
                   .exitCode = 10,
                   .lines = {"qdupdate check run started", "An update is available"},
                   .registry = oldId,
                   .packageRequests = 0},
        SilentCase{.name = "check_up_to_date",
                   .args = {"--check"},
                   .stored = registryValue,
                   .lines = {"The database is up to date"},
                   .registry = registryValue,
                   .packageRequests = 0},
        SilentCase{.name = "package_404",
                   .args = {"--silent"},
                   .package = Package::None,
                   .exitCode = 20,
                   .lines = {"downloading the package", cantConnect},
                   .packageRequests = 1},
        SilentCase{.name = "refused",
                   .args = {"--silent"},
                   .server = Server::Refused,
                   .exitCode = 20,
                   .lines = {cantConnect}},
        SilentCase{.name = "check_refused",
                   .args = {"--check"},
                   .server = Server::Refused,
                   .exitCode = 20,
                   .lines = {cantConnect}},
        SilentCase{.name = "cut_short",
                   .args = {"--silent"},
                   .server = Server::CutShort,
                   .exitCode = 20,
                   .lines = {"downloading the package", cantConnect}},
        SilentCase{.name = "damaged",
                   .args = {"--silent"},
                   .package = Package::NotZip,
                   .exitCode = 30,
                   .lines = {"Archive is damaged. Open failed - Native error: 00048."}},
        SilentCase{.name = "without_database",
                   .args = {"--silent"},
                   .package = Package::WithoutDatabase,
                   .exitCode = 40,
                   .lines = {"installing",
                             "Can't continue with update. Please close all "
                             "@Quorvane modules before."}},
        SilentCase{.name = "key_missing",
                   .args = {"--silent"},
                   .removeKey = true,
                   .exitCode = 40,
                   .lines = {"installing", "Failed to create key "},
                   // The database is copied before the value is written, as
                   // on the dialog road.
                   .result = Result::NewDatabase},
        SilentCase{.name = "bad_option", .args = {"--bogus"}, .exitCode = 2},
        SilentCase{.name = "force_with_check", .args = {"--check", "--force"}, .exitCode = 2},
        SilentCase{.name = "both_modes", .args = {"--silent", "--check"}, .exitCode = 2}),
    [](const auto& info) { return std::string(info.param.name); });

// While another process holds the working folder's lock, --silent exits 50
// at once and asks the server for nothing; --check takes no lock.
TEST(SilentLock, SecondRunExitsBusy) {
  SilentRoad road("busy");
  RealServer nginx("nginx", road.scratch + "/nginx");
  ASSERT_NE(nginx.Port(), 0);
  WriteFile(nginx.Www() + "/qd.zip", ZipOf({{"qd.upd", Database()}}, road.scratch));
  WriteFile(nginx.Www() + "/newupd.dat", updateList);
  auto held = platform::TryLockFolder(road.work);
  ASSERT_TRUE(held);
  const auto busy = road.run(nginx.Url(""), {"--silent", "--log", road.logFile()});
  EXPECT_EQ(busy.exitCode, 50) << busy.err;
  const auto texts = LogTexts(ReadFile(road.logFile()));
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1], "Another update is running");
  EXPECT_EQ(texts[2], "exit 50");
  EXPECT_EQ(CountLines(ReadFile(nginx.Dir() + "/access.log"), "GET"), 0u);
  EXPECT_EQ(road.run(nginx.Url(""), {"--check"}).exitCode, 10);
  held.reset();
  const auto after = road.run(nginx.Url(""), {"--silent"});
  EXPECT_EQ(after.exitCode, 0) << after.err;
  EXPECT_TRUE(ReadFile(road.system() + "/qdztempl.dll") == Database());
}

// Two runs started together: the first stalls in its download, the second
// exits 50; the first is then killed with SIGKILL, which leaves the old
// database whole and no stale lock, and a third run installs.
TEST(SilentLock, KilledRunLeavesNoLockAndNoHalfDatabase) {
  SilentRoad road("killed");
  const std::string package = ZipOf({{"qd.upd", Database()}}, road.scratch);
  ScriptServer stalling(std::vector<Script>{
      Script().Send(Response("200 OK", updateList)).ReadUntilClosed(),
      Script()
          .Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(package.size()) +
                "\r\n\r\n" + package.substr(0, package.size() / 2))
          .Pause(10000)});
  const std::string stallBase = "http://127.0.0.1:" + std::to_string(stalling.Port());
  std::string command = "cd '" + road.work + "' && env";
  for (const auto& word : road.env(stallBase)) command += " '" + word + "'";
  command += " --silent --log '" + road.logFile() + "' >/dev/null 2>&1 & echo $! > '" +
             road.scratch + "/pid'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // The first run has started its download once its log says so.
  for (int i = 0;
       i < 200 && ReadFile(road.logFile()).find("downloading the package") == std::string::npos;
       ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_NE(ReadFile(road.logFile()).find("downloading the package"), std::string::npos);

  const auto second = road.run(stallBase, {"--silent"});
  EXPECT_EQ(second.exitCode, 50);
  const std::string pid = ReadFile(road.scratch + "/pid");
  ASSERT_EQ(std::system(("kill -9 " + pid).c_str()), 0);
  for (int i = 0; i < 200 && std::system(("kill -0 " + pid + " 2>/dev/null").c_str()) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(ReadFile(road.system() + "/qdztempl.dll") == oldDatabase);
  EXPECT_FALSE(fs::exists(road.registryFile()));

  RealServer nginx("nginx", road.scratch + "/nginx");
  ASSERT_NE(nginx.Port(), 0);
  WriteFile(nginx.Www() + "/qd.zip", package);
  WriteFile(nginx.Www() + "/newupd.dat", updateList);
  const auto third = road.run(nginx.Url(""), {"--silent"});
  EXPECT_EQ(third.exitCode, 0) << third.err;
  EXPECT_TRUE(ReadFile(road.system() + "/qdztempl.dll") == Database());
  EXPECT_EQ(ReadFile(road.registryFile()), registryValue);
}

#ifdef QD_SIGNED_PROGRAM
// With a key built in: the signed manifest decides. --check answers 10 and
// then, once --silent installed serial 7, 0; a stored serial above the
// server's exits 30 without asking for the package.
TEST(SilentSigned, ManifestSerialDecides) {
  SilentRoad road("signed");
  RealServer nginx("nginx", road.scratch + "/nginx");
  ASSERT_NE(nginx.Port(), 0);
  const std::string zip = ZipOf({{"qd.upd", Database()}}, road.scratch);
  auto openssl = [&](const std::vector<std::string>& args) {
    const auto run = interop::RunProgram("openssl", args, road.scratch, road.scratch);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.out;
  };
  auto sha256 = [&](const std::string& bytes) {
    WriteFile(road.scratch + "/to_hash", bytes);
    return openssl({"dgst", "-sha256", "-r", "to_hash"}).substr(0, 64);
  };
  const std::string manifest = "qdupdate-manifest 1\nserial 7\nfile qd.zip " +
                               std::to_string(zip.size()) + " sha256 " + sha256(zip) +
                               "\nfile newupd.dat " + std::to_string(updateList.size()) +
                               " sha256 " + sha256(updateList) + "\n";
  WriteFile(road.scratch + "/to_sign", manifest);
  openssl({"dgst", "-sha256", "-sign", std::string(QD_TEST_KEYS) + "/first.pem", "-out",
           "signed.sig", "to_sign"});
  WriteFile(nginx.Www() + "/qd.manifest", manifest);
  WriteFile(nginx.Www() + "/qd.manifest.sig", ReadFile(road.scratch + "/signed.sig"));
  WriteFile(nginx.Www() + "/qd.zip", zip);
  WriteFile(nginx.Www() + "/newupd.dat", updateList);
  auto run = [&](const std::string& mode) {
    auto all = road.env(nginx.Url(""));
    all.back() = QD_SIGNED_PROGRAM;
    all.push_back(mode);
    return interop::RunProgram("env", all, road.scratch, road.work).exitCode;
  };
  auto packageRequests = [&] {
    return CountLines(ReadFile(nginx.Dir() + "/access.log"), "/qd.zip HTTP/1.1\"");
  };
  EXPECT_EQ(run("--check"), 10);
  EXPECT_EQ(run("--silent"), 0);
  EXPECT_TRUE(ReadFile(road.system() + "/qdztempl.dll") == Database());
  EXPECT_EQ(ReadFile(road.key() + "/UpdateSerial"), std::string("7") + '\0');
  EXPECT_EQ(run("--check"), 0);
  EXPECT_EQ(run("--silent"), 0);
  EXPECT_EQ(packageRequests(), 1u);
  WriteFile(road.key() + "/UpdateSerial", "9");
  EXPECT_EQ(run("--silent"), 30);
  EXPECT_EQ(packageRequests(), 1u);
  EXPECT_EQ(ReadFile(road.key() + "/UpdateSerial"), "9");
}
#endif

}  // namespace
