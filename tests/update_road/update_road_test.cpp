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

// The database file inside the package.
std::string Database(size_t size) {
  return RandomBytes(size, 43);
}

std::string IntToHex(size_t value) {
  std::ostringstream out;
  out << std::hex << value;
  return out.str();
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

enum class Server {
  Nginx,
  Squid,
  Refused,
  UnknownHost,
  FullQueue,
  Stall,
  CutShort,
  BrokenChunk,
  BadLength,
  ListFailsOnce
};
enum class Package { Good, NotZip, WithoutDatabase, None };
enum class Result { NewDatabase, OldDatabase, NoDatabase };

// One row: the server and the package it offers, the program's script, and
// what the run must leave behind. Fields left out keep the defaults below.
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
  // The registry value's bytes, or none when no value may exist.
  std::optional<std::string> registry;
  bool unpacked = false;
  // The last of the rising gauge values, or none when the run may show no
  // gauge value at all; a run whose progress depends on timing leaves the
  // gauge unchecked.
  std::optional<int> lastGauge;
  bool gaugeUnchecked = false;
  // Requests for the package that reached nginx, when they are counted.
  std::optional<int> packageRequests;
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

  std::string packageRandomBytes(const RoadCase& c) {
    switch (c.package) {
      case Package::Good:
        return ZipOf({{"qd.upd", Database(c.size)}, {"notes.txt", "read me\r\n"}}, scratch);
      case Package::WithoutDatabase:
        return ZipOf({{"notes.txt", "read me\r\n"}}, scratch);
      case Package::NotZip:
        return RandomBytes(c.size, 7);
      case Package::None:
        break;
    }
    return "";
  }

  std::string scratch, root, work;
};

