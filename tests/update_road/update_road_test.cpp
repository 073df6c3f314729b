// The updater's whole road, one row a case: a fresh sandbox root with the
// working directory inside it and proxy.def in its parent, an update server
// (nginx, squid in front of it, or a scripted server for stalls and cuts),
// the program on the headless back-end, and then its records, the files in
// the working directory and the system folder, and the registry value.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/real_server.h"
#include "tests/support/script_server.h"

namespace {

namespace fs = std::filesystem;
using interop::ReadFile;
using interop::RealServer;
using interop::WriteFile;
using testsupport::Script;
using testsupport::ScriptServer;

const std::string updateList = "upd-2026-12-10\r\n#\r\n#\r\nusual#10.12.2026#fresh data\r\n";
const std::string updateId = "upd-2026-12-10";
const std::string oldDatabase = "the database installed before\n";
const std::string cantConnect = "box plain \"qdupdate\" \"Can't connect to server\" -> ok";
const std::string installed =
    "box plain \"qdupdate\" \"Database update has been successfully completed\" -> ok";
const std::string cantCopy =
    "box plain \"qdupdate\" \"Can't continue with update. Please close all @Quorvane modules "
    "before.\" -> ok";
const std::string copyFormShown = "form CopyForm shown";
const std::string damaged =
    "box error \"qdupdate\" \"Archive is damaged. Open failed - Native error: 00048.\" -> ok";
// The key's section name is empty, so the message ends in a blank.
const std::string noKey = "box error \"qdupdate\" \"Failed to create key \" -> ok";

std::string Bytes(size_t size, unsigned seed) {
  std::mt19937 rnd(seed);
  std::string s(size, '\0');
  for (auto& c : s) c = static_cast<char>(rnd());
  return s;
}

// The database file inside the package.
std::string Database(size_t size) {
  return Bytes(size, 43);
}

// A package written by Info-ZIP's zip holding the given files.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& files,
                  const std::string& scratch) {
  const std::string dir = scratch + "/zip_src";
  fs::remove_all(dir);
  std::vector<std::string> args = {"-q", "-X", "../package.zip"};
  for (const auto& [name, bytes] : files) {
    WriteFile(dir + "/" + name, bytes);
    args.push_back(name);
  }
  fs::remove(scratch + "/package.zip");
  const auto run = interop::RunProgram("zip", args, scratch, dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return ReadFile(scratch + "/package.zip");
}

// The scrambled form of a credential as the proxy settings file keeps it
// after "$": each byte XOR its key character (a byte equal to its key
// character stays), then 40 added, modulo 256.
std::string Scramble(const std::string& plain) {
  const std::string key = "VelkorMandrithex";
  std::string s = plain;
  for (size_t i = 0; i < s.size(); ++i) {
    const char k = key[i % 16];
    if (s[i] != k) s[i] = static_cast<char>(s[i] ^ k);
    s[i] = static_cast<char>(static_cast<unsigned char>(s[i]) + 40);
  }
  return s;
}

std::string Response(const std::string& status, const std::string& body, bool close) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         (close ? "Connection: close\r\n" : "") + "\r\n" + body;
}

size_t CountLines(const std::string& text, const std::string& needle) {
  size_t n = 0;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find(needle) != std::string::npos) ++n;
  return n;
}

// The gauge values the program printed, in order.
std::vector<int> GaugeValues(const std::string& output) {
  std::vector<int> values;
  std::istringstream in(output);
  const std::string prefix = "gauge UpdateForm.ProgressBar ";
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) values.push_back(std::stoi(line.substr(prefix.size())));
  return values;
}

enum class Server { Nginx, Squid, Refused, UnknownHost, Stall, CutShort, ListFailsOnce };
enum class Package { Good, NotZip, WithoutDatabase, None };
enum class Result { NewDatabase, OldDatabase, NoDatabase };

struct RoadCase {
  const char* name;
  Server server;
  Package package;
  // The size of qd.upd for a good package, of the whole body otherwise.
  size_t size;
  // The path in front of /qd.zip on the server.
  std::string prefix;
  // proxy.def, or empty for none; {SQUID} stands for the squid's port.
  std::string proxyDef;
  std::string script;
  // Records expected in this order, and texts that must not occur.
  std::vector<std::string> records;
  std::vector<std::string> absent;
  Result result;
  // The registry value's bytes, or nullopt for none.
  std::optional<std::string> registry;
  bool unpacked;
  // The last gauge value, -1 for none at all, -2 unchecked.
  int gauge;
  // Requests for the package that reached nginx, or -1 unchecked.
  int packageRequests = -1;
  bool removeKey = false;
  bool removeSystemFolder = false;
};

