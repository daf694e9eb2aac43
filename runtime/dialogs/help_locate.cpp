// Finds a help file named without a folder: in the current directory, beside the program, in the
// data folder installed with the runtime, then in the data folders of $XDG_DATA_DIRS.
#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "runtime/dialogs/help_file.h"

namespace rt {
namespace {

namespace fs = std::filesystem;

// The folder of the file that holds this code: libvtrt.so, or a program built with the runtime
// inside it; empty when unknown.
fs::path OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LocateHelpFile), &info) == 0 || info.dli_fname == nullptr)
    return {};
  std::error_code ec;
  const fs::path file = fs::canonical(info.dli_fname, ec);
  return ec ? fs::path{} : file.parent_path();
}

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path{} : program.parent_path();
}

std::vector<fs::path> SearchFolders() {
  std::vector<fs::path> folders{fs::path(".")};
  if (const fs::path program = ProgramFolder(); !program.empty()) folders.push_back(program);
  if (const fs::path own = OwnFolder(); !own.empty()) {
    folders.push_back(own / VTRT_DATA_FROM_LIBDIR);
    folders.push_back(own / VTRT_DATA_FROM_BINDIR);
  }
  const char* xdg = std::getenv("XDG_DATA_DIRS");
  const std::string dirs = xdg && *xdg ? xdg : "/usr/local/share:/usr/share";
  for (size_t from = 0; from <= dirs.size();) {
    size_t to = dirs.find(':', from);
    if (to == std::string::npos) to = dirs.size();
    if (to > from) folders.push_back(fs::path(dirs.substr(from, to - from)) / "vistip");
    from = to + 1;
  }
  return folders;
}

}  // namespace

std::string LocateHelpFile(std::string_view name) {
  const std::string given(name);
  if (given.empty() || given.find_first_of("/\\") != std::string::npos) return given;
  for (const fs::path& folder : SearchFolders()) {
    std::error_code ec;
    const fs::path candidate = folder / given;
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  return given;
}

}  // namespace rt
