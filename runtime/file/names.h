// File names: from the program's blank-padded name to the path the driver opens, and the
// small path services the whole-file statements need.
#pragma once

#include <string>
#include <string_view>

#include "runtime/file/status.h"

namespace rt::file {

struct FilePath {
  std::string name;  // clipped, as NAME() reports it
  std::string path;  // what system calls and SQLite open: "./" before a relative name
  std::string dir;   // the directory holding the file
};

// The name without its trailing blanks.
std::string_view ClipName(std::string_view raw);

// Clips trailing blanks and refuses (13) names that are empty, hold a NUL byte, end in a
// directory, or are too long for the file and its rollback journal ("<name>-journal") to fit
// the system's limits.
Status ResolveName(std::string_view raw, FilePath& out);

// Status of a failed open of `file` with errno `err`: a missing directory gives 3, a missing
// file 2, the rest as SystemError.
Status OpenFailure(const FilePath& file, int err);

// Creates a new empty file in the file's directory, for building a replacement beside it. The
// temporaries that killed processes left there long ago are removed first.
Status CreateTempBeside(const FilePath& file, std::string& temp_path);

// Renames `from` onto the file and makes the rename durable.
Status ReplaceWith(const std::string& from, const FilePath& file);

// Removes a temporary database and its journal, if any.
void RemoveTemp(const std::string& path);

}  // namespace rt::file
