/* The runtime's C interface: open a window from a description built by calls, run its event
 * loop, start threads, post events, show a message. It wraps the C++ API of <vtrt/window.h>,
 * <vtrt/thread.h> and <vtrt/dialogs.h> for programs written in C or reached from other languages.
 *
 * Conventions, for every function below:
 *  - Functions return VT_OK (0) or a negative error value, unless said otherwise; they never
 *    throw and never crash on a bad argument.
 *  - Handles (vt_desc, vt_window) are opaque. A null handle, one this library never returned, and
 *    one already freed all give VT_EHANDLE; a handle is never reused once freed.
 *  - The calling OS thread must be a runtime thread: one made so by vt_attach_thread, or one
 *    started by vt_start. Otherwise a call gives VT_ETHREAD.
 *  - A window is used only by the runtime thread that opened it; from any other thread a call on
 *    it gives VT_ETHREAD. A field number without a control gives VT_EFIELD (field 0 is the
 *    window itself).
 *  - Strings are NUL-terminated Windows-1252; a null string reads as "".
 */
#ifndef VTRT_C_H_
#define VTRT_C_H_

#include <stddef.h>
#include <stdint.h>

#include "runtime/export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vt_desc vt_desc;     /* a window description being built */
typedef struct vt_window vt_window; /* a window opened from a description */

enum {
  VT_OK = 0,
  VT_EHANDLE = -1, /* null, unknown or freed handle */
  VT_EFIELD = -2,  /* no control with that field number */
  VT_ETHREAD = -3, /* not a runtime thread, or not the thread that owns the window */
  VT_EARG = -4     /* an argument out of range (a control type, a buffer) */
};

/* Control types (vt_desc_add), events (vt_event) and a few properties (vt_set_prop). The
 * values are the runtime's own; <vtrt/codes.h> names them all. */
enum {
  VT_STRING = 0x02,
  VT_BOX = 0x06,
  VT_ENTRY = 0x08,
  VT_BUTTON = 0x09,
  VT_PROMPT = 0x0A,
  VT_CHECK = 0x0C,
  VT_LIST = 0x0E,
  VT_TEXT = 0x11,
  VT_SHEET = 0x20,
  VT_TAB = 0x21
};
enum {
  VT_EVENT_ACCEPTED = 0x01,
  VT_EVENT_ALERT_KEY = 0x0F,
  VT_EVENT_CLOSE_WINDOW = 0x201,
  VT_EVENT_OPEN_WINDOW = 0x203,
  VT_EVENT_TIMER = 0x20B
};
enum {
  VT_PROP_TEXT = 0x7C00,
  VT_PROP_HIDE = 0x7C65,
  VT_PROP_DISABLE = 0x7C66,
  VT_PROP_COLOR = 0x7CFA
};
enum { VT_BUTTON_OK = 1, VT_BUTTON_YES = 2, VT_BUTTON_NO = 4, VT_BUTTON_CANCEL = 64 };

/* Makes the calling OS thread a runtime thread (the first one of the process is number 1) and
 * returns its number; a thread that already is one just gets its number. vt_detach_thread ends
 * what vt_attach_thread began (VT_ETHREAD when it began nothing); close its windows first. */
VTRT_EXPORT int32_t vt_attach_thread(void);
VTRT_EXPORT int32_t vt_detach_thread(void);

/* A description with a caption and a position and size in dialog units (a negative x or y: the
 * runtime's default place). Returns null only when out of memory. Any thread may build one. */
VTRT_EXPORT vt_desc* vt_desc_new(const char* caption, int32_t x, int32_t y, int32_t w, int32_t h);
/* Adds a control: field number (1, 2, ...; unique), type (VT_ENTRY ...), place and size (w or h
 * 0: from its text), its text. VT_EARG for a field below 1 or already used. */
VTRT_EXPORT int32_t vt_desc_add(vt_desc* desc, int32_t field, int32_t type, int32_t x, int32_t y,
                                int32_t w, int32_t h, const char* text);
VTRT_EXPORT int32_t vt_desc_free(vt_desc* desc);

/* Opens a window from the description (which stays the caller's) on the calling thread. */
VTRT_EXPORT int32_t vt_window_open(const vt_desc* desc, vt_window** window);
/* Waits for the window's next event: 1 when there is one (read it with vt_event and the rest),
 * 0 once the window has closed, or an error. */
VTRT_EXPORT int32_t vt_window_accept(vt_window* window);
/* Closes the window (nothing when it is closed) and frees the handle. */
VTRT_EXPORT int32_t vt_window_free(vt_window* window);
/* Properties by number; field 0 is the window. vt_get_prop writes at most size bytes including
 * the terminating NUL and returns the text's full length (a longer text is cut). */
VTRT_EXPORT int32_t vt_set_prop(vt_window* window, int32_t field, int32_t prop, const char* value);
VTRT_EXPORT int32_t vt_get_prop(vt_window* window, int32_t field, int32_t prop, char* buffer,
                                size_t size);

/* The calling thread's current event (0 without one). The mouse position is in dialog units,
 * relative to the window; the key code is the last key or mouse button pressed. */
VTRT_EXPORT int32_t vt_event(void);
VTRT_EXPORT int32_t vt_field(void);
VTRT_EXPORT int32_t vt_keycode(void);
VTRT_EXPORT int32_t vt_mouse_x(void);
VTRT_EXPORT int32_t vt_mouse_y(void);

/* Runs proc(arg) on a new runtime thread and returns its number (> 0); it runs once the caller
 * waits. vt_post queues an event for the current window of a thread (0: the calling one). */
VTRT_EXPORT int32_t vt_start(void (*proc)(void* arg), void* arg);
VTRT_EXPORT int32_t vt_thread(void);
VTRT_EXPORT int32_t vt_post(int32_t event, int32_t field, int32_t thread);

/* A modal message box with "|" breaking lines; returns the pressed button (VT_BUTTON_...). */
VTRT_EXPORT int32_t vt_message(const char* text, const char* caption, int32_t buttons);

#ifdef __cplusplus
}
#endif

#endif /* VTRT_C_H_ */
