// The runtime's registry accessor: root switching, opening with and without
// creating, and the errors of its writes.

#include <functional>

#include "core/reg_ini_file.h"
#include "tests/road/road_sandbox.h"

namespace {

using namespace platform;
using namespace road;
using namespace std::string_literals;

class RegistryAccessTest : public SandboxTest {};

TEST_F(RegistryAccessTest, SettingsFileOpensItsKeyUnderTheUserAndSwitchingRootClosesIt) {
  TRegIniFile reg("SOFTWARE\\Talvesk");
  EXPECT_EQ(reg.FileName(), "SOFTWARE\\Talvesk");
  EXPECT_EQ(reg.RootKey(), HkeyCurrentUser);
  EXPECT_NE(reg.CurrentKey(), NoRegKey);
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Talvesk");
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "SOFTWARE/Talvesk")));

  reg.SetRootKey(HkeyLocalMachine);
  EXPECT_EQ(reg.RootKey(), HkeyLocalMachine);
  EXPECT_EQ(reg.CurrentKey(), NoRegKey);
  EXPECT_EQ(reg.CurrentPath(), "");
  // Without creating, a missing machine key stays missing.
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Talvesk", false));
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Talvesk", true));
  EXPECT_FALSE(fs::exists(keyFolder("HKEY_LOCAL_MACHINE")));
  fs::create_directories(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  EXPECT_TRUE(reg.OpenKey("SOFTWARE\\Talvesk", false));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Talvesk");
}

TEST_F(RegistryAccessTest, PathsAreRelativeToTheOpenKeyUnlessTheyStartAtTheRoot) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("A", true));
  ASSERT_TRUE(reg.OpenKey("B", true));
  EXPECT_EQ(reg.CurrentPath(), "A\\B");
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "A/B")));
  ASSERT_TRUE(reg.OpenKey("\\C", true));
  EXPECT_EQ(reg.CurrentPath(), "C");
  EXPECT_TRUE(fs::is_directory(keyFolder("HKEY_CURRENT_USER", "C")));
  // A failed open keeps the key that was open.
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "C");
  reg.WriteString("V", "text");
  EXPECT_EQ(ReadBytes(keyFolder("HKEY_CURRENT_USER", "C/V")), "text\0"s);
}

TEST_F(RegistryAccessTest, WriteStringStoresTheTextAndItsZeroInTheSection) {
  fs::create_directories(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk"));
  TRegIniFile reg("SOFTWARE\\Talvesk");
  reg.SetRootKey(HkeyLocalMachine);
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Talvesk", false));
  const struct {
    std::string section, ident, value, file;
  } cases[] = {
      {"", "CurrentUpdate", "2026-11", "CurrentUpdate"},
      {"", "CurrentUpdate", "", "CurrentUpdate"},
      {"", "Bytes", "a\0b\xff"s, "Bytes"},
  };
  for (const auto& c : cases) {
    reg.WriteString(c.section, c.ident, c.value);
    EXPECT_EQ(ReadBytes(keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk/" + c.file)),
              c.value + '\0');
    std::uint32_t type = 0;
    AnsiString data;
    EXPECT_EQ(RegQueryValueEx(reg.CurrentKey(), c.ident, type, data), RegSuccess);
    EXPECT_EQ(type, RegSz);
  }
  // A named section is a subkey of the user's key, made on first use.
  TRegIniFile user("SOFTWARE\\Talvesk");
  user.WriteString("Window", "Left", "10");
  EXPECT_EQ(ReadBytes(keyFolder("HKEY_CURRENT_USER", "SOFTWARE/Talvesk/Window/Left")), "10\0"s);
}

// Each failure raises the accessor's error with its exact text and writes
// nothing.
TEST_F(RegistryAccessTest, WriteErrors) {
  const fs::path machineKey = keyFolder("HKEY_LOCAL_MACHINE", "SOFTWARE/Talvesk");
  const struct {
    const char* what;
    bool installed;
    std::function<void(TRegIniFile&)> arrange;
    std::uint32_t access;
    std::string section;
    std::string message;
  } cases[] = {
      {"machine key missing, nothing open", false, [](TRegIniFile&) {}, KeyAllAccess, "",
       "Failed to create key "},
      {"machine key deleted after the open", true,
       [&](TRegIniFile&) { fs::remove_all(machineKey); }, KeyAllAccess, "",
       "Failed to create key "},
      {"section that cannot be made under the machine key", true, [](TRegIniFile&) {}, KeyAllAccess,
       "Sub", "Failed to create key Sub"},
      {"key opened for reading only", true, [](TRegIniFile&) {}, KeyRead, "",
       "Failed to set data for 'CurrentUpdate'"},
      {"a subkey holds the value's name", true,
       [&](TRegIniFile&) { fs::create_directory(machineKey / "currentupdate"); }, KeyAllAccess, "",
       "Failed to set data for 'CurrentUpdate'"},
  };
  for (const auto& c : cases) {
    fs::remove_all(keyFolder("HKEY_LOCAL_MACHINE"));
    if (c.installed) fs::create_directories(machineKey);
    TRegIniFile reg("SOFTWARE\\Talvesk", c.access);
    reg.SetRootKey(HkeyLocalMachine);
    reg.OpenKey("SOFTWARE\\Talvesk", false);
    c.arrange(reg);
    try {
      reg.WriteString(c.section, "CurrentUpdate", "id");
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message, c.message) << c.what;
    }
    EXPECT_FALSE(fs::exists(machineKey / "CurrentUpdate")) << c.what;
    EXPECT_FALSE(fs::exists(keyFolder("HKEY_LOCAL_MACHINE", "CurrentUpdate"))) << c.what;
  }
}

TEST_F(RegistryAccessTest, PlainWriteWithoutAnOpenKeyIsRefused) {
  TRegistry reg;
  reg.SetRootKey(HkeyLocalMachine);
  try {
    reg.WriteString("CurrentUpdate", "id");
    ADD_FAILURE() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to set data for 'CurrentUpdate'");
  }
}

}  // namespace
