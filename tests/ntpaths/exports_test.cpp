// The shipped library: exactly the eleven names exported, and the functions working when a
// host program loads it, with its drive map from NTPATHS_DRIVES.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "tests/ntpaths/fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(ExportsTest, LibraryExportsExactlyTheElevenNames) {
  std::string command = std::string("nm -D --defined-only ") + NTPATHS_LIBRARY;
  FILE* p = popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::set<std::string> names;
  char line[512];
  while (fgets(line, sizeof line, p)) {
    std::istringstream in(line);
    std::string address, type, name;
    if (in >> address >> type >> name) names.insert(name);
  }
  ASSERT_EQ(pclose(p), 0);
  EXPECT_EQ(names, (std::set<std::string>{
                       "NTMAKEDIRECTORY", "NTREMOVEDIRECTORY", "NTCHANGEDIRECTORY", "NTDELETEFILE",
                       "NTGETCURRENTDIR", "NTRENAMEFILE", "NTLONGTOSHORTFILENAME",
                       "NTSHORTTOLONGFILENAME", "NTFINDFIRST", "NTFINDNEXT", "NTFINDCLOSE"}));
}

// Every function answers a null pointer where it needs a string or a buffer with 87.
struct NullCase {
  const char* what;
  int32_t (*call)();
};
class NullPointerTest : public ::testing::TestWithParam<NullCase> {};
TEST_P(NullPointerTest, Gives87) {
  EXPECT_EQ(GetParam().call(), 87) << GetParam().what;
}
char gBuffer[NTPATHS_MAX_PATH];
NtFindRecord gRecord;
uint32_t gHandle;
const NullCase kNullCases[] = {
    {"NTMAKEDIRECTORY", [] { return NTMAKEDIRECTORY(nullptr); }},
    {"NTREMOVEDIRECTORY", [] { return NTREMOVEDIRECTORY(nullptr); }},
    {"NTCHANGEDIRECTORY", [] { return NTCHANGEDIRECTORY(nullptr); }},
    {"NTDELETEFILE", [] { return NTDELETEFILE(nullptr); }},
    {"NTGETCURRENTDIR", [] { return NTGETCURRENTDIR(0, nullptr); }},
    {"NTGETCURRENTDIR other drive", [] { return NTGETCURRENTDIR(4, nullptr); }},
    {"NTRENAMEFILE old", [] { return NTRENAMEFILE(nullptr, "C:\\x"); }},
    {"NTRENAMEFILE new", [] { return NTRENAMEFILE("C:\\x", nullptr); }},
    {"NTLONGTOSHORTFILENAME long", [] { return NTLONGTOSHORTFILENAME(nullptr, gBuffer, 0); }},
    {"NTLONGTOSHORTFILENAME long, create",
     [] { return NTLONGTOSHORTFILENAME(nullptr, gBuffer, 1); }},
    {"NTLONGTOSHORTFILENAME short", [] { return NTLONGTOSHORTFILENAME("C:\\x", nullptr, 0); }},
    {"NTSHORTTOLONGFILENAME short", [] { return NTSHORTTOLONGFILENAME(nullptr, gBuffer); }},
    {"NTSHORTTOLONGFILENAME long", [] { return NTSHORTTOLONGFILENAME("C:\\x", nullptr); }},
    {"NTFINDFIRST pattern", [] { return NTFINDFIRST(nullptr, &gRecord, &gHandle); }},
    {"NTFINDFIRST record", [] { return NTFINDFIRST("C:\\*", nullptr, &gHandle); }},
    {"NTFINDFIRST handle", [] { return NTFINDFIRST("C:\\*", &gRecord, nullptr); }},
    {"NTFINDNEXT", [] { return NTFINDNEXT(1, nullptr); }},
};
INSTANTIATE_TEST_SUITE_P(Table, NullPointerTest, ::testing::ValuesIn(kNullCases));

TEST(ExportsTest, LoadedLibraryReadsItsDriveMapFromTheEnvironment) {
  std::string tmpl = (fs::temp_directory_path() / "ntpaths-lib-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  setenv("NTPATHS_DRIVES", ("C=" + tmpl).c_str(), 1);
  void* lib = dlopen(NTPATHS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  using MakeDir = int32_t (*)(const char*);
  using LongToShort = int32_t (*)(const char*, char*, int32_t);
  using FindFirst = int32_t (*)(const char*, NtFindRecord*, uint32_t*);
  using FindClose = int32_t (*)(uint32_t);
  auto makeDir = reinterpret_cast<MakeDir>(dlsym(lib, "NTMAKEDIRECTORY"));
  auto longToShort = reinterpret_cast<LongToShort>(dlsym(lib, "NTLONGTOSHORTFILENAME"));
  auto findFirst = reinterpret_cast<FindFirst>(dlsym(lib, "NTFINDFIRST"));
  auto findClose = reinterpret_cast<FindClose>(dlsym(lib, "NTFINDCLOSE"));
  ASSERT_TRUE(makeDir && longToShort && findFirst && findClose);
  EXPECT_EQ(makeDir("C:\\Made By Library"), 0);
  EXPECT_TRUE(fs::is_directory(tmpl + "/Made By Library"));
  char out[NTPATHS_SHORT_BUF];
  EXPECT_EQ(longToShort("c:\\made by library\\New File.text", out, 1), 0);
  EXPECT_STREQ(out, "c:\\MADEBY~1\\NEWFIL~1.TEX");
  NtFindRecord r;
  uint32_t h = 0;
  EXPECT_EQ(findFirst("C:\\MADEBY~1\\*.tex", &r, &h), 0);
  EXPECT_STREQ(r.name, "New File.text");
  EXPECT_EQ(findClose(h), 0);
  // The library does not export its internals, so this process's own copy is untouched.
  EXPECT_EQ(dlsym(lib, "_ZN5winfs15ConfigureDrivesESt17basic_string_viewIcSt11char_traitsIcEE"),
            nullptr);
  dlclose(lib);
  unsetenv("NTPATHS_DRIVES");
  fs::remove_all(tmpl);
}

}  // namespace