TEST_P(UpdateRoadTest, Road) {
  const RoadCase& c = GetParam();
  const std::string package = packageRandomBytes(c);
  std::unique_ptr<RealServer> nginx, squid;
  std::unique_ptr<ScriptServer> scripted;
  std::unique_ptr<testsupport::FullListener> fullQueue;
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
    case Server::FullQueue:
      // Connects to this listener get no answer, like a server behind a
      // firewall that drops packets; the connect limit ends the wait.
      fullQueue = std::make_unique<testsupport::FullListener>();
      base = "http://127.0.0.1:" + std::to_string(fullQueue->Port());
      break;
    case Server::BrokenChunk:
    case Server::BadLength: {
      // A tenth of the package arrives as one chunk, followed by a line
      // that is no chunk size; or the whole package under a length that
      // does not fit the field.
      const std::string head =
          c.server == Server::BrokenChunk
              ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                    IntToHex(package.size() / 10) + "\r\n" +
                    package.substr(0, package.size() / 10) + "\r\nnot a size\r\n" +
                    package.substr(package.size() / 10)
              : "HTTP/1.1 200 OK\r\nContent-Length: 3000000000\r\n\r\n" + package;
      scripted = std::make_unique<ScriptServer>(Script().Send(head).ReadUntilClosed());
      base = "http://127.0.0.1:" + std::to_string(scripted->Port());
      break;
    }
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
  // The connect limit is the built-in one but where no connect is ever
  // answered: there one second shows that the limit ends the wait.
  const std::string connectLimit =
      "QD_CONNECT_TIMEOUT_MS=" + std::string(c.server == Server::FullQueue ? "1000" : "");
  const auto run = interop::RunProgram(
      "env",
      {"-u", "DISPLAY", "QD_ROOT=" + root, "QD_UPDATE_URL=" + base, "QD_READ_TIMEOUT_MS=300",
       connectLimit, "QD_UI=headless", "QD_UI_SCRIPT=" + c.script, program},
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
  if (!c.gaugeUnchecked && !c.lastGauge) {
    EXPECT_TRUE(gauges.empty()) << out;
  } else if (!c.gaugeUnchecked) {
    ASSERT_FALSE(gauges.empty()) << out;
    EXPECT_EQ(gauges.back(), *c.lastGauge) << out;
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

  if (nginx && c.packageRequests) {
    const auto log = ReadFile(nginx->Dir() + "/access.log");
    EXPECT_EQ(CountLines(log, "/qd.zip HTTP/1.1\""), static_cast<size_t>(*c.packageRequests))
        << log;
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
        RoadCase{
            .name = "success",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .script = successScript,
            .records = {"gauge UpdateForm.ProgressBar 50\n", copyFormShown, installed,
                        "form CopyForm closed", "form UpdateForm closed"},
            .absent = {cantConnect},
            .result = Result::NewDatabase,
            .registry = registryValue,
            .unpacked = true,
            .lastGauge = 50,
            .packageRequests = 1,
        },
        RoadCase{
            .name = "success_with_prefix_and_slash",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 430000,
            .prefix = "/pkg/v2",
            .script = successScript,
            .records = {copyFormShown, installed},
            .absent = {cantConnect},
            .result = Result::NewDatabase,
            .registry = registryValue,
            .unpacked = true,
            .lastGauge = 100,
            .packageRequests = 1,
        },
        RoadCase{
            .name = "through_squid_with_scrambled_credentials",
            .server = Server::Squid,
            .package = Package::Good,
            .size = 4300,
            .proxyDef = squidProxyDef,
            .script = successScript,
            .records = {copyFormShown, installed},
            .absent = {cantConnect},
            .result = Result::NewDatabase,
            .registry = registryValue,
            .unpacked = true,
            .lastGauge = 1,
            .packageRequests = 1,
        },
        // The gauge counts the body against 430000 bytes, whatever it holds.
        RoadCase{
            .name = "gauge_below_one_step",
            .server = Server::Nginx,
            .package = Package::NotZip,
            .size = 4299,
            .script = failureScript,
            .records = {damaged},
            .absent = {copyFormShown, cantConnect},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "gauge_past_the_expected_size",
            .server = Server::Nginx,
            .package = Package::NotZip,
            .size = 500000,
            .script = failureScript,
            .records = {"gauge UpdateForm.ProgressBar 100\n", damaged},
            .absent = {copyFormShown, cantConnect},
            .result = Result::OldDatabase,
            .lastGauge = 100,
        },
        RoadCase{
            .name = "not_found",
            .server = Server::Nginx,
            .package = Package::None,
            .size = 0,
            .script = failureScript,
            .records = {cantConnect, "form UpdateForm closed"},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "refused",
            .server = Server::Refused,
            .package = Package::None,
            .size = 0,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "unknown_host",
            .server = Server::UnknownHost,
            .package = Package::None,
            .size = 0,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "connect_gets_no_answer",
            .server = Server::FullQueue,
            .package = Package::None,
            .size = 0,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "broken_chunk_size_line",
            .server = Server::BrokenChunk,
            .package = Package::Good,
            .size = 215000,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
            .lastGauge = 5,
        },
        RoadCase{
            .name = "length_past_the_field",
            .server = Server::BadLength,
            .package = Package::Good,
            .size = 215000,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "bad_port_line_sends_nothing",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .proxyDef = "1\r\n0\r\n127.0.0.1\r\n31 28\r\n\r\n\r\n",
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
            .packageRequests = 0,
        },
        RoadCase{
            .name = "stalled_server",
            .server = Server::Stall,
            .package = Package::Good,
            .size = 215000,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
            .lastGauge = 5,
        },
        RoadCase{
            .name = "body_cut_short",
            .server = Server::CutShort,
            .package = Package::Good,
            .size = 215000,
            .script = failureScript,
            .records = {cantConnect},
            .absent = {copyFormShown},
            .result = Result::OldDatabase,
            .lastGauge = 5,
        },
        // The second attempt shows no progress: the gauge stays where the
        // first one left it.
        RoadCase{
            .name = "list_fails_then_succeeds",
            .server = Server::ListFailsOnce,
            .package = Package::Good,
            .size = 215000,
            .script = "click UpdateForm.Button2; answer ok; " + successScript,
            .records = {"gauge UpdateForm.ProgressBar 50\n", cantConnect, copyFormShown, installed},
            .absent = {},
            .result = Result::NewDatabase,
            .registry = registryValue,
            .unpacked = true,
            .lastGauge = 50,
        },
        // Past the redirect maximum the package is empty, and opening it is
        // the archiver's error, which the application shows.
        RoadCase{
            .name = "redirect_loop",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .prefix = "/loop",
            .script = failureScript,
            .records = {damaged},
            .absent = {copyFormShown, cantConnect},
            .result = Result::OldDatabase,
            .packageRequests = 15,
        },
        RoadCase{
            .name = "package_not_a_zip",
            .server = Server::Nginx,
            .package = Package::NotZip,
            .size = 215000,
            .script = failureScript,
            .records = {damaged, "form UpdateForm closed"},
            .absent = {copyFormShown, cantConnect},
            .result = Result::OldDatabase,
            .lastGauge = 50,
        },
        RoadCase{
            .name = "package_without_database",
            .server = Server::Nginx,
            .package = Package::WithoutDatabase,
            .size = 0,
            .script = successScript,
            .records = {copyFormShown, cantCopy},
            .absent = {installed},
            .result = Result::OldDatabase,
        },
        RoadCase{
            .name = "key_missing",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .script = successScript,
            .records = {copyFormShown, noKey},
            .absent = {installed},
            .result = Result::NewDatabase,
            .unpacked = true,
            .lastGauge = 50,
            .removeKey = true,
        },
        RoadCase{
            .name = "system_folder_missing",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .script = successScript,
            .records = {copyFormShown, cantCopy},
            .absent = {installed},
            .result = Result::NoDatabase,
            .unpacked = true,
            .lastGauge = 50,
            .removeSystemFolder = true,
        },
        RoadCase{
            .name = "cancel_on_the_install_dialog",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 215000,
            .script = "click UpdateForm.Button2; click CopyForm.Button1",
            .records = {copyFormShown, "form CopyForm closed", "form UpdateForm closed"},
            .absent = {installed, "box"},
            .result = Result::OldDatabase,
            .unpacked = true,
            .lastGauge = 50,
        },
        // A click on "Обновить" during the download is ignored: one request.
        RoadCase{
            .name = "second_click_ignored",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 430000,
            .script = "click UpdateForm.Button2; pending click UpdateForm.Button2; " +
                      successScript,
            .records = {copyFormShown, installed},
            .absent = {cantConnect},
            .result = Result::NewDatabase,
            .registry = registryValue,
            .unpacked = true,
            .lastGauge = 100,
            .packageRequests = 1,
        },
        // Closing the dialog during the download stops it at the next
        // progress event, quietly: nothing is written, unpacked or installed.
        RoadCase{
            .name = "closed_during_download",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 430000,
            .script = "click UpdateForm.Button2; pending close UpdateForm",
            .records = {"form UpdateForm closed\nexit 0"},
            .absent = {copyFormShown, "box"},
            .result = Result::OldDatabase,
            .gaugeUnchecked = true,
            .packageRequests = 1,
        },
        RoadCase{
            .name = "cancelled_during_download",
            .server = Server::Nginx,
            .package = Package::Good,
            .size = 430000,
            .script = "click UpdateForm.Button2; pending click UpdateForm.Button1",
            .records = {"form UpdateForm closed\nexit 0"},
            .absent = {copyFormShown, "box"},
            .result = Result::OldDatabase,
            .gaugeUnchecked = true,
            .packageRequests = 1,
        }),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
