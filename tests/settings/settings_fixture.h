// The settings dialog's test setting: a tip file written by the test in a temporary directory,
// and the dialog run on a runtime thread of its own for one control and its settings, as the
// tip window's formatting mode runs it. What the dialog left in SETTINGSQUEUE is kept.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "settings/upd_control_setting.h"
#include "tests/tipwindow/tip_window_fixture.h"
#include "tipwindow/queues.h"

namespace vistip::settings::testing {

using tipwindow::testing::Tip;
using tipwindow::testing::TipFile;

struct Row {
  std::string control, prop, setting, text;
  bool operator==(const Row&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << "{" << r.control << "," << r.prop << "," << r.setting << "," << r.text << "}";
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseHeadlessBackend();
    dir_ = std::filesystem::temp_directory_path() /
           ("vistip_settings_" + std::to_string(::getpid()) + "_" + std::to_string(++counter_));
    std::filesystem::create_directories(dir_);
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    GLO = GlobalState{};
    LIN = TipBuffer{};
    GLO.VTAPPNAME = "tips.tps";
  }

  void TearDown() override {
    if (thread_ != 0) {
      if (rt::Window* w = rt::harness::CurrentWindowOf(thread_)) rt::harness::CloseWindow(*w);
      EXPECT_TRUE(rt::Join(thread_));
    }
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
  }

  // Runs the dialog for control `name` of `type` over `rows` and waits until its page shows.
  // Through the entry point the dialog's procedure object is its own, out of the test's reach.
  rt::Window* Open(const std::string& name, const std::string& type, const std::vector<Row>& rows,
                   const std::string& text = "the text", bool through_entry_point = false) {
    control_ = CtlRecord{};
    control_.NAME = name;
    control_.TYPE = type;
    control_.TEXT = text;
    rows_.Free();
    for (const Row& r : rows) {
      rows_.buf = SetRecord{r.control, r.prop, r.setting, r.text};
      rows_.Add();
    }
    dialog_ = std::make_unique<UpdControlSetting>(control_, rows_);
    thread_ = rt::Start([this, through_entry_point] {
      if (through_entry_point)
        vistip::UpdControlSetting(control_, rows_);
      else
        dialog_->Run();
      for (int32_t i = 1; i <= rows_.Records(); ++i) {
        rows_.Get(i);
        const SetRecord& r = rows_.buf;
        result_.push_back({r.CONTROLNAME.str(), r.PROP.str(), r.SETTING.str(), r.TEXT.str()});
      }
    });
    window_ = rt::harness::WaitForWindow([this, through_entry_point](const rt::Window& w) {
      return (through_entry_point
                  ? w.thread() == thread_ && w.caption() == "Update Control Settings"
                  : &w == &dialog_->Window) &&
             !w.hidden();
    });
    rt::harness::Settle();
    return window_;
  }

  // Presses a button of the dialog and waits for the dialog to end.
  std::vector<Row> Press(const char* button) {
    EXPECT_TRUE(rt::harness::ClickButton(*window_, button));
    return Finish();
  }
  std::vector<Row> Finish() {
    rt::harness::Settle();
    EXPECT_TRUE(rt::Join(thread_, std::chrono::milliseconds(2000)));
    thread_ = 0;
    return result_;
  }

  void TypeInto(int32_t field, std::string_view text) {
    rt::harness::Click(*window_, field);
    rt::harness::Type(*window_, text);
  }
  std::string Shown(int32_t field) { return rt::harness::ShownText(*window_, field); }
  bool Visible(int32_t field) { return rt::harness::Shown(*window_, field); }

  rt::RuntimeThread runtime_;
  std::filesystem::path dir_, old_dir_;
  CtlRecord control_;          // the control the dialog edits
  rt::Queue<SetRecord> rows_;  // the tip's settings rows
  std::unique_ptr<UpdControlSetting> dialog_;
  int32_t thread_ = 0;
  rt::Window* window_ = nullptr;
  std::vector<Row> result_;
  static inline int counter_ = 0;
};

}  // namespace vistip::settings::testing
