// The built libvistip32.so: exactly the thirteen exported names, and the C wrappers reached
// through them, with null pointers for omitted parameters and for blank strings.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "api/help_request.h"
#include "runtime/codes.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "tests/api/api_fixture.h"
#include "tests/api/test_host.h"
#include "vistip32.h"

namespace vistip::testing {
namespace {

const std::set<std::string> kExports = {"vtSHOWHELP",     "vtCALLHELPTIP", "VTWATCH",
                                        "VTCLOSE",        "vtSetPopUp",    "vtSetEdit",
                                        "UpgradeTipFile", "vtSetCaption",  "vtSetVariableWidth",
                                        "vtSetColor",     "vtStayOpen",    "vtSetToolbox",
                                        "vtIdeHelp"};

// Runs a command and returns what it wrote to standard output.
std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return {};
  std::string out;
  std::array<char, 4096> buf;
  while (size_t n = fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
  return out;
}

TEST(Exports, NmShowsExactlyTheThirteenNames) {
  const std::string listing = Output("nm -D --defined-only '" VISTIP32_LIBRARY "'");
  ASSERT_FALSE(listing.empty()) << "nm gave nothing for " VISTIP32_LIBRARY;
  std::set<std::string> names;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string address, kind, name;
    words >> address >> kind >> name;
    EXPECT_EQ(kind, "T") << line;
    names.insert(name);
  }
  EXPECT_EQ(names, kExports);
}

// The library as a host loads it, once and never unloaded (threads it started may still be
// ending). It shares the runtime with this test, so its calls act on this thread's windows.
class LoadedLibraryTest : public ApiTest {
 protected:
  // Runs in a directory of its own, so the tip files the tip window creates land there.
  void SetUp() override {
    ApiTest::SetUp();
    previous_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    std::filesystem::create_directory(dir_.path() / "Template");
    setenv("VTRT_INI", (dir_.path() / "none.ini").c_str(), 1);
    static void* const handle = dlopen(VISTIP32_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    handle_ = handle;
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  template <class F>
  F* Proc(const char* name) {
    void* proc = dlsym(handle_, name);
    EXPECT_NE(proc, nullptr) << name;
    return reinterpret_cast<F*>(proc);
  }

  void TearDown() override {
    ApiTest::TearDown();
    std::filesystem::current_path(previous_dir_);
    unsetenv("VTRT_INI");
  }

  // Closes the tip window that `call` opens on a thread of the test's and waits for the call.
  void CallAndCloseTip(std::function<void()> call) {
    bool returned = false;
    const int32_t caller = rt::Start([&] {
      call();
      returned = true;
    });
    CloseTipOnThreadOtherThan(rt::Thread());
    EXPECT_TRUE(rt::Join(caller));
    EXPECT_TRUE(returned);
  }

  // Closes the first open window that belongs to another thread than `self` (a tip window).
  static void CloseTipOnThreadOtherThan(int32_t self) {
    rt::Window* tip =
        rt::harness::WaitForWindow([self](const rt::Window& w) { return w.thread() != self; });
    ASSERT_NE(tip, nullptr);
    const uint64_t id = tip->id();
    rt::harness::CloseWindow(*tip);
    EXPECT_TRUE(rt::WaitFor([id] {
      for (const rt::Window* w : rt::OpenWindows())
        if (w->id() == id) return false;
      return true;
    }));
  }

  void* handle_ = nullptr;
  TempDir dir_;
  std::filesystem::path previous_dir_;
};

rt::WindowDesc FiveFieldsAndNegatives() {
  rt::WindowDesc d;
  for (int32_t f : {-3, 1, 2, 3, 4, 5})
    d.controls.push_back({.field = f, .type = rt::kCreateButton, .text = "b"});
  return d;
}

int32_t HelpAlert(const rt::Window& w, int32_t field) {
  return w.GetPropInt(field, rt::kPropAlert, kHelpAlertSlot);
}

TEST_F(LoadedLibraryTest, NullListAndFlagsAreOmitted) {
  rt::Window w(FiveFieldsAndNegatives());
  w.Open();
  Proc<decltype(::vtSHOWHELP)>("vtSHOWHELP")(nullptr, nullptr);
  for (int32_t f : {-3, 1, 2, 3, 4, 5}) EXPECT_EQ(HelpAlert(w, f), rt::kMouseRight) << f;
  w.Close();
}

TEST_F(LoadedLibraryTest, ListAndFlagsPassedByPointer) {
  rt::Window w(FiveFieldsAndNegatives());
  w.Open();
  const int32_t two = 2;
  Proc<decltype(::vtSHOWHELP)>("vtSHOWHELP")("-3|3|5", &two);
  EXPECT_EQ(HelpAlert(w, -3), rt::kMouseRight) << "flags 2 arms -1 to -20";
  EXPECT_EQ(HelpAlert(w, 3), 0);
  EXPECT_EQ(HelpAlert(w, 5), 0);
  EXPECT_EQ(HelpAlert(w, 4), rt::kMouseRight);
  const int32_t zero = 0;
  Proc<decltype(::vtSHOWHELP)>("vtSHOWHELP")("", &zero);  // blank, not omitted: "||"
  EXPECT_EQ(HelpAlert(w, 3), rt::kMouseRight);
  w.Close();
}

TEST_F(LoadedLibraryTest, NullStringsReadAsBlankAndNothingFails) {
  rt::Window w(FiveFieldsAndNegatives());
  w.Open();
  Proc<decltype(::vtSetPopUp)>("vtSetPopUp")(nullptr);
  Proc<decltype(::vtSetCaption)>("vtSetCaption")(nullptr);
  // Each opens a real tip window ("No Help for this Topic"); a person closes it.
  Proc<decltype(::vtCALLHELPTIP)>("vtCALLHELPTIP")(nullptr, nullptr, nullptr, nullptr);
  CloseTipOnThreadOtherThan(rt::Thread());
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "Vistip.Tps")) << "blank name: the default";
  CallAndCloseTip([this] {
    Proc<decltype(::vtCALLHELPTIP)>("vtCALLHELPTIP")(nullptr, nullptr, nullptr, "IDE");
  });
  CallAndCloseTip([this] { Proc<decltype(::vtIdeHelp)>("vtIdeHelp")(0, nullptr); });
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "Template" / "Warden.Vth"));
  Proc<decltype(::VTCLOSE)>("VTCLOSE")();
  EXPECT_EQ(Proc<decltype(::VTWATCH)>("VTWATCH")(nullptr), 0) << "no event: no help request";
  EXPECT_EQ(Proc<decltype(::VTWATCH)>("VTWATCH")(""), 0);
  EXPECT_TRUE(rt::WaitIdle());
  w.Close();
}

TEST_F(LoadedLibraryTest, UpgradeWithTheNameOmittedConvertsTheFileLastNamed) {
  // The library's own request variables name the file: the tip window created it in the current
  // layout, so the upgrade finds no old file there and says so.
  bool returned = false;
  bool tip_closed = false;
  const int32_t caller = rt::Start([this, &returned, &tip_closed] {
    Proc<decltype(::vtCALLHELPTIP)>("vtCALLHELPTIP")("none.tps", "", "", "IDE");
    tip_closed = true;
    Proc<decltype(::UpgradeTipFile)>("UpgradeTipFile")(nullptr);
    returned = true;
  });
  CloseTipOnThreadOtherThan(rt::Thread());
  ASSERT_TRUE(rt::WaitFor([&] { return tip_closed; }));
  rt::Window* message = rt::harness::WaitForWindow([](const rt::Window& w) {
    return ShownStrings(w).starts_with("Unable to access Tip file : none.tps because");
  });
  ASSERT_NE(message, nullptr);
  ASSERT_TRUE(rt::harness::ClickButton(*message, "&OK"));
  EXPECT_TRUE(rt::Join(caller));
  EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace vistip::testing
