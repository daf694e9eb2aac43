// Look-ups in the compiled tip's queues.
#include "tipwindow/queues.h"

#include "runtime/errors.h"

namespace vistip {

std::optional<SetRecord> FindSetting(rt::Queue<SetRecord>& rows, std::string_view control,
                                     std::string_view prop) {
  rows.buf.CONTROLNAME = control;
  rows.buf.PROP = prop;
  rows.GetByKey(&SetRecord::CONTROLNAME, &SetRecord::PROP);
  if (rt::ErrorCode() != rt::kNoError) return std::nullopt;
  return rows.buf;
}

std::optional<CtlRecord> FindControl(rt::Queue<CtlRecord>& controls, int32_t number) {
  controls.buf.CONTROLNUMBER = number;
  controls.GetByKey(&CtlRecord::CONTROLNUMBER);
  if (rt::ErrorCode() != rt::kNoError) return std::nullopt;
  return controls.buf;
}

std::optional<CtlRecord> FindControlNamed(rt::Queue<CtlRecord>& controls, std::string_view name) {
  controls.buf.NAME = name;
  controls.GetByKey(&CtlRecord::NAME);
  if (rt::ErrorCode() != rt::kNoError) return std::nullopt;
  return controls.buf;
}

}  // namespace vistip
