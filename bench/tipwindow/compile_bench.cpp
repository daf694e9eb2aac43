// Compiling tips on a headless tip window: the text read line by line from its edit control
// (wrapping included: each run changes the text, so no wrap is reused) and the settings memo.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "runtime/backend.h"
#include "runtime/thread.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

// Ten lines, three links, two buttons, a few fonts and tool tips.
const char* const kTypicalTip =
    "Customer Number\r\n"
    "The number the customer is filed under. It is given when the customer is first entered "
    "and never changes.\r\n"
    "\r\n"
    "<B1> Look the customer up\r\n"
    "<B2> Print the customer card\r\n"
    "<HR>\r\n"
    "See <LNK:Customer Name> and <LNK:Orders>.\r\n"
    "Our site: <http://www.example.com/customers>\r\n"
    "<T1> Numbers are unique|<T1> and never reused\r\n"
    "Last line ";

const char* const kTypicalSettings =
    "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find\xAB"
    "CALL;EXElookup.exe\xAB"
    "[B2]CALL;MSG1025,1\xAB[LNK1]LINKTIPPROC;\xAB"
    "LINKTIPCTL;CustomerName\xAB";

class TipCompile : public benchmark::Fixture {
 public:
  void SetUp(benchmark::State&) override {
    rt::UseHeadlessBackend();
    thread_ = std::make_unique<rt::RuntimeThread>();
    tip_ = std::make_unique<HelpTipWindow>(TipRequest{});
    tip_->Window.Open();
  }
  void TearDown(benchmark::State&) override {
    tip_.reset();
    thread_.reset();
  }

  void Run(benchmark::State& state, const std::string& text, const char* settings) {
    int variant = 0;
    for (auto _ : state) {
      VTH.HELPTIP = text + std::to_string(variant++ % 64);
      tip_->SETTINGS1 = settings;
      tip_->SETTINGSQUEUE.Free();
      tip_->LoadCtlQueueRtn();
      tip_->LoadSettingsQueueRtn();
      benchmark::DoNotOptimize(tip_->CONTROLQUEUE.Records());
    }
  }

  std::unique_ptr<rt::RuntimeThread> thread_;
  std::unique_ptr<HelpTipWindow> tip_;
};

BENCHMARK_F(TipCompile, TypicalTip)(benchmark::State& state) {
  Run(state, kTypicalTip, kTypicalSettings);
}

BENCHMARK_F(TipCompile, TenThousandCharacters)(benchmark::State& state) {
  std::string text;
  while (text.size() < 9990)
    text +=
        "This paragraph explains the field in some detail and wraps over several lines of the "
        "tip window, as its edit control lays the text out. See <LNK:Related> or <B1> more.\r\n"
        "\r\n";
  text.resize(9990);
  Run(state, text, kTypicalSettings);
}

}  // namespace
}  // namespace vistip::tipwindow
