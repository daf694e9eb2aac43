// FONTDIALOG: the runtime's font dialog, a dialog window on the calling thread with typeface and
// size lists, style check boxes, a colour palette and a preview of the chosen font.
#include <algorithm>
#include <array>
#include <cstring>

#include "runtime/dialogs.h"
#include "runtime/dialogs/dialog_common.h"
#include "runtime/dialogs/font_families.h"
#include "runtime/strings.h"
#include "runtime/window.h"

namespace rt {
namespace {

struct NamedColor {
  const char* name;
  int32_t value;  // 0BBGGRRH
};

// The sixteen classic colours, in palette order.
constexpr std::array<NamedColor, 16> kPalette = {{
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
}};

constexpr std::array<const char*, 18> kSizes = {"6",  "7",  "8",  "9",  "10", "11",
                                                "12", "14", "16", "18", "20", "22",
                                                "24", "26", "28", "36", "48", "72"};

enum FieldNumber : int32_t {
  kFacePrompt = 1,
  kFaceEntry,
  kFaceList,
  kStylePrompt,
  kBoldCheck,
  kItalicCheck,
  kUnderlineCheck,
  kStrikeoutCheck,
  kSizePrompt,
  kSizeEntry,
  kSizeList,
  kColorPrompt,
  kColorValuePrompt,
  kColorEntry,
  kSampleGroup,
  kSample,
  kOkButton,
  kCancelButton,
  kSwatchFrame,
  kFirstSwatch = 30,                       // boxes 30..45
  kFirstSwatchRegion = kFirstSwatch + 16,  // the regions over them, 46..61
};

constexpr int32_t kWidth = 268, kHeight = 152;
constexpr int32_t kSwatchX = 7, kSwatchY = 113, kSwatchSize = 9, kSwatchStep = 11;
// The preview's area, inside the "Sample" group.
constexpr int32_t kSampleX = 127, kSampleY = 109, kSampleW = 132, kSampleH = 34;
constexpr int32_t kPreviewTimer = 25;  // hundredths: the preview follows typing

class FontDialogWindow {
 public:
  FontDialogWindow(std::string_view title, const std::string& typeface, int32_t size, int32_t color,
                   int32_t style)
      : title_(title),
        families_(dialogs::FontFamilies()),
        sizes_(std::vector<std::string>(kSizes.begin(), kSizes.end())),
        style_(style) {
    Put(face_, Clip(typeface));
    Put(size_, size > 0 ? std::to_string(size) : std::string());
    Put(color_, std::to_string(color));
    bold_ = Weight(style) >= 700;
    italic_ = (style & kFontItalic) != 0;
    underline_ = (style & kFontUnderline) != 0;
    strikeout_ = (style & kFontStrikeout) != 0;
  }

  // True when the user confirmed; the chosen values are then in the out-parameters.
  bool Run(std::string& typeface, int32_t& size, int32_t& color, int32_t& style) {
    Window w(Describe());
    w.Open();
    w.SetFrom(kFaceList, &families_);
    w.SetFrom(kSizeList, &sizes_);
    w.Select(kFaceEntry);
    Refresh(w);
    while (w.Accept()) {
      switch (Event()) {
        case kEventAccepted:
          if (Field() == kOkButton) return Confirm(typeface, size, color, style);
          if (Field() == kCancelButton) return false;
          if (Field() >= kFirstSwatchRegion && Field() < kFirstSwatchRegion + 16)
            Put(color_, std::to_string(kPalette[Field() - kFirstSwatchRegion].value));
          break;
        case kEventAlertKey:
          if (KeyCode() == kEscKey || w.focus() == kCancelButton) return false;
          return Confirm(typeface, size, color, style);  // Enter presses the default button
        case kEventCloseWindow:
          return false;
      }
      Refresh(w);
    }
    return false;
  }

 private:
  static int32_t Weight(int32_t style) { return style & kFontWeightMask; }

  template <size_t N>
  static void Put(char (&buffer)[N], const std::string& value) {
    Binding{buffer, N}.Set(value);
  }
  template <size_t N>
  static std::string Get(const char (&buffer)[N]) {
    return Clip(std::string_view(buffer, N));
  }
  template <size_t N>
  static Binding Bound(char (&buffer)[N]) {
    return Binding{buffer, N};
  }

