// qdsign against the openssl tool: a set that qdsign makes verifies with
// `openssl dgst -verify`, a set signed by `openssl dgst` verifies with
// qdsign, and qdsign verify names what fails.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/real_server.h"

namespace {

using interop::ReadFile;
using interop::RunProgram;
using interop::WriteFile;

class QdsignTest : public testing::Test {
 protected:
  void SetUp() override {
    dir = interop::ScratchDir("qdsign_test");
    set = dir + "/set";
    qdsign = std::string(std::getenv("QD_TEST_BINARY_DIR")) + "/tools/qdsign/qdsign";
    ASSERT_EQ(openssl({"ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", "key.pem"}),
              0);
    ASSERT_EQ(openssl({"ec", "-in", "key.pem", "-pubout", "-out", "pub.pem"}), 0);
    ASSERT_EQ(openssl({"ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", "b.pem"}), 0);
    ASSERT_EQ(openssl({"ec", "-in", "b.pem", "-pubout", "-out", "b.pub"}), 0);
    WriteFile(set + "/qd.zip", std::string(100000, 'z') + "end");
    WriteFile(set + "/newupd.dat", "upd-1\r\n#\r\n");
  }

  int openssl(const std::vector<std::string>& args) {
    last = RunProgram("openssl", args, dir, dir);
    return last.exitCode;
  }
  int run(const std::vector<std::string>& args) {
    last = RunProgram(qdsign, args, dir, dir);
    return last.exitCode;
  }

  std::string dir, set, qdsign;
  interop::Run last;
};

TEST_F(QdsignTest, MadeSetVerifiesWithOpenssl) {
  ASSERT_EQ(run({"make", "--serial", "2026121101", "--key", "key.pem", set}), 0) << last.err;
  const std::string manifest = ReadFile(set + "/qd.manifest");
  EXPECT_EQ(manifest.rfind("qdupdate-manifest 1\nserial 2026121101\nfile qd.zip 100003 sha256 ", 0),
            0u)
      << manifest;
  ASSERT_EQ(openssl({"dgst", "-sha256", "-r", "set/qd.zip"}), 0);
  EXPECT_NE(manifest.find(last.out.substr(0, 64)), std::string::npos);
  EXPECT_EQ(openssl({"dgst", "-sha256", "-verify", "pub.pem", "-signature", "set/qd.manifest.sig",
                     "set/qd.manifest"}),
            0)
      << last.out << last.err;
  EXPECT_NE(last.out.find("Verified OK"), std::string::npos);
  EXPECT_EQ(run({"verify", "--pub", "pub.pem", set}), 0) << last.err;
  EXPECT_EQ(last.out, "good: serial 2026121101\n");
}

TEST_F(QdsignTest, OpensslSignedSetVerifies) {
  ASSERT_EQ(run({"make", "--serial", "7", "--key", "key.pem", set}), 0) << last.err;
  // Signed again by hand with the other key.
  ASSERT_EQ(openssl({"dgst", "-sha256", "-sign", "b.pem", "-out", "set/qd.manifest.sig",
                     "set/qd.manifest"}),
            0);
  EXPECT_EQ(run({"verify", "--pub", "b.pub", set}), 0) << last.err;
  EXPECT_EQ(run({"verify", "--pub", "pub.pem", set}), 1);
  EXPECT_NE(last.err.find("fail: qd.manifest.sig is not a signature"), std::string::npos)
      << last.err;
}

TEST_F(QdsignTest, VerifyNamesWhatFails) {
  ASSERT_EQ(run({"make", "--serial", "7", "--key", "key.pem", set}), 0) << last.err;
  WriteFile(set + "/qd.zip", std::string(100000, 'z') + "enD");
  EXPECT_EQ(run({"verify", "--pub", "pub.pem", set}), 1);
  EXPECT_NE(last.err.find("fail: qd.zip has SHA-256 "), std::string::npos) << last.err;
  WriteFile(set + "/newupd.dat", "upd-1\r\n");
  EXPECT_EQ(run({"verify", "--pub", "pub.pem", set}), 1);
  EXPECT_NE(last.err.find("fail: newupd.dat has 7 bytes, the manifest says 10"), std::string::npos)
      << last.err;
}

TEST_F(QdsignTest, BadOptions) {
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({"make", "--serial", "0", "--key", "key.pem", set}), 2);
  EXPECT_EQ(run({"make", "--serial", "01", "--key", "key.pem", set}), 2);
  EXPECT_EQ(run({"make", "--serial", "9223372036854775808", "--key", "key.pem", set}), 2);
  EXPECT_EQ(run({"make", "--serial", "5", "--key", "pub.pem", set}), 2);
  EXPECT_EQ(run({"verify", "--pub", "nothing.pem", set}), 2);
  EXPECT_EQ(run({"sign", "--pub", "pub.pem", set}), 2);
}

}  // namespace
