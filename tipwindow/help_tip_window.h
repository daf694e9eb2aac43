// HelpTipWindow: the window procedure that shows one help tip beside the control that asked for
// it and, when permitted, edits it. Its members are the procedure's locals, its member functions
// its routines; the tip window's routines live in tipwindow/, those of editing and formatting
// mode in editing/. One object per tip window, used only on the thread that runs it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "runtime/codes.h"
#include "runtime/cstring.h"
#include "runtime/queue.h"
#include "runtime/window.h"
#include "tipstore/declarations.h"
#include "tipwindow/markup.h"
#include "tipwindow/tip_request.h"

namespace vistip {

// Runs one tip window for `request` on the calling thread; returns when it has closed.
// vtCALLHELPTIP starts it on a thread of its own.
void HelpTipWindow(const TipRequest& request);

namespace tipwindow {

// Field numbers of the tip window.
inline constexpr int32_t kBox1 = 1;
inline constexpr int32_t kBack2 = 2;
inline constexpr int32_t kForward2 = 3;
inline constexpr int32_t kBack = 4;
inline constexpr int32_t kForward = 5;
inline constexpr int32_t kSheet1 = 6;
inline constexpr int32_t kTab1 = 7;
inline constexpr int32_t kTab2 = 8;
inline constexpr int32_t kHelpTip = 9;
inline constexpr int32_t kProcedureNamePrompt = 10;
inline constexpr int32_t kProcedureName = 11;
inline constexpr int32_t kControlNamePrompt = 12;
inline constexpr int32_t kControlName = 13;
inline constexpr int32_t kControlTypePrompt = 14;
inline constexpr int32_t kControlType = 15;
inline constexpr int32_t kButton1 = 16;       // Ok
inline constexpr int32_t kButton2 = 17;       // Cancel
inline constexpr int32_t kOverlay = 200;      // formatting mode's mouse catcher
inline constexpr int32_t kCloseRegion = 201;  // also the highlight box while formatting

// Numbers the tip window uses.
inline constexpr int32_t kTipColor = 0xECFFFE;
inline constexpr int32_t kEventTipAdded = 0x192;  // posted to REQUEST.PARENTTHREAD
inline constexpr int32_t kFirstTimer = 10;        // hundredths: the build waits one tick
inline constexpr int32_t kShownTimer = 800;
inline constexpr int32_t kMaxWindowHeight = 235;

// The window's alert slots and the keys they hold. Formatting mode empties kAltCSlot while on.
enum AlertSlot : int32_t {
  kF2Slot = 1,
  kF3Slot = 2,
  kAltESlot = 3,
  kAltCSlot = 4,
  kAltHSlot = 5,
  kAltJSlot = 6,
};
inline constexpr int32_t kAlertedKeys[] = {rt::kF2Key,      rt::kF3Key,      rt::AltKey('E'),
                                           rt::AltKey('C'), rt::AltKey('H'), rt::AltKey('J')};
static_assert(kAlertedKeys[kAltCSlot - 1] == rt::AltKey('C'));

// LOCALREQUEST: what Ok does with the shown record.
inline constexpr int32_t kInsertRecord = 1;
inline constexpr int32_t kChangeRecord = 2;
inline constexpr int32_t kDeleteRecord = 3;

// An entry of HISTORYQUEUE: a tip shown in this window.
struct HisRecord {
  rt::String<80> PROCEDURENAME;
  rt::String<80> CONTROLNAME;
  rt::String<80> CONTROLTYPE;
};

// Where a link without a target leads: the control named like the link's text, cut to a control
// name's length, without its blanks.
rt::String<50> LinkTargetControl(std::string_view link_text);

// The window definition: 169 x 165 units, fields 1-17, the tip colour, a 10-hundredths timer.
// The edit tab's text and key entries are bound to `edited`.
rt::WindowDesc TipWindowDesc(TipBuffer& edited);

class HelpTipWindow {
 public:
  explicit HelpTipWindow(const TipRequest& request);
  HelpTipWindow(const HelpTipWindow&) = delete;
  HelpTipWindow& operator=(const HelpTipWindow&) = delete;

  // The procedure: prepares, runs the event loop until the window closes, then closes down.
  void Run();

  // ---- lifecycle (lifecycle.cpp, events.cpp) ----
  void PrepareProcedure();
  void TakeEvent();        // one event of the loop
  bool TakeWindowEvent();  // by kind; true when the event is consumed
  void TakeFieldEvent();   // by field
  void TakeAlertKey();     // 0FH: Alt+E, Alt+C, Alt+H
  void TakeOpenWindow();   // 203H
  bool EditPermitted() const;
  void HelpKeyRtn();  // Alt+H and F1
  void ProcedureReturn();
  void ClearCurrentTip();

  // ---- lookup and history (lookup.cpp, history.cpp) ----
  void LoadTipFromFile();
  bool FetchTip(size_t key);
  bool FindRecordRead();
  bool FetchRecordRead();
  void KeepRecordCopies();
  void HistoryBack();
  void HistoryForward();
  void RememberShownTip();  // the tip on show joins the history unless it is HIS already
  void TakeHistoryEntry(int32_t position);
  void ReloadTip();

