// Running the tip window procedure for one request up to its built tip.
#include "tools/built_tip.h"

#include <memory>

#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/lookup.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

// Runs the window for a tip known to exist, up to its built tip, then closes it.
std::string RunWindow(const TipQuery& request, const TipRequest& asked,
                      const std::function<void(tipwindow::HelpTipWindow&)>& built) {
  GLO.VTAPPNAME = request.file;  // the name VISTIP opens
  auto tip = std::make_unique<tipwindow::HelpTipWindow>(asked);
  tip->PrepareProcedure();
  rt::Post(rt::kEventTimer);  // the first tick at once, instead of after its interval
  // The window shows once its tip is built.
  while (tip->Window.hidden() && tip->Window.Accept()) tip->TakeEvent();
  std::string error;
  if (tip->Window.hidden()) {
    error = request.file + ": the tip window closed before its tip was built";
  } else {
    built(*tip);
  }
  rt::Post(rt::kEventCloseWindow);
  while (tip->Window.Accept()) tip->TakeEvent();
  tip->ProcedureReturn();
  return error;
}

}  // namespace

std::string WithBuiltTip(const TipQuery& request,
                         const std::function<void(tipwindow::HelpTipWindow&)>& built) {
  // The window would create a missing file, convert an old one and open it for writing. A
  // reading tool does none of that: it opens both declarations read-only first and counts
  // itself in, as a window already using the file would, so the window only counts itself.
  if (const TipFileResult r = OpenExistingTipFile(request.file); !r.ok) return r.error;
  if (LINKTIP.Open(rt::kOpenReadShared) != rt::kNoError) {
    const std::string error = request.file + ": cannot be read: " + ErrorDetail();
    VISTIP.Close();
    return error;
  }
  ++VISTIP.USED;
  ++LINKTIP.USED;
  TipRequest asked;
  asked.NAMES = {request.procedure, request.control, request.type};
  // The window's own lookup tells whether there is a tip to show at all.
  int32_t read_error = 0;
  std::string error;
  if (ReadTip(asked.NAMES, read_error) == TipSource::kNone)
    error = request.file + ": no tip for " +
            TipTitle(
                {.procedure = request.procedure, .control = request.control, .type = request.type});
  else
    error = RunWindow(request, asked, built);
  for (DeclaredFile* file : {&VISTIP, &LINKTIP})
    if (--file->USED == 0) file->Close();
  return error;
}

}  // namespace vistip
