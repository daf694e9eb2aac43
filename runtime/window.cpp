// Windows and their fields: opening and closing on the owning thread, creating and destroying
// controls, hiding, enabling, positioning, and the measures derived from text and fonts.
#include "runtime/window.h"

#include <algorithm>
#include <cmath>

#include "runtime/backend.h"
#include "runtime/input.h"
#include "runtime/text/mnemonic.h"
#include "runtime/textmetrics.h"
#include "runtime/thread_internal.h"

namespace rt {
namespace {

uint64_t g_next_window_id = 1;        // under the runtime lock
std::vector<Window*> g_open_windows;  // under the runtime lock, oldest first

bool IsTextual(int32_t type) {
  return type == kCreateString || type == kCreatePrompt || type == kCreateButton ||
         type == kCreateRadio || type == kCreateCheck || type == kCreateTab ||
         type == kCreateOption;
}

}  // namespace

Window::Window(WindowDesc desc) : desc_(std::move(desc)) {}

Window::~Window() {
  Close();
}

Control* Window::Add(const ControlDesc& d, uint64_t order) {
  auto c = std::make_unique<Control>();
  c->field = d.field;
  c->type = d.type;
  c->parent = d.parent;
  c->x = d.x == kDefault ? 0 : d.x;
  c->y = d.y == kDefault ? 0 : d.y;
  c->w = d.w;
  c->h = d.h;
  c->text = d.text;
  c->picture = d.picture;
  c->use = d.use;
  c->font = font_;
  c->order = order;
  if (c->type == kCreateSheet) c->selected_tab = 0;
  Control* raw = c.get();
  auto pos = std::lower_bound(controls_.begin(), controls_.end(), d.field,
                              [](const auto& a, int32_t f) { return a->field < f; });
  if (pos != controls_.end() && (*pos)->field == d.field) {
    *pos = std::move(c);
  } else {
    controls_.insert(pos, std::move(c));
  }
  for (const auto& [prop, value] : d.props) SetControlProp(*raw, prop, value, 0);
  return raw;
}

void Window::Open() {
  if (open_) return;
  ThreadState* t = CurrentThreadState();
  caption_ = desc_.caption;
  font_ = desc_.font;
  w_ = desc_.w;
  h_ = desc_.h;
  color_ = desc_.color;
  timer_ = desc_.timer;
  alert_keys_ = desc_.alerts;
  controls_.clear();
  next_order_ = 0;
  for (const ControlDesc& d : desc_.controls) Add(d, next_order_++);
  // Default position: centred on the screen.
  x_ = desc_.x != kDefault
           ? desc_.x
           : static_cast<int32_t>((CurrentBackend().ScreenWidth() / PxPerDuX() - w_) / 2);
  y_ = desc_.y != kDefault
           ? desc_.y
           : static_cast<int32_t>((CurrentBackend().ScreenHeight() / PxPerDuY() - h_) / 2);
  for (const auto& [prop, value] : desc_.props) SetWindowProp(prop, value, 0);
  id_ = g_next_window_id++;
  thread_ = t ? t->number : 0;
  open_ = true;
  closing_ = false;
  if (t) {
    if (!t->windows.empty()) {
      Window* under = t->windows.back();
      under->saved_ = {t->current.event, t->current.field, t->current.keycode, t->current.window_id,
                       t->cycled};
    }
    t->current = EventRec{};
    t->cycled = false;
    t->windows.push_back(this);
  }
  g_open_windows.push_back(this);
  RestartTimer();
  if (t) {
    EventRec e;
    e.event = kEventOpenWindow;
    e.window_id = id_;
    Enqueue(*t, e);
  }
  CurrentBackend().WindowOpened(*this);
}

void Window::Close() {
  if (!open_) return;
  open_ = false;
  input::WindowFocus(*this, false);
  CurrentBackend().WindowClosed(*this);
  g_open_windows.erase(std::remove(g_open_windows.begin(), g_open_windows.end(), this),
                       g_open_windows.end());
  if (ThreadState* t = FindThread(thread_)) {
    const bool was_current = !t->windows.empty() && t->windows.back() == this;
    t->windows.erase(std::remove(t->windows.begin(), t->windows.end(), this), t->windows.end());
    if (was_current && !t->windows.empty()) {
      // Back in the loop of the window under this one: its event is current again.
      const SavedEvent& s = t->windows.back()->saved_;
      t->current = EventRec{s.event, s.field, s.keycode, s.window_id};
      t->cycled = s.cycled;
    }
    // Input addressed to this window dies with it.
    std::erase_if(t->queue, [this](const EventRec& e) { return e.window_id == id_; });
  }
  backend_data = nullptr;
}

void Window::Changed() {
  ++generation;
  if (open_) CurrentBackend().WindowChanged(*this);
}

void Window::SetGeometry(int32_t x, int32_t y, int32_t w, int32_t h) {
  x_ = x;
  y_ = y;
  w_ = w;
  h_ = h;
  Changed();
}

void Window::RestartTimer() {
  timer_due_ms = timer_ > 0 ? NowMs() + int64_t{timer_} * 10 : 0;
}

Control* Window::Find(int32_t field) const {
  auto pos = std::lower_bound(controls_.begin(), controls_.end(), field,
                              [](const auto& a, int32_t f) { return a->field < f; });
  return pos != controls_.end() && (*pos)->field == field ? pos->get() : nullptr;
}

void Window::Create(int32_t field, int32_t type, int32_t parent) {
  ControlDesc d;
  d.field = field;
  d.type = type;
  d.parent = parent;
  Control* c = Add(d, next_order_++);
  c->hidden = true;
  Changed();
}

void Window::Destroy(int32_t first, int32_t last) {
  if (last < first) last = first;
  std::erase_if(controls_, [&](const auto& c) { return c->field >= first && c->field <= last; });
  if (focus_ >= first && focus_ <= last) focus_ = 0;
  Changed();
}

namespace {
template <class F>
void ForRange(Window& w, int32_t first, int32_t last, F f) {
  if (last == 0 || last < first) last = first;
  for (const auto& c : w.controls())
    if (c->field >= first && c->field <= last) f(*c);
}
}  // namespace

void Window::Hide(int32_t first, int32_t last) {
  ForRange(*this, first, last, [](Control& c) { c.hidden = true; });
  Changed();
}
void Window::Unhide(int32_t first, int32_t last) {
  ForRange(*this, first, last, [](Control& c) { c.hidden = false; });
  Changed();
}
void Window::Enable(int32_t first, int32_t last) {
  ForRange(*this, first, last, [](Control& c) { c.disabled = false; });
  Changed();
}
void Window::Disable(int32_t first, int32_t last) {
  ForRange(*this, first, last, [](Control& c) { c.disabled = true; });
  Changed();
}

void Window::Select(int32_t field) {
  Control* c = Find(field);
  if (c == nullptr) return;
  if (c->type == kCreateTab) {
    if (Control* sheet = Find(c->parent)) sheet->selected_tab = field;
    Changed();
    return;
  }
  input::FocusField(*this, field);
}

void Window::Display(int32_t, int32_t) {
  Changed();
}

void Window::SetPosition(int32_t field, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (field == 0) {
    SetGeometry(x == kDefault ? x_ : x, y == kDefault ? y_ : y, w == kDefault ? w_ : w,
                h == kDefault ? h_ : h);
    return;
  }
  Control* c = Find(field);
  if (c == nullptr) return;
  if (x != kDefault) c->x = x;
  if (y != kDefault) c->y = y;
  if (w != kDefault) c->w = w;
  if (h != kDefault) c->h = h;
  Changed();
}

void Window::Bind(int32_t field, Binding use) {
  if (Control* c = Find(field)) c->use = use;
  Changed();
}

void Window::SetFrom(int32_t field, const ListSource* rows) {
  if (Control* c = Find(field)) c->from = rows;
  Changed();
}

int32_t Window::FirstField() const {
  return controls_.empty() ? 0 : controls_.front()->field;
}
int32_t Window::LastField() const {
  return controls_.empty() ? 0 : controls_.back()->field;
}

std::string Window::status_text() const {
  auto it = status_.find(1);
  return it == status_.end() ? std::string() : it->second;
}

int32_t Window::alert(int32_t slot) const {
  auto it = alerts_.find(slot);
  return it == alerts_.end() ? 0 : it->second;
}

bool Window::Alerted(int32_t keycode) const {
  if (keycode == 0) return false;
  if (std::find(alert_keys_.begin(), alert_keys_.end(), keycode) != alert_keys_.end()) return true;
  return std::any_of(alerts_.begin(), alerts_.end(),
                     [keycode](const auto& a) { return a.second == keycode; });
}

bool Window::Visible(const Control& c) const {
  if (c.hidden) return false;
  if (c.parent == 0) return true;
  const Control* p = Find(c.parent);
  if (p == nullptr) return true;
  if (p->type == kCreateTab) {
    const Control* sheet = Find(p->parent);
    if (sheet && sheet->selected_tab != 0 && sheet->selected_tab != p->field) return false;
    if (sheet && sheet->selected_tab == 0) {
      // Without a selection the sheet shows its first visible tab.
      for (const auto& other : controls_)
        if (other->type == kCreateTab && other->parent == sheet->field && !other->hidden)
          return other->field == p->field && Visible(*p);
    }
  }
  return Visible(*p);
}

bool Window::Active(const Control& c) const {
  switch (c.type) {
    case kCreateRegion:
    case kCreateButton:
    case kCreateEntry:
    case kCreateText:
    case kCreateCheck:
    case kCreateRadio:
    case kCreateList:
    case kCreateDropCombo:
    case kCreateSheet:
      break;
    default:
      return false;
  }
  return !c.disabled && Visible(c);
}

double Window::PxPerDuX() const {
  return MeasureFont(font_).avg_char_width_px / 4.0;
}
double Window::PxPerDuY() const {
  return MeasureFont(font_).height_px / 8.0;
}

Font Window::EffectiveFont(const Control& c) const {
  return c.own_font ? c.font : font_;
}

std::string Window::DisplayText(const Control& c) const {
  return c.use.bound() && c.type != kCreateRadio && c.type != kCreateOption ? c.use.Get() : c.text;
}

int32_t Window::AutoWidth(const Control& c) const {
  if (c.w != kDefault) return c.w;
  if (!IsTextual(c.type)) return c.type == kCreateEntry ? 40 : 0;
  const double px = TextWidthPx(EffectiveFont(c), text::StripMnemonic(DisplayText(c)).shown);
  int32_t du = static_cast<int32_t>(std::ceil(px / PxPerDuX()));
  if (c.type == kCreateButton) du += 12;
  if (c.type == kCreateRadio || c.type == kCreateCheck) du += 12;
  return du;
}

int32_t Window::AutoHeight(const Control& c) const {
  if (c.h != kDefault) return c.h;
  if (c.type == kCreateButton) return 14;
  if (c.type == kCreateEntry || c.type == kCreateDropCombo) return 10;
  if (!IsTextual(c.type)) return 0;
  return static_cast<int32_t>(std::ceil(MeasureFont(EffectiveFont(c)).height_px / PxPerDuY()));
}

double Window::LineWidthPx(const Control& c) const {
  return std::max(AutoWidth(c) * PxPerDuX() - 2 * kTextMarginPx, 1.0);
}

std::vector<std::string> Window::TextLines(const Control& c) const {
  return WrapLines(EffectiveFont(c), DisplayText(c), LineWidthPx(c));
}

std::vector<Window*> OpenWindows() {
  return g_open_windows;
}

}  // namespace rt
