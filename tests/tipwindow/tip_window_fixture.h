// The end-to-end setting of the tip window tests: a tip file written by the test in a
// temporary directory (also the current directory), a host window on a thread of its own that
// records what is posted to it, and the tip window run on its own thread for a request.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "api/call_help_tip.h"
#include "runtime/backend.h"
#include "runtime/harness.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/help_tip_window.h"

namespace vistip::tipwindow::testing {

struct Tip {
  std::string procedure, control, type, text, settings;
  int16_t width = 0;
};

// The tip file as the test writes and reads it: a declaration of its own with its own buffer.
class TipFile {
 public:
  explicit TipFile(std::string name)
      : name_(std::move(name)),
        file_(TipFileDecl("TST"), Bytes(&buf_, kTipRecordSize),
              {Bytes(&buf_.HELPTIP, sizeof buf_.HELPTIP),
               Bytes(&buf_.SETTINGS, sizeof buf_.SETTINGS), Bytes(&buf_.OTHER, sizeof buf_.OTHER)},
              [this] { return std::string_view(name_); }) {}

  void Create(const std::vector<Tip>& tips) {
    ASSERT_EQ(file_.Create(), 0);
    ASSERT_EQ(file_.Open(rt::kOpenShared), 0);
    for (const Tip& t : tips) {
      buf_ = TipBuffer{};
      buf_.PROCEDURENAME = t.procedure;
      buf_.CONTROLNAME = t.control;
      buf_.CONTROLTYPE = t.type;
      buf_.HELPTIP = t.text;
      buf_.SETTINGS = t.settings;
      SetStoredWidth(buf_.OTHER, t.width);
      ASSERT_EQ(file_.Add(), 0);
    }
    file_.Close();
  }

  // Record `index` (0-based, record order) rewritten as `tip`, as another host process would.
  void Rewrite(size_t index, const Tip& tip) {
    ASSERT_EQ(file_.Open(rt::kOpenShared), 0);
    file_.Set();
    for (size_t i = 0; i <= index; ++i) ASSERT_EQ(file_.Next(), 0);
    buf_.HELPTIP = tip.text;
    buf_.SETTINGS = tip.settings;
    SetStoredWidth(buf_.OTHER, tip.width);
    EXPECT_EQ(file_.Put(), 0);
    file_.Close();
  }

  // Every record in record order.
  std::vector<Tip> Read() {
    std::vector<Tip> out;
    if (file_.Open(rt::kOpenShared) != 0) return out;
    file_.Set();
    while (file_.Next() == 0)
      out.push_back({buf_.PROCEDURENAME.str(), buf_.CONTROLNAME.str(), buf_.CONTROLTYPE.str(),
                     buf_.HELPTIP.str(), buf_.SETTINGS.str(), StoredWidth(buf_.OTHER)});
    file_.Close();
    return out;
  }

