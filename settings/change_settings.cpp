// "&Ok" of the settings dialog: the page's values written into SETTINGSQUEUE, each added in
// key order or replacing the row it had. Nothing is ever removed.
#include "settings/upd_control_setting.h"
#include "tipwindow/queues.h"

namespace vistip::settings {

void UpdControlSetting::ChangeSettingsRtn() {
  const auto slot = [this](int i) { return ENTRYFIELD[i].clip(); };
  if (IsType("BUTTON")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[1].view());
    const std::string_view kind = ENTRYFIELD[2].view().substr(0, 3);
    if (kind == "EXE") WriteSetting(kPropCallName, "EXE" + std::string(slot(3)));
    if (kind == "MSG")
      WriteSetting(kPropCallName, "MSG" + std::string(slot(4)) + "," + std::string(slot(5)));
    if (kind == "HLP")
      WriteSetting(kPropCallName, "HLP" + std::string(slot(6)) + "," + std::string(slot(7)));
  } else if (IsType("STRING")) {
    WriteSetting(kPropFontName, ENTRYFIELD[1].view());
  } else if (IsType("HTTP")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[1].view());
  } else if (IsType("LNK")) {
    WriteSetting(kPropToolTipName, ENTRYFIELD[1].view());
    WriteSetting(kPropLinkTipProc, SAV.RECORD.PROCEDURENAME.clip());
    WriteSetting(kPropLinkTipCtl, SAV.RECORD.CONTROLNAME.clip());
  }
}

void UpdControlSetting::WriteSetting(const char* prop, std::string_view value) {
  const bool found = ReadSetting(prop);
  SET.CONTROLNAME = CTL.NAME;
  SET.PROP = prop;
  SET.TEXT = CTL.TEXT;
  SET.SETTING = value;
  if (found)
    SETTINGSQUEUE.Put();
  else
    SETTINGSQUEUE.AddByKey(&SetRecord::CONTROLNAME, &SetRecord::PROP);
}

}  // namespace vistip::settings
