// vistip render: a PNG of the tip window's size, read back with cairo, whose link text is blue.
#include <cairo.h>
#include <gtest/gtest.h>

#include "runtime/paint/painter.h"
#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"
#include "tools/built_tip.h"

namespace vistip::testing {
namespace {

using RenderTest = ToolTest;

struct Box {
  int x0, y0, x1, y1;
};

// Pixels of a box that are plainly blue (the link colour 0FF0000H, antialiased).
int BluePixels(cairo_surface_t* png, const Box& b) {
  const unsigned char* data = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  int blue = 0;
  for (int y = b.y0; y < b.y1; ++y)
    for (int x = b.x0; x < b.x1; ++x) {
      const uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
      if (bl > 180 && r < 90 && g < 90) ++blue;
    }
  return blue;
}

TEST_F(RenderTest, WritesTheWindowAtItsSizeWithBlueLinks) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "Plain words here\r\nSee <LNK:Other tip> now")});
  const Ran ran = RunVistip({"render", file, "Form", "Name", "ENTRY", "-o", Path("tip.png")});
  ASSERT_EQ(ran.status, 0) << ran.err;

  // The same window built here: its size and where its text run and its link lie.
  rt::paint::SizePx size;
  Box plain{}, link{};
  const std::string error =
      WithBuiltTip({file, "Form", "Name", "ENTRY"}, [&](tipwindow::HelpTipWindow& tip) {
        size = rt::paint::WindowSizePx(tip.Window);
        auto box = [&](int32_t field) {
          const rt::Control* c = tip.Window.Find(field);
          const double px = tip.Window.PxPerDuX(), py = tip.Window.PxPerDuY();
          return Box{static_cast<int>(c->x * px), static_cast<int>(c->y * py),
                     static_cast<int>((c->x + tip.Window.AutoWidth(*c)) * px),
                     static_cast<int>((c->y + tip.Window.AutoHeight(*c)) * py)};
        };
        plain = box(300);  // "Plain words here"
        link = box(302);   // "Other tip", after the run "See "
        EXPECT_EQ(tip.Window.GetProp(302, rt::kPropText), "Other tip");
      });
  ASSERT_EQ(error, "");
  EXPECT_EQ(ran.out, Path("tip.png") + ": " + std::to_string(size.width) + " x " +
                         std::to_string(size.height) + " pixels\n");

  cairo_surface_t* png = cairo_image_surface_create_from_png(Path("tip.png").c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), size.width);
  EXPECT_EQ(cairo_image_surface_get_height(png), size.height);
  EXPECT_GE(size.width, 169);  // at least the tip window's minimum width in units
  EXPECT_GT(BluePixels(png, link), 10);
  EXPECT_EQ(BluePixels(png, plain), 0);
  cairo_surface_destroy(png);
}

TEST_F(RenderTest, AnUnwritablePngIsAnError) {
  const std::string file = Path("tips.tps");
  WriteTips(file, {Tip("Form", "Name", "ENTRY", "x")});
  const Ran ran = RunVistip({"render", file, "Form", "Name", "ENTRY", "-o", Path("no/dir.png")});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("no/dir.png: cannot be written"), std::string::npos) << ran.err;
}

}  // namespace
}  // namespace vistip::testing
