// Fixture of the tip store tests: a temporary directory as the current directory (the same one
// in the child of a death test, which runs the test again), a runtime thread on the headless
// backend, and the tip files the tests convert, open and damage.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/thread.h"
#include "tipstore/declarations.h"

namespace vistip::testing {

class TipStoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // True in the test itself, false in a death test's child: fixture files are made by the
  // parent only, so that the child works on the very files the parent checks afterwards.
  bool InParent() const { return !child_; }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::string previous_dir_;
  bool child_ = false;
  std::optional<rt::RuntimeThread> thread_;
};

// Old record n (from 1) of the test files. Names, types and texts vary with n: blank procedure
// names, 50-character control names, repeated keys, Windows-1252 letters, and every seventh
// record a text of the full 900 characters and settings of the full 1500.
void FillOldTip(int32_t n, OldTipBuffer& record);

// Declarations of their own over `buffer`, for the file `name`, so that a test can read or
// write a tip file without the process-wide declarations.
std::unique_ptr<rt::File> OwnTipFile(TipBuffer& buffer, std::string name);
std::unique_ptr<rt::File> OwnOldTipFile(OldTipBuffer& buffer, std::string name);

// An old-layout tip file of `count` records from FillOldTip; fails the test otherwise.
void MakeOldTipFile(const std::string& name, int32_t count);

// A tip file in the current layout with `count` records (record n: procedure "Proc<n>",
// control "?Field<n>", type "ENTRY", text "Tip <n>"), made through a declaration of its own.
void MakeTipFile(const std::string& name, int32_t count);

// Record n of `name` equals old record n converted: names, type, text and settings padded to
// their new sizes, the date `today`, the flags 0 and OTHER blank; and nothing more follows.
void ExpectConverted(const std::string& name, int32_t count, int32_t today);
// The file opens as an old-layout file holding `count` records.
void ExpectOldFile(const std::string& name, int32_t count);

// Runs SQL on the database file directly, as damage to it from outside the driver.
void RunSql(const std::string& path, const std::string& sql);
// Takes one entry out of the file's second key (CONTROLTYPEKEY), so that OPEN reports 46.
void DamageKey(const std::string& path);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);
// Whether two files hold the same bytes; read in pieces, for files of hundreds of megabytes.
bool SameBytes(const std::string& a, const std::string& b);

}  // namespace vistip::testing
