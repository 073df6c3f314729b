// Reading the update list files into the main dialog.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/update_form.h"
#include "core/cp1251.h"
#include "ui/headless/headless_backend.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Row {
  std::string type, date, description;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << '[' << r.type << '|' << r.date << '|' << r.description << ']';
}

// A sandbox root with the product's folder, and the main dialog on the
// headless back-end.
class FormShowTest : public testing::Test {
 protected:
  void SetUp() override {
    root =
        fs::temp_directory_path() / ("qd-formshow-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "ProgramData" / "Quorvane");
    ::setenv("QD_ROOT", root.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root); }

  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(root / "ProgramData" / "Quorvane" / name, std::ios::binary) << bytes;
  }

  std::vector<Row> rows(const TUpdateForm& form) {
    std::vector<Row> r;
    for (int i = 1; i < form.UpdateSg.GetRowCountEx(); ++i)
      r.push_back({form.UpdateSg.GetCellEx(0, i), form.UpdateSg.GetCellEx(1, i),
                   form.UpdateSg.GetCellEx(2, i)});
    return r;
  }

  fs::path root;
  std::ostringstream out;
  ui::TApplication app{std::make_unique<ui::THeadlessBackend>(out, "", false)};
};

const std::string kHeader = "id\r\ntitle\r\ncolumns\r\n";

TEST_F(FormShowTest, RowCountIsLinesPlusThree) {
  struct Case {
    std::string list;
    int rowCount;
  } cases[] = {
      {"", 3},
      {"id\r\n", 4},
      {kHeader, 6},
      {kHeader + "a#1#x\r\nb#2#y\r\n", 8},
  };
  write("lastupd.dat", "x#1.1.2026");
  for (const auto& c : cases) {
    write("newupd.dat", c.list);
    TUpdateForm form(app);
    form.FormShow();
    EXPECT_EQ(form.UpdateSg.GetRowCountEx(), c.rowCount) << c.list;
    // Rows below the data stay empty; the header row keeps its texts.
    const auto all = rows(form);
    const int dataRows = std::max(0, c.rowCount - 6);
    for (size_t i = static_cast<size_t>(dataRows); i < all.size(); ++i)
      EXPECT_EQ(all[i], Row{}) << "row " << i + 1;
    EXPECT_EQ(form.UpdateSg.GetCellEx(1, 0), Cp1251("Дата"));
  }
}

TEST_F(FormShowTest, FieldsSplitAtTheFirstTwoHashes) {
  write("lastupd.dat", "x#1.1.2026");
  write("newupd.dat", kHeader +
                          "just a description\r\n"
                          "type#rest\r\n"
                          "type#date#description\r\n"
                          "type#date#third#fourth\r\n"
                          "##\r\n"
                          "#date#\r\n");
  TUpdateForm form(app);
  form.FormShow();
  const std::vector<Row> want = {
      {"", "", "just a description"},   {"type", "", "rest"}, {"type", "date", "description"},
      {"type", "date", "third#fourth"}, {"", "", ""},         {"", "date", ""},
  };
  auto got = rows(form);
  got.resize(want.size());
  EXPECT_EQ(got, want);
  EXPECT_EQ(form.UpdateSg.GetRowCountEx(), 12);
}

TEST_F(FormShowTest, OnlyExactKeywordsAreMarked) {
  write("lastupd.dat", "x#1.1.2026");
  write("newupd.dat", kHeader +
                          "critical#1#a\r\n"
                          "NEW VERSION#2#b\r\n"
                          "Critical#3#c\r\n"
                          "critical #4#d\r\n"
                          "New Version#5#e\r\n"
                          " NEW VERSION#6#f\r\n"
                          "usual#7#g\r\n");
  TUpdateForm form(app);
  form.FormShow();
  const std::vector<std::string> want = {
      "<FONT color=\"clRed\"><B><I>critical</I></B></FONT>",
      "<FONT color=\"clRed\"><B>NEW VERSION</B></FONT>",
      "Critical",
      "critical ",
      "New Version",
      " NEW VERSION",
      "usual",
  };
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(form.UpdateSg.GetCellEx(0, static_cast<int>(i) + 1), want[i]);
  // Descriptions and dates are never marked.
  EXPECT_EQ(form.UpdateSg.GetCellEx(2, 1), "a");
}

TEST_F(FormShowTest, DateIsTheTextAfterTheFirstHashCutTo100) {
  const std::string long150(150, 'd');
  struct Case {
    std::string lastupd, date;
  } cases[] = {
      {"Version#12.11.2026\r\nignored#line\r\n", "12.11.2026"},
      {"ends in hash#", ""},
      {"no hash here", "no hash here"},
      {long150, std::string(100, 'd')},
      {"x#" + long150, std::string(100, 'd')},
      {"a#b#c", "b#c"},
      {"#", ""},
      {Cp1251("Версия#Дата"), Cp1251("Дата")},
  };
  write("newupd.dat", kHeader);
  for (const auto& c : cases) {
    write("lastupd.dat", c.lastupd);
    TUpdateForm form(app);
    form.FormShow();
    EXPECT_EQ(form.DateLabel.Caption(), c.date) << c.lastupd;
  }
}

TEST_F(FormShowTest, MissingOrEmptyFilesStopSilently) {
  struct Case {
    const char* name;
    std::optional<std::string> lastupd, newupd;
    std::string date;
    int rowCount;
  } cases[] = {
      {"no files", std::nullopt, std::nullopt, "", 50},
      {"no lastupd", std::nullopt, kHeader + "a#b#c\r\n", "", 50},
      {"empty lastupd", "", kHeader + "a#b#c\r\n", "", 50},
      {"no newupd", "x#3.3.2026", std::nullopt, "3.3.2026", 50},
  };
  for (const auto& c : cases) {
    fs::remove(root / "ProgramData" / "Quorvane" / "lastupd.dat");
    fs::remove(root / "ProgramData" / "Quorvane" / "newupd.dat");
    if (c.lastupd) write("lastupd.dat", *c.lastupd);
    if (c.newupd) write("newupd.dat", *c.newupd);
    TUpdateForm form(app);
    EXPECT_NO_THROW(form.FormShow()) << c.name;
    EXPECT_EQ(form.DateLabel.Caption(), c.date) << c.name;
    EXPECT_EQ(form.UpdateSg.GetRowCountEx(), c.rowCount) << c.name;
    EXPECT_EQ(form.UpdateSg.GetCellEx(0, 1), "") << c.name;
  }
}

TEST_F(FormShowTest, LineBreaksOfEveryKindSplitTheList) {
  write("lastupd.dat", "x#d\n");
  write("newupd.dat", "id\rtitle\ncolumns\r\na#1#x\rb#2#y\nc#3#z\0ignored#4#w\r\n"s);
  TUpdateForm form(app);
  form.FormShow();
  EXPECT_EQ(form.DateLabel.Caption(), "d");
  EXPECT_EQ(form.UpdateSg.GetRowCountEx(), 9);
  EXPECT_EQ(form.UpdateSg.GetCellEx(2, 3), "z");
  EXPECT_EQ(form.UpdateSg.GetCellEx(0, 4), "");
}

}  // namespace
