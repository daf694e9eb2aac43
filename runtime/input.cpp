// User input turned into the runtime's events: mouse presses with hit testing and alert slots,
// keys with aliases, alerts and entry editing, focus between fields and between windows, and
// user resizing. The same code serves the X11 backend and the headless test harness.
#include "runtime/input.h"

#include <algorithm>
#include <cmath>

#include "runtime/backend.h"
#include "runtime/strings.h"
#include "runtime/textmetrics.h"
#include "runtime/thread_internal.h"
#include "runtime/window.h"

namespace rt::input {
namespace {

Window* g_focused = nullptr;           // the window with the input focus
std::vector<Window*> g_focus_history;  // windows that had it, most recent last

void PostTo(Window& w, int32_t event, int32_t field, int32_t keycode = 0) {
  ThreadState* t = FindThread(w.thread());
  if (t == nullptr) return;
  EventRec e;
  e.event = event;
  e.field = field;
  e.keycode = keycode;
  e.window_id = w.id();
  Enqueue(*t, e);
}

// An alerted key or button: the pre-alert event, then the alert event, on the field.
void PostAlert(Window& w, int32_t field, int32_t keycode) {
  PostTo(w, kEventPreAlertKey, field, keycode);
  PostTo(w, kEventAlertKey, field, keycode);
}

bool FieldAlerted(const Control& c, int32_t keycode) {
  return std::any_of(c.alerts.begin(), c.alerts.end(),
                     [keycode](const auto& a) { return a.second == keycode; });
}

bool Contains(const Window& w, const Control& c, double dx, double dy) {
  const double cx = c.x, cy = c.y, cw = w.AutoWidth(c), ch = w.AutoHeight(c);
  return dx >= cx && dy >= cy && dx < cx + cw && dy < cy + ch;
}

// A sheet takes clicks only on its tab headers, the strip along its top.
constexpr int32_t kTabStripDu = 12;

bool InSheetStrip(const Window& w, const Control& sheet, double dy) {
  (void)w;
  return dy >= sheet.y && dy < sheet.y + kTabStripDu;
}

// Which control is on top where two overlap: declared controls above those created at run
// time; among declared ones the higher field; among created ones the earlier created.
bool Above(const Control& a, const Control& b, uint64_t declared_count) {
  const bool a_created = a.order >= declared_count, b_created = b.order >= declared_count;
  if (a_created != b_created) return !a_created;
  if (!a_created) return a.field > b.field;
  return a.order < b.order;
}

bool IsEditable(const Control& c) {
  return c.type == kCreateEntry || c.type == kCreateText || c.type == kCreateDropCombo;
}

size_t MaxLength(const Control& c) {
  if (c.use.text != nullptr) return c.use.size;
  return 10000;
}

// The entry text as the picture formats it; false when the picture refuses it.
bool PictureAccepts(const Control& c, std::string_view text) {
  if (c.picture.size() >= 2 && (c.picture[1] == 'n' || c.picture[1] == 'N')) {
    const std::string t = Clip(Left(text));
    if (t.empty()) return true;
    return ToNumber(t) != 0 || t.find_first_not_of("0.+- ") == std::string::npos;
  }
  return true;
}

// The text being edited: trailing blanks count up to the caret, so a typed blank stays.
std::string Text(const Control& c) {
  std::string t = c.use.bound() ? c.use.Get() : c.text;
  const size_t caret = std::min(c.caret, MaxLength(c));
  if (t.size() < caret) t.append(caret - t.size(), ' ');
  return t;
}

void SetText(Window& w, Control& c, const std::string& text) {
  if (c.use.bound()) {
    c.use.Set(text);
  } else {
    c.text = text;
  }
  c.changed = true;
  w.Changed();
}

void ReplaceSelection(Window& w, Control& c, std::string_view insert) {
  std::string text = Text(c);
  size_t from = std::min(c.sel_from, c.sel_to), to = std::max(c.sel_from, c.sel_to);
  from = std::min(from, text.size());
  to = std::min(to, text.size());
  if (from == to) from = to = std::min(c.caret, text.size());
  std::string ins(insert);
  if (c.props.count({kPropUpper, 0}) && ToLong(c.props.at({kPropUpper, 0})) == 1) ins = Upper(ins);
  const size_t room = MaxLength(c) - std::min(MaxLength(c), text.size() - (to - from));
  if (ins.size() > room) ins.resize(room);
  text.replace(from, to - from, ins);
  c.caret = c.sel_from = c.sel_to = from + ins.size();
  SetText(w, c, text);
}

bool HasSelection(const Control& c) {
  return c.sel_from != c.sel_to;
}

void EditKey(Window& w, Control& c, int32_t keycode) {
  std::string text = Text(c);
  c.caret = std::min(c.caret, text.size());
  switch (keycode) {
    case kBackspaceKey:
      if (HasSelection(c)) return ReplaceSelection(w, c, {});
      if (c.caret > 0) {
        text.erase(--c.caret, 1);
        c.sel_from = c.sel_to = c.caret;
        SetText(w, c, text);
      }
      return;
    case kDeleteKey:
      if (HasSelection(c)) return ReplaceSelection(w, c, {});
      if (c.caret < text.size()) {
        text.erase(c.caret, 1);
        SetText(w, c, text);
      }
      return;
    case kLeftKey:
      if (c.caret > 0) --c.caret;
      break;
    case kRightKey:
      if (c.caret < text.size()) ++c.caret;
      break;
    case kHomeKey:
      c.caret = 0;
      break;
    case kEndKey:
      c.caret = text.size();
      break;
    case CtrlKey('A'):
      c.sel_from = 0;
      c.sel_to = c.caret = text.size();
      w.Changed();
      return;
    case CtrlKey('C'):
    case CtrlKey('X'): {
      const size_t from = std::min(c.sel_from, c.sel_to), to = std::max(c.sel_from, c.sel_to);
      if (to > from && to <= text.size()) {
        CurrentBackend().SetClipboardText(text.substr(from, to - from));
        if (keycode == CtrlKey('X')) ReplaceSelection(w, c, {});
      }
      return;
    }
    case CtrlKey('V'):
      return ReplaceSelection(w, c, CurrentBackend().ClipboardText());
    default:
      return;
  }
  c.sel_from = c.sel_to = c.caret;
  w.Changed();
}

// The focusable fields in tab order (field order).
std::vector<int32_t> TabOrder(const Window& w) {
  std::vector<int32_t> order;
  for (const auto& c : w.controls())
    if (w.Active(*c) && c->type != kCreateRegion && c->type != kCreateSheet)
      order.push_back(c->field);
  return order;
}

void MoveFocus(Window& w, bool backwards) {
  const std::vector<int32_t> order = TabOrder(w);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), w.focus());
  size_t i = it == order.end() ? 0 : static_cast<size_t>(it - order.begin());
  if (it != order.end())
    i = backwards ? (i + order.size() - 1) % order.size() : (i + 1) % order.size();
  FocusField(w, order[i]);
}

