// Pixel tests of the painter on image surfaces: backgrounds, text, links, buttons, fields,
// choices, sheets, lists, status bars, hidden controls and odd sizes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/headless/headless.h"
#include "runtime/input.h"
#include "runtime/paint/geometry.h"
#include "runtime/paint/painter.h"
#include "runtime/textmetrics.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

constexpr int32_t kTipColor = 0xECFFFE;
constexpr int32_t kFace = 0xC0C0C0;
constexpr int32_t kBlue = 0xFF0000;  // 0BBGGRRH
constexpr int32_t kNavy = 0x800000;
constexpr int32_t kRed = 0x0000FF;

struct Box {
  int32_t x = 0, y = 0, w = 0, h = 0;
};

class PaintTest : public ::testing::Test {
 protected:
  void SetUp() override { UseHeadlessBackend(); }

  // Opens a window of the given colour and controls, with no field focused.
  Window& Open(std::vector<ControlDesc> controls, int32_t color = kColorNone, int32_t w = 160,
               int32_t h = 100) {
    WindowDesc d;
    d.w = w;
    d.h = h;
    d.color = color;
    d.controls = std::move(controls);
    window_ = std::make_unique<Window>(std::move(d));
    window_->Open();
    window_->SetFocusField(0);
    return *window_;
  }

  // A control's rectangle in pixels, as the painter rounds it.
  Box PxBox(const Window& w, int32_t field) const {
    const Control& c = *w.Find(field);
    const auto px = [](double v) { return static_cast<int32_t>(std::lround(v)); };
    const int32_t x0 = px(c.x * w.PxPerDuX()), y0 = px(c.y * w.PxPerDuY());
    return {x0, y0, px((c.x + w.AutoWidth(c)) * w.PxPerDuX()) - x0,
            px((c.y + w.AutoHeight(c)) * w.PxPerDuY()) - y0};
  }

