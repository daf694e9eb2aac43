// The use counters: windows on their own threads share one open tip file, and the last one to
// end closes it; a window that never opened its files leaves the counters alone.
#include "tipstore/window_files.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "state/state.h"
#include "tests/tipstore/fixture.h"

namespace vistip::testing {
namespace {

// A window procedure as the tip window runs it: its files opened before its window, closed
// when its loop ends.
struct TestWindow {
  int32_t thread = 0;
  rt::Window* window = nullptr;
  bool ended = false;

  void Start() {
    thread = rt::Start([this] {
      int32_t files_opened = 0;
      OpenWindowFiles({&VISTIP, &LINKTIP}, files_opened);
      rt::Window w(rt::WindowDesc{});
      w.Open();
      window = &w;
      while (w.Accept()) {
      }
      window = nullptr;
      CloseWindowFiles({&VISTIP, &LINKTIP}, files_opened);
      ended = true;
    });
    ASSERT_TRUE(rt::WaitFor([this] { return window != nullptr; }));
  }
  void Close() {
    rt::harness::CloseWindow(*window);
    ASSERT_TRUE(rt::WaitFor([this] { return ended; }));
  }
};

// Whether another opener could now have the file to itself, so nobody holds it open.
bool NobodyHoldsTheFile() {
  TipBuffer buffer;
  return OwnTipFile(buffer, GLO.VTAPPNAME.str())->Open(rt::kOpenExclusive) == 0;
}

class WindowFilesTest : public TipStoreTest {
 protected:
  void SetUp() override {
    TipStoreTest::SetUp();
    GLO.VTAPPNAME = "Vistip.Tps";
    MakeTipFile("Vistip.Tps", 3);
  }
};

TEST_F(WindowFilesTest, TheLastOfTwoWindowsClosesTheFile) {
  TestWindow first, second;
  first.Start();
  EXPECT_EQ(VISTIP.USED, 1);
  EXPECT_EQ(LINKTIP.USED, 1);
  second.Start();
  EXPECT_EQ(VISTIP.USED, 2);
  EXPECT_EQ(LINKTIP.USED, 2);

  first.Close();
  EXPECT_EQ(VISTIP.USED, 1);
  EXPECT_EQ(LINKTIP.USED, 1);
  ASSERT_TRUE(VISTIP.IsOpen());
  ASSERT_TRUE(LINKTIP.IsOpen());
  VTH = TipBuffer{};
  VTH.PROCEDURENAME = "Proc2";
  VTH.CONTROLNAME = "?Field2";
  EXPECT_EQ(VISTIP.Get(TipBuffer::PROCEDURENAMEKEY), 0);
  EXPECT_FALSE(NobodyHoldsTheFile());

  second.Close();
  EXPECT_EQ(VISTIP.USED, 0);
  EXPECT_EQ(LINKTIP.USED, 0);
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_FALSE(LINKTIP.IsOpen());
  EXPECT_TRUE(NobodyHoldsTheFile());
}

TEST_F(WindowFilesTest, AWindowThatNeverOpenedItsFilesLeavesTheCountersAlone) {
  TestWindow other;
  other.Start();
  int32_t files_opened = 0;  // this window ended before it opened its files
  CloseWindowFiles({&VISTIP, &LINKTIP}, files_opened);
  EXPECT_EQ(VISTIP.USED, 1);
  EXPECT_EQ(LINKTIP.USED, 1);
  EXPECT_TRUE(VISTIP.IsOpen());
  EXPECT_TRUE(LINKTIP.IsOpen());
  other.Close();
  EXPECT_EQ(VISTIP.USED, 0);
}

TEST_F(WindowFilesTest, ADialogOnAnOpenLinkDeclarationOnlyCountsItself) {
  TestWindow tip_window;
  tip_window.Start();
  int32_t files_opened = 0;
  OpenWindowFiles({&LINKTIP}, files_opened);
  EXPECT_EQ(files_opened, 1);
  EXPECT_EQ(LINKTIP.USED, 2);
  EXPECT_EQ(VISTIP.USED, 1);
  CloseWindowFiles({&LINKTIP}, files_opened);
  EXPECT_EQ(files_opened, 0);
  EXPECT_EQ(LINKTIP.USED, 1);
  EXPECT_TRUE(LINKTIP.IsOpen());
  CloseWindowFiles({&LINKTIP}, files_opened);  // a second close changes nothing
  EXPECT_EQ(LINKTIP.USED, 1);
  tip_window.Close();
  EXPECT_FALSE(LINKTIP.IsOpen());
}

}  // namespace
}  // namespace vistip::testing
