// The tip window's help file reads as a help file with the three topics the window asks for.
#include "runtime/dialogs/help_file.h"

#include <gtest/gtest.h>

namespace {

TEST(VistipHelpFile, HasTheTopicsTheTipWindowOpens) {
  rt::HelpFile help;
  ASSERT_TRUE(rt::LoadHelpFile(VISTIP_HELP_FILE, help));
  for (const char* topic : {"Contents", "Control Formatting", "Help Tip Text Editing"}) {
    const int index = rt::FindHelpTopic(help, topic);
    ASSERT_GE(index, 0) << topic;
    EXPECT_GT(help.topics[static_cast<size_t>(index)].text.size(), 200u) << topic;
  }
  EXPECT_EQ(rt::ContentsTopic(help), rt::FindHelpTopic(help, "Contents"));
}

}  // namespace