  // ---- compiler (compiler.cpp, settings_sync.cpp) ----
  void LoadTipTabRtn();
  void LoadCtlQueueRtn();
  void ReportUnclosedTag(int32_t line);
  void LoadSettingsQueueRtn();
  void SyncSettingsRtn();
  void FindMatchingControl(bool control_present);
  void ChangeSettingsRtn();
  void WriteBackSettings();
  void MoveTextToSettings();
  bool ShownTipIsStored() const;

  // ---- layout (layout.cpp, create.cpp) ----
  void CreateControlsRtn();
  // The link text a region is laid over: its name and size.
  struct LinkArea {
    rt::String<60> CONTROLNAME;
    int32_t WIDTH = 0;
    int32_t HEIGHT = 0;
  };
  void CreateRow(const CtlRecord& row, LinkArea& link);
  void SizeWindowToContent();
  void ShowHistoryArrows();
  void CreateString(const CtlRecord& row);
  void CreateLineRtn();
  void CreateBulletRtn();
  void CreateButtonRtn(const CtlRecord& row);
  LinkArea CreateHttpRtn(const CtlRecord& row);
  void CreateRegionRtn(const LinkArea& link);
  void CreateCloseRegion();
  void PositionWindow();
  void ResizeWindowRtn();
  void RefreshWindow();
  void InitializeWindow();
  int32_t MeasureContentWidth() const;
  std::optional<SetRecord> FindSetting(std::string_view control, std::string_view prop);
  void ToolTipFrom(std::string_view control);

  // ---- actions (actions.cpp, button_call.cpp) ----
  void ProcessControlsRtn();
  void OpenWebAddress(const CtlRecord& link);
  void FollowLink(const CtlRecord& link);
  void TrimHistory();
  void ButtonCall(const CtlRecord& button);
  void MessageCall(std::string_view data);
  void HelpFileCall(std::string_view data);

  // ---- editing and formatting mode (editing/) ----
  void EnterEditing();
  void SaveEditedTip();
  void CancelEditing();
  void SyncWindow();
  bool WriteDone(int32_t code);
  bool AddEditedTip();
  bool ChangeEditedTip();
  bool DeleteEditedTip();
  bool ShowsTypeTipUnderOtherNames() const;
  void BackToTab1Rtn();
  void EnterFormatting();
  void FormattingTimer();
  void SelectControl();
  void HighlightControl(const CtlRecord& control);
  void ControlEdit();
  void SaveFormatting();  // "Save and Exit"
  void CloseFormatting();
  void AlertControls();
  void UnalertControls();

  // ---- the procedure's locals ----
  // The tip as the edit tab holds it: its text and key entries are bound here, not to the
  // process-wide record buffer, which another tip window may read into while this one edits.
  // Declared before Window, whose controls are bound to it. The compiler's line breaker is the
  // edit tab's text control, so the text to compile is put here too.
  TipBuffer EDITED;
  rt::Window Window;
  // The request this window was started for; following links and the history change its names.
  TipRequest REQUEST;
  // The compiled tip of this window.
  rt::Queue<CtlRecord> CONTROLQUEUE;
  rt::Queue<SetRecord> SETTINGSQUEUE;
  CtlRecord& CTL = CONTROLQUEUE.buf;
  SetRecord& SET = SETTINGSQUEUE.buf;
  // Formatting mode's selected control; its CONTROLNUMBER is 0 while none is.
  CtlRecord SELECTION;
  int32_t LOCALREQUEST = 0;
  int32_t FILESOPENED = 0;
  int32_t WINDOWOPENED = 0;
  int32_t WINDOWINITIALIZED = 0;
  uint8_t HELPISLOADED = 0;
  int32_t READERROR = 0;  // the error of a failed read of the tip (not its absence), else 0
  uint8_t EDITMODE = 0;
  uint8_t CONTROLFORMATTING = 0;
  uint8_t VISTIPCALL = 0;
  int32_t CURRENTCONTROL = 0;
  rt::Queue<HisRecord> HISTORYQUEUE;
  HisRecord& HIS = HISTORYQUEUE.buf;
  int32_t CURRENTHISTORYENTRY = 0;
  struct {
    SavedRecord RECORD;
    rt::String<10000> MEMO1;
    rt::String<10000> MEMO2;
    rt::String<1000> MEMO3;
  } SAV;
  rt::String<10000> SETTINGS1;  // VTH:SETTINGS1, the working copy of the settings memo
  int32_t CURRENTLINE = 0;
  struct {
    int32_t XPOS = 0;
    int32_t YPOS = 0;
    rt::String<80> HELPFILE;
    rt::String<80> HELPTOPIC;
    int32_t MSG = 0;
    int32_t THREADNO = 0;
  } LOC;
  // This window's record buffer between its events: another tip window of the process reads
  // into the same buffer, so each event starts from this copy (TakeEvent).
  TipBuffer SHOWNTIP;
  // Editing (editing/): the record buffer as the edit tab found it, put back by Cancel.
  TipBuffer UNEDITED;
  // Formatting mode (editing/).
  uint8_t HIGHLIGHTCREATED = 0;
  uint8_t WINDOWSCROLL = 0;
  rt::String<60> VTSTATUSTEXT[4];
  uint8_t STATUSSUB = 0;
  rt::String<60> VTPOPUPTEXT;
};

}  // namespace tipwindow
}  // namespace vistip