void PrintTo(const RoadCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string registryValue = updateId + std::string(1, '\0');
const std::string successScript = "click UpdateForm.Button2; click CopyForm.Button2; answer ok";

class UpdateRoadTest : public ::testing::TestWithParam<RoadCase> {
 protected:
  void SetUp() override {
    scratch = interop::ScratchDir(std::string("road_") + GetParam().name);
    root = scratch + "/root";
    work = root + "/work";
    const std::string source = std::getenv("QD_TEST_SOURCE_DIR");
    ASSERT_EQ(std::system(("bash " + source + "/scripts/make_sample_root.sh " + root).c_str()), 0);
    fs::create_directories(work);
    WriteFile(system() + "/qdztempl.dll", oldDatabase);
  }

  std::string system() const { return root + "/Windows/System32"; }
  std::string registryFile() const {
    return root + "/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk/CurrentUpdate";
  }

  std::string packageBytes(const RoadCase& c) {
    switch (c.package) {
      case Package::Good:
        return ZipOf({{"qd.upd", Database(c.size)}, {"notes.txt", "read me\r\n"}}, scratch);
      case Package::WithoutDatabase:
        return ZipOf({{"notes.txt", "read me\r\n"}}, scratch);
      case Package::NotZip:
        return Bytes(c.size, 7);
      case Package::None:
        break;
    }
    return "";
  }

  std::string scratch, root, work;
};

TEST_P(UpdateRoadTest, Road) {
  const RoadCase& c = GetParam();
  const std::string package = packageBytes(c);
  std::unique_ptr<RealServer> nginx, squid;
  std::unique_ptr<ScriptServer> scripted;
  std::string base;
  std::string proxyDef = c.proxyDef;
  switch (c.server) {
    case Server::Nginx:
    case Server::Squid:
      nginx = std::make_unique<RealServer>("nginx", scratch + "/nginx");
      ASSERT_NE(nginx->Port(), 0);
      if (c.package != Package::None) WriteFile(nginx->Www() + c.prefix + "/qd.zip", package);
      WriteFile(nginx->Www() + c.prefix + "/newupd.dat", updateList);
      base = nginx->Url(c.prefix);
      if (c.server == Server::Squid) {
        squid = std::make_unique<RealServer>("squid", scratch + "/squid",
                                             std::vector<std::string>{"updater", "pa:ss word"});
        ASSERT_NE(squid->Port(), 0);
        const auto at = proxyDef.find("{SQUID}");
        proxyDef.replace(at, 7, std::to_string(squid->Port()));
      }
      break;
    case Server::Refused:
      // Nothing listens on port 1 of the loopback address.
      base = "http://127.0.0.1:1";
      break;
    case Server::UnknownHost:
      base = "http://no-such-host.invalid";
      break;
    case Server::Stall:
    case Server::CutShort: {
      // The head promises the whole package; a tenth of it arrives, then the
      // server stops sending, or closes.
      std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(package.size()) +
                         "\r\n\r\n" + package.substr(0, package.size() / 10);
      Script s;
      s.Send(head);
      if (c.server == Server::Stall)
        s.Pause(3000);
      else
        s.Close();
      scripted = std::make_unique<ScriptServer>(s);
      base = "http://127.0.0.1:" + std::to_string(scripted->Port());
      break;
    }
    case Server::ListFailsOnce:
      scripted = std::make_unique<ScriptServer>(std::vector<Script>{
          Script().Send(Response("200 OK", package, true)).ReadUntilClosed(),
          Script().Send(Response("404 Not Found", "no list", true)).ReadUntilClosed(),
          Script().Send(Response("200 OK", package, true)).ReadUntilClosed(),
          Script().Send(Response("200 OK", updateList, true)).ReadUntilClosed()});
      base = "http://127.0.0.1:" + std::to_string(scripted->Port());
      break;
  }
  if (!proxyDef.empty()) WriteFile(root + "/proxy.def", proxyDef);
  if (c.removeKey) fs::remove_all(root + "/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk");
  if (c.removeSystemFolder) fs::remove_all(system());

  const std::string program = std::string(std::getenv("QD_TEST_BINARY_DIR")) + "/app/qdupdate";
  const auto run = interop::RunProgram(
      "env",
      {"-u", "DISPLAY", "QD_ROOT=" + root, "QD_UPDATE_URL=" + base, "QD_READ_TIMEOUT_MS=300",
       "QD_UI=headless", "QD_UI_SCRIPT=" + c.script, program},
      scratch, work);
  const std::string& out = run.out;
  EXPECT_EQ(run.exitCode, 0) << out << run.err;

  size_t at = 0;
  for (const auto& record : c.records) {
    const size_t found = out.find(record, at);
    EXPECT_NE(found, std::string::npos) << "missing, or out of order: " << record << "\n" << out;
    if (found != std::string::npos) at = found + record.size();
  }
  EXPECT_NE(out.find("exit 0\n"), std::string::npos) << out;
  for (const auto& text : c.absent)
    EXPECT_EQ(out.find(text), std::string::npos) << text << "\n" << out;

  const auto gauges = GaugeValues(out);
  if (c.gauge == -1) {
    EXPECT_TRUE(gauges.empty()) << out;
  } else if (c.gauge >= 0) {
    ASSERT_FALSE(gauges.empty()) << out;
    EXPECT_EQ(gauges.back(), c.gauge) << out;
    for (size_t i = 1; i < gauges.size(); ++i) EXPECT_GT(gauges[i], gauges[i - 1]) << out;
  }

  EXPECT_EQ(fs::exists(work + "/qd.upd"), c.unpacked);
  if (c.unpacked && c.package == Package::Good) {
    EXPECT_TRUE(ReadFile(work + "/qd.upd") == Database(c.size));
  }
  const std::string database = system() + "/qdztempl.dll";
  switch (c.result) {
    case Result::NewDatabase:
      EXPECT_TRUE(ReadFile(database) == Database(c.size)) << "installed database differs";
      break;
    case Result::OldDatabase:
      EXPECT_EQ(ReadFile(database), oldDatabase);
      break;
    case Result::NoDatabase:
      EXPECT_FALSE(fs::exists(database));
      break;
  }
  // The copy leaves no temporary file beside the database.
  if (fs::exists(system())) {
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(system())) files += e.is_regular_file();
    EXPECT_EQ(files, c.result == Result::NoDatabase ? 0u : 1u);
  }
  if (c.registry) {
    EXPECT_EQ(ReadFile(registryFile()), *c.registry);
  } else {
    EXPECT_FALSE(fs::exists(registryFile()));
  }

  if (nginx && c.packageRequests >= 0) {
    const auto log = ReadFile(nginx->Dir() + "/access.log");
    EXPECT_EQ(CountLines(log, "/qd.zip HTTP/1.1\""), static_cast<size_t>(c.packageRequests)) << log;
  }
  // Without a key built in, no manifest is ever asked for.
  if (nginx) {
    const auto log = ReadFile(nginx->Dir() + "/access.log");
    EXPECT_EQ(CountLines(log, "qd.manifest"), 0u) << log;
  }
  if (squid) {
    std::string log;
    const std::string line = "GET " + base + "/qd.zip updater ";
    for (int i = 0; i < 100 && CountLines(log, line) == 0; ++i) {
      log = ReadFile(squid->Dir() + "/access.log");
      if (CountLines(log, line) == 0) std::system("sleep 0.05");
    }
    EXPECT_EQ(CountLines(log, line), 1u) << log;
  }
}

