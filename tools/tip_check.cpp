// The tip file check: every record compiled by the tip window's compiler at the tip's own
// width, the unclosed tags it returns, then its settings and links examined.
#include "tools/tip_check.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "runtime/strings.h"
#include "tipwindow/compiler.h"
#include "tipwindow/help_tip_window.h"
#include "tipwindow/lookup.h"
#include "tools/tip_file_io.h"

namespace vistip {
namespace {

class TipChecker {
 public:
  explicit TipChecker(CheckResult& result)
      : result_(result),
        edited_(std::make_unique<TipBuffer>()),
        tip_(std::make_unique<TipBuffer>()),
        window_(tipwindow::TipWindowDesc(*edited_)) {
    window_.Open();  // the edit tab's text control breaks the lines
  }
  ~TipChecker() { window_.Close(); }
  TipChecker(const TipChecker&) = delete;
  TipChecker& operator=(const TipChecker&) = delete;

  void Check(const TipText& t) {
    title_ = TipTitle(t);
    ToBuffer(t, *tip_);
    const CompiledTip compiled = CompileTip(tip_->HELPTIP.view(), TipTextWidth(tip_->OTHER),
                                            EditControlBreaker(window_, *edited_));
    for (const UnclosedTag& tag : compiled.unclosed)
      Report(tag.line, "unclosed tag in " + Quoted(rt::detail::ClipBlanks(tag.text)));
    const std::vector<SetRecord> rows = ReadSettingsMemo(tip_->SETTINGS.view());
    CheckSettings(compiled, rows);
    CheckLinks(compiled, rows);
  }

 private:
  void Report(int32_t line, std::string message) {
    result_.problems.push_back({title_, line, std::move(message)});
  }

  void CheckSettings(const CompiledTip& compiled, const std::vector<SetRecord>& rows) {
    std::set<std::string> controls;
    for (const CompiledControl& c : compiled.controls)
      controls.emplace(rt::String<20>(c.entry.name).clip());
    for (const SetRecord& set : rows) {
      const std::string row =
          "settings row [" + EscapeText(set.CONTROLNAME.clip()) + "]" + EscapeText(set.PROP.clip());
      if (!controls.contains(std::string(set.CONTROLNAME.clip())))
        Report(0, row + ": control " + Quoted(set.CONTROLNAME.clip()) + " no longer exists");
      const std::string_view kind = set.SETTING.clip().substr(0, 3);
      if (set.PROP.clip() == kPropCallName && !IsCallKind(kind))
        Report(0, row + ": call " + Quoted(set.SETTING.clip()) + " is of kind " + Quoted(kind) +
                      ", not EXE, MSG or HLP");
    }
  }

  // A link leads where its settings say; one without a target control is bound on its first
  // click to the control named like its text.
  void CheckLinks(const CompiledTip& compiled, const std::vector<SetRecord>& rows) {
    const auto setting = [&rows](std::string_view control, std::string_view prop) {
      return std::find_if(rows.begin(), rows.end(), [&](const SetRecord& r) {
        return r.CONTROLNAME == control && r.PROP == prop;
      });
    };
    for (const CompiledControl& c : compiled.controls) {
      if (rt::Upper(c.entry.type) != kTypeLnk) continue;
      const std::string name(rt::String<20>(c.entry.name).clip());
      const std::string text(rt::String<10000>(c.entry.text).clip());
      std::string procedure, control, how;
      if (const auto p = setting(name, kPropLinkTipProc); p != rows.end())
        procedure = p->SETTING.clip();
      if (const auto t = setting(name, kPropLinkTipCtl); t != rows.end()) {
        control = t->SETTING.clip();
      } else {
        procedure.clear();
        control = tipwindow::LinkTargetControl(text).clip();
        how = " (no target set: its first click binds it to the control named like its text)";
      }
      if (!TipExists(procedure, control))
        Report(c.line, "link " + name + " " + Quoted(text) + " leads to procedure " +
                           Quoted(procedure) + ", control " + Quoted(control) + ": no such tip" +
                           how);
    }
  }

  // Whether following a link to (procedure, control) finds a tip: the tip window's own lookup.
  bool TipExists(const std::string& procedure, const std::string& control) {
    const auto key = std::make_pair(procedure, control);
    if (const auto known = found_.find(key); known != found_.end()) return known->second;
    int32_t read_error = 0;
    return found_[key] = ReadTip({procedure, control, ""}, read_error) != TipSource::kNone;
  }

  CheckResult& result_;
  std::unique_ptr<TipBuffer> edited_;  // bound to the breaking window's text control
  std::unique_ptr<TipBuffer> tip_;
  rt::Window window_;
  std::string title_;
  std::map<std::pair<std::string, std::string>, bool> found_;
};

}  // namespace

CheckResult CheckTips(const std::string& tip_file, const std::vector<TipText>& tips) {
  CheckResult result;
  // Opened again for the links' lookups, and checked for damage.
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

CheckResult CheckTipFile(const std::string& tip_file) {
  std::vector<TipText> tips;
  if (const TipFileResult r = ExportTips(tip_file, tips); !r.ok) {
    CheckResult result;
    result.error = r.error;
    return result;
  }
  return CheckTips(tip_file, tips);
}

}  // namespace vistip
