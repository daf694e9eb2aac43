// Whole tip files to and from their text form (tools/tip_text.h): shared by the `vistip`
// commands that read or write tip files and by the demo's sample-tip builder.
//
// Reading opens the file read-only (40H), so read-only files, directories and media work.
// Writing is all or nothing: the file is opened shared for writing, checked page by page and
// changed in one batch that either commits whole or is rolled back; a file the batch created
// is removed again when it fails. Errors name the file, the cause, the runtime's error code
// and, where SQLite failed, SQLite's message and code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tip_text.h"

namespace vistip {

struct TipFileResult {
  bool ok = false;
  std::string error;        // why it failed: "<file>: <cause> (error N...)"
  int32_t code = 0;         // the runtime's error code of the failure
  bool old_layout = false;  // the file is a tip file of the old layout
};

// How a writing command treats the tips it is given.
enum class TipWrite {
  kAdd,      // every tip added, beside any the file holds with the same procedure/control/type
  kReplace,  // a tip whose procedure, control and type the file holds rewrites that record
  kSync,     // as kReplace, and every record the text does not hold is deleted
};

// One change a writing command makes (or, in a dry run, would make).
struct TipChange {
  enum Kind { kAdded, kUpdated, kDeleted } kind;
  std::string tip;  // "procedure / control / type"
};

struct TipWriteResult : TipFileResult {
  size_t added = 0, updated = 0, deleted = 0, unchanged = 0;
  std::vector<TipChange> changes;       // in the order they are made
  std::vector<std::string> duplicates;  // tips added beside one with the same names and type
};

// "procedure / control / type" of a tip, as the tools name it in their messages (UTF-8).
std::string TipTitle(const TipText& t);

// The codes of the runtime's error state: "error N", for a driver error "error 90, SQLite
// code C" (SQLite's extended result code) or "error 90, errno E".
std::string ErrorCodes();
// The runtime's error state as the tools show it: "<message> (<ErrorCodes()>)"; for a driver
// error the message is SQLite's (or the system's) own.
std::string ErrorDetail();

// Opens VISTIP read-only on an existing tip file of the current layout and checks every page
// of it, for a tool that reads a part of it (the caller closes it). The error names the file and
// says what it is instead: missing, a directory or other non-file, not a tip file, damaged, or of
// the old layout (`old_layout`).
TipFileResult OpenExistingTipFile(const std::string& tip_file);
// Calls `each` with every record of a tip file in record order, in one read transaction. The
// tip it hands over is reused for the next record: copy what must outlive the call.
TipFileResult ForEachTip(const std::string& tip_file,
                         const std::function<void(const TipText&)>& each);
// Reads every record of a tip file in record order, in one read transaction.
TipFileResult ExportTips(const std::string& tip_file, std::vector<TipText>& tips);
// The text form of a whole tip file (`vistip export`), its tips sorted by procedure, control
// and type (bytes compared without sign), tips with the same three in record order. Once the
// whole file has been read, the text is handed to `write` in pieces, in order.
TipFileResult ExportText(const std::string& tip_file,
                         const std::function<void(std::string_view)>& write);
// Writes the tips into a tip file, created when missing, as `how` says, in one batch; with
// `dry_run` only works out the changes, reading the file without writing it.
TipWriteResult WriteTips(const std::string& tip_file, const std::vector<TipText>& tips,
                         TipWrite how, bool dry_run = false);
// Adds the tips (WriteTips with kAdd).
TipWriteResult ImportTips(const std::string& tip_file, const std::vector<TipText>& tips);

}  // namespace vistip
