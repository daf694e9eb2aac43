/* The host interface of libvistip32.so: context-help tips for the controls of a host program's
 * runtime windows. These thirteen procedures are everything the library exports.
 *
 * Conventions, for every procedure below:
 *  - Strings are NUL-terminated, Windows-1252 encoded `const char*`. A null pointer where a
 *    string is required reads as a blank string; texts longer than the variable they go into
 *    are cut to its width.
 *  - A parameter documented as omittable is passed as a null pointer when omitted; a number is
 *    then passed as a pointer to it. Omitting a parameter differs from passing a blank or zero.
 *  - Call them from a runtime thread of libvtrt (the host's thread that owns its windows): they
 *    work on that thread's current window and start the tip window through the runtime.
 *  - No procedure reports an error; none throws.
 */
#ifndef VISTIP32_H_
#define VISTIP32_H_

#include <stdint.h>

#if defined(__GNUC__)
#define VISTIP32_EXPORT __attribute__((visibility("default")))
#else
#define VISTIP32_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Arms help on the current window: the right mouse button goes into alert slot 255 of every
 * field from the first to the last, except those named in `exclusions` ("3|5|12"). Flags value
 * 2 also arms fields -1 to -20. Both parameters are omittable. */
VISTIP32_EXPORT void vtSHOWHELP(const char* exclusions, const int32_t* flags);

/* Call after every event of the host's loop. On an alerted right-click it shows the popup menu
 * (`popup_text`, omittable: the text set by vtSetPopUp, "What's This" by default) and returns the
 * control's field number when item 1 was chosen (remembered for vtCALLHELPTIP), -n for item n,
 * and 0 when the menu was dismissed or the event was no help request. */
VISTIP32_EXPORT int32_t VTWATCH(const char* popup_text);

/* Shows the help tip for a procedure, control and control type from a tip file (blank:
 * "Vistip.Tps"), beside the control chosen through VTWATCH. The tip window runs on a thread of
 * its own and this returns at once; for the control type "IDE" it runs on the calling thread
 * and this returns when the window has closed. */
VISTIP32_EXPORT void vtCALLHELPTIP(const char* tip_file, const char* procedure_name,
                                   const char* control_name, const char* control_type);

/* Has no effect: the library holds nothing that needs releasing. */
VISTIP32_EXPORT void VTCLOSE(void);

/* Switches read by tip windows when they open (and, for some, while they run). */
VISTIP32_EXPORT void vtSetPopUp(const char* text);      /* first 100 characters */
VISTIP32_EXPORT void vtSetCaption(const char* caption); /* first 80 characters */
/* Edit permission, low-order byte of flag: 1 only with the "/EditTips" switch on the host's
 * command line, 2 never, any other value always. */
VISTIP32_EXPORT void vtSetEdit(int32_t flag);
VISTIP32_EXPORT void vtSetVariableWidth(uint8_t flag);
VISTIP32_EXPORT void vtSetColor(int32_t color);  /* 0BBGGRRH; 0: the tip colour */
VISTIP32_EXPORT void vtStayOpen(uint8_t flag);   /* non-zero: clicks and focus loss keep it open */
VISTIP32_EXPORT void vtSetToolbox(uint8_t flag); /* non-zero: tool-box window style */

/* Converts a tip file of the old record layout to the current one. `file_name` is omittable;
 * omitted or blank converts the tip file last named. */
VISTIP32_EXPORT void UpgradeTipFile(const char* file_name);

/* The development environment's entry: `request` is "file,topic" or "topic" (file
 * "Warden.Vth"), looked up in the "Template" folder below the INI entry Root of section
 * "Clarion 4". Runs the tip window on the calling thread; returns when it has closed. The first
 * parameter is not used. */
VISTIP32_EXPORT void vtIdeHelp(int32_t unused, const char* request);

#ifdef __cplusplus
}
#endif

#endif /* VISTIP32_H_ */
