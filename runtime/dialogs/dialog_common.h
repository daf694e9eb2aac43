// Pieces the runtime's dialogs share: their window description, placement on the screen,
// item texts with "|" separators and "&" mnemonics, and lists of plain rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window.h"

namespace rt::dialogs {

// The text split at each "|"; "" gives one empty piece.
std::vector<std::string_view> SplitBars(std::string_view text);

// Text for a string control that shows every "&" as itself instead of as a mnemonic marker.
std::string Literal(std::string_view text);

// The key that a "&" marker in text selects (the upper-case letter or the character after the
// first single "&"), or 0 when there is none.
int32_t MnemonicKey(std::string_view text);

// A dialog window: a caption bar with a close control, the runtime's standard dialog font.
WindowDesc DialogDesc(std::string_view caption);

// Gives a window that opened hidden its size, centres it on the screen and shows it: for dialogs
// whose controls are laid out after opening, when the window's units are known.
void ShowCentred(Window& w, int32_t width, int32_t height);

// Alerts a mnemonic key on the window to be, alone and with Alt, so that either chooses.
void AlertMnemonic(WindowDesc& desc, int32_t key);
// The mnemonic key a pressed key stands for (Alt taken off).
int32_t WithoutAlt(int32_t keycode);

// The message box of MESSAGE and STOP, showing each paragraph from a new line (message.cpp).
int32_t MessageBox(const std::vector<std::string_view>& paragraphs, std::string_view caption,
                   int32_t icon, int32_t buttons, int32_t default_button);

// Rows of a list control, one column.
class RowList : public ListSource {
 public:
  RowList() = default;
  explicit RowList(std::vector<std::string> rows) : rows_(std::move(rows)) {}
  size_t Rows() const override { return rows_.size(); }
  std::string Cell(size_t row, size_t column) const override;
  const std::vector<std::string>& rows() const { return rows_; }
  void Assign(std::vector<std::string> rows) { rows_ = std::move(rows); }
  // The 1-based row whose text equals text, 0 when none.
  int32_t Find(std::string_view text) const;

 private:
  std::vector<std::string> rows_;
};

}  // namespace rt::dialogs
