// The program as a whole on the headless back-end: records, closing paths and
// exit codes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  std::string output;
  int exitCode;
};

// Runs qdupdate with the given environment assignments (shell words) and
// collects standard output and error.
RunResult runProgram(const std::string& env) {
  const std::string binary = std::string(std::getenv("QD_TEST_BINARY_DIR")) + "/app/qdupdate";
  const std::string command = "env -u DISPLAY " + env + " " + binary + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  RunResult r{"", -1};
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.output.append(buf, n);
  const int status = ::pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("qd-program-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::string source = std::getenv("QD_TEST_SOURCE_DIR");
    ASSERT_EQ(
        std::system(("bash " + source + "/scripts/make_sample_root.sh " + root.string()).c_str()),
        0);
  }
  void TearDown() override { fs::remove_all(root); }

  RunResult headless(const std::string& script) {
    return runProgram("QD_ROOT=" + root.string() + " QD_UI=headless QD_UI_SCRIPT='" + script + "'");
  }

  fs::path root;
};

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(ProgramTest, EveryWayOfClosingEndsWithExitZero) {
  const char* scripts[] = {"click UpdateForm.Button1", "close UpdateForm", ""};
  for (const char* script : scripts) {
    const RunResult r = headless(script);
    EXPECT_EQ(r.exitCode, 0) << script;
    EXPECT_TRUE(endsWith(r.output, "form UpdateForm closed\nexit 0\n")) << script << "\n"
                                                                        << r.output;
    EXPECT_NE(r.output.find("form UpdateForm shown \"Обновление базы  - доступны новые данные\""),
              std::string::npos);
  }
}

TEST_F(ProgramTest, ShowsTheDateAndTheListOnce) {
  const RunResult r = headless("close UpdateForm");
  const std::string expectStart =
      "form UpdateForm shown \"Обновление базы  - доступны новые данные\"\n"
      "label UpdateForm.Label2 \"Существует несколько типов обновлений:\"\n";
  EXPECT_EQ(r.output.substr(0, expectStart.size()), expectStart);
  for (const char* record : {
           "label UpdateForm.DateLabel \"12.11.2026\"\n",
           "grid UpdateForm.UpdateSg rows 13\n",
           "cell 0 0 \"Тип\"\n",
           "cell 0 2 \"<FONT color=\\\"clRed\\\"><B><I>critical</I></B></FONT>\"\n",
           "cell 0 3 \"<FONT color=\\\"clRed\\\"><B>NEW VERSION</B></FONT>\"\n",
           "cell 2 4 \"Тарифы #3 и #4 обновлены, см. раздел «Справочники»\"\n",
           "cell 0 6 \"Critical\"\n",
       })
    EXPECT_NE(r.output.find(record), std::string::npos) << record << r.output;
  // The grid is filled before the window first shows, so it is printed once.
  EXPECT_EQ(r.output.find("grid UpdateForm"), r.output.rfind("grid UpdateForm"));
}

TEST_F(ProgramTest, StartUpFailureStillExitsZero) {
  // Without a display the native widget set cannot start.
  RunResult r = runProgram("QD_ROOT=" + root.string() + " QD_UI=");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.output.find("Cannot open the display"), std::string::npos) << r.output;
  // The message points runs without a desktop to the unattended road.
  EXPECT_NE(r.output.find("--silent"), std::string::npos) << r.output;
  r = runProgram("QD_UI=bogus");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.output.find("unknown widget back-end 'bogus'"), std::string::npos) << r.output;
}

TEST_F(ProgramTest, ActionsThatCannotApplyAreReportedAndSkipped) {
  const RunResult r =
      headless("click CopyForm.Button1; click UpdateForm.Nothing; answer ok; close UpdateForm");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.output.find("'click CopyForm.Button1' names no shown form"), std::string::npos);
  EXPECT_NE(r.output.find("'click UpdateForm.Nothing' names no control"), std::string::npos);
  EXPECT_NE(r.output.find("'answer ok' is not understood here"), std::string::npos);
  EXPECT_TRUE(endsWith(r.output, "form UpdateForm closed\nexit 0\n")) << r.output;
}

}  // namespace
