// The tip file check: every record compiled on a tip window of its own, the unclosed tags taken
// from the messages the compiler shows, then its settings and links examined.
#include "tools/tip_check.h"

#include <map>
#include <memory>
#include <set>
#include <utility>

#include "api/state.h"
#include "runtime/dialogs.h"
#include "runtime/strings.h"
#include "tipwindow/help_tip_window.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

using tipwindow::HelpTipWindow;

std::string Quoted(std::string_view bytes) {
  return "\"" + EscapeText(bytes) + "\"";
}

class TipChecker {
 public:
  explicit TipChecker(CheckResult& result) : result_(result) {
    previous_ = rt::SetMessageHandler([this](std::string_view text, std::string_view) {
      // The compiler's only message: a tag not closed in time, on the line it is scanning.
      if (tip_)
        Report(tip_->STRINGSUB, "unclosed tag in " + Quoted(tip_->HOLDINGSTRING.clip()));
      else
        Report(0, EscapeText(text));
    });
  }
  ~TipChecker() { rt::SetMessageHandler(std::move(previous_)); }
  TipChecker(const TipChecker&) = delete;
  TipChecker& operator=(const TipChecker&) = delete;

  void Check(const TipText& t) {
    title_ = TipTitle(t);
    // A window of its own for each tip, as each request gets: its width is the tip's alone.
    tip_ = std::make_unique<HelpTipWindow>();
    tip_->Window.Open();
    ToBuffer(t, VTH);
    tip_->SETTINGS1 = VTH.SETTINGS;
    SETTINGSQUEUE.Free();
    tip_->LoadCtlQueueRtn();
    tip_->LoadSettingsQueueRtn();
    CheckSettings();
    CheckLinks();
    tip_->Window.Close();
    tip_.reset();
  }

 private:
  struct Link {
    std::string name, text;
    int32_t line;
  };

  void Report(int32_t line, std::string message) {
    result_.problems.push_back({title_, line, std::move(message)});
  }

  void CheckSettings() {
    std::set<std::string> controls;
    for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
      CONTROLQUEUE.Get(i);
      controls.emplace(CTL.NAME.clip());
    }
    for (int32_t i = 1; i <= SETTINGSQUEUE.Records(); ++i) {
      SETTINGSQUEUE.Get(i);
      const std::string row =
          "settings row [" + EscapeText(SET.CONTROLNAME.clip()) + "]" + EscapeText(SET.PROP.clip());
      if (!controls.contains(std::string(SET.CONTROLNAME.clip())))
        Report(0, row + ": control " + Quoted(SET.CONTROLNAME.clip()) + " no longer exists");
      const std::string_view kind = SET.SETTING.clip().substr(0, 3);
      if (SET.PROP.clip() == kPropCallName && kind != "EXE" && kind != "MSG" && kind != "HLP")
        Report(0, row + ": call " + Quoted(SET.SETTING.clip()) + " is of kind " + Quoted(kind) +
                      ", not EXE, MSG or HLP");
    }
  }

  // A link leads where its settings say; one without a target control is bound on its first
  // click to the control named like its text.
  void CheckLinks() {
    std::vector<Link> links;
    for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
      CONTROLQUEUE.Get(i);
      if (rt::Upper(CTL.TYPE.clip()) == kTypeLnk)
        links.push_back({std::string(CTL.NAME.clip()), std::string(CTL.TEXT.clip()), CTL.LINE});
    }
    for (const Link& link : links) {
      std::string procedure, control, how;
      if (tip_->FindSetting(link.name, kPropLinkTipProc)) procedure = SET.SETTING.clip();
      if (tip_->FindSetting(link.name, kPropLinkTipCtl)) {
        control = SET.SETTING.clip();
      } else {
        GLO.VTCONTROLNAME = std::string_view(link.text).substr(0, GLO.VTCONTROLNAME.size());
        tip_->MakeControlName();
        procedure.clear();
        control = GLO.VTCONTROLNAME.clip();
        how = " (no target set: its first click binds it to the control named like its text)";
      }
      if (!TipExists(procedure, control))
        Report(link.line, "link " + link.name + " " + Quoted(link.text) + " leads to procedure " +
                              Quoted(procedure) + ", control " + Quoted(control) + ": no such tip" +
                              how);
    }
  }

  // Whether following a link to (procedure, control) finds a tip: the tip window's own lookup.
  bool TipExists(const std::string& procedure, const std::string& control) {
    const auto key = std::make_pair(procedure, control);
    if (const auto known = found_.find(key); known != found_.end()) return known->second;
    GLO.VTPROCEDURENAME = procedure;
    GLO.VTCONTROLNAME = control;
    GLO.VTCONTROLTYPE.clear();
    tip_->LoadTipFromFile();
    return found_[key] = tip_->LOCALREQUEST != tipwindow::kInsertRecord;
  }

  CheckResult& result_;
  rt::MessageHandler previous_;
  std::unique_ptr<HelpTipWindow> tip_;
  std::string title_;
  std::map<std::pair<std::string, std::string>, bool> found_;
};

}  // namespace

CheckResult CheckTipFile(const std::string& tip_file) {
  CheckResult result;
  std::vector<TipText> tips;
  if (const TipFileResult r = ExportTips(tip_file, tips); !r.ok) {
    result.error = r.error;
    return result;
  }
  // Open again for the links' lookups.
  if (const TipFileResult r = OpenExistingTipFile(tip_file); !r.ok) {
    result.error = r.error;
    return result;
  }
  {
    TipChecker checker(result);
    for (const TipText& t : tips) checker.Check(t);
  }
  VISTIP.Close();
  result.tips = tips.size();
  result.ok = true;
  return result;
}

}  // namespace vistip
