// What the tools' tests share: a temp directory, a runtime thread on the headless backend, tip
// files written and read back through the real driver, and tips with every kind of content.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/thread.h"
#include "tools/tip_file_io.h"

namespace vistip::testing {

// Tips with every kind of content: Windows-1252 letters, 0ABH row ends, CR LF and lone CR/LF,
// trailing blanks inside the text, control bytes, undefined 1252 bytes, a blank stored width
// (8224), a negative width, bytes after the width, odd dates and flags.
std::vector<TipText> EveryKindOfContent();

// A tip dated 10 December 2026 with no flags.
TipText Tip(std::string procedure, std::string control, std::string type, std::string text,
            std::string settings = "", std::string other = "");

class ToolTest : public ::testing::Test {
 protected:
  ToolTest();
  ~ToolTest() override;

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Adds the tips to the file (created when missing), through the tip file declaration.
  void WriteTips(const std::string& file, const std::vector<TipText>& tips);
  // Every record of the file as it is stored, in record order.
  std::vector<TipBuffer> ReadRecords(const std::string& file);

  rt::RuntimeThread thread_;
  std::filesystem::path dir_;
};

}  // namespace vistip::testing
