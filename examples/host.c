/* A minimal host program in C: the same form as host.cpp, through the runtime's C interface.
 * A right-click on a control offers "What's This"; choosing it shows that control's tip.
 * Usage: example_host_c [TIPFILE]   (default example-tips.tps, built from tips.vtx) */
#include <stdio.h>
#include <vistip32.h>
#include <vtrt/c.h>

enum { NAME_PROMPT = 1, NAME, GREET, CLOSE };

/* The tip's control name and type for each field; the prompt shares its entry's tip. */
static const char* tip_control(int32_t field) {
  return field == GREET ? "Greet" : field == CLOSE ? "Close" : "Name";
}
static const char* tip_type(int32_t field) {
  return field >= GREET ? "BUTTON" : "ENTRY";
}

int main(int argc, char** argv) {
  const char* tip_file = argc > 1 ? argv[1] : "example-tips.tps";
  vt_desc* desc;
  vt_window* window = NULL;
  char name[64];

  vt_attach_thread(); /* this thread becomes runtime thread 1 and owns the window */
  desc = vt_desc_new("Example Host (C)", -1, -1, 200, 60);
  vt_desc_add(desc, NAME_PROMPT, VT_PROMPT, 8, 10, 0, 0, "&Name:");
  vt_desc_add(desc, NAME, VT_ENTRY, 40, 9, 150, 12, "");
  vt_desc_add(desc, GREET, VT_BUTTON, 96, 36, 44, 14, "&Greet");
  vt_desc_add(desc, CLOSE, VT_BUTTON, 146, 36, 44, 14, "&Close");
  if (vt_window_open(desc, &window) != VT_OK) {
    fprintf(stderr, "the window could not be opened\n");
    return 1;
  }
  vt_desc_free(desc);

  vtSHOWHELP(NULL, NULL); /* right-click on every field asks for help */
  while (vt_window_accept(window) == 1) {
    const int32_t asked = VTWATCH(NULL);
    if (asked > 0) {
      vtCALLHELPTIP(tip_file, "Example", tip_control(asked), tip_type(asked));
      continue;
    }
    if (vt_event() != VT_EVENT_ACCEPTED) continue;
    if (vt_field() == GREET && vt_get_prop(window, NAME, VT_PROP_TEXT, name, sizeof name) >= 0)
      vt_message(name, "Example", VT_BUTTON_OK);
    if (vt_field() == CLOSE) break;
  }
  vt_window_free(window);
  vt_detach_thread();
  return 0;
}
