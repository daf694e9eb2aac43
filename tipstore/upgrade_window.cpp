// The upgrade's wait window.
#include "tipstore/upgrade_window.h"

#include "runtime/codes.h"

namespace vistip {
namespace {

rt::WindowDesc WaitWindowDesc(int32_t& counter) {
  rt::WindowDesc d;
  d.w = 180;
  d.h = 40;
  rt::ControlDesc text;
  text.field = UpgradeWaitWindow::kTextField;
  text.type = rt::kCreateString;
  text.x = 10;
  text.y = 8;
  text.text = "Please wait... upgrading Vistip Tip file...";
  rt::ControlDesc bar;
  bar.field = UpgradeWaitWindow::kProgressField;
  bar.type = rt::kCreateProgress;
  bar.x = 10;
  bar.y = 22;
  bar.w = 160;
  bar.h = 10;
  bar.use = rt::Binding{.number = &counter};
  d.controls = {text, bar};
  return d;
}

}  // namespace

UpgradeWaitWindow::UpgradeWaitWindow(int32_t& counter)
    : counter_(counter), window_(WaitWindowDesc(counter)) {
  window_.Open();
}

UpgradeWaitWindow::~UpgradeWaitWindow() {
  window_.Close();
}

void UpgradeWaitWindow::SetUpperBound(int32_t value) {
  window_.SetPropInt(kProgressField, rt::kPropRangeHigh, value);
}

// The painter draws a bar from its progress property, which DISPLAY does not take from the
// bound counter, so the value is set as well.
void UpgradeWaitWindow::Redisplay() {
  window_.SetPropInt(kProgressField, rt::kPropProgress, counter_);
  window_.Display(kProgressField);
}

}  // namespace vistip
