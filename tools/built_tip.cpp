// Running the tip window procedure for one request up to its built tip.
#include "tools/built_tip.h"

#include <memory>

#include "api/state.h"
#include "runtime/thread.h"
#include "tools/tip_file_io.h"

namespace vistip {

std::string WithBuiltTip(const TipRequest& request,
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
  for (DeclaredFile* file : {&VISTIP, &LINKTIP})
    if (--file->USED == 0) file->Close();
  return error;
}

}  // namespace vistip
