// The drive-map fixture of the ntpaths tests.
#include "tests/ntpaths/fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ntpaths/winfs/winfs.h"

namespace fs = std::filesystem;

void DrivesTest::SetUp() {
  std::string tmpl = (fs::temp_directory_path() / "ntpaths-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  root_ = tmpl;
  for (const char* d : {"c", "d", "n"}) fs::create_directory(Host(d));
  std::string drive_map = "C=" + Host("c") + ";D=" + Host("d") + ";N=" + Host("n") + ",noshort";
  ASSERT_TRUE(winfs::ConfigureDrives(drive_map));
  ChangeTo("C:\\");
}

void DrivesTest::TearDown() {
  ASSERT_EQ(chdir("/"), 0);
  winfs::ResetDrives();
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void DrivesTest::MakeDir(const std::string& rel) const {
  fs::create_directories(Host(rel));
}

void DrivesTest::MakeFile(const std::string& rel, const std::string& content) const {
  std::ofstream(Host(rel), std::ios::binary) << content;
}

bool DrivesTest::Exists(const std::string& rel) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(Host(rel), ec));
}

std::string DrivesTest::Content(const std::string& rel) const {
  std::ifstream in(Host(rel), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void DrivesTest::ChangeTo(const std::string& path) const {
  char buf[NTPATHS_MAX_PATH];
  std::strncpy(buf, path.c_str(), sizeof buf - 1);
  buf[sizeof buf - 1] = 0;
  ASSERT_EQ(NTCHANGEDIRECTORY(buf), 0) << path;
}

NtFindRecord Filled(unsigned char byte) {
  NtFindRecord r;
  std::memset(&r, byte, sizeof r);
  return r;
}

bool AllZero(const NtFindRecord& r) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(&r);
  for (size_t i = 0; i < sizeof r; ++i)
    if (p[i]) return false;
  return true;
}

std::uint32_t At(const NtFindRecord& r, size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&r) + offset, sizeof v);
  return v;
}
