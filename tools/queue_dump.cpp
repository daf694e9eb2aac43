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

std::string DumpQueues() {
  CONTROLQUEUE.Sort(&CtlRecord::CONTROLNUMBER);  // the build leaves it in name order
  std::string out = "CONTROLQUEUE\n";
  for (int32_t i = 1; i <= CONTROLQUEUE.Records(); ++i) {
    CONTROLQUEUE.Get(i);
    out += Line({std::to_string(CTL.CONTROLNUMBER), std::to_string(CTL.LINE), CTL.TYPE.view(),
                 CTL.NAME.view(), CTL.TEXT.view()});
  }
  out += "SETTINGSQUEUE\n";
  for (int32_t i = 1; i <= SETTINGSQUEUE.Records(); ++i) {
    SETTINGSQUEUE.Get(i);
    out += Line({SET.CONTROLNAME.view(), SET.PROP.view(), SET.SETTING.view(), SET.TEXT.view()});
  }
  return out;
}

}  // namespace vistip
