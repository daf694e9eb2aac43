// Numbers of the runtime's events, key codes, control types and properties.
// The values the system's windows use are the runtime's own; the rest are ours.
#pragma once

#include <cstdint>

namespace rt {

// Events.
inline constexpr int32_t kEventAccepted = 0x01;
inline constexpr int32_t kEventNewSelection = 0x02;
inline constexpr int32_t kEventAlertKey = 0x0F;
inline constexpr int32_t kEventPreAlertKey = 0x10;
inline constexpr int32_t kEventTabChanging = 0x15;
inline constexpr int32_t kEventRejected = 0x1A;
inline constexpr int32_t kEventSelected = 0x101;
inline constexpr int32_t kEventCloseWindow = 0x201;
inline constexpr int32_t kEventOpenWindow = 0x203;
inline constexpr int32_t kEventLoseFocus = 0x205;
inline constexpr int32_t kEventGainFocus = 0x206;
inline constexpr int32_t kEventTimer = 0x20B;
inline constexpr int32_t kEventSized = 0x231;

// Key codes: mouse buttons, then virtual keys with modifier bits added.
inline constexpr int32_t kMouseLeft = 1;
inline constexpr int32_t kMouseRight = 2;
inline constexpr int32_t kMouseCenter = 3;
inline constexpr int32_t kBackspaceKey = 0x08;
inline constexpr int32_t kTabKey = 0x09;
inline constexpr int32_t kEnterKey = 0x0D;
inline constexpr int32_t kEscKey = 0x1B;
inline constexpr int32_t kSpaceKey = 0x20;
inline constexpr int32_t kPgUpKey = 0x21;
inline constexpr int32_t kPgDnKey = 0x22;
inline constexpr int32_t kEndKey = 0x23;
inline constexpr int32_t kHomeKey = 0x24;
inline constexpr int32_t kLeftKey = 0x25;
inline constexpr int32_t kUpKey = 0x26;
inline constexpr int32_t kRightKey = 0x27;
inline constexpr int32_t kDownKey = 0x28;
inline constexpr int32_t kInsertKey = 0x2D;
inline constexpr int32_t kDeleteKey = 0x2E;
inline constexpr int32_t kF1Key = 0x70;
inline constexpr int32_t kF2Key = 0x71;
inline constexpr int32_t kF3Key = 0x72;
inline constexpr int32_t kShift = 0x100;
inline constexpr int32_t kCtrl = 0x200;
inline constexpr int32_t kAlt = 0x400;
inline constexpr int32_t AltKey(char letter) { return kAlt + letter; }  // AltKey('E') == 445H
inline constexpr int32_t CtrlKey(char letter) { return kCtrl + letter; }

// Control types, as CREATE takes them.
inline constexpr int32_t kCreateString = 0x02;
inline constexpr int32_t kCreateImage = 0x03;
inline constexpr int32_t kCreateRegion = 0x04;
inline constexpr int32_t kCreateLine = 0x05;
inline constexpr int32_t kCreateBox = 0x06;
inline constexpr int32_t kCreateEntry = 0x08;
inline constexpr int32_t kCreateButton = 0x09;
inline constexpr int32_t kCreatePrompt = 0x0A;
inline constexpr int32_t kCreateOption = 0x0B;
inline constexpr int32_t kCreateCheck = 0x0C;
inline constexpr int32_t kCreateList = 0x0E;
inline constexpr int32_t kCreateText = 0x11;
inline constexpr int32_t kCreateRadio = 0x15;
inline constexpr int32_t kCreateSheet = 0x20;
inline constexpr int32_t kCreateTab = 0x21;
inline constexpr int32_t kCreateProgress = 0x22;
inline constexpr int32_t kCreateDropCombo = 0x23;
inline constexpr int32_t kCreatePanel = 0x27;

// Properties, read and written by number on a field or on the window (field 0).
inline constexpr int32_t kPropUse = 0x7A10;         // bind to a variable (see Window::Bind)
inline constexpr int32_t kPropText = 0x7C00;
inline constexpr int32_t kPropX = 0x7C02;
inline constexpr int32_t kPropY = 0x7C03;
inline constexpr int32_t kPropWidth = 0x7C04;
inline constexpr int32_t kPropHeight = 0x7C05;
inline constexpr int32_t kPropFontName = 0x7C10;
inline constexpr int32_t kPropFontSize = 0x7C11;
inline constexpr int32_t kPropFontColor = 0x7C12;
inline constexpr int32_t kPropFontStyle = 0x7C13;
inline constexpr int32_t kPropProgress = 0x7C14;    // progress bar value
inline constexpr int32_t kPropRangeHigh = 0x7C15;   // progress bar upper bound
inline constexpr int32_t kPropResize = 0x7C1A;      // window can be resized by the user
inline constexpr int32_t kPropBoxed = 0x7C59;       // option group drawn with a frame
inline constexpr int32_t kPropCursor = 0x7C5D;
inline constexpr int32_t kPropUpper = 0x7C5F;       // entry forces upper case when 1
inline constexpr int32_t kPropFill = 0x7C61;        // box fill colour
inline constexpr int32_t kPropHide = 0x7C65;
inline constexpr int32_t kPropDisable = 0x7C66;
inline constexpr int32_t kPropIcon = 0x7C68;
inline constexpr int32_t kPropFormat = 0x7C70;      // list column format
inline constexpr int32_t kPropTransparent = 0x7C7F; // drawn without a background of its own
inline constexpr int32_t kPropSystemMenu = 0x7C84;  // window shows its caption bar
inline constexpr int32_t kPropTimer = 0x7C86;       // hundredths of a second, 0 = off
inline constexpr int32_t kPropFlat = 0x7C88;        // no 3-D border
inline constexpr int32_t kPropThinFrame = 0x7C8B;   // window drawn with a thin frame
inline constexpr int32_t kPropSelStart = 0x7C8F;    // entry caret/selection start; list selected row
inline constexpr int32_t kPropSelEnd = 0x7C90;
inline constexpr int32_t kPropToolbox = 0x7C92;     // tool-box window style
inline constexpr int32_t kPropHandle = 0x7C96;      // 0 when the field has no control
inline constexpr int32_t kPropAcceptAll = 0x7C9A;
inline constexpr int32_t kPropVScrollPos = 0x7C9E;
inline constexpr int32_t kPropToolTip = 0x7CA0;
inline constexpr int32_t kPropLineCount = 0x7CAC;   // lines of a text control at its width
inline constexpr int32_t kPropMinWidth = 0x7CAD;
inline constexpr int32_t kPropMinHeight = 0x7CAE;
inline constexpr int32_t kPropMaxWidth = 0x7CAF;
inline constexpr int32_t kPropMaxHeight = 0x7CB0;
inline constexpr int32_t kPropFilter = 0x7CB8;      // view filter
inline constexpr int32_t kPropMaximizeBox = 0x7CBC;
inline constexpr int32_t kPropColor = 0x7CFA;       // background colour
inline constexpr int32_t kPropStatusZones = 0x7D00; // status bar: 0 none, -1 one zone
inline constexpr int32_t kPropStatusText = 0x7D01;
inline constexpr int32_t kPropAlert = 0x7D06;       // alerted key, indexed by slot
inline constexpr int32_t kPropLine = 0x7D08;        // a text control's wrapped line, by number
inline constexpr int32_t kPropSelected = 0x7D10;    // selected tab of a sheet (field number)

// Colours are 0BBGGRRH; kColorNone means "the default colour".
inline constexpr int32_t kColorNone = -1;

// Font styles: weight 100..900 plus flags.
inline constexpr int32_t kFontItalic = 0x1000;
inline constexpr int32_t kFontUnderline = 0x2000;
inline constexpr int32_t kFontStrikeout = 0x4000;
inline constexpr int32_t kFontWeightMask = 0x0FFF;

// Position arguments meaning "at the mouse pointer" (POPUP).
inline constexpr int32_t kAtMouse = static_cast<int32_t>(0x80000000u);

// Message box icons and buttons.
inline constexpr int32_t kIconNone = 0;
inline constexpr int32_t kIconAsterisk = 1;     // information
inline constexpr int32_t kIconExclamation = 2;
inline constexpr int32_t kIconHand = 3;
inline constexpr int32_t kIconQuestion = 4;
inline constexpr int32_t kButtonOk = 1;
inline constexpr int32_t kButtonYes = 2;
inline constexpr int32_t kButtonNo = 4;
inline constexpr int32_t kButtonAbort = 8;
inline constexpr int32_t kButtonRetry = 16;
inline constexpr int32_t kButtonIgnore = 32;
inline constexpr int32_t kButtonCancel = 64;
inline constexpr int32_t kButtonHelp = 128;

}  // namespace rt
