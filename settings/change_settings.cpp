// "&Ok" of the settings dialog: the page's values written into SETTINGSQUEUE, each added in
// key order or replacing the row it had. Nothing is ever removed.
#include "settings/upd_control_setting.h"
#include "tipwindow/queues.h"

namespace vistip::settings {

void UpdControlSetting::ChangeSettingsRtn() {
  const auto slot = [this](int i) { return ENTRYFIELD[i].clip(); };
  if (IsType("BUTTON")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[kFirstEntry].view());
    const std::string_view kind = ENTRYFIELD[kCallKind].view().substr(0, 3);
    if (kind == "EXE") WriteSetting(kPropCallName, "EXE" + std::string(slot(kExeProgram)));
    if (kind == "MSG")
      WriteSetting(kPropCallName,
                   "MSG" + std::string(slot(kMessage)) + "," + std::string(slot(kThread)));
    if (kind == "HLP")
      WriteSetting(kPropCallName,
                   "HLP" + std::string(slot(kHelpFile)) + "," + std::string(slot(kHelpTopic)));
  } else if (IsType("STRING")) {
    WriteSetting(kPropFontName, ENTRYFIELD[kFirstEntry].view());
  } else if (IsType("HTTP")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[kFirstEntry].view());
  } else if (IsType("LNK")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[kFirstEntry].view());
    WriteSetting(kPropLinkTipProc, SAV.RECORD.PROCEDURENAME.clip());
    WriteSetting(kPropLinkTipCtl, SAV.RECORD.CONTROLNAME.clip());
  }
}

void UpdControlSetting::WriteSetting(const char* prop, std::string_view value) {
  const bool found = ReadSetting(prop).has_value();  // the row found is the queue's current one
  SetRecord& row = SETTINGSQUEUE.buf;
  row.CONTROLNAME = CTL.NAME;
  row.PROP = prop;
  row.TEXT = CTL.TEXT;
  row.SETTING = value;
  if (found)
    SETTINGSQUEUE.Put();
  else
    SETTINGSQUEUE.AddByKey(&SetRecord::CONTROLNAME, &SetRecord::PROP);
}

}  // namespace vistip::settings
