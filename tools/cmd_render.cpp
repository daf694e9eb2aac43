// `vistip render FILE PROC CONTROL TYPE -o tip.png`: the tip window drawn to a PNG file.
#include <iostream>
#include <memory>

#include "runtime/headless/headless.h"
#include "runtime/paint/painter.h"
#include "tools/commands.h"
#include "tools/unattended.h"

namespace vistip {
namespace {

struct RenderArgs {
  TipQuery request;
  std::string out;
};

int RunRender(const RenderArgs& args) {
  RunUnattended();
  bool written = false;
  rt::paint::SizePx size;
  const std::string error = WithBuiltTip(args.request, [&](tipwindow::HelpTipWindow& tip) {
    size = rt::paint::WindowSizePx(tip.Window);
    written = rt::RenderToPng(tip.Window, args.out);
  });
  if (!error.empty()) return Fail(error);
  if (!written) return Fail(args.out + ": cannot be written");
  std::cout << args.out << ": " << size.width << " x " << size.height << " pixels\n";
  return 0;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& status) {
  auto args = std::make_shared<RenderArgs>();
  CLI::App* sub = app.add_subcommand("render", "Draw a tip's window to a PNG file");
  AddTipArguments(*sub, args->request);
  sub->add_option("-o,--output", args->out, "the PNG file to write")->required();
  sub->footer(std::string(sub->get_footer()) +
              "\n\nThe window is built and drawn as on screen (same layout, same drawing code),\n"
              "without a display, at the window's size in pixels (96 dpi).");
  sub->callback([args, &status] { status = RunRender(*args); });
}

}  // namespace vistip