const std::string squidProxyDef = "1\r\n1\r\n127.0.0.1\r\n{SQUID}\r\n$" + Scramble("updater") +
                                  "\r\n$" + Scramble("pa:ss word") + "\r\n";
const std::string failureScript = "click UpdateForm.Button2; answer ok";

INSTANTIATE_TEST_SUITE_P(
    Rows, UpdateRoadTest,
    ::testing::Values(
        RoadCase{"success",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "",
                 "",
                 successScript,
                 {"gauge UpdateForm.ProgressBar 50\n", copyFormShown, installed,
                  "form CopyForm closed", "form UpdateForm closed"},
                 {cantConnect},
                 Result::NewDatabase,
                 registryValue,
                 true,
                 50,
                 1},
        RoadCase{"success_with_prefix_and_slash",
                 Server::Nginx,
                 Package::Good,
                 430000,
                 "/pkg/v2",
                 "",
                 successScript,
                 {copyFormShown, installed},
                 {cantConnect},
                 Result::NewDatabase,
                 registryValue,
                 true,
                 100,
                 1},
        RoadCase{"through_squid_with_scrambled_credentials",
                 Server::Squid,
                 Package::Good,
                 4300,
                 "",
                 squidProxyDef,
                 successScript,
                 {copyFormShown, installed},
                 {cantConnect},
                 Result::NewDatabase,
                 registryValue,
                 true,
                 1,
                 1},
        // The gauge counts the body against 430000 bytes, whatever it holds.
        RoadCase{"gauge_below_one_step",
                 Server::Nginx,
                 Package::NotZip,
                 4299,
                 "",
                 "",
                 failureScript,
                 {damaged},
                 {copyFormShown, cantConnect},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1},
        RoadCase{"gauge_past_the_expected_size",
                 Server::Nginx,
                 Package::NotZip,
                 500000,
                 "",
                 "",
                 failureScript,
                 {"gauge UpdateForm.ProgressBar 100\n", damaged},
                 {copyFormShown, cantConnect},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 100},
        RoadCase{"not_found",
                 Server::Nginx,
                 Package::None,
                 0,
                 "",
                 "",
                 failureScript,
                 {cantConnect, "form UpdateForm closed"},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1},
        RoadCase{"refused",
                 Server::Refused,
                 Package::None,
                 0,
                 "",
                 "",
                 failureScript,
                 {cantConnect},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1},
        RoadCase{"unknown_host",
                 Server::UnknownHost,
                 Package::None,
                 0,
                 "",
                 "",
                 failureScript,
                 {cantConnect},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1},
        RoadCase{"bad_port_line_sends_nothing",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "",
                 "1\r\n0\r\n127.0.0.1\r\n31 28\r\n\r\n\r\n",
                 failureScript,
                 {cantConnect},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1,
                 0},
        RoadCase{"stalled_server",
                 Server::Stall,
                 Package::Good,
                 215000,
                 "",
                 "",
                 failureScript,
                 {cantConnect},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 5},
        RoadCase{"body_cut_short",
                 Server::CutShort,
                 Package::Good,
                 215000,
                 "",
                 "",
                 failureScript,
                 {cantConnect},
                 {copyFormShown},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 5},
        // The second attempt shows no progress: the gauge stays where the
        // first one left it.
        RoadCase{"list_fails_then_succeeds",
                 Server::ListFailsOnce,
                 Package::Good,
                 215000,
                 "",
                 "",
                 "click UpdateForm.Button2; answer ok; " + successScript,
                 {"gauge UpdateForm.ProgressBar 50\n", cantConnect, copyFormShown, installed},
                 {},
                 Result::NewDatabase,
                 registryValue,
                 true,
                 50},
        // Past the redirect maximum the package is empty, and opening it is
        // the archiver's error, which the application shows.
        RoadCase{"redirect_loop",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "/loop",
                 "",
                 failureScript,
                 {damaged},
                 {copyFormShown, cantConnect},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1,
                 15},
        RoadCase{"package_not_a_zip",
                 Server::Nginx,
                 Package::NotZip,
                 215000,
                 "",
                 "",
                 failureScript,
                 {damaged, "form UpdateForm closed"},
                 {copyFormShown, cantConnect},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 50},
        RoadCase{"package_without_database",
                 Server::Nginx,
                 Package::WithoutDatabase,
                 0,
                 "",
                 "",
                 successScript,
                 {copyFormShown, cantCopy},
                 {installed},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -1},
        RoadCase{"key_missing",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "",
                 "",
                 successScript,
                 {copyFormShown, noKey},
                 {installed},
                 Result::NewDatabase,
                 std::nullopt,
                 true,
                 50,
                 -1,
                 true},
        RoadCase{"system_folder_missing",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "",
                 "",
                 successScript,
                 {copyFormShown, cantCopy},
                 {installed},
                 Result::NoDatabase,
                 std::nullopt,
                 true,
                 50,
                 -1,
                 false,
                 true},
        RoadCase{"cancel_on_the_install_dialog",
                 Server::Nginx,
                 Package::Good,
                 215000,
                 "",
                 "",
                 "click UpdateForm.Button2; click CopyForm.Button1",
                 {copyFormShown, "form CopyForm closed", "form UpdateForm closed"},
                 {installed, "box"},
                 Result::OldDatabase,
                 std::nullopt,
                 true,
                 50},
        // A click on "Обновить" during the download is ignored: one request.
        RoadCase{"second_click_ignored",
                 Server::Nginx,
                 Package::Good,
                 430000,
                 "",
                 "",
                 "click UpdateForm.Button2; pending click UpdateForm.Button2; " + successScript,
                 {copyFormShown, installed},
                 {cantConnect},
                 Result::NewDatabase,
                 registryValue,
                 true,
                 100,
                 1},
        // Closing the dialog during the download stops it at the next
        // progress event, quietly: nothing is written, unpacked or installed.
        RoadCase{"closed_during_download",
                 Server::Nginx,
                 Package::Good,
                 430000,
                 "",
                 "",
                 "click UpdateForm.Button2; pending close UpdateForm",
                 {"form UpdateForm closed\nexit 0"},
                 {copyFormShown, "box"},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -2,
                 1},
        RoadCase{"cancelled_during_download",
                 Server::Nginx,
                 Package::Good,
                 430000,
                 "",
                 "",
                 "click UpdateForm.Button2; pending click UpdateForm.Button1",
                 {"form UpdateForm closed\nexit 0"},
                 {copyFormShown, "box"},
                 Result::OldDatabase,
                 std::nullopt,
                 false,
                 -2,
                 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
