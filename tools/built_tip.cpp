// Running the tip window procedure for one request up to its built tip.
#include "tools/built_tip.h"

#include <memory>

#include "api/state.h"
#include "runtime/thread.h"
#include "tools/tip_file_io.h"

namespace vistip {

std::string WithBuiltTip(const TipRequest& request,
                         const std::function<void(tipwindow::HelpTipWindow&)>& built) {
  // The window would create a missing file and convert an old one: a reading tool does neither.
  if (const TipFileResult r = OpenExistingTipFile(request.file); !r.ok) return r.error;
  VISTIP.Close();
  GLO.VTAPPNAME = request.file;
  GLO.VTPROCEDURENAME = request.procedure;
  GLO.VTCONTROLNAME = request.control;
  GLO.VTCONTROLTYPE = request.type;
  GLO.PARENTTHREAD = 0;
  auto tip = std::make_unique<tipwindow::HelpTipWindow>();
  tip->PrepareProcedure();
  rt::Post(rt::kEventTimer);  // the first tick at once, instead of after its interval
  while (!tip->HELPISLOADED && tip->Window.Accept()) tip->TakeEvent();
  std::string error;
  if (tip->LOCALREQUEST == tipwindow::kInsertRecord) {
    error = request.file + ": no tip for " +
            TipTitle(
                {.procedure = request.procedure, .control = request.control, .type = request.type});
  } else if (!tip->HELPISLOADED) {
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
