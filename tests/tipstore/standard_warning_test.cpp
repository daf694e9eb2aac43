// StandardWarning: every warning's text, caption, icon, buttons, default button and ending,
// answered through the harness; and the error text the warnings quote.
#include "tipstore/standard_warning.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/codes.h"
#include "runtime/errors.h"
#include "runtime/thread.h"
#include "tests/tipstore/fixture.h"
#include "tests/tipstore/messages.h"

namespace vistip::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

struct ErrorTextCase {
  int32_t code;
  std::string file_code, file_message;
  std::string expected;
};

class ErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(ErrorTextTest, QuotesTheErrorAndItsCode) {
  const ErrorTextCase& c = GetParam();
  if (c.code == rt::kDriverError) {
    rt::SetFileError(c.file_code, c.file_message);
  } else {
    rt::SetError(c.code);
  }
  EXPECT_EQ(ErrorText(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorTextTest,
    ::testing::Values(
        ErrorTextCase{rt::kAccessDenied, "", "", "Access Denied (5)"},
        ErrorTextCase{rt::kLayoutMismatch, "", "", "Invalid Record Declaration (47)"},
        ErrorTextCase{rt::kDriverError, "26", "file is not a database",
                      "file is not a database (26)"},
        ErrorTextCase{rt::kDriverError, "errno 28  ", "write: No space left on device   ",
                      "write: No space left on device (errno 28)"},
        ErrorTextCase{rt::kDriverError, "26", std::string(200, 'm'), std::string(150, 'm')},
        ErrorTextCase{rt::kDriverError, "26", std::string(145, 'm'),
                      std::string(145, 'm') + " (26)"},
        ErrorTextCase{rt::kDriverError, "26", std::string(147, 'm'),
                      std::string(147, 'm') + " (2"}));

struct WarningCase {
  const char* name;
  int32_t number;
  const char* text;    // the text argument
  const char* answer;  // the button the user presses
  const char* shown;   // what the box shows (MessageSeen::Describe)
  const char* halt;    // the HALT text; nullptr when the warning returns
  int32_t result;      // what it returns then
};

const WarningCase kWarningCases[] = {
    {"InvalidFile", 1, "Vistip.Tps  ", "&OK",
     "[Invalid File] Error: (Access Denied (5)) accessing Vistip.Tps.  Press OK to end this "
     "application. {~asterisk} <&OK> default &OK",
     "Invalid File!", 0},
    {"InvalidKeyNo", 2, "Vistip.Tps", "&No",
     "[Invalid Key] Vistip.Tps key file is invalid.  Do you want to rebuild the key? "
     "{~exclamation} <&Yes &No> default &Yes",
     "Invalid Key!", 0},
    {"InvalidKeyYes", 2, "Vistip.Tps", "&Yes",
     "[Invalid Key] Vistip.Tps key file is invalid.  Do you want to rebuild the key? "
     "{~exclamation} <&Yes &No> default &Yes",
     nullptr, 2},
    {"KeyRebuildError", 3, "Vistip.Tps", "&OK",
     "[Key Rebuild Error] Error: (Access Denied (5)) repairing key for Vistip.Tps.  Press OK to "
     "end this application. {~asterisk} <&OK> default &OK",
     "Error Rebuilding Key!", 0},
    {"FileCreationError", 4, "Vistip.Tps", "&OK",
     "[File Creation Error] Error: (Access Denied (5)) creating Vistip.Tps.  Press OK to end "
     "this application. {~asterisk} <&OK> default &OK",
     "File Creation Error!", 0},
    {"CreatedFileOpenError", 5, "Vistip.Tps", "&OK",
     "[File Creation Error] Error: (Access Denied (5)) opening created file:Vistip.Tps.  Press "
     "OK to end this application. {~asterisk} <&OK> default &OK",
     "File Creation Error!", 0},
    {"FileAccessError", 30, "Vistip.Tps", "&OK",
     "[File Access Error] File (Vistip.Tps) could not be opened.  Error: Access Denied (5). "
     "{~asterisk} <&OK> default &OK",
     nullptr, rt::kButtonOk},
    {"RecordRetrievalError", 35, "LinkTip", "&OK",
     "[Record Retrieval Error] Error: (Access Denied (5)) attempting to access a record from the "
     "LinkTip file.  Returning to previous window. {~asterisk} <&OK> default &OK",
     nullptr, rt::kButtonOk},
    {"ViewOpenError", 36, "", "&OK",
     "[View Open Error] Error: (Access Denied (5)) attempting to open the current VIEW. Filter "
     "and Range Limits ignored. {~asterisk} <&OK> default &OK",
     nullptr, rt::kButtonOk},
};

class StandardWarningTest : public TipStoreTest, public ::testing::WithParamInterface<WarningCase> {
 protected:
  // Raises the warning on a runtime thread of its own, with error 5 as the thread's last error.
  static void Raise(const WarningCase& c, int32_t* result) {
    rt::Start([c, result] {
      rt::SetError(rt::kAccessDenied);
      const int32_t r = StandardWarning(c.number, c.text);
      if (result != nullptr) *result = r;
    });
  }
};

TEST_P(StandardWarningTest, ShowsItsMessageAndActsOnTheAnswer) {
  const WarningCase& c = GetParam();
  const std::string caption = std::string(c.shown).substr(1, std::string(c.shown).find(']') - 1);
  if (c.halt != nullptr) {
    EXPECT_EXIT(
        {
          Raise(c, nullptr);
          AnswerAndAwaitEnd(caption, c.answer);
        },
        ::testing::ExitedWithCode(0),
        ::testing::AllOf(HasSubstr(std::string(c.shown) + "\n"),
                         EndsWith("\n" + std::string(c.halt) + "\n")));
    return;
  }
  int32_t result = -1;
  Raise(c, &result);
  const std::optional<MessageSeen> seen = AnswerMessage(caption, c.answer);
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->Describe(), c.shown);
  ASSERT_TRUE(rt::WaitFor([&] { return result != -1; }));
  EXPECT_EQ(result, c.result);
}

INSTANTIATE_TEST_SUITE_P(Table, StandardWarningTest, ::testing::ValuesIn(kWarningCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(TipStoreTest, AWarningWithAnotherNumberShowsNothing) {
  int32_t result = -1;
  std::string seen;
  EXPECT_TRUE(RunWithoutMessage([&] { result = StandardWarning(31, "Vistip.Tps"); }, &seen))
      << seen;
  EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace vistip::testing
