// The registry calls over the POSIX store: keys as folders, values as files
// holding exactly their bytes, names found without regard to case, atomic
// value writes, and no new keys under HKEY_LOCAL_MACHINE.

#include <atomic>
#include <thread>

#include "core/cp1251.h"
#include "platform/registry.h"
#include "tests/road/road_sandbox.h"

namespace {

using namespace platform;
using namespace road;
using namespace std::string_literals;

class RegistryStoreTest : public SandboxTest {
 protected:
  // Opens or creates a key, failing the test when that does not work.
  RegKey create(RegKey parent, const std::string& path, std::uint32_t access = KeyAllAccess) {
    RegKey key = NoRegKey;
    EXPECT_EQ(RegCreateKeyEx(parent, path, access, key), RegSuccess) << path;
    return key;
  }
};

TEST_F(RegistryStoreTest, CreateMakesOneFolderPerKeyAndReportsWhetherItWasNew) {
  RegKey key = NoRegKey;
  bool created = false;
  ASSERT_EQ(RegCreateKeyEx(HkeyCurrentUser, "SOFTWARE\\Talvesk", KeyAllAccess, key, &created),
            RegSuccess);
  EXPECT_TRUE(created);
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "SOFTWARE/Talvesk")));
  EXPECT_EQ(RegCloseKey(key), RegSuccess);

  // The second time finds the key, in any letter case, and makes nothing.
  ASSERT_EQ(RegCreateKeyEx(HkeyCurrentUser, "software\\TALVESK", KeyAllAccess, key, &created),
            RegSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER")), std::set<std::string>{"SOFTWARE"});
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER", "SOFTWARE")), std::set<std::string>{"Talvesk"});
  EXPECT_EQ(RegCloseKey(key), RegSuccess);
}

TEST_F(RegistryStoreTest, AValueIsAFileHoldingExactlyItsBytes) {
  const RegKey key = create(HkeyCurrentUser, "SOFTWARE\\Talvesk");
  const struct {
    std::string name;
    std::uint32_t type;
    std::string data;
  } values[] = {
      {"CurrentUpdate", RegSz, "2026-11-12\0"s},
      {"Empty", RegSz, "\0"s},
      {"Bytes", RegBinary, "\0\x01\xff\r\n\0"s},
      {"Count", RegDword, "\x2a\0\0\0"s},
      {"Nothing", RegNone, ""},
  };
  for (const auto& v : values) {
    ASSERT_EQ(RegSetValueEx(key, v.name, v.type, v.data), RegSuccess) << v.name;
    EXPECT_EQ(ReadBytes(keyFolder("HKEY_CURRENT_USER", "SOFTWARE/Talvesk/" + v.name)), v.data)
        << v.name;
    std::uint32_t type = 99;
    AnsiString data;
    ASSERT_EQ(RegQueryValueEx(key, v.name, type, data), RegSuccess) << v.name;
    EXPECT_EQ(type, v.type) << v.name;
    EXPECT_EQ(data, v.data) << v.name;
  }
  // Only the values: no temporary file stays behind.
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER", "SOFTWARE/Talvesk")),
            (std::set<std::string>{"CurrentUpdate", "Empty", "Bytes", "Count", "Nothing"}));
  RegCloseKey(key);
}

TEST_F(RegistryStoreTest, NamesAreFoundWithoutRegardToCaseCyrillicIncluded) {
  const RegKey key = create(HkeyCurrentUser, Cp1251("Программы\\Квадро"));
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "Программы/Квадро")));
  ASSERT_EQ(RegSetValueEx(key, Cp1251("Версия"), RegSz, "1\0"s), RegSuccess);
  RegCloseKey(key);

  RegKey again = NoRegKey;
  ASSERT_EQ(RegOpenKeyEx(HkeyCurrentUser, Cp1251("пРОГРАММЫ\\кВАДРО"), KeyAllAccess, again),
            RegSuccess);
  // Writing under another spelling replaces the value and keeps its name.
  ASSERT_EQ(RegSetValueEx(again, Cp1251("ВЕРСИЯ"), RegSz, "2\0"s), RegSuccess);
  std::uint32_t type = 0;
  AnsiString data;
  ASSERT_EQ(RegQueryValueEx(again, Cp1251("версия"), type, data), RegSuccess);
  EXPECT_EQ(data, "2\0"s);
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER", "Программы/Квадро")),
            std::set<std::string>{"Версия"});
  RegCloseKey(again);
}

TEST_F(RegistryStoreTest, MachineKeysAreOnlyOpenedNeverMade) {
  RegKey key = NoRegKey;
  EXPECT_EQ(RegOpenKeyEx(HkeyLocalMachine, "SOFTWARE\\Talvesk", KeyAllAccess, key),
            RegFileNotFound);
  EXPECT_EQ(key, NoRegKey);
  EXPECT_EQ(RegCreateKeyEx(HkeyLocalMachine, "SOFTWARE\\Talvesk", KeyAllAccess, key),
            RegAccessDenied);
  EXPECT_FALSE(fs::exists(keyFolder("HKEY_LOCAL_MACHINE")));

  // The installer's step: the folders. Then both calls open the key, and a
  // new key below it is still refused.
  fs::create_directories(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  bool created = true;
  ASSERT_EQ(RegCreateKeyEx(HkeyLocalMachine, "SOFTWARE\\Talvesk", KeyAllAccess, key, &created),
            RegSuccess);
  EXPECT_FALSE(created);
  RegKey sub = NoRegKey;
  EXPECT_EQ(RegCreateKeyEx(key, "Sub", KeyAllAccess, sub), RegAccessDenied);
  EXPECT_EQ(RegSetValueEx(key, "CurrentUpdate", RegSz, "x\0"s), RegSuccess);
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyEx(HkeyLocalMachine, "Software\\talvesk", KeyAllAccess, key), RegSuccess);
  RegCloseKey(key);
  // The top of the machine hive holds no values.
  EXPECT_EQ(RegSetValueEx(HkeyLocalMachine, "CurrentUpdate", RegSz, "x\0"s), RegAccessDenied);
  EXPECT_EQ(Entries(keyFolder("HKEY_LOCAL_MACHINE")), std::set<std::string>{"SOFTWARE"});
}

