// Running the tip window procedure for one request up to its built tip.
#include "tools/built_tip.h"

#include <memory>

#include "runtime/thread.h"
#include "state/state.h"
#include "tipwindow/lookup.h"
#include "tools/tip_file_io.h"

namespace vistip {

std::string WithBuiltTip(const TipQuery& request,
                         const std::function<void(tipwindow::HelpTipWindow&)>& built) {
  // The window would create a missing file and convert an old one: a reading tool does neither.
  if (const TipFileResult r = OpenExistingTipFile(request.file); !r.ok) return r.error;
  TipRequest asked;
  asked.TIPFILE = request.file;
  asked.NAMES = {request.procedure, request.control, request.type};
  // The window's own lookup tells whether there is a tip to show at all.
  int32_t read_error = 0;
  const TipSource source = ReadTip(asked.NAMES, read_error);
  VISTIP.Close();
  if (source == TipSource::kNone)
    return request.file + ": no tip for " +
           TipTitle(
               {.procedure = request.procedure, .control = request.control, .type = request.type});
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

}  // namespace vistip
