#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "core/exceptions.h"
#include "core/streams.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder for the files of this run, removed when the run ends.
struct ScratchDir {
  ScratchDir()
      : path(fs::temp_directory_path() / ("qd_streams_" + std::to_string(std::random_device{}()))) {
    fs::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

fs::path scratchDir() {
  static const ScratchDir dir;
  return dir.path;
}

struct StreamKind {
  const char* name;
  std::function<std::unique_ptr<TStream>()> make;
};

void PrintTo(const StreamKind& k, std::ostream* os) {
  *os << k.name;
}

class EveryStream : public ::testing::TestWithParam<StreamKind> {};

TEST_P(EveryStream, WriteSeekReadAndSize) {
  auto s = GetParam().make();
  s->WriteBuffer("hello world", 11);
  EXPECT_EQ(s->Position(), 11);
  EXPECT_EQ(s->Size(), 11);
  EXPECT_EQ(s->Seek(-5, soEnd), 6);
  char got[16] = {};
  EXPECT_EQ(s->Read(got, 16), 5);
  EXPECT_STREQ(got, "world");
  s->SetPosition(6);
  s->WriteBuffer("W", 1);
  s->SetPosition(0);
  char all[12] = {};
  s->ReadBuffer(all, 11);
  EXPECT_STREQ(all, "hello World");
}

TEST_P(EveryStream, ShortReadRaisesAndReadReportsCount) {
  auto s = GetParam().make();
  s->WriteBuffer("abc", 3);
  s->SetPosition(1);
  char got[8];
  try {
    s->ReadBuffer(got, 3);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  s->SetPosition(1);
  EXPECT_EQ(s->Read(got, 8), 2);
  EXPECT_EQ(s->Read(got, 8), 0);
}

TEST_P(EveryStream, SetSizeGrowsKeepsPositionAndCutsBack) {
  auto s = GetParam().make();
  s->WriteBuffer("0123456789", 10);
  s->SetPosition(4);
  s->SetSize(100000);
  EXPECT_EQ(s->Size(), 100000);
  EXPECT_EQ(s->Position(), 4);
  s->SetSize(4);
  EXPECT_EQ(s->Size(), 4);
  EXPECT_EQ(s->Position(), 4);
  s->SetSize(2);
  EXPECT_EQ(s->Position(), 2);
  s->SetPosition(0);
  char got[3] = {};
  s->ReadBuffer(got, 2);
  EXPECT_STREQ(got, "01");
}

TEST_P(EveryStream, CopyFromWholeAndCounted) {
  TStringStream source(std::string(200000, 'x') + "tail");
  source.SetPosition(50);
  auto s = GetParam().make();
  EXPECT_EQ(s->CopyFrom(source, 0), 200004);
  EXPECT_EQ(s->Size(), 200004);
  source.SetPosition(200000);
  EXPECT_EQ(s->CopyFrom(source, 4), 4);
  EXPECT_EQ(s->Size(), 200008);
  EXPECT_THROW(s->CopyFrom(source, 1), EReadError);
}

int fileCounter = 0;

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryStream,
    ::testing::Values(
        StreamKind{"memory", [] { return std::unique_ptr<TStream>(new TMemoryStream); }},
        StreamKind{"string", [] { return std::unique_ptr<TStream>(new TStringStream); }},
        StreamKind{"file",
                   [] {
                     const fs::path p = scratchDir() / ("f" + std::to_string(++fileCounter));
                     return std::unique_ptr<TStream>(new TFileStream(p.string(), fmCreate));
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileStream, OpenAndCreateFailuresNameThePath) {
  const std::string missing = (scratchDir() / "missing.bin").string();
  const std::string inMissingDir = (scratchDir() / "no_dir" / "x.bin").string();
  struct Case {
    std::string path;
    uint16_t mode;
    std::string message;
  } cases[] = {
      {missing, fmOpenRead, "Cannot open file " + missing},
      {missing, fmOpenReadWrite | fmShareDenyWrite, "Cannot open file " + missing},
      {inMissingDir, fmCreate, "Cannot create file " + inMissingDir},
  };
  for (const auto& c : cases) {
    try {
      TFileStream f(c.path, c.mode);
      ADD_FAILURE() << c.path << " opened";
    } catch (const EFileStreamError& e) {
      EXPECT_EQ(e.Message, c.message);
      EXPECT_EQ(c.mode == fmCreate, dynamic_cast<const EFCreateError*>(&e) != nullptr);
    }
  }
}

TEST(FileStream, ReopenedFileKeepsItsBytesAndReadOnlyRefusesWrites) {
  const std::string path = (scratchDir() / "kept.bin").string();
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("data", 4);
    EXPECT_TRUE(f.FlushBuffers());
  }
  TFileStream f(path, fmOpenRead | fmShareDenyNone);
  EXPECT_EQ(f.Size(), 4);
  EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  char got[5] = {};
  f.ReadBuffer(got, 4);
  EXPECT_STREQ(got, "data");
}

TEST(MemoryStream, WriteAfterSeekPastEndFillsTheGapWithZeros) {
  TMemoryStream m;
  m.Seek(3, soBeginning);
  m.WriteBuffer("z", 1);
  EXPECT_EQ(std::string(m.Memory(), 4), std::string("\0\0\0z", 4));
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
}

}  // namespace
