// Typical tips for the tools benchmarks.
#include "bench/tools/typical_tips.h"

#include <unistd.h>

#include <string>

#include "tools/tip_file_io.h"

namespace vistip {

std::vector<TipText> TypicalTips(int count) {
  std::vector<TipText> tips;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    const std::string next = std::to_string((i + 1) % count);
    TipText t;
    t.procedure = "Form" + std::to_string(i / 50);
    t.control = "Control" + n;
    t.type = "ENTRY";
    t.text = "Field " + n + "\r\nThe value of field " + n +
             " as it is filed; it is given when the record is first entered.\r\n\r\n"
             "<B1> Look it up\r\n<HR>\r\nSee <LNK:Control" +
             next + ">\r\nSite <http://www.example.com/" + n + ">\r\n" +
             "<T1> Numbers are unique|<T1> and never reused";
    t.settings =
        "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find\xAB"
        "CALL;EXElookup.exe " +
        n + "\xAB[LNK1]LINKTIPPROC;Form" + std::to_string(((i + 1) % count) / 50) +
        "\xAB"
        "LINKTIPCTL;Control" +
        next + "\xAB";
    tips.push_back(std::move(t));
  }
  return tips;
}

TypicalTipFile::TypicalTipFile(benchmark::State& state, int count)
    : dir_(std::filesystem::temp_directory_path() /
           ("vistip-tools-bench-" + std::to_string(getpid()))) {
  std::filesystem::create_directories(dir_);
  if (!ImportTips(path(), TypicalTips(count)).ok) state.SkipWithError("cannot write the tip file");
}

TypicalTipFile::~TypicalTipFile() {
  std::filesystem::remove_all(dir_);
}

}  // namespace vistip
