// The platform's hash and signature check against the openssl tool: keys
// and signatures made by `openssl` at test time, digests compared with
// `openssl dgst`, and every kind of damage refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/update_manifest.h"
#include "platform/signature.h"
#include "tests/support/real_server.h"

namespace {

namespace fs = std::filesystem;
using interop::ReadFile;
using interop::WriteFile;

class CryptoTest : public testing::Test {
 protected:
  void SetUp() override { dir = interop::ScratchDir("crypto_test"); }

  std::string openssl(const std::vector<std::string>& args) {
    const auto run = interop::RunProgram("openssl", args, dir, dir);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.out;
  }

  // A fresh key pair: the private key's file and the public point.
  platform::TP256PublicKey makeKey(const std::string& name) {
    openssl({"ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", name + ".pem"});
    openssl({"ec", "-in", name + ".pem", "-pubout", "-out", name + ".pub"});
    openssl({"pkey", "-pubin", "-in", name + ".pub", "-outform", "DER", "-out", name + ".der"});
    const std::string der = ReadFile(dir + "/" + name + ".der");
    platform::TP256PublicKey key{};
    EXPECT_EQ(der.size(), 91u);
    if (der.size() == 91u) std::copy(der.end() - 65, der.end(), key.begin());
    return key;
  }

  std::string sign(const std::string& keyName, const std::string& data) {
    WriteFile(dir + "/data", data);
    openssl({"dgst", "-sha256", "-sign", keyName + ".pem", "-out", "data.sig", "data"});
    return ReadFile(dir + "/data.sig");
  }

  std::string dir;
};

TEST_F(CryptoTest, DigestsMatchOpenssl) {
  for (const size_t size : {size_t{0}, size_t{1}, size_t{64}, size_t{1000003}}) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>(i * 131 + size);
    WriteFile(dir + "/blob", data);
    const std::string line = openssl({"dgst", "-sha256", "-r", "blob"});
    const std::string expected = line.substr(0, 64);
    EXPECT_EQ(Sha256Hex(platform::Sha256(data)), expected) << size;
    // The same digest fed in uneven pieces, twice over one object.
    platform::TSha256 hash;
    for (int round = 0; round < 2; ++round) {
      for (size_t at = 0; at < size;) {
        const size_t piece = std::min<size_t>(size - at, 1 + at % 977);
        hash.Update(data.data() + at, piece);
        at += piece;
      }
      EXPECT_EQ(Sha256Hex(hash.Final()), expected) << size << " round " << round;
    }
  }
}

TEST_F(CryptoTest, SignaturesOfOpensslVerify) {
  const auto key = makeKey("a");
  const auto other = makeKey("b");
  const std::string data = "qdupdate-manifest 1\nserial 5\n";
  const std::string signature = sign("a", data);
  EXPECT_TRUE(platform::VerifyP256Signature(key, data, signature));
  EXPECT_FALSE(platform::VerifyP256Signature(other, data, signature));

  std::string changed = data;
  changed[3] ^= 1;
  EXPECT_FALSE(platform::VerifyP256Signature(key, changed, signature));
  EXPECT_FALSE(platform::VerifyP256Signature(key, data + "\n", signature));
  for (size_t i = 0; i < signature.size(); ++i) {
    std::string bad = signature;
    bad[i] ^= 0x01;
    EXPECT_FALSE(platform::VerifyP256Signature(key, data, bad)) << "byte " << i;
  }
  EXPECT_FALSE(platform::VerifyP256Signature(key, data, ""));
  EXPECT_FALSE(platform::VerifyP256Signature(key, data, signature + std::string(1, '\0')));
  auto broken = key;
  broken[0] = 0x05;
  EXPECT_FALSE(platform::VerifyP256Signature(broken, data, signature));
  auto offCurve = key;
  offCurve[64] ^= 1;
  EXPECT_FALSE(platform::VerifyP256Signature(offCurve, data, signature));
}

}  // namespace
