// Properties by number on a window (field 0) and its controls. Known numbers change the model;
// every other number is kept as given and read back unchanged.
#include <charconv>

#include "runtime/strings.h"
#include "runtime/thread_internal.h"
#include "runtime/textmetrics.h"
#include "runtime/window.h"

namespace rt {
namespace {

int32_t Num(std::string_view v) {
  return ToLong(v);
}
std::string Str(int64_t v) {
  return std::to_string(v);
}

void SetFontPart(Font& f, int32_t prop, std::string_view value) {
  switch (prop) {
    case kPropFontName:
      f.typeface = Clip(value);
      break;
    case kPropFontSize:
      f.size = Num(value);
      break;
    case kPropFontColor:
      f.color = Num(value);
      break;
    case kPropFontStyle:
      f.style = Num(value);
      break;
  }
}

std::string GetFontPart(const Font& f, int32_t prop) {
  switch (prop) {
    case kPropFontName:
      return f.typeface;
    case kPropFontSize:
      return Str(f.size);
    case kPropFontColor:
      return Str(f.color);
    default:
      return Str(f.style);
  }
}

bool IsFontProp(int32_t prop) {
  return prop >= kPropFontName && prop <= kPropFontStyle;
}

}  // namespace

void Window::SetProp(int32_t field, int32_t prop, std::string_view value, int32_t index) {
  if (field == 0) {
    SetWindowProp(prop, value, index);
  } else if (Control* c = Find(field)) {
    SetControlProp(*c, prop, value, index);
  } else {
    return;
  }
  Changed();
}

void Window::SetPropInt(int32_t field, int32_t prop, int64_t value, int32_t index) {
  SetProp(field, prop, Str(value), index);
}

std::string Window::GetProp(int32_t field, int32_t prop, int32_t index) const {
  if (field == 0) return GetWindowProp(prop, index);
  const Control* c = Find(field);
  return c ? GetControlProp(*c, prop, index) : std::string();
}

int32_t Window::GetPropInt(int32_t field, int32_t prop, int32_t index) const {
  return Num(GetProp(field, prop, index));
}

void Window::SetWindowProp(int32_t prop, std::string_view value, int32_t index) {
  switch (prop) {
    case kPropText:
      caption_ = Clip(value);
      return;
    case kPropX:
      x_ = Num(value);
      return;
    case kPropY:
      y_ = Num(value);
      return;
    case kPropWidth:
      w_ = Num(value);
      return;
    case kPropHeight:
      h_ = Num(value);
      return;
    case kPropHide:
      hidden_ = Num(value) != 0;
      return;
    case kPropColor:
      color_ = Num(value);
      return;
    case kPropTimer:
      timer_ = Num(value);
      RestartTimer();
      return;
    case kPropStatusZones:
      status_zones_ = Num(value);
      return;
    case kPropStatusText:
      status_[index == 0 ? 1 : index] = std::string(value);
      return;
    case kPropAlert:
      if (Num(value) == 0)
        alerts_.erase(index);
      else
        alerts_[index] = Num(value);
      return;
  }
  if (IsFontProp(prop)) {
    SetFontPart(font_, prop, value);
    for (auto& c : controls_)
      if (!c->own_font) c->font = font_;
    return;
  }
  props_[{prop, index}] = std::string(value);
}

std::string Window::GetWindowProp(int32_t prop, int32_t index) const {
  switch (prop) {
    case kPropText:
      return caption_;
    case kPropX:
      return Str(x_);
    case kPropY:
      return Str(y_);
    case kPropWidth:
      return Str(w_);
    case kPropHeight:
      return Str(h_);
    case kPropHide:
      return Str(hidden_ ? 1 : 0);
    case kPropColor:
      return Str(color_);
    case kPropTimer:
      return Str(timer_);
    case kPropStatusZones:
      return Str(status_zones_);
    case kPropStatusText: {
      auto it = status_.find(index == 0 ? 1 : index);
      return it == status_.end() ? std::string() : it->second;
    }
    case kPropAlert:
      return Str(alert(index));
    case kPropHandle:
      return Str(static_cast<int64_t>(id_));
  }
  if (IsFontProp(prop)) return GetFontPart(font_, prop);
  auto it = props_.find({prop, index});
  return it == props_.end() ? std::string() : it->second;
}

void Window::SetControlProp(Control& c, int32_t prop, std::string_view value, int32_t index) {
  switch (prop) {
    case kPropText:
      c.text = Clip(value);
      return;
    case kPropX:
      c.x = Num(value);
      return;
    case kPropY:
      c.y = Num(value);
      return;
    case kPropWidth:
      c.w = Num(value);
      return;
    case kPropHeight:
      c.h = Num(value);
      return;
    case kPropHide:
      c.hidden = Num(value) != 0;
      return;
    case kPropDisable:
      c.disabled = Num(value) != 0;
      return;
    case kPropColor:
      c.color = Num(value);
      return;
    case kPropFill:
      c.fill = Num(value);
      return;
    case kPropToolTip:
      c.tooltip = Clip(value);
      return;
    case kPropCursor:
      c.cursor = Clip(value);
      return;
    case kPropIcon:
      c.icon = Clip(value);
      return;
    case kPropFormat:
      c.format = std::string(value);
      return;
    case kPropProgress:
      c.progress = Num(value);
      return;
    case kPropRangeHigh:
      c.range_high = Num(value);
      return;
    case kPropSelected:
      c.selected_tab = Num(value);
      return;
    case kPropVScrollPos:
      c.scroll_line = Num(value);
      return;
    case kPropAlert:
      if (Num(value) == 0)
        c.alerts.erase(index);
      else
        c.alerts[index] = Num(value);
      return;
    case kPropSelStart:
      if (c.type == kCreateList || c.type == kCreateDropCombo) {
        c.selected_row = Num(value);
      } else {
        c.sel_from = c.caret = static_cast<size_t>(std::max(Num(value) - 1, 0));
      }
      return;
    case kPropSelEnd:
      c.sel_to = static_cast<size_t>(std::max(Num(value) - 1, 0));
      return;
  }
  if (IsFontProp(prop)) {
    if (!c.own_font) c.font = font_;
    c.own_font = true;
    SetFontPart(c.font, prop, value);
    return;
  }
  c.props[{prop, index}] = std::string(value);
}

std::string Window::GetControlProp(const Control& c, int32_t prop, int32_t index) const {
  switch (prop) {
    case kPropText:
      return c.text;
    case kPropX:
      return Str(c.x);
    case kPropY:
      return Str(c.y);
    case kPropWidth:
      return Str(AutoWidth(c));
    case kPropHeight:
      return Str(AutoHeight(c));
    case kPropHide:
      return Str(c.hidden ? 1 : 0);
    case kPropDisable:
      return Str(c.disabled ? 1 : 0);
    case kPropColor:
      return Str(c.color);
    case kPropFill:
      return Str(c.fill);
    case kPropToolTip:
      return c.tooltip;
    case kPropCursor:
      return c.cursor;
    case kPropIcon:
      return c.icon;
    case kPropFormat:
      return c.format;
    case kPropProgress:
      return Str(c.progress);
    case kPropRangeHigh:
      return Str(c.range_high);
    case kPropSelected:
      return Str(c.selected_tab);
    case kPropVScrollPos:
      return Str(c.scroll_line);
    case kPropAlert: {
      auto it = c.alerts.find(index);
      return Str(it == c.alerts.end() ? 0 : it->second);
    }
    case kPropHandle:
      return Str((static_cast<int64_t>(id_) << 16) + c.field + 0x8000);
    case kPropLineCount:
      return Str(static_cast<int64_t>(
          WrappedLineCount(EffectiveFont(c), DisplayText(c), LineWidthPx(c))));
    case kPropLine:
      return index >= 1 ? WrappedLine(EffectiveFont(c), DisplayText(c), LineWidthPx(c),
                                      static_cast<size_t>(index - 1))
                        : std::string();
    case kPropSelStart:
      if (c.type == kCreateList || c.type == kCreateDropCombo) return Str(c.selected_row);
      return Str(static_cast<int64_t>(c.sel_from) + 1);
    case kPropSelEnd:
      return Str(static_cast<int64_t>(c.sel_to) + 1);
  }
  if (IsFontProp(prop)) return GetFontPart(EffectiveFont(c), prop);
  auto it = c.props.find({prop, index});
  return it == c.props.end() ? std::string() : it->second;
}

// The statements on the calling thread's current window.
Window* CurrentWindow() {
  ThreadState* t = CurrentThreadState();
  return t && !t->windows.empty() ? t->windows.back() : nullptr;
}

#define RT_ON_CURRENT(call) \
  if (Window* cw = CurrentWindow()) cw->call

void SetProp(int32_t f, int32_t p, std::string_view v, int32_t i) {
  RT_ON_CURRENT(SetProp(f, p, v, i));
}
void SetPropInt(int32_t f, int32_t p, int64_t v, int32_t i) {
  RT_ON_CURRENT(SetPropInt(f, p, v, i));
}
std::string GetProp(int32_t f, int32_t p, int32_t i) {
  Window* w = CurrentWindow();
  return w ? w->GetProp(f, p, i) : std::string();
}
int32_t GetPropInt(int32_t f, int32_t p, int32_t i) {
  Window* w = CurrentWindow();
  return w ? w->GetPropInt(f, p, i) : 0;
}
void Create(int32_t f, int32_t t, int32_t p) {
  RT_ON_CURRENT(Create(f, t, p));
}
void Destroy(int32_t a, int32_t b) {
  RT_ON_CURRENT(Destroy(a, b));
}
void Hide(int32_t a, int32_t b) {
  RT_ON_CURRENT(Hide(a, b));
}
void Unhide(int32_t a, int32_t b) {
  RT_ON_CURRENT(Unhide(a, b));
}
void Enable(int32_t a, int32_t b) {
  RT_ON_CURRENT(Enable(a, b));
}
void Disable(int32_t a, int32_t b) {
  RT_ON_CURRENT(Disable(a, b));
}
void Select(int32_t f) {
  RT_ON_CURRENT(Select(f));
}
void Display(int32_t a, int32_t b) {
  RT_ON_CURRENT(Display(a, b));
}
void SetPosition(int32_t f, int32_t x, int32_t y, int32_t w, int32_t h) {
  RT_ON_CURRENT(SetPosition(f, x, y, w, h));
}
int32_t FirstField() {
  Window* w = CurrentWindow();
  return w ? w->FirstField() : 0;
}
int32_t LastField() {
  Window* w = CurrentWindow();
  return w ? w->LastField() : 0;
}

#undef RT_ON_CURRENT

}  // namespace rt
