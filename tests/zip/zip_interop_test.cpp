// What qdzip extracts from archives that other programs wrote (Debian's Go,
// Python and Rust test archives), compared byte for byte with what unzip
// extracts from them: into one folder (qdzip without -d, unzip -j) and with
// the archive's folders (qdzip -d, plain unzip). Where the two differ by
// design, the table says how and why, and the test checks that difference.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/zip/zip_test_support.h"

namespace {

using namespace ziptest;

enum class Expect {
  Same,          // the same files with the same bytes
  OpenFails,     // qdzip refuses the archive (exit 2) and writes nothing
  NamesDiffer,   // the same bytes under other names
  LinksAsFiles,  // a symbolic link becomes a file holding the link's target
  EntriesFail,   // some entries fail in qdzip; every other file is the same
};

struct InteropCase {
  const char* set;  // "go", "python" or "rust"
  const char* file;
  Expect expect;
  int qdzipExit;  // with -d; 2 for OpenFails
  const char* why;
};

void PrintTo(const InteropCase& c, std::ostream* os) {
  *os << c.set << "/" << c.file;
}

const InteropCase kCases[] = {
    {"go", "crc32-not-streamed.zip", Expect::Same, 0, ""},
    {"go", "dd.zip", Expect::Same, 0, ""},
    {"go", "dupdir.zip", Expect::Same, 1,
     "folder entries without the folder attribute are files with an empty name, which fail"},
    {"go", "go-with-datadesc-sig.zip", Expect::Same, 0, ""},
    {"go", "readme.zip", Expect::OpenFails, 2,
     "one byte follows the comment: the end record must reach the end of the file exactly"},
    {"go", "readme.notzip", Expect::OpenFails, 2, "not an archive"},
    {"go", "subdir.zip", Expect::Same, 0, ""},
    {"go", "symlink.zip", Expect::LinksAsFiles, 0, "links are written as plain files"},
    {"go", "test-baddirsz.zip", Expect::OpenFails, 2,
     "the directory is read from where its stored size puts it, and runs past the end"},
    {"go", "test-prefix.zip", Expect::OpenFails, 2, "bytes follow the comment"},
    {"go", "test-trailing-junk.zip", Expect::OpenFails, 2, "bytes follow the end record"},
    {"go", "test.zip", Expect::Same, 0, ""},
    {"go", "time-22738.zip", Expect::Same, 0, ""},
    {"go", "time-7zip.zip", Expect::Same, 0, ""},
    {"go", "time-go.zip", Expect::Same, 0, ""},
    {"go", "time-infozip.zip", Expect::Same, 0, ""},
    {"go", "time-osx.zip", Expect::Same, 0, ""},
    {"go", "time-win7.zip", Expect::Same, 0, ""},
    {"go", "time-winrar.zip", Expect::Same, 0, ""},
    {"go", "time-winzip.zip", Expect::Same, 0, ""},
    {"go", "unix.zip", Expect::Same, 0, ""},
    {"go", "utf8-7zip.zip", Expect::NamesDiffer, 0, "Chinese names have no Windows-1251 form"},
    {"go", "utf8-infozip.zip", Expect::NamesDiffer, 0, "Chinese names have no Windows-1251 form"},
    {"go", "utf8-osx.zip", Expect::NamesDiffer, 0,
     "a UTF-8 name without the UTF-8 flag is read in the OEM code page (866)"},
    {"go", "utf8-winrar.zip", Expect::NamesDiffer, 0, "Chinese names have no Windows-1251 form"},
    {"go", "utf8-winzip.zip", Expect::NamesDiffer, 0, "Chinese names have no Windows-1251 form"},
    {"go", "winxp.zip", Expect::Same, 0, ""},
    {"go", "zip64.zip", Expect::Same, 0, ""},
    {"go", "zip64-2.zip", Expect::Same, 0, ""},
    {"python", "ziptestdata/exe_with_zip", Expect::Same, 0, ""},
    {"python", "ziptestdata/exe_with_z64", Expect::Same, 0, ""},
    {"python", "zip_cp437_header.zip", Expect::NamesDiffer, 0,
     "a code page 437 name is read in the OEM code page (866)"},
    {"python", "zipdir.zip", Expect::Same, 0, ""},
    {"rust", "aes_archive.zip", Expect::EntriesFail, 1, "AES encryption is not supported"},
    {"rust", "comment_garbage.zip", Expect::OpenFails, 2, "bytes follow the comment"},
    {"rust", "files_and_dirs.zip", Expect::Same, 0, ""},
    {"rust", "invalid_cde_number_of_files_allocation_greater_offset.zip", Expect::OpenFails, 2,
     "the entry count runs past the end of the file"},
    {"rust", "invalid_cde_number_of_files_allocation_smaller_offset.zip", Expect::OpenFails, 2,
     "the entry count runs past the end of the file"},
    {"rust", "invalid_offset.zip", Expect::OpenFails, 2, "the directory runs past the end"},
    {"rust", "invalid_offset2.zip", Expect::OpenFails, 2, "the directory runs past the end"},
    {"rust", "mimetype.zip", Expect::Same, 0, ""},
    {"rust", "zip64_demo.zip", Expect::Same, 0, ""},
};

fs::path setDir(const std::string& set) {
  if (set == "go") return QD_PEER_GO_DIR;
  if (set == "python") return QD_PEER_PYTHON_DIR;
  const fs::path registry = QD_PEER_RUST_REGISTRY;
  if (fs::is_directory(registry))
    for (const auto& e : fs::directory_iterator(registry))
      if (e.path().filename().string().rfind("zip-", 0) == 0) return e.path() / "tests" / "data";
  return {};
}

const char* packageOf(const std::string& set) {
  return set == "go"       ? QD_PEER_GO_PACKAGE
         : set == "python" ? QD_PEER_PYTHON_PACKAGE
                           : QD_PEER_RUST_PACKAGE;
}

std::vector<std::string> sortedContents(const std::map<std::string, std::string>& tree) {
  std::vector<std::string> r;
  for (const auto& [name, content] : tree) r.push_back(content);
  std::sort(r.begin(), r.end());
  return r;
}

class Interop : public ::testing::TestWithParam<InteropCase> {};

TEST_P(Interop, QdzipWritesWhatUnzipWrites) {
  const InteropCase& c = GetParam();
  if (!HaveTool("unzip")) GTEST_SKIP() << "unzip is not installed (Debian: unzip)";
  const fs::path archive = setDir(c.set) / c.file;
  if (!fs::exists(archive))
    GTEST_SKIP() << archive << " is missing (Debian: " << packageOf(c.set) << ")";
  ASSERT_TRUE(fs::exists(QdzipPath()));
  for (const bool folders : {false, true}) {
    const std::string label = std::string(c.file) + (folders ? " with folders" : " flat");
    const fs::path dir = ScratchDir("interop");
    const fs::path q = dir / "q", u = dir / "u";
    fs::create_directories(q);
    fs::create_directories(u);
    const int qdzipExit =
        RunShell(Quote(QdzipPath().string()) + " x " + (folders ? "-d " : "") +
                 Quote(archive.string()) + " " + Quote(q.string()) + " 2>/dev/null");
    RunShell("unzip -o -qq " + std::string(folders ? "" : "-j ") + Quote(archive.string()) +
             " -d " + Quote(u.string()) + " >/dev/null 2>&1");
    const auto qTree = TreeOf(q), uTree = TreeOf(u);
    if (folders || c.expect == Expect::OpenFails) {
      EXPECT_EQ(qdzipExit, c.qdzipExit) << label;
    }
    switch (c.expect) {
      case Expect::Same:
        EXPECT_EQ(qTree, uTree) << label;
        break;
      case Expect::OpenFails:
        EXPECT_TRUE(qTree.empty()) << label << ": " << c.why;
        break;
      case Expect::NamesDiffer:
        EXPECT_NE(qTree, uTree) << label << ": " << c.why;
        EXPECT_EQ(sortedContents(qTree), sortedContents(uTree)) << label;
        break;
      case Expect::LinksAsFiles: {
        ASSERT_EQ(qTree.size(), uTree.size()) << label;
        int links = 0;
        for (const auto& [name, content] : uTree) {
          if (content != "<link>") {
            EXPECT_EQ(qTree.at(name), content) << label << " " << name;
            continue;
          }
          ++links;
          EXPECT_EQ(qTree.at(name), fs::read_symlink(u / name).string()) << label << " " << name;
        }
        EXPECT_GT(links, 0) << label;
        break;
      }
      case Expect::EntriesFail:
        EXPECT_GT(qTree.size(), uTree.size()) << label << ": " << c.why;
        for (const auto& [name, content] : uTree) {
          if (content == "<dir>") continue;
          EXPECT_EQ(qTree.count(name) ? qTree.at(name) : "-", content) << label;
        }
        break;
    }
  }
}

TEST(Qdzip, ListsOneLinePerEntry) {
  ASSERT_TRUE(fs::exists(QdzipPath()));
  TestArchive a;
  TestEntry folder;
  folder.name = "dir/";
  folder.externalAttributes = 0x10;
  TestEntry text;
  text.name = "dir/\x92\xA5\xE1\xE2.txt";  // "Тест" in code page 866
  text.data = "hello";
  text.externalAttributes = 0x21;
  a.entries = {folder, text};
  const fs::path dir = ScratchDir("qdzip_list");
  WriteBytes(dir / "a.zip", BuildZip(a));
  ASSERT_EQ(RunShell(Quote(QdzipPath().string()) + " l " + Quote((dir / "a.zip").string()) + " > " +
                     Quote((dir / "out.txt").string())),
            0);
  EXPECT_EQ(ReadBytes(dir / "out.txt"),
            "00000010 0 00000000 dir/\n00000021 5 3610A686 dir/Тест.txt\n");
  EXPECT_EQ(RunShell(Quote(QdzipPath().string()) + " l " + Quote((dir / "none.zip").string()) +
                     " 2>/dev/null"),
            2);
}

INSTANTIATE_TEST_SUITE_P(Archives, Interop, ::testing::ValuesIn(kCases), [](const auto& info) {
  return std::string(info.param.set) + "_" + Identifier(info.param.file);
});

}  // namespace
