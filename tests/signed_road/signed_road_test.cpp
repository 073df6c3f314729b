// The signed road of the updater, one row a case: a program built with two
// test keys, a set made and signed with openssl on nginx (squid in front of
// it, or a scripted server for bodies longer than their bounds), and then
// the boxes, the files in the working folder and the system folder, the
// registry values and the program's peak memory.

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
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

const std::string updateList = "upd-2026-12-11\r\n#\r\n#\r\nusual#11.12.2026#signed data\r\n";
const std::string oldDatabase = "the database installed before\n";
const std::string notSigned =
    "box error \"Error\" \"The update is not signed by the publisher. Nothing was installed.\" "
    "-> ok";
const std::string older =
    "box error \"Error\" \"The update on the server is older than the installed one. Nothing was "
    "installed.\" -> ok";
const std::string cantConnect = "box plain \"qdupdate\" \"Can't connect to server\" -> ok";
const std::string installed =
    "box plain \"qdupdate\" \"Database update has been successfully completed\" -> ok";
const std::string copyFormShown = "form CopyForm shown";
const std::string serial = "2026121101";
const int64_t excess = int64_t{64} << 20;

std::string Database() {
  return RandomBytes(20000, 43);
}

// What changes between the set the server holds and a good one.
enum class Damage {
  None,
  PackageByte,
  ListByte,
  ManifestByte,
  SignatureByte,
  OtherKey,
  SecondKey,
  ManifestMissing,
  SignatureMissing,
  PackageMissing,
  ManifestOverBound,
  SignatureOverBound,
  WrongHashLine,
  ManifestServerError,
};

enum class Server {
  Nginx,
  Squid,
  LongManifest,
  LongSignature,
  LongPackageUntilClose,
  LongPackageCounted,
  // A first attempt finds no manifest (404), a second one the good set.
  MissingThenGood
};

struct SignedCase {
  const char* name;
  Server server;
  Damage damage;
  // The UpdateSerial value stored before the run, untyped, or none.
  std::optional<std::string> storedSerial;
  // The box expected; installed means the whole road.
  std::string box;
  bool installs;
};

void PrintTo(const SignedCase& c, std::ostream* os) {
  *os << c.name;
}

// Every file under a folder with its bytes, and the registry type
// attributes too.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string rel = fs::relative(e.path(), folder).string();
    if (e.is_directory()) {
      files[rel + "/"] = "";
      continue;
    }
    std::string type(16, '\0');
    const ssize_t n = getxattr(e.path().c_str(), "user.qdupdate.type", type.data(), type.size());
    files[rel] = ReadFile(e.path().string()) + "|type=" + (n >= 0 ? type.substr(0, n) : "none");
  }
  return files;
}

struct Measured {
  int exitCode = -1;
  std::string out;
  long peakKiB = 0;
};

// Runs the program without DISPLAY and with the environment given, under
// GNU time, which reports the program's own peak resident memory (a child
// of this test process would count the test's memory too).
Measured RunMeasured(const std::string& program, const std::vector<std::string>& env,
                     const std::string& cwd, const std::string& dir) {
  std::vector<std::string> args = {"-f", "%M", "-o", dir + "/peak", "env", "-u", "DISPLAY"};
  args.insert(args.end(), env.begin(), env.end());
  args.push_back(program);
  const auto run = interop::RunProgram("/usr/bin/time", args, dir, cwd);
  Measured m{run.exitCode, run.out, 0};
  const std::string peak = ReadFile(dir + "/peak");
  if (!peak.empty()) m.peakKiB = std::stol(peak);
  return m;
}

class SignedRoadTest : public testing::TestWithParam<SignedCase> {
 protected:
  void SetUp() override {
    scratch = interop::ScratchDir(std::string("signed_road_") + GetParam().name);
    root = scratch + "/root";
    work = root + "/work";
    const std::string source = std::getenv("QD_TEST_SOURCE_DIR");
    ASSERT_EQ(std::system(("bash " + source + "/scripts/make_sample_root.sh " + root).c_str()), 0);
    fs::create_directories(work);
    WriteFile(root + "/Windows/System32/qdztempl.dll", oldDatabase);
    // A package and its database from an earlier update stay in the working
    // folder; a refused update must leave them as they are.
    WriteFile(work + "/qd.zip", "the package of the update before");
    WriteFile(work + "/qd.upd", "the database of the update before");
  }