// A press on a control that does not alert the button: its ordinary action.
void Click(Window& w, Control& c, int32_t button, double dx, double dy) {
  if (button != kMouseLeft) return;
  switch (c.type) {
    case kCreateRegion:
      PostTo(w, kEventAccepted, c.field);
      return;
    case kCreateButton:
      FocusField(w, c.field);
      PostTo(w, kEventAccepted, c.field);
      return;
    case kCreateEntry:
    case kCreateText:
    case kCreateDropCombo:
      FocusField(w, c.field);
      c.caret = c.sel_from = c.sel_to = Text(c).size();
      w.Changed();
      return;
    case kCreateRadio: {
      Control* option = w.Find(c.parent);
      if (option && option->use.bound()) option->use.Set(c.text);
      FocusField(w, c.field);
      PostTo(w, kEventAccepted, c.field);
      if (option) PostTo(w, kEventAccepted, option->field);
      w.Changed();
      return;
    }
    case kCreateCheck:
      if (c.use.number) *c.use.number = *c.use.number ? 0 : 1;
      PostTo(w, kEventAccepted, c.field);
      w.Changed();
      return;
    case kCreateList:
      if (c.from) {
        const int32_t row = static_cast<int32_t>((dy - c.y) / 10) + 1 + c.scroll_line;
        if (row >= 1 && static_cast<size_t>(row) <= c.from->Rows()) ChooseRow(w, c.field, row);
      }
      return;
    case kCreateSheet: {
      // Tab headers share the strip in field order, each as wide as its caption.
      double x = c.x;
      for (const auto& t : w.controls()) {
        if (t->type != kCreateTab || t->parent != c.field || t->hidden) continue;
        const double tw = w.AutoWidth(*t) + 8;
        if (dx >= x && dx < x + tw) {
          PostTo(w, kEventTabChanging, c.field);
          c.selected_tab = t->field;
          PostTo(w, kEventNewSelection, c.field);
          w.Changed();
          return;
        }
        x += tw;
      }
      return;
    }
  }
}

}  // namespace

int32_t HitTest(const Window& w, double px, double py) {
  const double dx = px / w.PxPerDuX(), dy = py / w.PxPerDuY();
  const uint64_t declared = w.declared_count();
  const Control* best = nullptr;
  for (const auto& c : w.controls()) {
    if (!w.Active(*c) || !Contains(w, *c, dx, dy)) continue;
    if (c->type == kCreateSheet && !InSheetStrip(w, *c, dy)) continue;
    if (best == nullptr || Above(*c, *best, declared)) best = c.get();
  }
  return best ? best->field : 0;
}

