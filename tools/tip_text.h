// A readable, diffable text form of a whole tip file, one section per tip, that gives back every
// byte of every record: used by `vistip export`/`import`/`sync` and to build the demo's sample
// tips. docs/tip-text.md describes it in full.
//
//   vistip-tips 1
//   tip
//   procedure OrderEntry
//   control Customer
//   type ENTRY
//   date 2026-12-10
//   flags 0 0 0
//   width 0
//   text
//   > first line of the tip text
//   >
//   > third line
//   settings
//   > [S  1]FONT;Arial,10,255,700«
//   end
//
// The file is UTF-8. Values are the fields without their trailing blanks; an empty value leaves
// its word alone on the line, so no line ends in a blank (texts that wrote "word " read the
// same). Text lines are the memo split at CR LF; settings lines the memo split after each 0ABH.
// Bytes that would not survive an editor are escaped: \\ a backslash, \xHH any control byte,
// an undefined Windows-1252 byte or a blank at the end of a value. "other" carries the bytes of
// the third memo after the stored width, in hex, when they are not blank; "date #N" a day
// number that is no calendar date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tipstore/declarations.h"

namespace vistip {

// One tip record with its memos, as bytes (memos without their trailing blanks).
struct TipText {
  std::string procedure, control, type;
  int32_t date = 0;
  uint8_t readonly = 0, archive = 0, tipstyle = 0;
  std::string text, settings, other;  // other: all 1000 bytes of the third memo, clipped

  bool operator==(const TipText&) const = default;
};

// One value as the text form writes it: Windows-1252 bytes to UTF-8, with \\, \xHH for
// control and undefined bytes, and \x20 for each trailing blank.
std::string EscapeText(std::string_view bytes);
// EscapeText(bytes) in double quotes, as messages show a value.
std::string Quoted(std::string_view bytes);
// A day number as the text form writes it: YYYY-MM-DD, or #N when it is no calendar date.
std::string DateText(int32_t day);

// Appends EscapeText(bytes) to `out`.
void AppendEscaped(std::string& out, std::string_view bytes);

TipText FromBuffer(const TipBuffer& b);
// A record as the driver stores it (rt::File::Scan), without its padding, into `t` (whose
// strings keep their room, so that reading a whole file allocates little).
void FromStored(const rt::StoredRecord& row, TipText& t);
void ToBuffer(const TipText& t, TipBuffer& b);

// The whole text form: the version line, then each tip's section (AppendTipText) in order.
std::string WriteTipText(const std::vector<TipText>& tips);
inline constexpr std::string_view kTipTextHeader = "vistip-tips 1\n";
void AppendTipText(std::string& out, const TipText& t);

struct TipTextError {
  int line = 0;  // 0: no error
  std::string message;
};
// Parses the text form; on an error the tips read so far are kept and the error says where.
TipTextError ReadTipText(std::string_view input, std::vector<TipText>& tips);

}  // namespace vistip