  std::string keyFile(const std::string& name) const {
    return std::string(QD_TEST_KEYS) + "/" + name + ".pem";
  }

  // A package written by Info-ZIP's zip holding the database.
  std::string package() {
    const std::string dir = scratch + "/zip_src";
    WriteFile(dir + "/qd.upd", Database());
    const auto run =
        interop::RunProgram("zip", {"-q", "-X", "../package.zip", "qd.upd"}, scratch, dir);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadFile(scratch + "/package.zip");
  }

  // The signature that `openssl dgst -sha256 -sign` makes of text.
  std::string sign(const std::string& text, const std::string& key) {
    WriteFile(scratch + "/to_sign", text);
    const auto run = interop::RunProgram(
        "openssl", {"dgst", "-sha256", "-sign", keyFile(key), "-out", "signed.sig", "to_sign"},
        scratch, scratch);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadFile(scratch + "/signed.sig");
  }

  std::string sha256(const std::string& bytes) {
    WriteFile(scratch + "/to_hash", bytes);
    const auto run =
        interop::RunProgram("openssl", {"dgst", "-sha256", "-r", "to_hash"}, scratch, scratch);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.out.substr(0, 64);
  }

  std::string scratch, root, work;
};

TEST_P(SignedRoadTest, Road) {
  const SignedCase& c = GetParam();
  std::string zip = package();
  std::string list = updateList;
  const std::string zipHash = c.damage == Damage::WrongHashLine ? sha256(zip + "x") : sha256(zip);
  std::string manifest = "qdupdate-manifest 1\nserial " + serial + "\nfile qd.zip " +
                         std::to_string(zip.size()) + " sha256 " + zipHash + "\nfile newupd.dat " +
                         std::to_string(list.size()) + " sha256 " + sha256(list) + "\n";
  std::string signature = sign(manifest, c.damage == Damage::OtherKey    ? "other"
                                         : c.damage == Damage::SecondKey ? "second"
                                                                         : "first");
  switch (c.damage) {
    case Damage::PackageByte:
      zip[zip.size() / 2] ^= 0x01;
      break;
    case Damage::ListByte:
      list[3] ^= 0x20;
      break;
    case Damage::ManifestByte:
      // A digit of the serial: still a manifest, no longer the signed one.
      manifest[27] = manifest[27] == '9' ? '8' : '9';
      break;
    case Damage::SignatureByte:
      signature[signature.size() - 5] ^= 0x01;
      break;
    case Damage::ManifestOverBound:
      // A valid manifest padded past its bound is refused for its size alone.
      manifest.resize(4097, '\n');
      break;
    case Damage::SignatureOverBound:
      signature.resize(513, '\0');
      break;
    default:
      break;
  }

  std::unique_ptr<RealServer> nginx, squid;
  std::unique_ptr<ScriptServer> scripted;
  std::string base;
  std::string proxyDef;
  if (c.server == Server::Nginx || c.server == Server::Squid) {
    nginx = std::make_unique<RealServer>("nginx", scratch + "/nginx");
    ASSERT_NE(nginx->Port(), 0);
    const std::string www = nginx->Www() + "/signed";
    if (c.damage != Damage::ManifestMissing && c.damage != Damage::ManifestServerError)
      WriteFile(www + "/qd.manifest", manifest);
    if (c.damage != Damage::SignatureMissing) WriteFile(www + "/qd.manifest.sig", signature);
    if (c.damage != Damage::PackageMissing) WriteFile(www + "/qd.zip", zip);
    WriteFile(www + "/newupd.dat", list);
    base = nginx->Url("/signed");
    if (c.damage == Damage::ManifestServerError) {
      // A folder where the manifest should be: nginx answers with a
      // redirect to it, then 403 for its listing.
      fs::create_directories(www + "/qd.manifest");
    }
    if (c.server == Server::Squid) {
      squid = std::make_unique<RealServer>("squid", scratch + "/squid",
                                           std::vector<std::string>{"updater", "pa:ss word"});
      ASSERT_NE(squid->Port(), 0);
      proxyDef = "1\r\n1\r\n127.0.0.1\r\n" + std::to_string(squid->Port()) + "\r\n$" +
                 Scramble("updater") + "\r\n$" + Scramble("pa:ss word") + "\r\n";
    }
  } else {
    const std::string huge(static_cast<size_t>(excess), 'x');
    const std::string untilClose = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
    std::vector<Script> sessions;
    if (c.server == Server::MissingThenGood) {
      sessions.push_back(Script().Send(Response("404 Not Found", "none")).ReadUntilClosed());
      for (const auto* body : {&manifest, &signature, &zip, &list})
        sessions.push_back(Script().Send(Response("200 OK", *body)).ReadUntilClosed());
    } else if (c.server == Server::LongManifest) {
      sessions.push_back(Script().Send(untilClose + huge).ReadUntilClosed());
    } else if (c.server == Server::LongSignature) {
      sessions.push_back(Script().Send(Response("200 OK", manifest)).ReadUntilClosed());
      sessions.push_back(Script().Send(untilClose + signature + huge).ReadUntilClosed());
    } else {
      sessions.push_back(Script().Send(Response("200 OK", manifest)).ReadUntilClosed());
      sessions.push_back(Script().Send(Response("200 OK", signature)).ReadUntilClosed());
      if (c.server == Server::LongPackageUntilClose)
        sessions.push_back(Script().Send(untilClose + zip + huge).ReadUntilClosed());
      else
        sessions.push_back(Script()
                               .Send("HTTP/1.1 200 OK\r\nContent-Length: " +
                                     std::to_string(zip.size() + huge.size()) + "\r\n\r\n" + zip +
                                     huge)
                               .ReadUntilClosed());
    }
    scripted = std::make_unique<ScriptServer>(sessions);
    base = "http://127.0.0.1:" + std::to_string(scripted->Port());
  }
  if (!proxyDef.empty()) WriteFile(root + "/proxy.def", proxyDef);
  const std::string serialFile =
      root + "/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk/UpdateSerial";
  if (c.storedSerial) WriteFile(serialFile, *c.storedSerial);

  const auto workBefore = Snapshot(work);
  const auto systemBefore = Snapshot(root + "/Windows");
  const auto registryBefore = Snapshot(root + "/Registry");

  const std::string program =
      std::string(std::getenv("QD_TEST_BINARY_DIR")) + "/tests/signed_road/qdupdate_signed";
  std::string script = c.installs ? "click UpdateForm.Button2; click CopyForm.Button2; answer ok"
                                  : "click UpdateForm.Button2; answer ok";
  if (c.server == Server::MissingThenGood)
    script = "click UpdateForm.Button2; answer ok; " + script;
  const auto run =
      RunMeasured(program,
                  {"QD_ROOT=" + root, "QD_UPDATE_URL=" + base, "QD_READ_TIMEOUT_MS=2000",
                   "QD_UI=headless", "QD_UI_SCRIPT=" + script},
                  work, scratch);
  const std::string& out = run.out;
  EXPECT_EQ(run.exitCode, 0) << out;
  EXPECT_NE(out.find(c.box), std::string::npos) << out;
  EXPECT_NE(out.find("exit 0\n"), std::string::npos) << out;
  // Far below the 64 MiB that the long bodies carry.
  EXPECT_GT(run.peakKiB, 0);
  EXPECT_LT(run.peakKiB, 24 * 1024) << out;

  if (c.installs) {
    // The package moves the gauge, also after a refused attempt.
    EXPECT_NE(out.find("gauge UpdateForm.ProgressBar " + std::to_string(zip.size() / 4300) + "\n"),
              std::string::npos)
        << out;
  }
  if (c.server == Server::MissingThenGood) {
    EXPECT_LT(out.find(notSigned), out.find(installed)) << out;
  }
  const std::string registryKey = root + "/Registry/HKEY_LOCAL_MACHINE/SOFTWARE/Talvesk";
  if (c.installs) {
    EXPECT_NE(out.find(copyFormShown), std::string::npos) << out;
    EXPECT_TRUE(ReadFile(root + "/Windows/System32/qdztempl.dll") == Database());
    EXPECT_TRUE(ReadFile(work + "/qd.zip") == zip);
    EXPECT_TRUE(ReadFile(work + "/qd.upd") == Database());
    EXPECT_EQ(ReadFile(registryKey + "/CurrentUpdate"), std::string("upd-2026-12-11\0", 15));
    const auto after = Snapshot(registryKey);
    EXPECT_EQ(after.at("UpdateSerial"), serial + std::string(1, '\0') + "|type=1");
  } else {
    EXPECT_EQ(out.find(copyFormShown), std::string::npos) << out;
    // The main dialog stays open until the script ends.
    EXPECT_EQ(out.find("form UpdateForm closed"), out.rfind("form UpdateForm closed")) << out;
    EXPECT_EQ(Snapshot(work), workBefore);
    EXPECT_EQ(Snapshot(root + "/Windows"), systemBefore);
    EXPECT_EQ(Snapshot(root + "/Registry"), registryBefore);
  }
  if (squid) {
    const auto log = ReadFile(squid->Dir() + "/access.log");
    for (const char* name : {"qd.manifest ", "qd.manifest.sig ", "qd.zip ", "newupd.dat "}) {
      std::string found;
      for (int i = 0; i < 100; ++i) {
        found = ReadFile(squid->Dir() + "/access.log");
        if (found.find("GET " + base + "/" + name + "updater ") != std::string::npos) break;
        std::system("sleep 0.05");
      }
      EXPECT_NE(found.find("GET " + base + "/" + name + "updater "), std::string::npos)
          << name << found;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SignedRoadTest,
    testing::Values(SignedCase{"good_set", Server::Nginx, Damage::None, std::nullopt, installed,
                               true},
                    SignedCase{"second_of_two_keys", Server::Nginx, Damage::SecondKey, std::nullopt,
                               installed, true},
                    SignedCase{"through_squid_with_scrambled_credentials", Server::Squid,
                               Damage::None, std::nullopt, installed, true},
                    SignedCase{"equal_serial_installed", Server::Nginx, Damage::None,
                               serial + std::string(1, '\0'), installed, true},
                    SignedCase{"stored_serial_not_decimal_counts_as_zero", Server::Nginx,
                               Damage::None, std::string("9999999999x"), installed, true},
                    SignedCase{"refused_then_installed", Server::MissingThenGood, Damage::None,
                               std::nullopt, installed, true},
                    SignedCase{"older_serial_refused", Server::Nginx, Damage::None,
                               std::string("2026121102"), older, false},
                    SignedCase{"package_byte_flipped", Server::Nginx, Damage::PackageByte,
                               std::nullopt, notSigned, false},
                    SignedCase{"list_byte_flipped", Server::Nginx, Damage::ListByte, std::nullopt,
                               notSigned, false},
                    SignedCase{"manifest_byte_flipped", Server::Nginx, Damage::ManifestByte,
                               std::nullopt, notSigned, false},
                    SignedCase{"signature_byte_flipped", Server::Nginx, Damage::SignatureByte,
                               std::nullopt, notSigned, false},
                    SignedCase{"signed_by_another_key", Server::Nginx, Damage::OtherKey,
                               std::nullopt, notSigned, false},
                    SignedCase{"manifest_missing", Server::Nginx, Damage::ManifestMissing,
                               std::nullopt, notSigned, false},
                    SignedCase{"signature_missing", Server::Nginx, Damage::SignatureMissing,
                               std::nullopt, notSigned, false},
                    SignedCase{"package_missing", Server::Nginx, Damage::PackageMissing,
                               std::nullopt, notSigned, false},
                    SignedCase{"manifest_over_its_bound", Server::Nginx, Damage::ManifestOverBound,
                               std::nullopt, notSigned, false},
                    SignedCase{"signature_over_its_bound", Server::Nginx,
                               Damage::SignatureOverBound, std::nullopt, notSigned, false},
                    SignedCase{"wrong_hash_line", Server::Nginx, Damage::WrongHashLine,
                               std::nullopt, notSigned, false},
                    SignedCase{"manifest_server_error", Server::Nginx, Damage::ManifestServerError,
                               std::nullopt, cantConnect, false},
                    SignedCase{"manifest_of_64_mib", Server::LongManifest, Damage::None,
                               std::nullopt, notSigned, false},
                    SignedCase{"signature_of_64_mib", Server::LongSignature, Damage::None,
                               std::nullopt, notSigned, false},
                    SignedCase{"package_64_mib_longer_until_close", Server::LongPackageUntilClose,
                               Damage::None, std::nullopt, notSigned, false},
                    SignedCase{"package_64_mib_longer_counted", Server::LongPackageCounted,
                               Damage::None, std::nullopt, notSigned, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
