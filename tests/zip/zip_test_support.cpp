#include "tests/zip/zip_test_support.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ziptest {

std::string Identifier(const std::string& text) {
  std::string id = text;
  for (char& c : id)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return id;
}

fs::path ScratchDir(const std::string& name) {
  const char* bin = std::getenv("QD_TEST_BINARY_DIR");
  const fs::path root =
      fs::path(bin && *bin ? bin : fs::temp_directory_path().string()) / "zip_scratch";
  // Tests run in parallel processes: each test's folders carry its name.
  std::string owner = "none";
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
    owner = Identifier(info->test_suite_name()) + "." + Identifier(info->name());
  }
  const fs::path dir = root / owner / name;
  std::error_code ec;
  // Earlier runs may have left read-only files behind.
  if (fs::exists(dir)) {
    for (const auto& e : fs::recursive_directory_iterator(dir))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }
  fs::create_directories(dir);
  return dir;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& path, const std::string& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(data.data(), static_cast<std::streamsize>(data.size()));
}

bool HaveTool(const std::string& tool) {
  return RunShell("command -v " + tool + " >/dev/null 2>&1") == 0;
}

int RunShell(const std::string& command) {
  const int status = std::system(command.c_str());
  return status >= 0 && (status & 0x7F) == 0 ? (status >> 8) & 0xFF : -1;
}

std::string Quote(const std::string& text) {
  std::string r = "'";
  for (const char c : text) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

fs::path QdzipPath() {
  const char* bin = std::getenv("QD_TEST_BINARY_DIR");
  return fs::path(bin ? bin : ".") / "tools" / "qdzip" / "qdzip";
}

std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> tree;
  if (!fs::exists(root)) return tree;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).string();
    if (e.is_symlink())
      tree[rel] = "<link>";
    else if (e.is_directory())
      tree[rel] = "<dir>";
    else
      tree[rel] = ReadBytes(e.path());
  }
  return tree;
}

std::string RawDeflate(const std::string& data, int level) {
  z_stream zs{};
  deflateInit2(&zs, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, data.size()) + 16, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

std::string RawInflate(const std::string& data) {
  z_stream zs{};
  inflateInit2(&zs, -MAX_WBITS);
  std::string out(1 << 20, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  inflate(&zs, Z_NO_FLUSH);
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

namespace {

void put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8 & 0xFF);
}

void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

}  // namespace

TestEntry FileEntry(const std::string& name, const std::string& data, uint16_t method) {
  TestEntry e;
  e.name = name;
  e.data = data;
  e.method = method;
  return e;
}

std::string BuildZip(const TestArchive& archive) {
  std::string body, central;
  for (const TestEntry& e : archive.entries) {
    const std::string payload =
        e.payload ? *e.payload : (e.method == 8 ? RawDeflate(e.data) : e.data);
    const uint32_t crc =
        e.crc ? *e.crc
              : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                            static_cast<uInt>(e.data.size())));
    const uint32_t offset =
        static_cast<uint32_t>(body.size() + (archive.offsetsCountStub ? archive.stub.size() : 0));
    const uint16_t flags = e.flags | (e.dataDescriptor ? 0x08 : 0);
    auto common = [&](bool local) {
      const bool blank = local && e.dataDescriptor;
      std::string r;
      put16(r, flags);
      put16(r, e.method);
      put16(r, e.dosTime);
      put16(r, e.dosDate);
      put32(r, blank ? 0 : crc);
      put32(r, blank ? 0 : static_cast<uint32_t>(payload.size()));
      put32(r, blank ? 0 : static_cast<uint32_t>(e.data.size()));
      put16(r, static_cast<uint32_t>(e.name.size()));
      return r;
    };
    body += "PK\x03\x04";
    put16(body, e.versionNeeded);
    body += common(true);
    put16(body, 0);
    body += e.name + payload;
    if (e.dataDescriptor) {
      body += "PK\x07\x08";
      put32(body, crc);
      put32(body, static_cast<uint32_t>(payload.size()));
      put32(body, static_cast<uint32_t>(e.data.size()));
    }
    central += "PK\x01\x02";
    put16(central, 20);
    put16(central, e.versionNeeded);
    central += common(false);
    put16(central, static_cast<uint32_t>(e.extra.size()));
    put16(central, static_cast<uint32_t>(e.comment.size()));
    put16(central, 0);
    put16(central, 0);
    put32(central, e.externalAttributes);
    put32(central, offset);
    central += e.name + e.extra + e.comment;
  }
  std::string end = "PK\x05\x06";
  const uint16_t count =
      archive.endCount ? *archive.endCount : static_cast<uint16_t>(archive.entries.size());
  put16(end, 0);
  put16(end, 0);
  put16(end, count);
  put16(end, count);
  put32(end, static_cast<uint32_t>(central.size()));
  put32(end,
        static_cast<uint32_t>(body.size() + (archive.offsetsCountStub ? archive.stub.size() : 0)));
  put16(end, static_cast<uint32_t>(archive.comment.size()));
  return archive.stub + body + central + end + archive.comment;
}

}  // namespace ziptest