  WindowDesc Describe() {
    WindowDesc d = dialogs::DialogDesc(title_.empty() ? "Font" : title_);  // never a bare bar
    d.w = kWidth;
    d.h = kHeight;
    d.timer = kPreviewTimer;
    d.alerts = {kEscKey, kEnterKey};
    auto add = [&d](ControlDesc c) { d.controls.push_back(std::move(c)); };
    add({.field = kFacePrompt, .type = kCreatePrompt, .x = 7, .y = 6, .text = "&Font:"});
    add({.field = kFaceEntry,
         .type = kCreateEntry,
         .x = 7,
         .y = 15,
         .w = 104,
         .h = 10,
         .use = Bound(face_)});
    add({.field = kFaceList,
         .type = kCreateList,
         .x = 7,
         .y = 27,
         .w = 104,
         .h = 72,
         .use = Bound(face_)});
    add({.field = kStylePrompt, .type = kCreatePrompt, .x = 118, .y = 6, .text = "Style:"});
    const std::array<std::pair<FieldNumber, const char*>, 4> checks = {
        {{kBoldCheck, "&Bold"},
         {kItalicCheck, "&Italic"},
         {kUnderlineCheck, "&Underline"},
         {kStrikeoutCheck, "Stri&keout"}}};
    int32_t* const flags[] = {&bold_, &italic_, &underline_, &strikeout_};
    for (size_t i = 0; i < checks.size(); ++i)
      add({.field = checks[i].first,
           .type = kCreateCheck,
           .x = 118,
           .y = 16 + 12 * static_cast<int32_t>(i),
           .w = 52,
           .h = 10,
           .text = checks[i].second,
           .use = Binding{.number = flags[i]}});
    add({.field = kSizePrompt, .type = kCreatePrompt, .x = 174, .y = 6, .text = "&Size:"});
    add({.field = kSizeEntry,
         .type = kCreateEntry,
         .x = 174,
         .y = 15,
         .w = 30,
         .h = 10,
         .use = Bound(size_)});
    add({.field = kSizeList,
         .type = kCreateList,
         .x = 174,
         .y = 27,
         .w = 30,
         .h = 72,
         .use = Bound(size_)});
    add({.field = kColorPrompt, .type = kCreatePrompt, .x = 7, .y = 104, .text = "&Color:"});
    add({.field = kColorValuePrompt, .type = kCreatePrompt, .x = 7, .y = 138, .text = "&Value:"});
    add({.field = kColorEntry,
         .type = kCreateEntry,
         .x = 36,
         .y = 137,
         .w = 50,
         .h = 10,
         .use = Bound(color_)});
    add({.field = kSampleGroup,
         .type = kCreateOption,
         .x = kSampleX - 2,
         .y = kSampleY - 9,
         .w = kSampleW + 4,
         .h = kSampleH + 12,
         .text = "Sample",
         .props = {{kPropBoxed, "1"}}});
    add({.field = kSample,
         .type = kCreateString,
         .x = kSampleX + 2,
         .y = kSampleY + 2,
         .text = "AaBbYyZz"});
    add({.field = kOkButton,
         .type = kCreateButton,
         .x = 214,
         .y = 6,
         .w = 47,
         .h = 14,
         .text = "&OK"});
    add({.field = kCancelButton,
         .type = kCreateButton,
         .x = 214,
         .y = 24,
         .w = 47,
         .h = 14,
         .text = "&Cancel"});
    add({.field = kSwatchFrame,
         .type = kCreateBox,
         .w = kSwatchSize + 4,
         .h = kSwatchSize + 4,
         .props = {{kPropColor, "0"}}});
    for (int32_t i = 0; i < 16; ++i) {
      const int32_t x = kSwatchX + (i % 8) * kSwatchStep, y = kSwatchY + (i / 8) * kSwatchStep;
      const std::string value = std::to_string(kPalette[i].value);
      add({.field = kFirstSwatch + i,
           .type = kCreateBox,
           .x = x,
           .y = y,
           .w = kSwatchSize,
           .h = kSwatchSize,
           .props = {{kPropFill, value}, {kPropColor, "8421504"}}});
      add({.field = kFirstSwatchRegion + i,
           .type = kCreateRegion,
           .x = x,
           .y = y,
           .w = kSwatchSize,
           .h = kSwatchSize,
           .props = {{kPropToolTip, kPalette[i].name}}});
    }
    return d;
  }

