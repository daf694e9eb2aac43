// The command line of vistip: help for every subcommand, usage errors and unreadable files
// exit 2 with a message on standard error.
#include <gtest/gtest.h>

#include "tests/tools/run_vistip.h"
#include "tests/tools/tool_fixture.h"

namespace vistip::testing {
namespace {

class SubcommandHelp : public ::testing::TestWithParam<const char*> {};

TEST_P(SubcommandHelp, PrintsItsUsageAndExitsZero) {
  const Ran ran = RunVistip({GetParam(), "--help"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_NE(ran.out.find(std::string("vistip ") + GetParam()), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find("FILE"), std::string::npos) << ran.out;
}

INSTANTIATE_TEST_SUITE_P(All, SubcommandHelp,
                         ::testing::Values("list", "export", "import", "sync", "check", "dump",
                                           "render", "show", "upgrade"));

TEST(VistipCommand, HelpNamesEverySubcommandAndTheExitStatuses) {
  const Ran ran = RunVistip({"--help"});
  EXPECT_EQ(ran.status, 0);
  for (const char* sub :
       {"list", "export", "import", "sync", "check", "dump", "render", "show", "upgrade"})
    EXPECT_NE(ran.out.find(sub), std::string::npos) << sub;
  EXPECT_NE(ran.out.find("Exit status"), std::string::npos);
}

TEST(VistipCommand, VersionPrintsTheProductVersion) {
  const Ran ran = RunVistip({"--version"});
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_EQ(ran.out, "vistip " VISTIP_VERSION "\n");
}

TEST(VistipCommand, UnknownCommandIsNamedWithTheCommandsThereAre) {
  const Ran ran = RunVistip({"frobnicate", "a.tps"});
  EXPECT_EQ(ran.status, 2);
  EXPECT_NE(ran.err.find("unknown command 'frobnicate'"), std::string::npos) << ran.err;
  EXPECT_NE(ran.err.find("list, export, import"), std::string::npos) << ran.err;
  EXPECT_TRUE(ran.out.empty()) << ran.out;
}

struct UsageCase {
  std::vector<std::string> args;
};

class UsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageError, ExitsTwoWithAMessage) {
  const Ran ran = RunVistip(GetParam().args);
  EXPECT_EQ(ran.status, 2);
  EXPECT_FALSE(ran.err.empty());
  EXPECT_TRUE(ran.out.empty()) << ran.out;
}

INSTANTIATE_TEST_SUITE_P(Cases, UsageError,
                         ::testing::Values(UsageCase{{}}, UsageCase{{"frobnicate"}},
                                           UsageCase{{"list"}}, UsageCase{{"import", "a.tps"}},
                                           UsageCase{{"sync", "a.tps"}},
                                           UsageCase{{"dump", "a.tps", "P", "C"}},
                                           UsageCase{{"render", "a.tps", "P", "C", "T"}},
                                           UsageCase{{"list", "a.tps", "extra"}}));

class MissingFile : public ToolTest,
                    public ::testing::WithParamInterface<std::vector<std::string>> {};

// A file that is not there is reported, and not created.
TEST_P(MissingFile, ExitsTwoNamingTheFile) {
  std::vector<std::string> args = GetParam();
  const std::string file = Path("none.tps");
  args.insert(args.begin() + 1, file);
  const Ran ran = RunVistip(args, {.cwd = dir_.string()});
  EXPECT_EQ(ran.status, 2) << ran.err;
  EXPECT_NE(ran.err.find("vistip: " + file), std::string::npos) << ran.err;
  EXPECT_FALSE(std::filesystem::exists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MissingFile,
    ::testing::Values(std::vector<std::string>{"list"}, std::vector<std::string>{"export"},
                      std::vector<std::string>{"check"},
                      std::vector<std::string>{"dump", "P", "C", "T"},
                      std::vector<std::string>{"render", "P", "C", "T", "-o", "x.png"},
                      std::vector<std::string>{"show", "P", "C", "T"},
                      std::vector<std::string>{"upgrade"}));

}  // namespace
}  // namespace vistip::testing
