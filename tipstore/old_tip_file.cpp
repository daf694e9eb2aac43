// Creating an old-layout tip file and adding its records through VISTIPOLD.
#include "tipstore/old_tip_file.h"

#include "runtime/cstring.h"
#include "runtime/errors.h"
#include "state/state.h"

namespace vistip {
namespace {

int32_t AddRecords(int32_t count, const OldTipFiller& fill) {
  int32_t code = VISTIPOLD.Stream();
  for (int32_t n = 1; n <= count && code == rt::kNoError; ++n) {
    VTG = OldTipBuffer{};
    fill(n, VTG);
    code = VISTIPOLD.Add();
  }
  const int32_t flushed = VISTIPOLD.Flush();
  return code != rt::kNoError ? code : flushed;
}

}  // namespace

int32_t WriteOldTipFile(std::string_view name, int32_t count, const OldTipFiller& fill) {
  const rt::String<255> saved = GLO.VTAPPNAMEOLD;
  GLO.VTAPPNAMEOLD = name;
  int32_t code = VISTIPOLD.Create();
  if (code == rt::kNoError) code = VISTIPOLD.Open(rt::kOpenExclusive);
  if (code == rt::kNoError) {
    code = AddRecords(count, fill);
    const int32_t closed = VISTIPOLD.Close();
    if (code == rt::kNoError) code = closed;
  }
  GLO.VTAPPNAMEOLD = saved;
  return code;
}

}  // namespace vistip
