// The "Link to Tip:" list: the tip file's tips read through a view of their three key fields,
// sorted by control name, with the combo's selection on the name the reading left behind.
#include "runtime/errors.h"
#include "runtime/thread.h"
#include "settings/upd_control_setting.h"
#include "tipstore/standard_warning.h"

namespace vistip::settings {

size_t LinkRows::Rows() const {
  return static_cast<size_t>(rows_.Records());
}

std::string LinkRows::Cell(size_t row, size_t column) const {
  const LinkRow kept = rows_.buf;
  const int32_t pointer = rows_.Pointer();
  rows_.Get(static_cast<int32_t>(row));
  std::string cell;
  if (rt::ErrorCode() == rt::kNoError) {
    const LinkRow& r = rows_.buf;
    cell = column == 1   ? r.CONTROLNAME.str()
           : column == 2 ? r.PROCEDURENAME.str()
                         : r.CONTROLTYPE.str();
  }
  if (pointer > 0) rows_.Get(pointer);
  rows_.buf = kept;
  return cell;
}

void UpdControlSetting::FillList() {
  FILEDROPCOMBO.Free();
  LINKTIP.Set();
  // Field numbers of the declaration: control name, procedure name, control type.
  rt::View view(LINKTIP, {1, 0, 2});
  if (view.SetFilter("") != rt::kNoError) StandardWarning(36);
  if (view.Open() != rt::kNoError) StandardWarning(36);
  for (;;) {
    const int32_t code = view.Next();
    if (code == rt::kNoMoreRecords) break;
    if (code != rt::kNoError) {
      StandardWarning(35, "LinkTip");
      rt::Post(rt::kEventCloseWindow);
      return;
    }
    FILEDROPCOMBO.buf.CONTROLNAME = LIN.CONTROLNAME;
    FILEDROPCOMBO.buf.PROCEDURENAME = LIN.PROCEDURENAME;
    FILEDROPCOMBO.buf.CONTROLTYPE = LIN.CONTROLTYPE;
    FILEDROPCOMBO.Add();
  }
  view.Close();
  if (FILEDROPCOMBO.Records() == 0) {
    LIN.CONTROLNAME = "";
    return;
  }
  FILEDROPCOMBO.Sort(&LinkRow::CONTROLNAME);
  if (LIN.CONTROLNAME.blank()) return;
  for (LOOPINDEX = 1; LOOPINDEX <= FILEDROPCOMBO.Records(); ++LOOPINDEX) {
    FILEDROPCOMBO.Get(LOOPINDEX);
    if (FILEDROPCOMBO.buf.CONTROLNAME == LIN.CONTROLNAME) break;
  }
  Window.SetPropInt(kLinkCombo, rt::kPropSelStart, LOOPINDEX);
}

}  // namespace vistip::settings
