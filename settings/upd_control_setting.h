// UpdControlSetting: the modal "Update Control Settings" dialog in which an author edits the
// settings of one control of a tip (tooltip, button call, string font, link target). Its members
// are the procedure's locals, its member functions its routines. One object per call, used only
// on the thread that runs the tip window.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/cstring.h"
#include "runtime/file.h"
#include "runtime/queue.h"
#include "runtime/window.h"
#include "tipstore/declarations.h"
#include "tipwindow/queues.h"

namespace vistip {

// Runs the dialog for `control` of a tip whose settings rows are `rows`; on "&Ok" writes its
// settings into `rows`. Returns when the dialog has closed.
void UpdControlSetting(const CtlRecord& control, rt::Queue<SetRecord>& rows);

namespace settings {

// Field numbers of the dialog's fixed part.
inline constexpr int32_t kLinkPrompt = 1;
inline constexpr int32_t kLinkCombo = 2;  // FLD4
inline constexpr int32_t kProcedureName = 3;
inline constexpr int32_t kProcedurePrompt = 4;
inline constexpr int32_t kOkButton = 5;
inline constexpr int32_t kCancelButton = 6;
inline constexpr int32_t kFirstPageField = 201;

// The ENTRYFIELD slots the property pages bind their entries and option group to.
enum EntrySlot : int32_t {
  kFirstEntry = 1,  // the tooltip, or a string's font
  kCallKind = 2,    // a button's call kind: one of the option texts
  kExeProgram = 3,
  kMessage = 4,
  kThread = 5,
  kHelpFile = 6,
  kHelpTopic = 7,
};

// Designed size of the dialog.
inline constexpr int32_t kDialogWidth = 248;
inline constexpr int32_t kDialogHeight = 124;
inline constexpr int32_t kButtonRowY = 95;

// A row of the "Link to Tip:" list (FLD4).
struct LinkRow {
  rt::String<50> CONTROLNAME;
  rt::String<50> PROCEDURENAME;
  rt::String<20> CONTROLTYPE;
};

// The rows of the "Link to Tip:" list as the combo reads them. Reading a cell leaves the
// queue's buffer and current entry as they were.
class LinkRows : public rt::ListSource {
 public:
  explicit LinkRows(rt::Queue<LinkRow>& rows) : rows_(rows) {}
  size_t Rows() const override;
  std::string Cell(size_t row, size_t column) const override;

 private:
  rt::Queue<LinkRow>& rows_;
};

// Columns of the "Link to Tip:" list: control name, procedure name, control type.
inline constexpr const char* kLinkListFormat =
    "86L|M~Control Name~@s50@94L|M~Procedure Name~@s50@80L|M~Control Type~@s20@";

// The window definition: 248 x 124 units, fields 1-6, the combo and entry bound to LIN.
rt::WindowDesc SettingsWindowDesc();

class UpdControlSetting {
 public:
  UpdControlSetting(const CtlRecord& control, rt::Queue<SetRecord>& rows);
  UpdControlSetting(const UpdControlSetting&) = delete;
  UpdControlSetting& operator=(const UpdControlSetting&) = delete;

  // The procedure: prepares, runs the event loop until the window closes, then closes down.
  void Run();

  // ---- the dialog (upd_control_setting.cpp, link_list.cpp, change_settings.cpp) ----
  void PrepareProcedure();
  void TakeEvent();
  void TakeComboEvent();
  void FillList();  // FLD4::FillList
  void InitializeWindow();
  void RefreshWindow();
  void ChangeSettingsRtn();
  void WriteSetting(const char* prop, std::string_view value);
  void ProcedureReturn();
  bool IsType(std::string_view type) const;  // the edited control's type, upper-cased

  // ---- the property pages (pages.cpp, button_page.cpp, string_page.cpp) ----
  void LoadControls();
  void ButtonControl();
  void StringControl();
  void HttpControl();
  void LnkControl();
  // The first row of a page at y 2: a prompt and an entry bound to slot 1; returns the entry.
  int32_t FirstRow(std::string_view prompt, std::string_view picture);
  void TooltipRow();
  // Creates the next page control (hidden) and returns its field; slot > 0 binds an entry or
  // option group to that ENTRYFIELD slot.
  int32_t CreateField(int32_t type, int32_t x, int32_t y, int32_t w, int32_t h,
                      std::string_view text, int32_t slot = 0, int32_t parent = 0);
  void LoadCall();
  void TakeCallKind();
  void TakeFontLookup();
  void UnstringFont();
  std::optional<SetRecord> ReadSetting(const char* prop);  // the edited control's row

  // ---- the procedure's locals ----
  const CtlRecord& CTL;                 // the control whose settings are edited
  rt::Queue<SetRecord>& SETTINGSQUEUE;  // the tip's settings rows
  rt::Window Window;
  std::unique_ptr<rt::String<60>[]> ENTRYFIELD;  // slots 1-10 at [1]..[10]; [0] unused
  int32_t CURRENTCONTROL = 0;
  struct {
    int32_t XPOS = 0;
    int32_t YPOS = 0;
    rt::String<40> TYPEFACE;
    int32_t SIZE = 0;
    int32_t COLOR = 0;
    int32_t STYLE = 0;
  } LOC;
  int32_t FONTLOOKUP = 0;
  int32_t CALLOPTION = 0;
  int32_t EXEFIELD = 0;
  int32_t MESSAGEFIELD = 0;
  int32_t THREADFIELD = 0;
  int32_t HELPFILEFIELD = 0;
  int32_t HELPTOPICFIELD = 0;
  struct {
    SavedRecord RECORD;
  } SAV;
  rt::Queue<LinkRow> FILEDROPCOMBO;  // QUEUE:FILEDROPCOMBO, its buffer FLD4::LIN
  LinkRows FILEDROPCOMBOROWS{FILEDROPCOMBO};
  int32_t LOOPINDEX = 0;  // FLD4::LOOPINDEX
  int32_t WINDOWINITIALIZED = 0;
  int32_t FILESOPENED = 0;
  int32_t WINDOWOPENED = 0;
};

}  // namespace settings
}  // namespace vistip
