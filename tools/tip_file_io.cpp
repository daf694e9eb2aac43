// Reading and writing whole tip files through the VISTIP declaration.
#include "tools/tip_file_io.h"

#include <filesystem>

#include "runtime/errors.h"
#include "state/state.h"

namespace vistip {
namespace {

std::string DriverError(int32_t code) {
  return rt::Error() + " (" + std::to_string(code) + ")";
}

// Opens VISTIP on a file for the tools, creating it when asked and missing.
bool OpenTipFile(const std::string& name, bool create, TipFileResult& r) {
  GLO.VTAPPNAME = name;
  int32_t code = VISTIP.Open(rt::kOpenShared);
  if (code == rt::kFileNotFound && create) {
    code = VISTIP.Create();
    if (code == 0) code = VISTIP.Open(rt::kOpenShared);
  }
  r.code = code;
  if (code == rt::kLayoutMismatch) {
    r.error = name + ": a tip file of the old layout; convert it first with `vistip upgrade`";
  } else if (code != 0) {
    r.error = name + ": " + DriverError(code);
  }
  return code == 0;
}

}  // namespace

std::string TipTitle(const TipText& t) {
  return EscapeText(t.procedure) + " / " + EscapeText(t.control) + " / " + EscapeText(t.type);
}

TipFileResult OpenExistingTipFile(const std::string& tip_file) {
  TipFileResult r;
  r.ok = OpenTipFile(tip_file, false, r);
  return r;
}

TipFileResult ExportTips(const std::string& tip_file, std::vector<TipText>& tips) {
  TipFileResult r;
  if (!OpenTipFile(tip_file, false, r)) return r;
  VISTIP.Set();
  int32_t code;
  while ((code = VISTIP.Next()) == 0) tips.push_back(FromBuffer(VTH));
  r.ok = code == rt::kNoMoreRecords;
  if (!r.ok) r.error = tip_file + ": " + DriverError(code);
  VISTIP.Close();
  return r;
}

TipFileResult ImportTips(const std::string& tip_file, const std::vector<TipText>& tips) {
  TipFileResult r;
  if (!OpenTipFile(tip_file, true, r)) return r;
  VISTIP.Stream();
  for (const TipText& t : tips) {
    ToBuffer(t, VTH);
    const TipBuffer wanted = VTH;
    if (VISTIP.Get(TipBuffer::PROCEDURENAMEKEY) == 0 && VTH.CONTROLTYPE == wanted.CONTROLTYPE)
      r.duplicates.push_back(TipTitle(t));
    VTH = wanted;
    if (const int32_t code = VISTIP.Add(); code != 0) {
      r.error = tip_file + ": " + DriverError(code);
      VISTIP.Flush();
      VISTIP.Close();
      return r;
    }
    ++r.added;
  }
  VISTIP.Flush();
  VISTIP.Close();
  r.ok = true;
  return r;
}

}  // namespace vistip
