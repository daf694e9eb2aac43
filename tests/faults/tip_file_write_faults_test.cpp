// The tools' writing of whole tip files (vistip import, import --replace, sync) on a disk that
// fills, a write cut off halfway and a directory that refuses new files, at the start and in the
// middle of the batch: the write is refused with SQLite's message and code, the tip file keeps
// every byte it had, and a file the write would have created is not left behind. (The same with
// the vistip command on a real full file system: tests/tools/tip_file_faults_test.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/faults/failing_vfs.h"
#include "tests/tipstore/fixture.h"
#include "tools/tip_file_io.h"

namespace vistip::testing {
namespace {

using faults::FailingVfs;
using faults::Fault;

constexpr const char* kTipFile = "tips.tps";

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<TipText> Tips(int count, const std::string& text) {
  std::vector<TipText> tips;
  for (int i = 0; i < count; ++i)
    tips.push_back({"Form", "Control" + std::to_string(i), "ENTRY", 82000, 0, 0, 0,
                    text + " " + std::to_string(i) + std::string(300, '.'), "", ""});
  return tips;
}

struct WriteFaultCase {
  const char* label;
  TipWrite how;
  Fault fault;
  int nth;
  bool new_file;
  const char* why;  // in the message
};

class TipFileWriteFault : public TipStoreTest,
                          public ::testing::WithParamInterface<WriteFaultCase> {};

TEST_P(TipFileWriteFault, RefusesWholeAndKeepsTheFileAsItWas) {
  const WriteFaultCase& c = GetParam();
  if (!c.new_file) {
    ASSERT_TRUE(ImportTips(kTipFile, Tips(60, "Old")).ok);
  }
  const std::string before = Bytes(kTipFile);
  TipWriteResult r;
  {
    FailingVfs fault(c.fault, c.nth, kTipFile);
    r = WriteTips(kTipFile, Tips(120, "New"), c.how);
    EXPECT_GT(fault.failures(), 0);
  }
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.rfind(std::string(kTipFile) + ": ", 0), 0u) << r.error;
  EXPECT_NE(r.error.find(c.why), std::string::npos) << r.error;
  EXPECT_FALSE(VISTIP.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(std::string(kTipFile) + "-journal"));
  if (c.new_file) {
    EXPECT_FALSE(std::filesystem::exists(kTipFile));
  } else {
    EXPECT_EQ(Bytes(kTipFile), before);
  }
}

const WriteFaultCase kCases[] = {
    {"AddDiskFullAtOnce", TipWrite::kAdd, Fault::kDiskFull, 1, false,
     "database or disk is full (error 90, SQLite code 13)"},
    {"AddDiskFullInTheMiddle", TipWrite::kAdd, Fault::kDiskFull, 6, false,
     "database or disk is full (error 90, SQLite code 13)"},
    {"AddInterrupted", TipWrite::kAdd, Fault::kInterruptedWrite, 6, false, "disk I/O error"},
    {"AddToANewFileDiskFull", TipWrite::kAdd, Fault::kDiskFull, 1, true,
     "database or disk is full"},
    {"ReplaceDiskFull", TipWrite::kReplace, Fault::kDiskFull, 6, false,
     "database or disk is full (error 90, SQLite code 13)"},
    {"SyncDiskFullAtOnce", TipWrite::kSync, Fault::kDiskFull, 1, false,
     "database or disk is full (error 90, SQLite code 13)"},
    {"SyncInterrupted", TipWrite::kSync, Fault::kInterruptedWrite, 6, false, "disk I/O error"},
    {"SyncJournalRefused", TipWrite::kSync, Fault::kPermissionDenied, 1, false,
     "cannot be written"},
};

INSTANTIATE_TEST_SUITE_P(Faults, TipFileWriteFault, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.label); });

}  // namespace
}  // namespace vistip::testing
