// The registry stand-in for the default browser: $BROWSER, else xdg-open on PATH.
#include "platform/browser.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace vistip {
namespace {

std::string FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!dirs.empty()) {
    const size_t end = dirs.find(':');
    std::string dir(dirs.substr(0, end));
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + std::string(program);
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string_view::npos) break;
    dirs.remove_prefix(end + 1);
  }
  return {};
}

}  // namespace

int32_t QueryDefaultBrowser(std::string& value) {
  value.clear();
  std::string found;
  if (const char* browser = std::getenv("BROWSER"); browser != nullptr && *browser != '\0') {
    found = browser;
  } else if (const std::string xdg = FindOnPath("xdg-open"); !xdg.empty()) {
    found = "\"" + xdg + "\" \"%1\"";
  } else {
    return kBrowserNotFound;
  }
  if (found.size() >= kBrowserValueSize) return kBrowserValueTooLong;
  value = std::move(found);
  return 0;
}

}  // namespace vistip