 private:
  static std::span<std::byte> Bytes(void* p, size_t n) { return {static_cast<std::byte*>(p), n}; }
  std::string name_;
  TipBuffer buf_;
  rt::File file_;
};

struct Posted {
  int32_t event, field;
};

// What a message box says: its strings joined by blanks.
inline std::string BoxText(const rt::Window& box) {
  std::string text;
  for (const auto& c : box.controls())
    if (c->type == rt::kCreateString) text += (text.empty() ? "" : " ") + c->text;
  return text;
}

class TipWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseHeadlessBackend();
    dir_ = std::filesystem::temp_directory_path() /
           ("vistip_tip_" + std::to_string(::getpid()) + "_" + std::to_string(++counter_));
    std::filesystem::create_directories(dir_);
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    GLO = GlobalState{};
    POS = PositionState{};
    VTH = TipBuffer{};
    GLO.VTAPPNAME = "tips.tps";
    rt::SetCommandLineForTesting({"host"});
    host_ = rt::Start([this] { HostProcedure(); });
    ASSERT_NE(rt::harness::WaitForWindow([](const rt::Window& w) { return w.caption() == "Host"; }),
              nullptr);
    rt::harness::Settle();
  }

  void TearDown() override {
    CloseTip();
    for (auto& extra : extra_) CloseOne(extra.second, extra.first);
    if (rt::Window* host = rt::harness::CurrentWindowOf(host_)) rt::harness::CloseWindow(*host);
    rt::Join(host_);
    for (rt::Window* w : rt::OpenWindows())
      if (w->caption().rfind("Help", 0) == 0) rt::harness::CloseWindow(*w);
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
    unsetenv("BROWSER");
  }

  // A host window that records every event posted to it that it did not cause itself.
  void HostProcedure() {
    rt::WindowDesc d;
    d.caption = "Host";
    d.w = 300;
    d.h = 200;
    d.controls = {{.field = 1, .type = rt::kCreateEntry, .x = 200, .y = 150, .w = 60, .h = 10}};
    rt::Window w(d);
    w.Open();
    while (w.Accept())
      if (rt::Event() == kEventTipAdded || rt::Event() >= 0x400)
        host_events_.push_back({rt::Event(), rt::Field()});
  }

  void Request(const std::string& procedure, const std::string& control, const std::string& type) {
    GLO.VTPROCEDURENAME = procedure;
    GLO.VTCONTROLNAME = control;
    GLO.VTCONTROLTYPE = type;
    GLO.PARENTTHREAD = host_;
  }

  // Starts a tip window for the request and waits until it shows its tip. The first timer tick
  // is asked for at once instead of waited for.
  rt::Window* Show(std::unique_ptr<HelpTipWindow>& tip, int32_t& thread) {
    tip = std::make_unique<HelpTipWindow>(LastRequest());
    HelpTipWindow* p = tip.get();
    thread = rt::Start([p] { p->Run(); });
    rt::Window* w = rt::harness::WaitForWindow(
        [thread](const rt::Window& win) { return win.thread() == thread; });
    if (w == nullptr) return nullptr;
    was_hidden_ = w->hidden();
    first_x_ = w->x();
    first_y_ = w->y();
    rt::Post(rt::kEventTimer, 0, thread);
    rt::harness::Settle();
    return w;
  }

  rt::Window* Show() { return window_ = Show(tip_, tip_thread_); }

  void CloseOne(int32_t thread, std::unique_ptr<HelpTipWindow>& tip) {
    if (!tip) return;
    if (rt::Window* w = rt::harness::CurrentWindowOf(thread); w != nullptr && w == &tip->Window)
      rt::harness::CloseWindow(*w);
    EXPECT_TRUE(rt::Join(thread));
    tip.reset();
  }
  void CloseTip() {
    CloseOne(tip_thread_, tip_);
    window_ = nullptr;
  }
  // After everything posted has been handled.
  bool TipOpen() {
    rt::harness::Settle();
    return tip_ && tip_->Window.IsOpen();
  }
  bool TipClosed() {
    rt::harness::Settle();
    return rt::Join(tip_thread_, std::chrono::milliseconds(2000));
  }

  // The field of the first tip control whose CONTROLQUEUE name is `name`, or 0.
  int32_t FieldOf(const std::string& text) {
    return window_ ? rt::harness::FieldWithText(*window_, text) : 0;
  }
  rt::Control& Ctl(int32_t field) { return *window_->Find(field); }
  int32_t Width(int32_t field) { return window_->GetPropInt(field, rt::kPropWidth); }

  std::vector<int32_t> HostEvents() {
    rt::harness::Settle();
    std::vector<int32_t> out;
    for (const Posted& p : host_events_) out.push_back(p.event);
    return out;
  }

  std::string Marker() {
    std::ifstream f(dir_ / "marker");
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  rt::RuntimeThread thread_;
  std::filesystem::path dir_, old_dir_;
  int32_t host_ = 0;
  std::vector<Posted> host_events_;
  std::unique_ptr<HelpTipWindow> tip_;
  int32_t tip_thread_ = 0;
  rt::Window* window_ = nullptr;
  bool was_hidden_ = false;
  int32_t first_x_ = 0, first_y_ = 0;  // where the runtime put the window
  std::vector<std::pair<std::unique_ptr<HelpTipWindow>, int32_t>> extra_;
  static inline int counter_ = 0;
};

}  // namespace vistip::tipwindow::testing
