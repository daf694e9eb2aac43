// Pixel tests of the standard message icons on an image surface: each is its own shape in its
// own colours with its mark inside, whatever the letter case of its name; other names draw
// nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/backend.h"
#include "runtime/codes.h"
#include "runtime/headless/headless.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

constexpr int32_t kFace = 0xC0C0C0;
constexpr int32_t kBlue = 0xFF0000;  // 0BBGGRRH
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kYellow = 0x00FFFF;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;

struct IconCase {
  const char* name;
  int32_t body;  // the shape's fill
  int32_t mark;  // the sign drawn on it
};

void PrintTo(const IconCase& c, std::ostream* os) {
  *os << c.name;
}

class PaintIconTest : public ::testing::TestWithParam<IconCase> {
 protected:
  void SetUp() override { UseHeadlessBackend(); }

  // The icon drawn 32 pixels square at (8, 8) pixels of a grey window; the pixels and the square.
  Pixels Draw(const std::string& name, int32_t& x0, int32_t& y0, int32_t& side) {
    WindowDesc d;
    d.w = 60;
    d.h = 40;
    window_ = std::make_unique<Window>(std::move(d));
    window_->Open();
    const double sx = window_->PxPerDuX(), sy = window_->PxPerDuY();
    const int32_t w = static_cast<int32_t>(std::ceil(32 / sx));
    const int32_t h = static_cast<int32_t>(std::ceil(32 / sy));
    window_->Create(1, kCreateImage);
    window_->SetProp(1, kPropIcon, name);
    window_->SetPosition(1, 4, 4, w, h);
    window_->Unhide(1);
    x0 = static_cast<int32_t>(std::lround(4 * sx));
    y0 = static_cast<int32_t>(std::lround(4 * sy));
    const int32_t pw = static_cast<int32_t>(std::lround((4 + w) * sx)) - x0;
    const int32_t ph = static_cast<int32_t>(std::lround((4 + h) * sy)) - y0;
    side = std::min(pw, ph);
    x0 += (pw - side) / 2;
    y0 += (ph - side) / 2;
    return RenderToSurface(*window_);
  }

  static int Count(const Pixels& p, int32_t x0, int32_t y0, int32_t w, int32_t h, int32_t color) {
    int n = 0;
    for (int32_t y = y0; y < y0 + h; ++y)
      for (int32_t x = x0; x < x0 + w; ++x) n += p.ColorAt(x, y) == color ? 1 : 0;
    return n;
  }

  static bool Dark(int32_t c) {
    return c >= 0 && (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60;
  }

  RuntimeThread thread_;
  std::unique_ptr<Window> window_;
};

TEST_P(PaintIconTest, ShapeColourAndMark) {
  const IconCase c = GetParam();
  int32_t x0 = 0, y0 = 0, side = 0;
  const Pixels p = Draw(c.name, x0, y0, side);
  ASSERT_GE(side, 32);
  const int area = side * side;
  EXPECT_GT(Count(p, x0, y0, side, side, c.body), area / 5) << "the shape in its colour";
  EXPECT_GT(Count(p, x0, y0, side, side, c.mark), area / 30) << "the sign on it";
  int dark = 0;
  for (int32_t y = y0; y < y0 + side; ++y)
    for (int32_t x = x0; x < x0 + side; ++x) dark += Dark(p.ColorAt(x, y)) ? 1 : 0;
  EXPECT_GT(dark, side) << "its outline";
  // Round and triangular shapes leave the top left corner to the window.
  EXPECT_EQ(p.ColorAt(x0 + 1, y0 + 1), kFace);
  // The sign sits on the shape's middle line, and the shape lies on both sides of it.
  int mark_on_axis = 0;
  for (int32_t y = y0 + side / 4; y < y0 + side * 3 / 4; ++y)
    mark_on_axis += p.ColorAt(x0 + side / 2, y) == c.mark ? 1 : 0;
  EXPECT_GT(mark_on_axis, 2);
  EXPECT_GT(Count(p, x0, y0, side / 2, side, c.body), area / 20) << "left half";
  EXPECT_GT(Count(p, x0 + side / 2, y0, side / 2, side, c.body), area / 20) << "right half";
}

INSTANTIATE_TEST_SUITE_P(StandardIcons, PaintIconTest,
                         ::testing::Values(IconCase{"~asterisk", kBlue, kWhite},
                                           IconCase{"~exclamation", kYellow, kBlack},
                                           IconCase{"~hand", kRed, kWhite},
                                           IconCase{"~question", kBlue, kWhite},
                                           IconCase{"~HAND", kRed, kWhite}));

TEST_F(PaintIconTest, OtherNamesDrawNothing) {
  for (const char* name : {"~nothing", "~handy", "~", "asterisk"}) {
    int32_t x0 = 0, y0 = 0, side = 0;
    const Pixels p = Draw(name, x0, y0, side);
    EXPECT_EQ(Count(p, x0, y0, side, side, kFace), side * side) << name;
  }
}

}  // namespace
}  // namespace rt
