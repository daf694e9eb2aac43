// Shared set-up of the host-interface tests: a runtime thread for the test itself on the
// headless backend, the process-wide state reset to its load-time values, a plain command
// line, and the built-in tip window restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "api/call_help_tip.h"
#include "runtime/backend.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"

namespace vistip::testing {

class ApiTest : public ::testing::Test {
 protected:
  ApiTest() { rt::UseHeadlessBackend(); }
  void SetUp() override {
    GLO = GlobalState{};
    POS = PositionState{};
    rt::SetCommandLineForTesting({"api_tests"});
  }
  void TearDown() override {
    rt::WaitIdle();
    SetTipWindowProcedure({});
    rt::SetCommandLineForTesting({"api_tests"});
  }

  rt::RuntimeThread thread_;
};

// Names a parameterized test after the `name` of its case.
struct CaseName {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
    return param.param.name;
  }
};

// A directory made for one test and removed with everything in it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vistip::testing
