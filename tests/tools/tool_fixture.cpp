// The tools' test fixture.
#include "tests/tools/tool_fixture.h"

#include <unistd.h>

#include "runtime/backend.h"
#include "runtime/process.h"
#include "state/state.h"

namespace vistip::testing {

std::vector<TipText> EveryKindOfContent() {
  std::vector<TipText> tips(4);
  tips[0] = {"OrderEntry",
             "Customer",
             "ENTRY",
             82000,
             0,
             0,
             0,
             "<B1>Caf\xE9 \x80 10\r\nline with blanks   \r\n\r\nend\\here",
             "[S  1]FONT;Arial,10,255,700\xAB[B1]TOOLTIP;Go \xBB\xAB",
             "\x2C\x01"};
  tips[1] = {"", "Product", "", 4, 1, 2, 3, "lone\rCR and lone\nLF \x01\x81\x9D", "no row end", ""};
  tips[2] = {"",
             "",
             "BUTTON",
             -7,
             255,
             0,
             9,
             "",
             "",
             std::string("\xFF\xFF"
                         "extra bytes\x00x",
                         15)};
  tips[3] = {"  lead", "x\\y", "T", 0, 0, 0, 0, " ", "\xAB\xAB", "  "};
  return tips;
}

TipText Tip(std::string procedure, std::string control, std::string type, std::string text,
            std::string settings, std::string other) {
  return {std::move(procedure),
          std::move(control),
          std::move(type),
          rt::DateFromYmd(2026, 12, 10),
          0,
          0,
          0,
          std::move(text),
          std::move(settings),
          std::move(other)};
}

ToolTest::ToolTest() {
  rt::UseHeadlessBackend();
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  for (char& c : name)
    if (c == '/') c = '_';  // parameterised tests are named "Case/0"
  dir_ = std::filesystem::temp_directory_path() /
         ("vistip-tools-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

ToolTest::~ToolTest() {
  std::filesystem::remove_all(dir_);
}

void ToolTest::WriteTips(const std::string& file, const std::vector<TipText>& tips) {
  const TipFileResult r = ImportTips(file, tips);
  ASSERT_TRUE(r.ok) << r.error;
}

std::vector<TipBuffer> ToolTest::ReadRecords(const std::string& file) {
  std::vector<TipBuffer> records;
  GLO.VTAPPNAME = file;
  if (VISTIP.Open(rt::kOpenShared) != 0) return records;
  VISTIP.Set();
  while (VISTIP.Next() == 0) records.push_back(VTH);
  VISTIP.Close();
  return records;
}

}  // namespace vistip::testing
