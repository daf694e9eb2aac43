// The administrator's switch for program calls from tips: the environment variable, the user's
// INI file and the machine's INI file, each able to turn the calls off and none to turn another's
// choice back on.
#include "platform/run_policy.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/api/api_fixture.h"
#include "tests/support/processes.h"

namespace vistip::testing {
namespace {

struct PolicyCase {
  const char* name;
  const char* env;  // nullptr: not set
  std::string user_ini, machine_ini;
  bool allowed;
};

const PolicyCase kPolicyCases[] = {
    {"NothingSaid", nullptr, "", "", true},
    {"OtherEntriesOnly", nullptr, "[Clarion 4]\nRoot=C:\\C4\\\n", "[Vistip]\nOther=No\n", true},
    {"EnvOff", "off", "", "", false},
    {"EnvZero", "0", "", "", false},
    {"EnvEmptySaysNothing", "", "", "", true},
    {"EnvYes", "Yes", "", "", true},
    {"UserIniNo", nullptr, "[Vistip]\r\nRunPrograms=No\r\n", "", false},
    {"UserIniAnyOtherWord", nullptr, "[vistip]\nrunprograms = disabled\n", "", false},
    {"UserIniOn", nullptr, "[Vistip]\nRunPrograms=On\n", "", true},
    {"MachineIniOff", nullptr, "", "[Vistip]\nRunPrograms=Off\n", false},
    {"UserCannotTurnTheMachineBack", "yes", "[Vistip]\nRunPrograms=Yes\n",
     "[Vistip]\nRunPrograms=0\n", false},
    {"CommentedOut", nullptr, "[Vistip]\n;RunPrograms=No\n", "", true},
};

class RunPolicyTest : public ::testing::TestWithParam<PolicyCase> {
 protected:
  TempDir dir_;
};

TEST_P(RunPolicyTest, DecidesWhetherTipsMayStartPrograms) {
  const PolicyCase& c = GetParam();
  testsupport::ScopedEnv env(std::string(kRunProgramsVariable).c_str(), c.env);
  const std::string user = (dir_.path() / "user.ini").string();
  const std::string machine = (dir_.path() / "machine.ini").string();
  if (!c.user_ini.empty()) std::ofstream(user, std::ios::binary) << c.user_ini;
  if (!c.machine_ini.empty()) std::ofstream(machine, std::ios::binary) << c.machine_ini;
  EXPECT_EQ(TipProgramsAllowed(user, machine), c.allowed);
}

INSTANTIATE_TEST_SUITE_P(Sources, RunPolicyTest, ::testing::ValuesIn(kPolicyCases), CaseName());

// Without arguments the user's file is the runtime's default INI file.
TEST(RunPolicy, ReadsTheRuntimesDefaultIniFile) {
  TempDir dir;
  const std::string ini = (dir.path() / "vistip.ini").string();
  testsupport::ScopedEnv env(std::string(kRunProgramsVariable).c_str(), nullptr);
  testsupport::ScopedEnv file("VTRT_INI", ini.c_str());
  EXPECT_TRUE(TipProgramsAllowed());
  std::ofstream(ini, std::ios::binary) << "[Vistip]\nRunPrograms=No\n";
  EXPECT_FALSE(TipProgramsAllowed());
}

}  // namespace
}  // namespace vistip::testing