  // The style the dialog shows: the given weight kept unless Bold was switched.
  int32_t ChosenStyle() const {
    int32_t weight = Weight(style_);
    if (bold_ && weight < 700) weight = 700;
    if (!bold_ && weight >= 700) weight = 400;
    return weight | (italic_ ? kFontItalic : 0) | (underline_ ? kFontUnderline : 0) |
           (strikeout_ ? kFontStrikeout : 0);
  }

  bool Confirm(std::string& typeface, int32_t& size, int32_t& color, int32_t& style) const {
    typeface = Get(face_);
    size = std::max(ToLong(Get(size_)), 0);
    color = ToLong(Get(color_));
    style = ChosenStyle();
    return true;
  }

  // Brings the lists' selections, the palette frame and the preview in line with the values.
  void Refresh(Window& w) {
    const std::string face = Get(face_);
    int32_t face_row = 0;
    for (size_t i = 0; i < families_.rows().size() && face_row == 0; ++i)
      if (Lower(families_.rows()[i]) == Lower(face)) face_row = static_cast<int32_t>(i) + 1;
    Follow(w, kFaceList, families_, face_row);
    Follow(w, kSizeList, sizes_, sizes_.Find(Get(size_)));

    const int32_t color = ToLong(Get(color_));
    auto swatch = std::find_if(kPalette.begin(), kPalette.end(),
                               [color](const NamedColor& c) { return c.value == color; });
    if (swatch == kPalette.end()) {
      w.Hide(kSwatchFrame);
    } else {
      const int32_t i = static_cast<int32_t>(swatch - kPalette.begin());
      w.SetPosition(kSwatchFrame, kSwatchX + (i % 8) * kSwatchStep - 2,
                    kSwatchY + (i / 8) * kSwatchStep - 2);
      w.Unhide(kSwatchFrame);
    }

    const Font preview{face.empty() ? std::string("MS Sans Serif") : face,
                       std::max(ToLong(Get(size_)), 0), color, ChosenStyle()};
    if (w.EffectiveFont(*w.Find(kSample)) == preview) return;
    w.SetProp(kSample, kPropFontName, preview.typeface);
    w.SetPropInt(kSample, kPropFontSize, preview.size);
    w.SetPropInt(kSample, kPropFontColor, preview.color);
    w.SetPropInt(kSample, kPropFontStyle, preview.style);
    // Centred in the sample area, and cut to it when larger (a label is clipped to its size).
    w.SetPropInt(kSample, kPropWidth, kDefault);
    w.SetPropInt(kSample, kPropHeight, kDefault);
    const int32_t width = std::min(w.GetPropInt(kSample, kPropWidth), kSampleW);
    const int32_t height = std::min(w.GetPropInt(kSample, kPropHeight), kSampleH);
    w.SetPosition(kSample, kSampleX + (kSampleW - width) / 2, kSampleY + (kSampleH - height) / 2,
                  width, height);
  }

  // Selects a list's row (0: none) and scrolls it into view, about the middle when it can.
  static void Follow(Window& w, int32_t list, const dialogs::RowList& rows, int32_t row) {
    if (w.GetPropInt(list, kPropSelStart) == row) return;
    w.SetPropInt(list, kPropSelStart, row);
    const int32_t visible = std::max(w.GetPropInt(list, kPropHeight) / 10, 1);
    const int32_t scroll = w.GetPropInt(list, kPropVScrollPos);
    const int32_t last = std::max(static_cast<int32_t>(rows.Rows()) - visible, 0);
    if (row > 0 && (row <= scroll || row > scroll + visible))
      w.SetPropInt(list, kPropVScrollPos, std::clamp(row - visible / 2, 0, last));
  }

  std::string title_;
  dialogs::RowList families_;
  dialogs::RowList sizes_;
  int32_t style_;
  char face_[64];
  char size_[3];
  char color_[11];
  int32_t bold_ = 0, italic_ = 0, underline_ = 0, strikeout_ = 0;
};

}  // namespace

bool FontDialog(std::string_view title, std::string& typeface, int32_t& size, int32_t& color,
                int32_t& style) {
  return FontDialogWindow(title, typeface, size, color, style).Run(typeface, size, color, style);
}

}  // namespace rt
