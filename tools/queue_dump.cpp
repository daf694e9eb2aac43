// Writing the compiled queues one entry a line.
#include "tools/queue_dump.h"

#include <initializer_list>
#include <string_view>

#include "tipwindow/queues.h"
#include "tools/tip_text.h"

namespace vistip {
namespace {

std::string Line(std::initializer_list<std::string_view> fields) {
  std::string out;
  for (std::string_view f : fields) {
    if (!out.empty()) out += '\t';
    out += EscapeText(rt::detail::ClipBlanks(f));
  }
  return out + "\n";
}

}  // namespace

std::string DumpQueues(rt::Queue<CtlRecord>& controls, rt::Queue<SetRecord>& settings) {
  controls.Sort(&CtlRecord::CONTROLNUMBER);  // the build leaves it in name order
  std::string out = "CONTROLQUEUE\n";
  for (int32_t i = 1; i <= controls.Records(); ++i) {
    controls.Get(i);
    const CtlRecord& c = controls.buf;
    out += Line({std::to_string(c.CONTROLNUMBER), std::to_string(c.LINE), c.TYPE.view(),
                 c.NAME.view(), c.TEXT.view()});
  }
  out += "SETTINGSQUEUE\n";
  for (int32_t i = 1; i <= settings.Records(); ++i) {
    settings.Get(i);
    const SetRecord& s = settings.buf;
    out += Line({s.CONTROLNAME.view(), s.PROP.view(), s.SETTING.view(), s.TEXT.view()});
  }
  return out;
}

}  // namespace vistip
