// A temporary directory tree mapped as drives C: (short names), D: (short names) and
// N: (a drive that keeps no short names), with C:\ as the current directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ntpaths.h"

class DrivesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The POSIX path of REL below the temporary directory ("c/Program Files").
  std::string Host(const std::string& rel) const { return root_ + "/" + rel; }
  // Entries made with plain POSIX calls, as another program would make them.
  void MakeDir(const std::string& rel) const;
  void MakeFile(const std::string& rel, const std::string& content = "") const;
  bool Exists(const std::string& rel) const;
  std::string Content(const std::string& rel) const;
  // Changes the current directory through NTCHANGEDIRECTORY, expecting success.
  void ChangeTo(const std::string& path) const;

  std::string root_;
};

// A record filled with a byte, so that a test sees what the library cleared.
NtFindRecord Filled(unsigned char byte);
bool AllZero(const NtFindRecord& r);
// The 32-bit value at OFFSET of the raw record.
std::uint32_t At(const NtFindRecord& r, size_t offset);
