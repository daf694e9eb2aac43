// Packing of file dates and the file-time conversions, with the time zone set by the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ntpaths/steps.h"
#include "ntpaths/winfs/times.h"

namespace {

using winfs::SystemTime;

// Sets TZ for the test's duration.
class ZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    hadZone_ = old != nullptr;
    if (old) oldZone_ = old;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  void TearDown() override {
    if (hadZone_)
      setenv("TZ", oldZone_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  bool hadZone_ = false;
  std::string oldZone_;
};

SystemTime Fields(int y, int mo, int d, int h, int mi, int s) {
  SystemTime t{};
  t.year = static_cast<uint16_t>(y), t.month = static_cast<uint16_t>(mo);
  t.day = static_cast<uint16_t>(d), t.hour = static_cast<uint16_t>(h);
  t.minute = static_cast<uint16_t>(mi), t.second = static_cast<uint16_t>(s);
  return t;
}

// The UTC file time of a local calendar time in the current zone.
winfs::FileTime LocalToUtc(int y, int mo, int d, int h, int mi, int s) {
  struct tm tm {};
  tm.tm_year = y - 1900, tm.tm_mon = mo - 1, tm.tm_mday = d;
  tm.tm_hour = h, tm.tm_min = mi, tm.tm_sec = s, tm.tm_isdst = -1;
  return winfs::ToFileTime(mktime(&tm), 0);
}

TEST(DosTimeTest, PacksDateAndTime) {
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(2020, 6, 15, 10, 0, 33)) & 0xFFFF, 20496u);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(1980, 1, 1, 0, 0, 0)), 0x00210000u);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(1999, 12, 31, 23, 59, 58)), 0x279FBF7Du);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(1999, 12, 31, 23, 59, 59)), 0x279FBF7Du);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(2107, 12, 31, 23, 59, 58)), 0xFF9FBF7Du);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(1979, 12, 31, 23, 59, 58)), 0u);
  EXPECT_EQ(ntpaths::PackDosDateTime(Fields(2108, 1, 1, 0, 0, 0)), 0u);
}

TEST(DosTimeTest, SystemTimeOfKnownInstants) {
  SystemTime st;
  winfs::FileTime epoch = winfs::ToFileTime(0, 0);
  EXPECT_EQ(winfs::Ticks(epoch), 116444736000000000ull);
  ASSERT_TRUE(winfs::FileTimeToSystemTime(&epoch, &st));
  EXPECT_EQ(st.year, 1970);
  EXPECT_EQ(st.month, 1);
  EXPECT_EQ(st.day, 1);
  EXPECT_EQ(st.dayOfWeek, 4);  // a Thursday
  winfs::FileTime start{0, 0};
  ASSERT_TRUE(winfs::FileTimeToSystemTime(&start, &st));
  EXPECT_EQ(st.year, 1601);
  EXPECT_EQ(st.dayOfWeek, 1);  // a Monday
  winfs::FileTime bad{0, 0x80000000u};
  EXPECT_FALSE(winfs::FileTimeToSystemTime(&bad, &st));
  EXPECT_EQ(winfs::GetLastError(), 87u);
  winfs::SetLastError(0);
}

TEST_F(ZoneTest, LocalTimeFollowsTheRulesOfThatDate) {
  // Winter: UTC+1; summer: UTC+2, whatever today's offset is.
  EXPECT_EQ(ntpaths::PackFileTime(LocalToUtc(2021, 1, 15, 12, 0, 0)),
            ntpaths::PackDosDateTime(Fields(2021, 1, 15, 12, 0, 0)));
  EXPECT_EQ(ntpaths::PackFileTime(LocalToUtc(2021, 7, 15, 12, 0, 0)),
            ntpaths::PackDosDateTime(Fields(2021, 7, 15, 12, 0, 0)));
  winfs::FileTime summerNoonUtc = winfs::ToFileTime(1626350400, 0);  // 2021-07-15 12:00 UTC
  winfs::FileTime local;
  ASSERT_TRUE(winfs::FileTimeToLocalFileTime(&summerNoonUtc, &local));
  EXPECT_EQ(winfs::Ticks(local) - winfs::Ticks(summerNoonUtc), 2ull * 3600 * 10000000);
}

TEST_F(ZoneTest, PackedExamples) {
  EXPECT_EQ(ntpaths::PackFileTime(LocalToUtc(2020, 6, 15, 10, 0, 33)) & 0xFFFF, 20496u);
  EXPECT_EQ(ntpaths::PackFileTime(LocalToUtc(1980, 1, 1, 0, 0, 0)), 0x00210000u);
  EXPECT_EQ(ntpaths::PackFileTime(LocalToUtc(1999, 12, 31, 23, 59, 58)), 0x279FBF7Du);
  EXPECT_EQ(ntpaths::PackFileTime(winfs::FileTime{0, 0x80000000u}), 0u);
  EXPECT_EQ(winfs::GetLastError(), 0u);
}

}  // namespace
