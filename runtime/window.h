// The runtime's window model: a window owned by the thread that opened it, its controls as
// numbered fields, properties by number, and the event loop (Accept). Thread-safety: every
// call must be made by a runtime thread holding the runtime lock (see runtime/thread.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/codes.h"
#include "runtime/export.h"
#include "runtime/font.h"

// Everything declared here is the runtime's public API, exported by libvtrt.so.
#pragma GCC visibility push(default)
namespace rt {

inline constexpr int32_t kDefault = INT32_MIN;  // "the runtime's default" position or size
inline constexpr double kTextMarginPx = 3;      // inner margin of entries and text controls

// Rows of a list or drop combo, read by row and column (both from 1).
class VTRT_EXPORT ListSource {
 public:
  virtual ~ListSource() = default;
  virtual size_t Rows() const = 0;
  virtual std::string Cell(size_t row, size_t column) const = 0;
};

// A control's variable: a fixed-length blank-padded text, or a LONG. Typing writes it,
// DISPLAY reads it.
struct VTRT_EXPORT Binding {
  char* text = nullptr;
  size_t size = 0;
  int32_t* number = nullptr;
  bool bound() const { return text != nullptr || number != nullptr; }
  std::string Get() const;           // the text without trailing blanks, or the number
  void Set(std::string_view value);  // cut or blank-padded; a number reads as ToLong
};

struct VTRT_EXPORT ControlDesc {
  int32_t field = 0;
  int32_t type = 0;
  int32_t parent = 0;  // a tab, sheet or option group, or 0
  int32_t x = kDefault, y = kDefault, w = kDefault, h = kDefault;
  std::string text;
  std::string picture;  // entries: @sN text of N characters, @nN numbers
  Binding use;
  std::vector<std::pair<int32_t, std::string>> props;  // further properties, set in order
};

struct VTRT_EXPORT WindowDesc {
  std::string caption;
  bool popup = false;  // a menu or list: no frame, above everything, dismissed on focus loss
  int32_t x = kDefault, y = kDefault, w = 169, h = 165;
  Font font;
  int32_t color = kColorNone;
  int32_t timer = 0;            // hundredths of a second
  std::vector<int32_t> alerts;  // keys alerted on the whole window
  std::vector<ControlDesc> controls;
  std::vector<std::pair<int32_t, std::string>> props;
};

struct VTRT_EXPORT Control {
  int32_t field = 0;
  int32_t type = 0;
  int32_t parent = 0;
  int32_t x = 0, y = 0, w = kDefault, h = kDefault;  // dialog units; kDefault: from the text
  std::string text;
  std::string picture;
  Binding use;
  Font font;
  bool own_font = false;  // false: the window's font
  int32_t color = kColorNone;
  int32_t fill = kColorNone;
  bool hidden = false;
  bool disabled = false;
  std::string tooltip;
  std::string cursor;
  std::string icon;
  std::map<int32_t, int32_t> alerts;                         // slot -> key code
  std::map<std::pair<int32_t, int32_t>, std::string> props;  // every other property
  const ListSource* from = nullptr;
  std::string format;
  int32_t selected_row = 0;  // lists and combos: 1-based, 0 none
  int32_t selected_tab = 0;  // sheets: field of the selected tab
  int32_t progress = 0, range_high = 100;
  // Editing state of entries and text controls (caret and selection as byte offsets).
  size_t caret = 0, sel_from = 0, sel_to = 0;
  int32_t scroll_line = 0;
  bool changed = false;  // typed into since it gained focus
  uint64_t order = 0;    // creation order: declared controls first
};

class VTRT_EXPORT Window {
 public:
  explicit Window(WindowDesc desc);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Opens the window on the calling thread: it becomes the thread's current window and gets
  // the open-window event (203H) and the focus.
  void Open();
  // Closes it (no-op when closed); the thread's previous window becomes current again.
  void Close();
  bool IsOpen() const { return open_; }
  // Next event of this window; false once the window has closed. The previous event's default
  // action runs first unless a handler called Cycle().
  bool Accept();

  // Properties; field 0 is the window. Writes to a missing field do nothing; reads give "".
  void SetProp(int32_t field, int32_t prop, std::string_view value, int32_t index = 0);
  void SetPropInt(int32_t field, int32_t prop, int64_t value, int32_t index = 0);
  std::string GetProp(int32_t field, int32_t prop, int32_t index = 0) const;
  int32_t GetPropInt(int32_t field, int32_t prop, int32_t index = 0) const;

  void Create(int32_t field, int32_t type, int32_t parent = 0);
  void Destroy(int32_t first, int32_t last);  // last < first: only first
  void Hide(int32_t first, int32_t last = 0);
  void Unhide(int32_t first, int32_t last = 0);
  void Enable(int32_t first, int32_t last = 0);
  void Disable(int32_t first, int32_t last = 0);
  void Select(int32_t field);  // gives the field the focus (a tab: selects it)
  void Display(int32_t first = 0, int32_t last = 0);  // redisplay from the bound variables
  void SetPosition(int32_t field, int32_t x, int32_t y, int32_t w = kDefault,
                   int32_t h = kDefault);  // kDefault keeps that value
  void Bind(int32_t field, Binding use);
  void SetFrom(int32_t field, const ListSource* rows);
  int32_t FirstField() const;
  int32_t LastField() const;

