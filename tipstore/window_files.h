// The protocol by which windows share the process-wide tip file declarations: the first window
// that needs a declaration opens it (CheckOpen), every window counts itself in its USED counter,
// and the last one to end closes it. Call from the window's runtime thread.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "tipstore/declarations.h"

namespace vistip {

// Opens, in the order given, each declaration no other window holds open, counts this window
// in each, and sets the window's `files_opened` flag.
void OpenWindowFiles(std::initializer_list<DeclaredFile*> files, int32_t& files_opened);

// When `files_opened` is set: counts the window out of each declaration, in the order given,
// closing those no window holds any more, and clears the flag. A window that ended before its
// files were opened leaves the counters alone.
void CloseWindowFiles(std::initializer_list<DeclaredFile*> files, int32_t& files_opened);

}  // namespace vistip
