// The copy that replaces its target in one step: on success the target holds
// the source's bytes; on any failure it keeps its own, and no temporary file
// stays beside it.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "platform/atomic_copy.h"
#include "tests/road/road_sandbox.h"

namespace {

using namespace road;

// Bytes of every value, so that a copy cut short or shifted shows.
std::string pattern(size_t size, unsigned seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + seed * 7 + i / 251) & 0xFF);
  return s;
}

class AtomicCopyTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    system = root / "Windows" / "System32";
    work = root / "work";
    source = work / "qd.upd";
    target = system / "qdztempl.dll";
    fs::create_directories(system);
    fs::create_directories(work);
    WriteBytes(source, newBytes);
  }

  // The copy run in a child process whose files may not grow past limit
  // bytes, so that the write stops half-way as on a full disk.
  bool copyWithFileSizeLimit(rlim_t limit) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit rl{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &rl);
      ::_exit(platform::CopyFileAtomic(source.string(), target.string()) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  fs::path system, work, source, target;
  std::string oldBytes = pattern(150000, 1);
  std::string newBytes = pattern(430000, 2);
};

TEST_F(AtomicCopyTest, MakesOrReplacesTheTargetWithTheSourceBytes) {
  ASSERT_TRUE(platform::CopyFileAtomic(source.string(), target.string()));
  EXPECT_EQ(ReadBytes(target), newBytes);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);

  // A replaced target keeps its permissions, and a longer old file leaves no
  // tail behind.
  WriteBytes(target, pattern(600000, 3));
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(platform::CopyFileAtomic(source.string(), target.string()));
  EXPECT_EQ(ReadBytes(target), newBytes);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Entries(system), std::set<std::string>{"qdztempl.dll"});

  // An empty source gives an empty target.
  WriteBytes(source, "");
  ASSERT_TRUE(platform::CopyFileAtomic(source.string(), target.string()));
  EXPECT_EQ(ReadBytes(target), "");
}

TEST_F(AtomicCopyTest, WindowsStylePathsReachTheSameFiles) {
  const std::string from = work.string() + "\\qd.upd";
  const std::string to = system.string() + "\\qdztempl.dll";
  ASSERT_TRUE(platform::CopyFileAtomic(from, to));
  EXPECT_EQ(ReadBytes(target), newBytes);
}

TEST_F(AtomicCopyTest, AFailedCopyLeavesTheTargetAsItWas) {
  const struct {
    const char* what;
    std::function<void()> arrange;
    fs::path target;
  } cases[] = {
      {"source missing", [&] { fs::remove(source); }, target},
      {"source is a folder",
       [&] {
         fs::remove(source);
         fs::create_directory(source);
       },
       target},
      {"target is a folder", [&] { fs::create_directory(system / "db"); }, system / "db"},
      {"system folder missing", [&] { fs::remove_all(root / "Windows" / "Other"); },
       root / "Windows" / "Other" / "qdztempl.dll"},
      {"system folder is a file", [&] { WriteBytes(root / "Windows" / "File", "x"); },
       root / "Windows" / "File" / "qdztempl.dll"},
  };
  for (const auto& c : cases) {
    fs::remove_all(source);
    WriteBytes(source, newBytes);
    WriteBytes(target, oldBytes);
    c.arrange();
    const auto before = Entries(system);
    const auto workBefore = Entries(work);
    EXPECT_FALSE(platform::CopyFileAtomic(source.string(), c.target.string())) << c.what;
    EXPECT_EQ(ReadBytes(target), oldBytes) << c.what;
    EXPECT_EQ(Entries(system), before) << c.what;
    EXPECT_EQ(Entries(work), workBefore) << c.what;
    fs::remove_all(system / "db");
  }
}

TEST_F(AtomicCopyTest, AWriteThatStopsHalfWayLeavesTheOldDatabaseWhole) {
  for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{65536}, rlim_t{429999}}) {
    WriteBytes(target, oldBytes);
    EXPECT_FALSE(copyWithFileSizeLimit(limit)) << "limit " << limit;
    EXPECT_EQ(ReadBytes(target), oldBytes) << "limit " << limit;
    EXPECT_EQ(Entries(system), std::set<std::string>{"qdztempl.dll"}) << "limit " << limit;
  }
  // With room for the whole file the same child succeeds.
  EXPECT_TRUE(copyWithFileSizeLimit(430000));
  EXPECT_EQ(ReadBytes(target), newBytes);
}

}  // namespace
