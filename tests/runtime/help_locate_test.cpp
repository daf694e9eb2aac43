// Where a help file named without a folder is found: the current directory first, then the data
// folders (here through $XDG_DATA_DIRS); a name with a folder, or one found nowhere, stays as
// it is.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/dialogs/help_file.h"

namespace rt {
namespace {

namespace fs = std::filesystem;

class LocateHelpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("help_locate_test." + std::to_string(getpid()));
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "data1");
    fs::create_directories(root_ / "data2" / "vistip");
    previous_ = fs::current_path();
    fs::current_path(root_ / "cwd");
    const char* xdg = std::getenv("XDG_DATA_DIRS");
    saved_xdg_ = xdg ? xdg : "";
    had_xdg_ = xdg != nullptr;
    setenv("XDG_DATA_DIRS", ((root_ / "data1").string() + ":" + (root_ / "data2").string()).c_str(),
           1);
  }
  void TearDown() override {
    fs::current_path(previous_);
    if (had_xdg_)
      setenv("XDG_DATA_DIRS", saved_xdg_.c_str(), 1);
    else
      unsetenv("XDG_DATA_DIRS");
    fs::remove_all(root_);
  }
  static void Touch(const fs::path& p) { std::ofstream(p) << "== Contents ==\n"; }

  fs::path root_, previous_;
  std::string saved_xdg_;
  bool had_xdg_ = false;
};

TEST_F(LocateHelpFileTest, FindsTheInstalledDataFolderThenPrefersTheCurrentDirectory) {
  const std::string name = "Locate" + std::to_string(getpid()) + ".hlp";
  Touch(root_ / "data2" / "vistip" / name);
  EXPECT_EQ(fs::path(LocateHelpFile(name)), root_ / "data2" / "vistip" / name);
  Touch(root_ / "cwd" / name);
  EXPECT_EQ(LocateHelpFile(name), name);  // the current directory's, named as given
}

TEST_F(LocateHelpFileTest, NamesWithAFolderOrFoundNowhereStayAsGiven) {
  Touch(root_ / "data2" / "vistip" / "a.hlp");
  EXPECT_EQ(LocateHelpFile("sub/a.hlp"), "sub/a.hlp");
  EXPECT_EQ(LocateHelpFile("C:\\help\\a.hlp"), "C:\\help\\a.hlp");
  EXPECT_EQ(LocateHelpFile("missing.hlp"), "missing.hlp");
  EXPECT_EQ(LocateHelpFile(""), "");
}

}  // namespace
}  // namespace rt