void MouseDown(Window& w, int32_t button, double px, double py) {
  const double dx = px / w.PxPerDuX(), dy = py / w.PxPerDuY();
  w.mouse_x = static_cast<int32_t>(std::floor(dx));
  w.mouse_y = static_cast<int32_t>(std::floor(dy));
  SetKeyCode(button);
  if (g_focused != &w) WindowFocus(w, true);
  const int32_t field = HitTest(w, px, py);
  Control* c = field ? w.Find(field) : nullptr;
  if (c && FieldAlerted(*c, button)) return PostAlert(w, field, button);
  if (w.Alerted(button)) return PostAlert(w, field, button);
  if (c) Click(w, *c, button, dx, dy);
}

void Key(Window& w, int32_t keycode, std::string_view text) {
  keycode = Aliased(keycode);
  SetKeyCode(keycode);
  Control* c = w.Find(w.focus());
  if ((c && FieldAlerted(*c, keycode)) || w.Alerted(keycode))
    return PostAlert(w, w.focus(), keycode);
  if (keycode == kTabKey || keycode == kTabKey + kShift) return MoveFocus(w, keycode != kTabKey);
  if (c == nullptr) return;
  if (IsEditable(*c)) {
    if (keycode == kEnterKey && c->type == kCreateText) return ReplaceSelection(w, *c, "\r\n");
    if (keycode == kEnterKey) {
      PostTo(w, PictureAccepts(*c, Text(*c)) ? kEventAccepted : kEventRejected, c->field);
      c->changed = false;
      return;
    }
    if (!text.empty() && (keycode & (kCtrl | kAlt)) == 0) return ReplaceSelection(w, *c, text);
    return EditKey(w, *c, keycode);
  }
  if (c->type == kCreateButton && (keycode == kEnterKey || keycode == kSpaceKey))
    PostTo(w, kEventAccepted, c->field);
}

void TypeText(Window& w, std::string_view text) {
  for (char ch : text) {
    const unsigned char u = static_cast<unsigned char>(ch);
    const int32_t code = (u >= 'a' && u <= 'z') ? u - 32 : u;
    Key(w, code, std::string_view(&ch, 1));
  }
}

void FocusField(Window& w, int32_t field) {
  if (w.focus() == field) return;
  if (Control* old = w.Find(w.focus()); old && IsEditable(*old) && old->changed) {
    PostTo(w, PictureAccepts(*old, Text(*old)) ? kEventAccepted : kEventRejected, old->field);
    old->changed = false;
  }
  w.SetFocusField(field);
  if (Control* c = w.Find(field)) {
    c->changed = false;
    PostTo(w, kEventSelected, field);
  }
  w.Changed();
}

void WindowFocus(Window& w, bool gained) {
  if (gained) {
    if (g_focused == &w || !w.IsOpen()) return;
    Window* old = g_focused;
    g_focused = &w;
    std::erase(g_focus_history, &w);
    g_focus_history.push_back(&w);
    // A modal dialog and the window under it belong to one thread: no focus events between them.
    const bool same_thread = old && old->thread() == w.thread();
    // A menu loses the focus even to the window under it: that dismisses it.
    if (old && (!same_thread || old->popup())) PostTo(*old, kEventLoseFocus, 0);
    if (!same_thread) PostTo(w, kEventGainFocus, 0);
    return;
  }
  std::erase(g_focus_history, &w);
  if (g_focused != &w) return;
  g_focused = nullptr;
  if (w.IsOpen()) {
    PostTo(w, kEventLoseFocus, 0);
    return;
  }
  // The window closed: the one that had the focus before it gets it back.
  if (!g_focus_history.empty()) {
    Window* back = g_focus_history.back();
    g_focused = back;
    if (back->thread() != w.thread()) PostTo(*back, kEventGainFocus, 0);
  }
}

void Resized(Window& w, double width_px, double height_px) {
  w.SetGeometry(w.x(), w.y(), static_cast<int32_t>(std::lround(width_px / w.PxPerDuX())),
                static_cast<int32_t>(std::lround(height_px / w.PxPerDuY())));
  PostTo(w, kEventSized, 0);
}

void CloseRequest(Window& w) {
  PostTo(w, kEventCloseWindow, 0);
}

void ChooseRow(Window& w, int32_t field, int32_t row) {
  Control* c = w.Find(field);
  if (c == nullptr || c->from == nullptr || row < 1 || static_cast<size_t>(row) > c->from->Rows())
    return;
  c->selected_row = row;
  if (c->use.bound()) c->use.Set(c->from->Cell(static_cast<size_t>(row), 1));
  PostTo(w, kEventNewSelection, field);
  w.Changed();
}

}  // namespace rt::input
