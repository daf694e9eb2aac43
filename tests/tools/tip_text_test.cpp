// The text form of tip files: every byte of every record survives export -> import -> export,
// and bad input is refused with the line it stands on.
#include "tools/tip_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/thread.h"
#include "tests/tools/tool_fixture.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

using testing::EveryKindOfContent;

bool Same(const TipText& a, const TipText& b) {
  auto clip = [](std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  return clip(a.procedure) == clip(b.procedure) && clip(a.control) == clip(b.control) &&
         clip(a.type) == clip(b.type) && a.date == b.date && a.readonly == b.readonly &&
         a.archive == b.archive && a.tipstyle == b.tipstyle && clip(a.text) == clip(b.text) &&
         clip(a.settings) == clip(b.settings) && clip(a.other) == clip(b.other);
}

TEST(TipText, WriteThenReadGivesEveryByteBack) {
  const std::vector<TipText> tips = EveryKindOfContent();
  const std::string text = WriteTipText(tips);
  std::vector<TipText> back;
  const TipTextError e = ReadTipText(text, back);
  ASSERT_EQ(e.line, 0) << e.message;
  ASSERT_EQ(back.size(), tips.size());
  for (size_t i = 0; i < tips.size(); ++i) EXPECT_TRUE(Same(tips[i], back[i])) << "tip " << i;
  EXPECT_EQ(WriteTipText(back), text);
}

TEST(TipText, ExportImportExportThroughARealTipFileIsByteIdentical) {
  rt::RuntimeThread thread;
  const auto dir = std::filesystem::temp_directory_path() / ("tiptext-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string a = (dir / "a.tps").string(), b = (dir / "b.tps").string();
  TipWriteResult r = ImportTips(a, EveryKindOfContent());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.added, 4u);
  std::vector<TipText> first;
  ASSERT_TRUE(ExportTips(a, first).ok);
  const std::string text = WriteTipText(first);
  std::vector<TipText> read;
  ASSERT_EQ(ReadTipText(text, read).line, 0);
  ASSERT_TRUE(ImportTips(b, read).ok);
  std::vector<TipText> second;
  ASSERT_TRUE(ExportTips(b, second).ok);
  EXPECT_EQ(WriteTipText(second), text);
  // Importing the same tips again reports each as a duplicate.
  r = ImportTips(b, read);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.duplicates.size(), 4u);
  std::filesystem::remove_all(dir);
}

struct BadCase {
  const char* input;
  int line;
};

class TipTextBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(TipTextBad, IsRefusedWithItsLine) {
  std::vector<TipText> tips;
  const TipTextError e = ReadTipText(GetParam().input, tips);
  EXPECT_EQ(e.line, GetParam().line) << e.message;
  EXPECT_FALSE(e.message.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, TipTextBad,
                         ::testing::Values(BadCase{"not a header\n", 1},
                                           BadCase{"vistip-tips 1\nbogus\n", 2},
                                           BadCase{"vistip-tips 1\ntip\ndate 2026-13-99x\n", 3},
                                           BadCase{"vistip-tips 1\ntip\ntext\n> a\\q\nend\n", 4},
                                           BadCase{"vistip-tips 1\ntip\nwidth 99999\nend\n", 3},
                                           BadCase{"vistip-tips 1\ntip\ntext\n> x\n", 4},
                                           BadCase{"vistip-tips 1\ntip\n> stray\nend\n", 3}));

}  // namespace
}  // namespace vistip
