// The C interface of runtime/c.h: handles as numbers kept in tables, checked on every call, so a
// bad handle, field or thread gives an error value instead of touching freed memory.
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "runtime/c.h"
#include "runtime/dialogs.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace {

// Handles are numbers that never repeat, handed out as opaque pointers and never dereferenced.
using HandleNumber = uintptr_t;

template <class T>
HandleNumber NumberOf(const T* handle) {
  return reinterpret_cast<HandleNumber>(handle);
}
template <class T>
T* HandleOf(HandleNumber number) {
  return reinterpret_cast<T*>(number);
}

// Descriptions may be built on any thread, so their table has a lock of its own.
struct Descriptions {
  std::mutex mutex;
  HandleNumber next = 1;
  std::map<HandleNumber, rt::WindowDesc> table;
};
Descriptions& Descs() {
  static Descriptions* const descs = new Descriptions;  // never destroyed: threads may outlive exit
  return *descs;
}

// Windows are used by runtime threads only, which hold the runtime lock while they run.
struct Windows {
  HandleNumber next = 1;
  std::map<HandleNumber, std::unique_ptr<rt::Window>> table;
};
Windows& Wins() {
  static Windows* const wins = new Windows;
  return *wins;
}

thread_local std::unique_ptr<rt::RuntimeThread> attached;

int32_t OrDefault(int32_t value, bool use_default) {
  return use_default ? rt::kDefault : value;
}

// The window of a handle for the calling thread, or the error that forbids using it.
int32_t Lookup(vt_window* handle, rt::Window*& out) {
  if (rt::Thread() == 0) return VT_ETHREAD;
  const auto it = Wins().table.find(NumberOf(handle));
  if (handle == nullptr || it == Wins().table.end()) return VT_EHANDLE;
  if (it->second->thread() != rt::Thread()) return VT_ETHREAD;
  out = it->second.get();
  return VT_OK;
}

int32_t LookupField(vt_window* handle, int32_t field, rt::Window*& out) {
  if (const int32_t status = Lookup(handle, out); status != VT_OK) return status;
  return field == 0 || out->Find(field) != nullptr ? VT_OK : VT_EFIELD;
}

std::string Text(const char* s) {
  return s == nullptr ? std::string() : std::string(s);
}

}  // namespace

