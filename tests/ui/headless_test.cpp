// The headless back-end's record format and its answers to boxes.

#include <gtest/gtest.h>

#include <sstream>

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace {

using namespace ui;

TEST(Headless, QuotesTextAsUtf8WithEscapes) {
  struct Case {
    std::string ansi, quoted;
  } cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\dir", "\"C:\\\\dir\""},
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
      {std::string("\0\x01\x1f\x7f", 4), "\"\\x00\\x01\\x1F\\x7F\""},
      {"\xD2\xE8\xEF", "\"Тип\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteRecordText(c.ansi), c.quoted);
}

TEST(Headless, BoxesTakeOnlyAnswers) {
  struct Case {
    std::string script;
    std::vector<int> buttons;
    int result;
    std::string record;
    std::string left;  // what remains for the loop afterwards
  } cases[] = {
      {"answer yestoall", {mrYes, mrNo, mrNoToAll, mrYesToAll}, mrYesToAll, "-> yestoall", ""},
      {"answer retry", {mrAbort, mrRetry, mrIgnore}, mrRetry, "-> retry", ""},
      {"answer cancel", {mrAbort, mrRetry, mrIgnore}, mrCancel, "-> cancel", ""},
      // Not an answer: the box gets its cancelling button, the action stays.
      {"close Main", {mrYes, mrNo, mrNoToAll, mrYesToAll}, mrNo, "-> no", "close Main"},
      {"close Main", {mrOk}, mrOk, "-> ok", "close Main"},
      {"", {mrOk, mrCancel}, mrCancel, "-> cancel", ""},
      {"", {mrAbort, mrRetry, mrIgnore}, mrCancel, "-> cancel", ""},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    TApplication app(std::make_unique<THeadlessBackend>(out, c.script, false));
    const int result = MessageDlg("Overwrite?", TMsgDlgType::mtConfirmation, c.buttons);
    EXPECT_EQ(result, c.result) << c.script;
    EXPECT_EQ(out.str(), "box confirm \"Confirm\" \"Overwrite?\" " + c.record + "\n") << c.script;
  }
}

TEST(Headless, InputBoxEditsTheValue) {
  struct Case {
    std::string script;
    bool ok;
    std::string value, record;
  } cases[] = {
      {"answer text:s3cret", true, "s3cret", "-> text:s3cret"},
      {"answer text:", true, "", "-> text:"},
      {"answer cancel", false, "old", "-> cancel"},
      {"", false, "old", "-> cancel"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    TApplication app(std::make_unique<THeadlessBackend>(out, c.script, false));
    AnsiString value = "old";
    EXPECT_EQ(InputQuery("Password for \"a.txt\"", "Enter password:", value), c.ok);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(out.str(),
              "box input \"Password for \\\"a.txt\\\"\" \"Enter password:\" " + c.record + "\n");
  }
}

}  // namespace
