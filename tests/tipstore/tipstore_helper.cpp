// The tip store tests' second process. Commands:
//   hold <file>            opens the tip file (old layout) shared, says "held", waits for EOF
//   lock <file> <ms>       holds SQLite's exclusive lock on it, says "locked", releases after ms
//   upgrade <dir> <file> [n]  converts the tip file with the current directory <dir>; with n,
//                          says "paused" before converting record n and waits for EOF there
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/backend.h"
#include "runtime/harness.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipstore/declarations.h"
#include "tipstore/upgrade.h"

namespace {

void Say(const char* word) {
  std::printf("%s\n", word);
  std::fflush(stdout);
}

void WaitForEndOfInput() {
  char c;
  while (read(STDIN_FILENO, &c, 1) > 0) {
  }
}

int Hold(const char* file) {
  vistip::GLO.VTAPPNAMEOLD = file;
  if (vistip::VISTIPOLD.Open(rt::kOpenShared) != 0) return 2;
  Say("held");
  WaitForEndOfInput();
  return 0;
}

int Lock(const char* file, int ms) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return 2;
  if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) return 3;
  Say("locked");
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return 0;
}

int Upgrade(const char* dir, const char* file, int32_t pause_at) {
  if (chdir(dir) != 0) return 2;
  rt::UseHeadlessBackend();
  rt::RuntimeThread thread;
  if (pause_at > 0) {
    // The counter is n + 1 just before record n is read.
    vistip::SetUpgradeHooks({.after_step = [pause_at](const rt::Window& w) {
      if (rt::harness::ShownText(w, 2) != std::to_string(pause_at + 1)) return;
      Say("paused");
      WaitForEndOfInput();
    }});
  }
  vistip::UpgradeTipFile(file);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "hold" && argc == 3) return Hold(argv[2]);
  if (command == "lock" && argc == 4) return Lock(argv[2], std::atoi(argv[3]));
  if (command == "upgrade" && (argc == 4 || argc == 5)) {
    return Upgrade(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
  }
  std::fprintf(stderr, "usage: tipstore_helper hold|lock|upgrade ...\n");
  return 1;
}