  // Read access for backends, the painter and the test harness.
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  Control* Find(int32_t field) const;
  const std::string& caption() const { return caption_; }
  bool popup() const { return desc_.popup; }
  const Font& font() const { return font_; }
  int32_t x() const { return x_; }
  int32_t y() const { return y_; }
  int32_t width() const { return w_; }
  int32_t height() const { return h_; }
  int32_t color() const { return color_; }
  bool hidden() const { return hidden_; }
  int32_t focus() const { return focus_; }
  int32_t thread() const { return thread_; }
  uint64_t id() const { return id_; }
  // Controls of the window description have creation orders 0 .. declared_count() - 1.
  uint64_t declared_count() const { return desc_.controls.size(); }
  std::string status_text() const;
  int32_t status_zones() const { return status_zones_; }
  int32_t alert(int32_t slot) const;
  bool Alerted(int32_t keycode) const;  // the window's own alerted keys and slots
  // Whether a control is drawn: not hidden itself and its tab (if any) is the selected one.
  bool Visible(const Control& c) const;
  // Dialog units <-> pixels, from the window's font.
  double PxPerDuX() const;
  double PxPerDuY() const;
  // The displayed text of a control: its bound variable or its text property.
  std::string DisplayText(const Control& c) const;
  // A string's, prompt's or button's size from its text, in dialog units.
  int32_t AutoWidth(const Control& c) const;
  int32_t AutoHeight(const Control& c) const;
  // The wrapped lines of a text control at its present width (less kTextMarginPx each side).
  std::vector<std::string> TextLines(const Control& c) const;
  double LineWidthPx(const Control& c) const;  // where a text control's lines break
  // Whether a click or a key can reach the control (active kind, visible, enabled).
  bool Active(const Control& c) const;
  Font EffectiveFont(const Control& c) const;

  // Hooks used by the input layer and backends.
  void SetFocusField(int32_t field) { focus_ = field; }
  void SetGeometry(int32_t x, int32_t y, int32_t w, int32_t h);
  void Changed();                    // something visible changed: the backend repaints
  void* backend_data = nullptr;      // owned by the backend
  int64_t timer_due_ms = 0;          // steady-clock time of the next timer event, 0 = none
  int32_t mouse_x = 0, mouse_y = 0;  // last mouse position over the window, dialog units
  uint64_t generation = 0;           // bumped on every visible change

 private:
  friend class EventLoop;
  Control* Add(const ControlDesc& d, uint64_t order);
  void SetWindowProp(int32_t prop, std::string_view value, int32_t index);
  std::string GetWindowProp(int32_t prop, int32_t index) const;
  void SetControlProp(Control& c, int32_t prop, std::string_view value, int32_t index);
  std::string GetControlProp(const Control& c, int32_t prop, int32_t index) const;
  void RestartTimer();

  // The thread's current event while a window opened over this one (a modal dialog) runs its
  // own loop; restored when that window closes.
  struct SavedEvent {
    int32_t event = 0, field = 0, keycode = 0;
    uint64_t window_id = 0;
    bool cycled = false;
  } saved_;
  WindowDesc desc_;
  std::vector<std::unique_ptr<Control>> controls_;  // ordered by field number
  std::string caption_;
  Font font_;
  int32_t x_ = 0, y_ = 0, w_ = 0, h_ = 0;
  int32_t color_ = kColorNone;
  int32_t timer_ = 0;
  bool hidden_ = false;
  bool open_ = false;
  bool closing_ = false;
  int32_t focus_ = 0;
  int32_t thread_ = 0;
  int32_t status_zones_ = 0;
  std::map<int32_t, std::string> status_;
  std::map<int32_t, int32_t> alerts_;  // slot -> key code
  std::vector<int32_t> alert_keys_;    // keys alerted by the window description
  std::map<std::pair<int32_t, int32_t>, std::string> props_;
  uint64_t id_ = 0;
  uint64_t next_order_ = 0;
};

// The runtime's statements on the calling thread's current window (the one opened last and not
// yet closed); without a current window they do nothing and read blank.
Window* CurrentWindow();
void SetProp(int32_t field, int32_t prop, std::string_view value, int32_t index = 0);
void SetPropInt(int32_t field, int32_t prop, int64_t value, int32_t index = 0);
std::string GetProp(int32_t field, int32_t prop, int32_t index = 0);
int32_t GetPropInt(int32_t field, int32_t prop, int32_t index = 0);
void Create(int32_t field, int32_t type, int32_t parent = 0);
void Destroy(int32_t first, int32_t last = 0);
void Hide(int32_t first, int32_t last = 0);
void Unhide(int32_t first, int32_t last = 0);
void Enable(int32_t first, int32_t last = 0);
void Disable(int32_t first, int32_t last = 0);
void Select(int32_t field);
void Display(int32_t first = 0, int32_t last = 0);
void SetPosition(int32_t field, int32_t x, int32_t y, int32_t w = kDefault, int32_t h = kDefault);
int32_t FirstField();
int32_t LastField();

// The current event of the calling thread.
int32_t Event();
int32_t Field();
int32_t MouseX();  // dialog units, relative to the current window
int32_t MouseY();
// The last key or mouse button pressed anywhere in the process; SetKeyCode changes it.
int32_t KeyCode();
void SetKeyCode(int32_t keycode);
// Ends the current event early: no field handling follows and no default action runs.
void Cycle();
// Key aliases: pressing `from` acts as `to`; Alias(0, 0) clears them all.
void Alias(int32_t from, int32_t to);
int32_t Aliased(int32_t keycode);

// Every open window of the process, oldest first (for backends and the test harness).
std::vector<Window*> OpenWindows();

}  // namespace rt
#pragma GCC visibility pop