TEST_F(RegistryStoreTest, EmptySubkeyOpensTheSameKeyAgain) {
  const RegKey key = create(HkeyCurrentUser, "A\\B");
  RegKey again = NoRegKey;
  ASSERT_EQ(RegCreateKeyEx(key, "", KeyAllAccess, again), RegSuccess);
  EXPECT_NE(again, key);
  ASSERT_EQ(RegSetValueEx(again, "V", RegSz, "v\0"s), RegSuccess);
  EXPECT_TRUE(fs::is_regular_file(keyFolder("HKEY_CURRENT_USER", "A/B/V")));
  RegKey root = NoRegKey;
  ASSERT_EQ(RegOpenKeyEx(HkeyCurrentUser, "", KeyRead, root), RegSuccess);
  EXPECT_EQ(root, HkeyCurrentUser);
  RegCloseKey(again);
  RegCloseKey(key);
}

TEST_F(RegistryStoreTest, Failures) {
  const RegKey key = create(HkeyCurrentUser, "K");
  const RegKey readOnly = create(HkeyCurrentUser, "K", KeyRead);
  const RegKey doomed = create(HkeyCurrentUser, "K\\Doomed");
  fs::create_directory(keyFolder("HKEY_CURRENT_USER", "K/Sub"));
  fs::remove(keyFolder("HKEY_CURRENT_USER", "K/Doomed"));
  RegKey out = NoRegKey;
  const struct {
    const char* what;
    long got;
    long expected;
  } cases[] = {
      {"set on an unknown handle", RegSetValueEx(0x7777, "V", RegSz, "\0"s), RegInvalidHandle},
      {"open under an unknown handle", RegOpenKeyEx(0x7777, "K", KeyRead, out), RegInvalidHandle},
      {"value name with a slash", RegSetValueEx(key, "a/b", RegSz, "\0"s), RegInvalidParameter},
      {"value name with a backslash", RegSetValueEx(key, "a\\b", RegSz, "\0"s),
       RegInvalidParameter},
      {"value name ..", RegSetValueEx(key, "..", RegSz, "\0"s), RegInvalidParameter},
      {"empty value name", RegSetValueEx(key, "", RegSz, "\0"s), RegInvalidParameter},
      {"value name with a zero byte", RegSetValueEx(key, "a\0b"s, RegSz, "\0"s),
       RegInvalidParameter},
      {"value name of a temporary file", RegSetValueEx(key, ".qdreg-tmp-1", RegSz, "\0"s),
       RegInvalidParameter},
      {"key path leaving the store", RegCreateKeyEx(key, "..\\..\\x", KeyAllAccess, out),
       RegInvalidParameter},
      {"key path with an empty part", RegCreateKeyEx(key, "a\\\\b", KeyAllAccess, out),
       RegInvalidParameter},
      {"missing key", RegOpenKeyEx(key, "Missing", KeyRead, out), RegFileNotFound},
      {"set through a read-only handle", RegSetValueEx(readOnly, "V", RegSz, "\0"s),
       RegAccessDenied},
      {"value named as a subkey", RegSetValueEx(key, "sub", RegSz, "\0"s), RegAccessDenied},
      {"set in a deleted key", RegSetValueEx(doomed, "V", RegSz, "\0"s), RegKeyDeleted},
      {"reopen a deleted key", RegCreateKeyEx(doomed, "", KeyAllAccess, out), RegKeyDeleted},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
  // None of them left a file or a folder behind.
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER", "K")), std::set<std::string>{"Sub"});
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "K/Sub")));
  for (RegKey k : {key, readOnly, doomed}) EXPECT_EQ(RegCloseKey(k), RegSuccess);
  EXPECT_EQ(RegCloseKey(key), RegInvalidHandle);
  EXPECT_EQ(RegCloseKey(HkeyLocalMachine), RegSuccess);
}

// A reader that opens the value's file while it is rewritten over and over
// sees one of the two values whole, never a mix or a part.
TEST_F(RegistryStoreTest, AReaderNeverSeesAHalfWrittenValue) {
  const RegKey key = create(HkeyCurrentUser, "K");
  const std::string small(70000, 'a');
  const std::string large(300000, 'b');
  ASSERT_EQ(RegSetValueEx(key, "V", RegBinary, small), RegSuccess);
  const fs::path file = keyFolder("HKEY_CURRENT_USER", "K/V");
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0}, reads{0};
  std::thread reader([&] {
    while (!stop) {
      const std::string seen = ReadBytes(file);
      if (seen != small && seen != large) ++torn;
      ++reads;
    }
  });
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(RegSetValueEx(key, "V", RegBinary, i % 2 ? small : large), RegSuccess);
  stop = true;
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(torn.load(), 0) << "of " << reads.load() << " reads";
  EXPECT_EQ(Entries(keyFolder("HKEY_CURRENT_USER", "K")), std::set<std::string>{"V"});
  RegCloseKey(key);
}

}  // namespace