  static int Count(const Pixels& p, const Box& b, const std::function<bool(int32_t)>& pred) {
    int n = 0;
    for (int32_t y = b.y; y < b.y + b.h; ++y)
      for (int32_t x = b.x; x < b.x + b.w; ++x) n += pred(p.ColorAt(x, y)) ? 1 : 0;
    return n;
  }
  static int CountColor(const Pixels& p, const Box& b, int32_t color) {
    return Count(p, b, [color](int32_t c) { return c == color; });
  }
  static bool Dark(int32_t c) {
    return c >= 0 && (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60;
  }

  RuntimeThread thread_;
  std::unique_ptr<Window> window_;
};

TEST_F(PaintTest, SizeIsTheWindowInPixels) {
  Window& w = Open({}, kTipColor, 169, 165);
  const Pixels p = RenderToSurface(w);
  EXPECT_EQ(p.width, std::lround(169 * w.PxPerDuX()));
  EXPECT_EQ(p.height, std::lround(165 * w.PxPerDuY()));
}

TEST_F(PaintTest, BackgroundIsTheWindowColourOrFaceGrey) {
  Window& tip = Open({}, kTipColor);
  Pixels p = RenderToSurface(tip);
  EXPECT_EQ(CountColor(p, {0, 0, p.width, p.height}, kTipColor), p.width * p.height);
  Window& plain = Open({});
  p = RenderToSurface(plain);
  EXPECT_EQ(p.ColorAt(p.width / 2, p.height / 2), kFace);
}

TEST_F(PaintTest, LinkIsBlueAndUnderlined) {
  Window& w =
      Open({{.field = 1, .type = kCreatePrompt, .x = 10, .y = 10, .text = "www.example.com"},
            {.field = 2, .type = kCreatePrompt, .x = 10, .y = 30, .text = "www.example.com"}},
           kTipColor);
  for (int32_t field : {1, 2}) w.SetPropInt(field, kPropFontColor, kBlue);
  w.SetPropInt(1, kPropFontStyle, kFontUnderline);
  const Pixels p = RenderToSurface(w);
  // The underline: a pixel row of solid blue across most of the text.
  const auto longest_blue_row = [&](const Box& b) {
    int best = 0;
    for (int32_t y = b.y; y < b.y + b.h + 2; ++y)
      best = std::max(best, CountColor(p, {b.x, y, b.w, 1}, kBlue));
    return best;
  };
  const Box link = PxBox(w, 1), plain = PxBox(w, 2);
  EXPECT_GT(CountColor(p, link, kBlue), 20);
  EXPECT_GT(longest_blue_row(link), link.w * 8 / 10);
  EXPECT_LT(longest_blue_row(plain), plain.w / 2);
  EXPECT_EQ(Count(p, link, [](int32_t c) { return c == 0; }), 0);  // nothing black
}

TEST_F(PaintTest, HiddenControlsAreNotDrawn) {
  Window& w =
      Open({{.field = 1, .type = kCreateBox, .x = 10, .y = 10, .w = 40, .h = 20}}, kTipColor);
  w.SetPropInt(1, kPropFill, kRed);
  const Box box = PxBox(w, 1);
  EXPECT_EQ(CountColor(RenderToSurface(w), box, kRed), box.w * box.h);
  w.Hide(1);
  EXPECT_EQ(CountColor(RenderToSurface(w), box, kRed), 0);
  w.Unhide(1);
  w.Create(300, kCreateBox);  // created controls start hidden
  w.SetPosition(300, 60, 10, 20, 20);
  w.SetPropInt(300, kPropFill, kRed);
  EXPECT_EQ(CountColor(RenderToSurface(w), PxBox(w, 300), kRed), 0);
}

TEST_F(PaintTest, HiddenWindowPaintsNothing) {
  Window& w =
      Open({{.field = 1, .type = kCreateButton, .x = 10, .y = 10, .text = "&Ok"}}, kTipColor);
  w.SetPropInt(0, kPropHide, 1);
  const Pixels p = RenderToSurface(w);
  EXPECT_EQ(Count(p, {0, 0, p.width, p.height}, [](int32_t c) { return c != 0; }), 0);
}

TEST_F(PaintTest, ButtonHasTheGreyFaceAndARaisedEdge) {
  Window& w =
      Open({{.field = 1, .type = kCreateButton, .x = 10, .y = 10, .w = 40, .h = 14, .text = "&Ok"}},
           0xFFFFFF);
  const Pixels p = RenderToSurface(w);
  const Box b = PxBox(w, 1);
  EXPECT_EQ(p.ColorAt(b.x + 3, b.y + 3), kFace);
  EXPECT_EQ(p.ColorAt(b.x + b.w - 4, b.y + b.h - 4), kFace);
  EXPECT_EQ(p.ColorAt(b.x, b.y), 0xFFFFFF);                      // lit top-left
  EXPECT_EQ(p.ColorAt(b.x + b.w - 1, b.y + b.h - 1), 0x000000);  // dark bottom-right
  EXPECT_EQ(p.ColorAt(b.x + b.w - 2, b.y + b.h - 2), 0x808080);
  EXPECT_GT(Count(p, b, Dark), 10);  // the caption
}

TEST_F(PaintTest, MnemonicUnderlinesOneLetterAndDoubleAmpersandIsLiteral) {
  Window& w = Open({{.field = 1, .type = kCreatePrompt, .x = 10, .y = 10, .text = "&Ok"},
                    {.field = 2, .type = kCreatePrompt, .x = 10, .y = 30, .text = "Ok"},
                    {.field = 3, .type = kCreatePrompt, .x = 10, .y = 50, .text = "A&&B"},
                    {.field = 4, .type = kCreatePrompt, .x = 10, .y = 70, .text = "A&B"}},
                   0xFFFFFF);
  const Pixels p = RenderToSurface(w);
  EXPECT_GT(Count(p, PxBox(w, 1), Dark), Count(p, PxBox(w, 2), Dark));
  EXPECT_GT(w.AutoWidth(*w.Find(3)), w.AutoWidth(*w.Find(4)));
  EXPECT_GT(Count(p, PxBox(w, 3), Dark), Count(p, PxBox(w, 4), Dark));
}

TEST_F(PaintTest, TextEndsWhereItsMeasuredWidthSays) {
  // Pairs that kern in most fonts: any kerning on screen would make the drawn text shorter.
  const std::string text = "AVAVAV To To Ty WAWA LTLT";
  Window& w =
      Open({{.field = 1, .type = kCreateString, .x = 4, .y = 10, .text = text}}, 0xFFFFFF, 200);
  const Pixels p = RenderToSurface(w);
  const Box b = PxBox(w, 1);
  int32_t right = -1;
  for (int32_t x = 0; x < p.width; ++x)
    if (Count(p, {x, b.y, 1, b.h}, Dark) > 0) right = x;
  const double end = b.x + TextWidthPx(w.font(), text);
  EXPECT_LE(right, end + 1);
  EXPECT_GE(right, end - 3);
}

TEST_F(PaintTest, StringBackgroundUnlessTransparent) {
  Window& w = Open({{.field = 1, .type = kCreateString, .x = 10, .y = 10, .text = "<<"},
                    {.field = 2, .type = kCreateString, .x = 10, .y = 30, .text = "<<"}},
                   kTipColor);
  for (int32_t field : {1, 2}) w.SetPropInt(field, kPropColor, kFace);
  w.SetPropInt(2, kPropTransparent, 1);
  const Pixels p = RenderToSurface(w);
  EXPECT_GT(CountColor(p, PxBox(w, 1), kFace), PxBox(w, 1).w * PxBox(w, 1).h / 2);
  EXPECT_EQ(CountColor(p, PxBox(w, 2), kFace), 0);
}

TEST_F(PaintTest, WingdingsBulletIsDrawn) {
  Window& w =
      Open({{.field = 1, .type = kCreateString, .x = 10, .y = 10, .text = "\xA7"}}, kTipColor);
  w.SetProp(1, kPropFontName, "Wingdings");
  w.SetPropInt(1, kPropFontSize, 0);
  w.SetPropInt(1, kPropFontColor, 0);
  EXPECT_GT(Count(RenderToSurface(w), PxBox(w, 1), Dark), 4);
}

TEST_F(PaintTest, HighlightBoxIsAnOutlineAroundItsControl) {
  Window& w =
      Open({{.field = 201, .type = kCreateBox, .x = 20, .y = 20, .w = 40, .h = 12}}, kTipColor);
  w.SetPropInt(201, kPropColor, 0);
  w.SetPropInt(201, kPropFill, 0xC0C0C0);
  w.SetPropInt(201, kPropTransparent, 1);
  const Pixels p = RenderToSurface(w);
  const Box b = PxBox(w, 201);
  EXPECT_EQ(CountColor(p, {b.x, b.y, b.w, 1}, 0), b.w);
  EXPECT_EQ(CountColor(p, {b.x, b.y, 1, b.h}, 0), b.h);
  EXPECT_EQ(CountColor(p, {b.x + 1, b.y + 1, b.w - 2, b.h - 2}, kTipColor), (b.w - 2) * (b.h - 2));
}

TEST_F(PaintTest, PanelRuleIsAHorizontalLine) {
  Window& w =
      Open({{.field = 1, .type = kCreatePanel, .x = 40, .y = 20, .w = 80, .h = 2}}, kTipColor);
  const Pixels p = RenderToSurface(w);
  const Box b = PxBox(w, 1);
  int grey_rows = 0;
  for (int32_t y = b.y; y < b.y + b.h; ++y)
    grey_rows += CountColor(p, {b.x, y, b.w, 1}, 0x808080) == b.w;
  EXPECT_EQ(grey_rows, 1);
  EXPECT_EQ(CountColor(p, {0, 0, b.x, p.height}, 0x808080), 0);  // centred, nothing left of it
}

TEST_F(PaintTest, OnlyTheSelectedTabsControlsAreDrawn) {
  Window& w =
      Open({{.field = 6, .type = kCreateSheet, .x = 0, .y = 0, .w = 160, .h = 100},
            {.field = 7, .type = kCreateTab, .parent = 6, .text = "Tip Window"},
            {.field = 8, .type = kCreateTab, .parent = 6, .text = "Edit Window"},
            {.field = 9, .type = kCreateBox, .parent = 7, .x = 10, .y = 30, .w = 20, .h = 20},
            {.field = 10, .type = kCreateBox, .parent = 8, .x = 40, .y = 30, .w = 20, .h = 20}},
           kTipColor);
  for (int32_t field : {9, 10}) w.SetPropInt(field, kPropFill, kRed);
  Pixels p = RenderToSurface(w);
  EXPECT_GT(CountColor(p, PxBox(w, 9), kRed), 0);
  EXPECT_EQ(CountColor(p, PxBox(w, 10), kRed), 0);
  w.Select(8);
  p = RenderToSurface(w);
  EXPECT_EQ(CountColor(p, PxBox(w, 9), kRed), 0);
  EXPECT_GT(CountColor(p, PxBox(w, 10), kRed), 0);
  // Both headers carry their captions.
  for (const paint::TabHeader& h : paint::TabHeaders(w, *w.Find(6))) {
    const Box hb{static_cast<int32_t>(h.x * w.PxPerDuX()), 2,
                 static_cast<int32_t>(h.w * w.PxPerDuX()),
                 static_cast<int32_t>(paint::kTabStripDu * w.PxPerDuY()) - 2};
    EXPECT_GT(Count(p, hb, Dark), 10) << h.field;
  }
}

// A press where a header is drawn selects that tab: painting and hit testing agree.
TEST_F(PaintTest, PressOnADrawnTabHeaderSelectsIt) {
  Window& w = Open({{.field = 6, .type = kCreateSheet, .x = 0, .y = 0, .w = 160, .h = 100},
                    {.field = 7, .type = kCreateTab, .parent = 6, .text = "&General"},
                    {.field = 8, .type = kCreateTab, .parent = 6, .text = "&Details"}});
  const std::vector<paint::TabHeader> headers = paint::TabHeaders(w, *w.Find(6));
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(paint::ShownTab(w, *w.Find(6)), 7);
  const double x = (headers[1].x + headers[1].w / 2.0) * w.PxPerDuX();
  input::MouseDown(w, kMouseLeft, x, paint::kTabStripDu / 2.0 * w.PxPerDuY());
  EXPECT_EQ(w.Find(6)->selected_tab, 8);
  EXPECT_EQ(paint::ShownTab(w, *w.Find(6)), 8);
}

TEST_F(PaintTest, SheetWithoutVisibleTabsShowsOnlyItsPage) {
  Window& w =
      Open({{.field = 2, .type = kCreateString, .x = 0, .y = 0, .w = 9, .h = 8, .text = "<<"},
            {.field = 6, .type = kCreateSheet, .x = -3, .y = -3, .w = 166, .h = 106},
            {.field = 7, .type = kCreateTab, .parent = 6, .text = "Tip Window"}},
           kTipColor);
  w.SetPropInt(2, kPropColor, kFace);
  w.SetPropInt(6, kPropColor, kTipColor);
  w.Hide(7);
  const Pixels p = RenderToSurface(w);
  // The string declared before the sheet still shows: sheets lie beneath other controls.
  EXPECT_GT(CountColor(p, PxBox(w, 2), kFace), 20);
  const Box page{PxBox(w, 2).w + 2, 0, p.width - PxBox(w, 2).w - 2, p.height};
  EXPECT_EQ(CountColor(p, page, kTipColor), page.w * page.h);
}

TEST_F(PaintTest, SheetPageTakesTheSheetColour) {
  Window& w = Open({{.field = 6, .type = kCreateSheet, .x = 0, .y = 0, .w = 160, .h = 100},
                    {.field = 7, .type = kCreateTab, .parent = 6, .text = "One"}});
  w.SetPropInt(6, kPropColor, kTipColor);
  const Pixels p = RenderToSurface(w);
  EXPECT_EQ(p.ColorAt(p.width / 2, p.height / 2), kTipColor);
}

TEST_F(PaintTest, FocusedEntryShowsItsSelectionAndCaret) {
  char value[21] = "selected text here  ";
  Window& w = Open({{.field = 1,
                     .type = kCreateEntry,
                     .x = 10,
                     .y = 10,
                     .w = 100,
                     .h = 10,
                     .use = {.text = value, .size = 20}}},
                   kFace);
  const Box b = PxBox(w, 1);
  Pixels p = RenderToSurface(w);
  EXPECT_EQ(p.ColorAt(b.x + b.w - 4, b.y + b.h / 2), 0xFFFFFF);  // white well
  EXPECT_EQ(p.ColorAt(b.x, b.y), 0x808080);                      // sunken edge
  EXPECT_EQ(CountColor(p, b, kNavy), 0);
  Control& c = *w.Find(1);
  c.sel_from = 0;
  c.sel_to = c.caret = 8;
  w.SetFocusField(1);
  p = RenderToSurface(w);
  const int32_t sel_right = b.x + 3 + static_cast<int32_t>(TextWidthPx(w.font(), "selected"));
  EXPECT_GT(CountColor(p, {b.x, b.y, sel_right - b.x - 1, b.h}, kNavy), 20);
  EXPECT_EQ(CountColor(p, {sel_right + 2, b.y, b.w - (sel_right + 2 - b.x), b.h}, kNavy), 0);
  // Without a selection the caret is a black column.
  c.sel_from = c.sel_to = c.caret = 0;
  p = RenderToSurface(w);
  EXPECT_GE(CountColor(p, {b.x + 3, b.y + 2, 1, b.h - 4}, 0), 8);
}

TEST_F(PaintTest, TextControlDrawsTheModelsLinesFromItsScrollPosition) {
  char value[41] = "First\r\n\r\nThird                          ";
  Window& w = Open({{.field = 1,
                     .type = kCreateText,
                     .x = 10,
                     .y = 10,
                     .w = 100,
                     .h = 60,
                     .use = {.text = value, .size = 40}}},
                   kFace);
  ASSERT_EQ(w.TextLines(*w.Find(1)).size(), 3u);
  const Box b = PxBox(w, 1);
  const int32_t line = static_cast<int32_t>(MeasureFont(w.font()).height_px);
  const auto band = [&](const Pixels& p, int i) {
    return Count(p, {b.x + 2, b.y + 3 + i * line, b.w - 4, line - 1}, Dark);
  };
  Pixels p = RenderToSurface(w);
  EXPECT_GT(band(p, 0), 10);
  EXPECT_EQ(band(p, 1), 0);
  EXPECT_GT(band(p, 2), 10);
  w.Find(1)->scroll_line = 2;  // "Third" now on top
  p = RenderToSurface(w);
  EXPECT_GT(band(p, 0), 10);
  EXPECT_EQ(band(p, 1), 0);
}

TEST_F(PaintTest, RadioIsSelectedWhenItsOptionHoldsItsText) {
  char value[31] = "MSG-Post a Message            ";
  Window& w = Open({{.field = 1,
                     .type = kCreateOption,
                     .x = 5,
                     .y = 5,
                     .w = 120,
                     .h = 45,
                     .text = "Call Type",
                     .use = {.text = value, .size = 30}},
                    {.field = 2,
                     .type = kCreateRadio,
                     .parent = 1,
                     .x = 10,
                     .y = 15,
                     .text = "EXE-Call an Executable"},
                    {.field = 3,
                     .type = kCreateRadio,
                     .parent = 1,
                     .x = 10,
                     .y = 25,
                     .text = "MSG-Post a Message"}},
                   kFace);
  w.SetPropInt(1, kPropBoxed, 1);
  const Pixels p = RenderToSurface(w);
  const auto dot = [&](int32_t field) {
    const Box b = PxBox(w, field);
    const int32_t size = 12, cx = b.x + size / 2, cy = b.y + (b.h - size) / 2 + size / 2;
    return CountColor(p, {cx - 2, cy - 2, 4, 4}, 0);
  };
  EXPECT_EQ(dot(2), 0);
  EXPECT_EQ(dot(3), 12);
  // The boxed group's caption breaks its etched frame.
  const Box g = PxBox(w, 1);
  EXPECT_GT(Count(p, {g.x, g.y, g.w, 14}, Dark), 10);
  EXPECT_GT(CountColor(p, {g.x, g.y, 1, g.h}, 0x808080), g.h / 2);
}

TEST_F(PaintTest, CheckBoxShowsItsMarkWhenSet) {
  int32_t on = 1, off = 0;
  Window& w = Open(
      {{.field = 1, .type = kCreateCheck, .x = 10, .y = 10, .text = "On", .use = {.number = &on}},
       {.field = 2,
        .type = kCreateCheck,
        .x = 10,
        .y = 30,
        .text = "Off",
        .use = {.number = &off}}},
      kFace);
  const Pixels p = RenderToSurface(w);
  const auto mark = [&](int32_t field) {
    const Box b = PxBox(w, field);
    return CountColor(p, {b.x + 3, b.y + (b.h - 13) / 2 + 3, 7, 7}, 0);
  };
  EXPECT_GT(mark(1), 10);
  EXPECT_EQ(mark(2), 0);
}

class FiveRows : public ListSource {
 public:
  size_t Rows() const override { return 5; }
  std::string Cell(size_t row, size_t column) const override {
    return "r" + std::to_string(row) + "c" + std::to_string(column);
  }
};

TEST_F(PaintTest, ListShowsHeadingsAndTheSelectedRowInNavy) {
  Window& w = Open({{.field = 1, .type = kCreateList, .x = 5, .y = 5, .w = 150, .h = 70}}, kFace);
  FiveRows rows;
  w.SetFrom(1, &rows);
  w.SetProp(1, kPropFormat, "60L|M~Name~@s20@60L|M~Proc~@s20@30L~Type~@s10@");
  w.Find(1)->selected_row = 2;
  const Pixels p = RenderToSurface(w);
  ASSERT_EQ(paint::ListRowsTopDu(*w.Find(1)), paint::kListRowDu);
  const auto row_box = [&](int row) {
    const int32_t y0 = std::lround((5 + paint::kListRowDu * row) * w.PxPerDuY());
    const int32_t y1 = std::lround((5 + paint::kListRowDu * (row + 1)) * w.PxPerDuY());
    return Box{static_cast<int32_t>(std::lround(5 * w.PxPerDuX())) + 3, y0 + 3,
               static_cast<int32_t>(std::lround(140 * w.PxPerDuX())), y1 - y0 - 2};
  };
  EXPECT_GT(CountColor(p, row_box(0), kFace), 50);  // heading row
  EXPECT_EQ(CountColor(p, row_box(1), kNavy), 0);
  EXPECT_GT(CountColor(p, row_box(2), kNavy), 200);
  EXPECT_GT(Count(p, row_box(1), Dark), 10);  // row text
}

TEST_F(PaintTest, ProgressFillsItsShare) {
  Window& w =
      Open({{.field = 1, .type = kCreateProgress, .x = 10, .y = 10, .w = 100, .h = 10}}, kFace);
  w.SetPropInt(1, kPropRangeHigh, 200);
  w.SetPropInt(1, kPropProgress, 100);
  const Pixels p = RenderToSurface(w);
  const Box b = PxBox(w, 1);
  EXPECT_GT(CountColor(p, {b.x, b.y, b.w / 2, b.h}, kNavy), 50);
  EXPECT_EQ(CountColor(p, {b.x + b.w / 2 + 3, b.y, b.w / 2 - 3, b.h}, kNavy), 0);
}

TEST_F(PaintTest, StatusBarAlongTheBottom) {
  Window& w = Open({}, kTipColor);
  Pixels p = RenderToSurface(w);
  EXPECT_EQ(p.ColorAt(p.width / 2, p.height - 3), kTipColor);
  w.SetPropInt(0, kPropStatusZones, -1);
  w.SetProp(0, kPropStatusText, "Left click to select!");
  p = RenderToSurface(w);
  EXPECT_EQ(p.ColorAt(p.width - 1, p.height - 1), kFace);
  EXPECT_GT(Count(p, {0, p.height - 20, p.width, 20}, Dark), 30);
  EXPECT_EQ(p.ColorAt(p.width / 2, p.height / 2), kTipColor);
}

TEST_F(PaintTest, OddSizesAndPositionsDoNotBreakPainting) {
  Window& w = Open({{.field = 1, .type = kCreateBox, .x = -50, .y = -50, .w = 100000, .h = -5},
                    {.field = 2, .type = kCreateEntry, .x = 10, .y = 10, .w = 0, .h = 0},
                    {.field = 3, .type = kCreateList, .x = 10, .y = 10, .w = -10, .h = 5},
                    {.field = 4,
                     .type = kCreateText,
                     .x = 10,
                     .y = 10,
                     .w = 1,
                     .h = 1,
                     .text = std::string(3000, 'x')}},
                   kTipColor, 0, -7);
  const Pixels p = RenderToSurface(w);
  EXPECT_GE(p.width, 1);
  EXPECT_GE(p.height, 1);
  Window& huge = Open({}, kTipColor, 1000000, 1000000);
  EXPECT_EQ(paint::WindowSizePx(huge).width, 16384);
}

TEST_F(PaintTest, HeadlessBackendCountsBeeps) {
  const int32_t before = HeadlessBeeps();
  CurrentBackend().Beep();
  CurrentBackend().Beep();
  EXPECT_EQ(HeadlessBeeps(), before + 2);
  EXPECT_STREQ(CurrentBackend().name(), "headless");
}

TEST_F(PaintTest, PngIsWritten) {
  Window& w =
      Open({{.field = 1, .type = kCreateButton, .x = 10, .y = 10, .text = "&Ok"}}, kTipColor);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("paint_test_" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(RenderToPng(w, path.string()));
  std::ifstream in(path, std::ios::binary);
  char magic[8] = {};
  in.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  std::filesystem::remove(path);
  EXPECT_FALSE(RenderToPng(w, "/nonexistent-dir/x.png"));
}

}  // namespace
}  // namespace rt
