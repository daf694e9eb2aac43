// One host process of the load test: two tip windows on runtime threads of their own, driven
// headless for a given time, opening tips, following their links and saving edits of the tips
// this process owns. Every save that returned without a message, every message and the final
// counters go to a log, one fsynced line each. argv: tip file, seconds, process index, log path.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "api/call_help_tip.h"
#include "runtime/backend.h"
#include "runtime/dialogs.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tests/load/load_tips.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::load {
namespace {

using tipwindow::HelpTipWindow;

// Appends lines to the log, each on the disk before the next step.
class Log {
 public:
  explicit Log(const char* path) : fd_(::open(path, O_WRONLY | O_CREAT | O_APPEND, 0644)) {}
  ~Log() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  void Line(const std::string& text) {
    const std::string line = text + "\n";
    if (::write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size()) ||
        ::fsync(fd_) != 0) {
      std::perror("load_host: log");
      std::exit(3);
    }
  }

 private:
  int fd_;
};

struct Message {
  int32_t thread;
  std::string caption, text;
};

// One of the process's two tip windows.
struct Slot {
  int own_tip = 0;
  int shown_tip = -1;
  int32_t thread = 0;
  std::unique_ptr<HelpTipWindow> tip;
  rt::Window* window = nullptr;
};

class Driver {
 public:
  Driver(int process, Log& log) : process_(process), log_(log), random_(1000 + process) {
    for (int w = 0; w < kWindowsPerProcess; ++w) slots_[w].own_tip = OwnedTip(process, w);
  }

  void Run(std::chrono::seconds duration) {
    rt::SetMessageHandler([this](std::string_view text, std::string_view caption) {
      messages_.push_back({rt::Thread(), std::string(caption), std::string(text)});
      log_.Line("message\t" + std::string(caption) + "\t" + Flat(text));
    });
    const auto end = std::chrono::steady_clock::now() + duration;
    for (Slot& slot : slots_) Open(slot, static_cast<int>(random_() % kTips));
    while (std::chrono::steady_clock::now() < end) {
      Slot& slot = slots_[random_() % kWindowsPerProcess];
      switch (random_() % 3) {
        case 0:
          Open(slot, static_cast<int>(random_() % kTips));
          break;
        case 1:
          FollowLink(slot);
          break;
        default:
          Save(slot);
          break;
      }
    }
    for (Slot& slot : slots_) Close(slot);
    log_.Line("counts\tsaves=" + std::to_string(saves_) + " refused=" + std::to_string(refused_) +
              " opened=" + std::to_string(opened_) + " links=" + std::to_string(links_));
  }

 private:
  static std::string Flat(std::string_view text) {
    std::string out(text);
    for (char& c : out)
      if (c == '\n' || c == '\t') c = ' ';
    return out;
  }

  // A step that did not finish in time is an error of its own: a window that hangs.
  void Settle(const char* step) {
    if (!rt::harness::Settle(std::chrono::seconds(30))) log_.Line(std::string("hang\t") + step);
  }

  void Open(Slot& slot, int tip) {
    Close(slot);
    GLO.VTPROCEDURENAME = kProcedure;
    GLO.VTCONTROLNAME = ControlName(tip);
    GLO.VTCONTROLTYPE = kType;
    slot.tip = std::make_unique<HelpTipWindow>(LastRequest());
    HelpTipWindow* p = slot.tip.get();
    slot.thread = rt::Start([p] { p->Run(); });
    const int32_t thread = slot.thread;
    const size_t seen = messages_.size();
    // A window whose tip could not be read reports it and closes.
    const auto warned = [this, seen, thread] {
      for (size_t i = seen; i < messages_.size(); ++i)
        if (messages_[i].thread == thread) return true;
      return false;
    };
    if (!rt::WaitFor([&] { return rt::harness::CurrentWindowOf(thread) != nullptr || warned(); },
                     std::chrono::seconds(30))) {
      log_.Line("hang\topen " + ControlName(tip));
      return;
    }
    rt::Post(rt::kEventTimer, 0, thread);  // the first tick at once
    Settle("open");
    if (!p->Window.IsOpen()) return;
    slot.window = &p->Window;
    slot.shown_tip = tip;
    ++opened_;
  }

