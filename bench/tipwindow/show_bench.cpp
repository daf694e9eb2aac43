// From the request to the tip on show, headless: the tip window started on its own thread for
// a tip in a real tip file, up to its built and shown window. The first timer tick, which the
// window waits for by design, is asked for at once instead.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "api/call_help_tip.h"
#include "runtime/backend.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow {
namespace {

const char* const kTip =
    "Customer Number\r\nThe number the customer is filed under. It is given when the customer is "
    "first entered and never changes.\r\n\r\n<B1> Look the customer up\r\n<B2> Print the card\r\n"
    "<HR>\r\nSee <LNK:Customer Name> and <LNK:Orders>.\r\nOur site: <http://www.example.com/c>\r\n"
    "<T1> Numbers are unique|<T1> and never reused\r\nLast line";

class ShowTip : public benchmark::Fixture {
 public:
  void SetUp(benchmark::State&) override {
    rt::UseHeadlessBackend();
    thread_ = std::make_unique<rt::RuntimeThread>();
    dir_ = std::filesystem::temp_directory_path() / ("vistip_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    GLO.VTAPPNAME = (dir_ / "tips.tps").string();
    VISTIP.Create();
    VISTIP.Open(rt::kOpenShared);
    VTH = TipBuffer{};
    VTH.PROCEDURENAME = "Customers";
    VTH.CONTROLNAME = "Number";
    VTH.CONTROLTYPE = "ENTRY";
    VTH.HELPTIP = kTip;
    VTH.SETTINGS = "[S  1]FONT;Arial,10,0,700\xAB[B1]TOOLTIP;Find\xAB";
    VISTIP.Add();
    VISTIP.Close();
  }
  void TearDown(benchmark::State&) override {
    thread_.reset();
    std::filesystem::remove_all(dir_);
  }

  std::unique_ptr<rt::RuntimeThread> thread_;
  std::filesystem::path dir_;
};

BENCHMARK_F(ShowTip, RequestToShownTypicalTip)(benchmark::State& state) {
  for (auto _ : state) {
    GLO.VTPROCEDURENAME = "Customers";
    GLO.VTCONTROLNAME = "Number";
    GLO.VTCONTROLTYPE = "ENTRY";
    auto tip = std::make_unique<HelpTipWindow>(LastRequest());
    HelpTipWindow* p = tip.get();
    const int32_t thread = rt::Start([p] { p->Run(); });
    rt::WaitFor([p] { return p->Window.IsOpen(); });
    rt::Post(rt::kEventTimer, 0, thread);
    rt::WaitFor([p] { return p->HELPISLOADED != 0 && !p->Window.hidden(); });
    state.PauseTiming();
    rt::Post(rt::kEventCloseWindow, 0, thread);
    rt::Join(thread);
    state.ResumeTiming();
  }
}

}  // namespace
}  // namespace vistip::tipwindow
