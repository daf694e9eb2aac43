// The runtime's C interface: a window built, opened and driven through it, and every kind of bad
// call (null, unknown and freed handles, missing fields, the wrong thread) answered with its
// error value.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/c.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "runtime/window.h"

namespace rt {
namespace {

class CApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessBackend();
    ASSERT_GT(vt_attach_thread(), 0);
    desc_ = vt_desc_new("C host", 10, 10, 120, 60);
    ASSERT_NE(desc_, nullptr);
    ASSERT_EQ(vt_desc_add(desc_, 1, VT_PROMPT, 5, 5, 0, 0, "&Name:"), VT_OK);
    ASSERT_EQ(vt_desc_add(desc_, 2, VT_ENTRY, 40, 5, 60, 10, ""), VT_OK);
    ASSERT_EQ(vt_desc_add(desc_, 3, VT_BUTTON, 40, 30, 40, 14, "&Ok"), VT_OK);
  }
  void TearDown() override {
    vt_desc_free(desc_);
    EXPECT_EQ(vt_detach_thread(), VT_OK);
  }
  vt_desc* desc_ = nullptr;
};

TEST_F(CApiTest, OpensAWindowAndReadsItsEvents) {
  vt_window* w = nullptr;
  ASSERT_EQ(vt_window_open(desc_, &w), VT_OK);
  ASSERT_EQ(vt_set_prop(w, 1, VT_PROP_TEXT, "&Customer:"), VT_OK);
  char text[6];
  EXPECT_EQ(vt_get_prop(w, 1, VT_PROP_TEXT, text, sizeof text), 10);  // full length, cut copy
  EXPECT_STREQ(text, "&Cust");
  ASSERT_EQ(vt_window_accept(w), 1);
  EXPECT_EQ(vt_event(), VT_EVENT_OPEN_WINDOW);

  const int32_t self = vt_thread();
  Start([self] { harness::Click(*harness::CurrentWindowOf(self), 3); });
  int32_t accepted_field = 0;
  while (accepted_field == 0 && vt_window_accept(w) == 1)
    if (vt_event() == VT_EVENT_ACCEPTED) accepted_field = vt_field();
  EXPECT_EQ(accepted_field, 3);
  EXPECT_EQ(vt_window_free(w), VT_OK);
  EXPECT_TRUE(OpenWindows().empty());
}

TEST_F(CApiTest, BadHandlesGiveEHandle) {
  vt_window* w = nullptr;
  ASSERT_EQ(vt_window_open(desc_, &w), VT_OK);
  ASSERT_EQ(vt_window_free(w), VT_OK);
  vt_window* const never = reinterpret_cast<vt_window*>(0x7777);
  char buf[8];
  for (vt_window* bad : {static_cast<vt_window*>(nullptr), w, never}) {
    EXPECT_EQ(vt_window_accept(bad), VT_EHANDLE);
    EXPECT_EQ(vt_set_prop(bad, 1, VT_PROP_TEXT, "x"), VT_EHANDLE);
    EXPECT_EQ(vt_get_prop(bad, 1, VT_PROP_TEXT, buf, sizeof buf), VT_EHANDLE);
    EXPECT_EQ(vt_window_free(bad), VT_EHANDLE);
  }
  vt_desc* gone = vt_desc_new("gone", -1, -1, 0, 0);
  ASSERT_EQ(vt_desc_free(gone), VT_OK);
  EXPECT_EQ(vt_desc_free(gone), VT_EHANDLE);
  EXPECT_EQ(vt_desc_add(gone, 1, VT_BUTTON, 0, 0, 0, 0, "b"), VT_EHANDLE);
  EXPECT_EQ(vt_desc_add(nullptr, 1, VT_BUTTON, 0, 0, 0, 0, "b"), VT_EHANDLE);
  EXPECT_EQ(vt_window_open(gone, &w), VT_EHANDLE);
  EXPECT_EQ(w, nullptr);
  EXPECT_EQ(vt_window_open(desc_, nullptr), VT_EARG);
}

TEST_F(CApiTest, MissingFieldsAndBadArgumentsAreRefused) {
  EXPECT_EQ(vt_desc_add(desc_, 2, VT_ENTRY, 0, 0, 0, 0, ""), VT_EARG);  // used
  EXPECT_EQ(vt_desc_add(desc_, 0, VT_ENTRY, 0, 0, 0, 0, ""), VT_EARG);
  vt_window* w = nullptr;
  ASSERT_EQ(vt_window_open(desc_, &w), VT_OK);
  char buf[8];
  EXPECT_EQ(vt_set_prop(w, 99, VT_PROP_TEXT, "x"), VT_EFIELD);
  EXPECT_EQ(vt_get_prop(w, -4, VT_PROP_TEXT, buf, sizeof buf), VT_EFIELD);
  EXPECT_EQ(vt_set_prop(w, 0, VT_PROP_TEXT, "Caption"), VT_OK);  // the window itself
  EXPECT_EQ(vt_get_prop(w, 1, VT_PROP_TEXT, nullptr, 4), VT_EARG);
  EXPECT_EQ(vt_get_prop(w, 1, VT_PROP_TEXT, nullptr, 0), 6);  // just the length
  EXPECT_EQ(vt_start(nullptr, nullptr), VT_EARG);
  EXPECT_EQ(vt_post(VT_EVENT_ACCEPTED, 0, 999), VT_EARG);
  EXPECT_EQ(vt_window_free(w), VT_OK);
}

// Another runtime thread, and an OS thread that is no runtime thread, may not use the window.
TEST_F(CApiTest, OnlyTheOwningThreadUsesAWindow) {
  vt_window* w = nullptr;
  ASSERT_EQ(vt_window_open(desc_, &w), VT_OK);
  std::vector<int32_t> seen;
  const int32_t other = Start([&] {
    char buf[8];
    seen = {vt_set_prop(w, 1, VT_PROP_TEXT, "x"), vt_get_prop(w, 1, VT_PROP_TEXT, buf, 8),
            vt_window_accept(w), vt_window_free(w)};
  });
  ASSERT_TRUE(Join(other));
  EXPECT_EQ(seen, std::vector<int32_t>(4, VT_ETHREAD));

  // It touches no runtime state, so this thread may keep the runtime lock while it waits.
  std::thread plain([&] {
    vt_window* opened = nullptr;
    seen = {vt_set_prop(w, 1, VT_PROP_TEXT, "x"),
            vt_window_open(desc_, &opened),
            vt_message("m", "c", VT_BUTTON_OK),
            vt_post(VT_EVENT_ACCEPTED, 0, 1),
            vt_detach_thread(),
            vt_event()};
  });
  plain.join();
  EXPECT_EQ(seen,
            (std::vector<int32_t>{VT_ETHREAD, VT_ETHREAD, VT_ETHREAD, VT_ETHREAD, VT_ETHREAD, 0}));
  EXPECT_EQ(vt_window_free(w), VT_OK);
}

TEST_F(CApiTest, StartedThreadsRunTheirProcedure) {
  static int32_t ran_on = 0;
  static int offset = 1000;
  const int32_t t =
      vt_start([](void* arg) { ran_on = vt_thread() + *static_cast<int*>(arg); }, &offset);
  ASSERT_GT(t, 1);
  ASSERT_TRUE(Join(t));
  EXPECT_EQ(ran_on, t + 1000);
}

}  // namespace
}  // namespace rt