  static std::string ShownTip(const rt::Window& w) {
    std::string shown;
    for (const auto& c : w.controls())
      if (c->field >= kFirstTipField && w.Visible(*c)) shown += "[" + w.DisplayText(*c) + "]";
    return shown;
  }

  void Close(Slot& slot) {
    if (!slot.tip) return;
    if (rt::Window* w = rt::harness::CurrentWindowOf(slot.thread); w == &slot.tip->Window)
      rt::harness::CloseWindow(*w);
    if (!rt::Join(slot.thread, std::chrono::seconds(30))) {
      log_.Line("hang\tclose");
      std::_Exit(4);  // the window object cannot go while its thread may still use it
    }
    slot.tip.reset();
    slot.window = nullptr;
    slot.shown_tip = -1;
  }

  bool Usable(const Slot& slot) {
    return slot.tip && slot.window != nullptr && slot.tip->Window.IsOpen();
  }

  void FollowLink(Slot& slot) {
    if (!Usable(slot)) return Open(slot, slot.own_tip);
    const int32_t field = rt::harness::FieldWithText(*slot.window, kLinkTexts[random_() % 2]);
    if (field == 0) {
      log_.Line("error\tno link in the tip shown: " + ShownTip(*slot.window));
      return;
    }
    rt::harness::Click(*slot.window, field + 1);  // the region over the link text
    Settle("link");
    slot.shown_tip = -1;  // where the link went is the window's business
    ++links_;
  }

  // Edits the slot's own tip as an author does: Alt+E, the text typed over, Ok. A save that
  // brought a message, or left the window editing, did not return.
  void Save(Slot& slot) {
    if (!Usable(slot) || slot.shown_tip != slot.own_tip) Open(slot, slot.own_tip);
    if (!Usable(slot)) return;
    rt::Window& w = *slot.window;
    const std::string control = ControlName(slot.own_tip);
    const std::string text =
        TipText(control, "p" + std::to_string(process_) + "s" + std::to_string(saves_ + refused_));
    rt::harness::Press(w, rt::AltKey('E'));
    Settle("edit");
    rt::harness::Click(w, tipwindow::kHelpTip);
    rt::harness::Press(w, rt::CtrlKey('A'));
    rt::harness::Type(w, text);
    const size_t seen = messages_.size();
    rt::harness::Click(w, tipwindow::kButton1);
    Settle("save");
    bool refused = slot.tip->EDITMODE != 0;
    for (size_t i = seen; i < messages_.size(); ++i) refused |= messages_[i].thread == slot.thread;
    if (refused) {
      ++refused_;
      log_.Line("refused\t" + control + "\t" + text);
      if (slot.tip->EDITMODE != 0) rt::harness::Click(w, tipwindow::kButton2);
      Settle("cancel");
      return;
    }
    ++saves_;
    log_.Line("saved\t" + control + "\t" + text);
  }

  int process_;
  Log& log_;
  std::mt19937 random_;
  Slot slots_[kWindowsPerProcess];
  std::vector<Message> messages_;
  int saves_ = 0, refused_ = 0, opened_ = 0, links_ = 0;
};

}  // namespace
}  // namespace vistip::load

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: load_host TIPFILE SECONDS PROCESS LOG\n");
    return 2;
  }
  vistip::load::Log log(argv[4]);
  if (!log.ok()) {
    std::perror(argv[4]);
    return 2;
  }
  rt::UseHeadlessBackend();
  rt::RuntimeThread self;
  vistip::GLO.VTAPPNAME = argv[1];
  vistip::GLO.VTSTAYOPEN = 1;  // the windows stay while the other one takes the focus
  vistip::GLO.PARENTTHREAD = rt::Thread();
  vistip::load::Driver(std::atoi(argv[3]), log).Run(std::chrono::seconds(std::atoi(argv[2])));
  return 0;
}
