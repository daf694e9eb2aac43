// Opening and closing a window's tip file declarations through their use counters.
#include "tipstore/window_files.h"

#include "tipstore/check_open.h"

namespace vistip {

void OpenWindowFiles(std::initializer_list<DeclaredFile*> files, int32_t& files_opened) {
  for (DeclaredFile* file : files) {
    if (file->USED == 0) CheckOpen(*file);
    ++file->USED;
  }
  files_opened = 1;
}

void CloseWindowFiles(std::initializer_list<DeclaredFile*> files, int32_t& files_opened) {
  if (files_opened == 0) return;
  for (DeclaredFile* file : files) {
    // A counter already at 0 belongs to no window: leave it there.
    if (file->USED > 0 && --file->USED == 0) file->Close();
  }
  files_opened = 0;
}

}  // namespace vistip