extern "C" {

int32_t vt_attach_thread(void) {
  if (rt::Thread() == 0) attached = std::make_unique<rt::RuntimeThread>();
  return rt::Thread();
}

int32_t vt_detach_thread(void) {
  if (!attached) return VT_ETHREAD;
  attached.reset();
  return VT_OK;
}

vt_desc* vt_desc_new(const char* caption, int32_t x, int32_t y, int32_t w, int32_t h) {
  Descriptions& d = Descs();
  std::lock_guard lock(d.mutex);
  rt::WindowDesc desc;
  desc.caption = Text(caption);
  desc.x = OrDefault(x, x < 0);
  desc.y = OrDefault(y, y < 0);
  if (w > 0) desc.w = w;
  if (h > 0) desc.h = h;
  const HandleNumber number = d.next++;
  d.table.emplace(number, std::move(desc));
  return HandleOf<vt_desc>(number);
}

int32_t vt_desc_add(vt_desc* desc, int32_t field, int32_t type, int32_t x, int32_t y, int32_t w,
                    int32_t h, const char* text) {
  Descriptions& d = Descs();
  std::lock_guard lock(d.mutex);
  const auto it = d.table.find(NumberOf(desc));
  if (desc == nullptr || it == d.table.end()) return VT_EHANDLE;
  if (field < 1 || type <= 0) return VT_EARG;
  for (const rt::ControlDesc& c : it->second.controls)
    if (c.field == field) return VT_EARG;
  rt::ControlDesc c;
  c.field = field;
  c.type = type;
  c.x = x;
  c.y = y;
  c.w = OrDefault(w, w <= 0);
  c.h = OrDefault(h, h <= 0);
  c.text = Text(text);
  it->second.controls.push_back(std::move(c));
  return VT_OK;
}

int32_t vt_desc_free(vt_desc* desc) {
  Descriptions& d = Descs();
  std::lock_guard lock(d.mutex);
  return desc != nullptr && d.table.erase(NumberOf(desc)) == 1 ? VT_OK : VT_EHANDLE;
}

int32_t vt_window_open(const vt_desc* desc, vt_window** window) {
  if (window == nullptr) return VT_EARG;
  *window = nullptr;
  if (rt::Thread() == 0) return VT_ETHREAD;
  rt::WindowDesc copy;
  {
    Descriptions& d = Descs();
    std::lock_guard lock(d.mutex);
    const auto it = d.table.find(NumberOf(desc));
    if (desc == nullptr || it == d.table.end()) return VT_EHANDLE;
    copy = it->second;
  }
  auto w = std::make_unique<rt::Window>(std::move(copy));
  w->Open();
  const HandleNumber number = Wins().next++;
  Wins().table.emplace(number, std::move(w));
  *window = HandleOf<vt_window>(number);
  return VT_OK;
}

int32_t vt_window_accept(vt_window* window) {
  rt::Window* w = nullptr;
  if (const int32_t status = Lookup(window, w); status != VT_OK) return status;
  return w->Accept() ? 1 : 0;
}

int32_t vt_window_free(vt_window* window) {
  rt::Window* w = nullptr;
  if (const int32_t status = Lookup(window, w); status != VT_OK) return status;
  std::unique_ptr<rt::Window> owned = std::move(Wins().table.at(NumberOf(window)));
  Wins().table.erase(NumberOf(window));
  owned->Close();
  return VT_OK;
}

int32_t vt_set_prop(vt_window* window, int32_t field, int32_t prop, const char* value) {
  rt::Window* w = nullptr;
  if (const int32_t status = LookupField(window, field, w); status != VT_OK) return status;
  w->SetProp(field, prop, Text(value));
  return VT_OK;
}

int32_t vt_get_prop(vt_window* window, int32_t field, int32_t prop, char* buffer, size_t size) {
  rt::Window* w = nullptr;
  if (const int32_t status = LookupField(window, field, w); status != VT_OK) return status;
  if (buffer == nullptr && size > 0) return VT_EARG;
  const std::string value = w->GetProp(field, prop);
  if (size > 0) {
    const size_t n = value.size() < size ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int32_t>(value.size());
}

int32_t vt_event(void) {
  return rt::Thread() == 0 ? 0 : rt::Event();
}
int32_t vt_field(void) {
  return rt::Thread() == 0 ? 0 : rt::Field();
}
int32_t vt_keycode(void) {
  return rt::Thread() == 0 ? 0 : rt::KeyCode();
}
int32_t vt_mouse_x(void) {
  return rt::Thread() == 0 ? 0 : rt::MouseX();
}
int32_t vt_mouse_y(void) {
  return rt::Thread() == 0 ? 0 : rt::MouseY();
}

int32_t vt_start(void (*proc)(void* arg), void* arg) {
  if (proc == nullptr) return VT_EARG;
  if (rt::Thread() == 0) return VT_ETHREAD;
  return rt::Start([proc, arg] { proc(arg); });
}

int32_t vt_thread(void) {
  return rt::Thread();
}

int32_t vt_post(int32_t event, int32_t field, int32_t thread) {
  if (rt::Thread() == 0) return VT_ETHREAD;
  return rt::Post(event, field, thread) ? VT_OK : VT_EARG;
}

int32_t vt_message(const char* text, const char* caption, int32_t buttons) {
  if (rt::Thread() == 0) return VT_ETHREAD;
  return rt::Message(Text(text), Text(caption), rt::kIconNone, buttons);
}

}  // extern "C"
