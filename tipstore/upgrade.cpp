// The conversion of an old-layout tip file: the steps of UpgradeTipFile, with the converted
// file built under a name of its own beside the tip file and renamed over it when complete.
#include "tipstore/upgrade.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "runtime/cstring.h"
#include "runtime/dialogs.h"
#include "runtime/errors.h"
#include "runtime/process.h"
#include "runtime/thread.h"
#include "state/state.h"
#include "tipstore/declarations.h"
#include "tipstore/upgrade_window.h"

namespace vistip {
namespace {

UpgradeHooks& Hooks() {
  static UpgradeHooks hooks;
  return hooks;
}

// The runtime's error state for a failed system call.
void SetSystemError(int err, std::string_view what) {
  if (err == EACCES || err == EPERM || err == EROFS) {
    rt::SetError(rt::kAccessDenied);
  } else {
    rt::SetFileError("errno " + std::to_string(err), std::string(what) + ": " + std::strerror(err));
  }
}

// SQLite's rollback journal of a database file.
std::string JournalOf(const std::string& name) {
  return name + "-journal";
}

// Makes a rename into the directory of `path` durable.
void SyncDirectoryOf(const std::string& path) {
  std::string dir = std::filesystem::path(path).parent_path().string();
  if (dir.empty()) dir = ".";
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// One run of the upgrade; its members are the procedure's locals.
class TipFileUpgrade {
 public:
  // Sets the counter to 1 and opens the wait window.
  TipFileUpgrade()
      : tip_name_(GLO.VTAPPNAME.str()),
        new_name_(tip_name_ + std::string(kUpgradeNewSuffix)),
        wait_(counter_) {}

  void Run();

 private:
  bool OpenOldFile();
  bool CopyOldFile();
  void ReportAccessError();
  void CreateNewFile();
  void ConvertRecords();
  void FillTipRecord();
  int32_t AddTipRecord(int32_t n);
  void ReplaceTipFile();
  void RemoveNewFile();
  [[noreturn]] void Fail();

  int32_t counter_ = 1;
  const std::string tip_name_;  // as it was when the upgrade began
  const std::string new_name_;  // the converted file until it is complete
  UpgradeWaitWindow wait_;
  bool created_ = false;  // the new file is this run's to discard
};

void TipFileUpgrade::Run() {
  GLO.VTAPPNAMEOLD = GLO.VTAPPNAME;
  if (!OpenOldFile()) return;
  VISTIPOLD.Close();
  if (!CopyOldFile()) return;
  CreateNewFile();
  ConvertRecords();
  VISTIPOLD.Close();
  if (VISTIP.Flush() != rt::kNoError || VISTIP.Close() != rt::kNoError) Fail();
  ReplaceTipFile();
}

// The tip file itself, exclusively: no other window or program may be using it.
bool TipFileUpgrade::OpenOldFile() {
  const int32_t code = VISTIPOLD.Open(rt::kOpenExclusive);
  if (code == rt::kNoError) return true;
  if (code == rt::kAccessDenied) {
    rt::Message("Unable to access Tip file : " + GLO.VTAPPNAMEOLD.str() +
                " because someone else is using it.");
    rt::Halt(0);
  }
  ReportAccessError();
  return false;
}

// The copy in the current directory, which the conversion then reads.
bool TipFileUpgrade::CopyOldFile() {
  if (VISTIPOLD.Copy(kUpgradeCopyName) != rt::kNoError) {
    ReportAccessError();
    return false;
  }
  GLO.VTAPPNAMEOLD = kUpgradeCopyName;
  if (VISTIPOLD.Open(rt::kOpenExclusive) != rt::kNoError) {
    ReportAccessError();
    return false;
  }
  return true;
}

void TipFileUpgrade::ReportAccessError() {
  rt::Message("Unable to access Tip file : " + GLO.VTAPPNAMEOLD.str() + " because " + rt::Error());
}

// VISTIP, created empty under the new file's name and opened for one batch of additions. Its
// name comes from GLO.VTAPPNAME, which lends it the new name for the create and the open; no
// other thread runs in between, so none sees the lent name.
void TipFileUpgrade::CreateNewFile() {
  if (new_name_.size() > GLO.VTAPPNAME.size()) {
    rt::SetError(rt::kInvalidFile);  // it would be cut, and could name the tip file itself
    Fail();
  }
  // A journal left by a killed run would be rolled back into the fresh file when it opens.
  std::remove(JournalOf(new_name_).c_str());
  const rt::String<255> tip_name = GLO.VTAPPNAME;
  GLO.VTAPPNAME = new_name_;
  int32_t code = VISTIP.Create();
  created_ = code == rt::kNoError;
  if (code == rt::kNoError) code = VISTIP.Open(rt::kOpenExclusive);
  GLO.VTAPPNAME = tip_name;
  if (code == rt::kNoError) code = VISTIP.Stream();
  if (code != rt::kNoError) Fail();
}

// Every old record, in record order, one new record each. A record that cannot be read ends
// the upgrade like a failed add, so that no tip is dropped unnoticed.
void TipFileUpgrade::ConvertRecords() {
  wait_.SetUpperBound(VISTIPOLD.Records());
  // The copy is ours alone: reading it inside one transaction spares the driver locking and
  // revalidating it for every record. Nothing is written to it.
  VISTIPOLD.Stream();
  VISTIPOLD.Set();
  for (int32_t n = 1;; ++n) {
    rt::Yield();
    ++counter_;
    wait_.Redisplay();
    if (Hooks().after_step) Hooks().after_step(wait_.window());
    const int32_t read = VISTIPOLD.Next();
    if (read == rt::kNoMoreRecords) return;
    if (read != rt::kNoError) Fail();
    FillTipRecord();
    if (AddTipRecord(n) != rt::kNoError) Fail();
  }
}

void TipFileUpgrade::FillTipRecord() {
  VTH.PROCEDURENAME = VTG.PROCEDURENAME;
  VTH.CONTROLNAME = VTG.CONTROLNAME;
  VTH.CONTROLTYPE = VTG.CONTROLTYPE;
  VTH.HELPTIP = VTG.HELPTIP;
  VTH.SETTINGS = VTG.SETTINGS;
  VTH.LASTEDITDATE = rt::Today();
  VTH.READONLY = 0;
  VTH.ARCHIVE = 0;
  VTH.OTHER.clear();
  VTH.TIPSTYLE = 0;
}

int32_t TipFileUpgrade::AddTipRecord(int32_t n) {
  if (Hooks().fail_add) {
    if (const int32_t code = Hooks().fail_add(n); code != rt::kNoError) {
      rt::SetError(code);
      return code;
    }
  }
  return VISTIP.Add();
}

// The complete new file takes the tip file's name in one step.
void TipFileUpgrade::ReplaceTipFile() {
  if (std::rename(new_name_.c_str(), tip_name_.c_str()) != 0) {
    SetSystemError(errno, "rename");
    Fail();
  }
  SyncDirectoryOf(tip_name_);
}

void TipFileUpgrade::RemoveNewFile() {
  std::remove(new_name_.c_str());
  std::remove(JournalOf(new_name_).c_str());
}

// The tip file has not been touched: only the partial new file is discarded.
void TipFileUpgrade::Fail() {
  rt::Message("Error Upgrading file : " + rt::Error());
  VISTIPOLD.Close();
  VISTIP.Close();
  if (created_) RemoveNewFile();
  rt::Halt(0);
}

// An upgrade yields to the other runtime threads once per record, and opening a file may wait
// for a lock. Another thread that starts an upgrade or checks the tip file meanwhile would reopen
// or close the declarations the running one writes through, or convert the file a second time;
// so a check and its upgrade run as one step, and the others wait for it (runtime state: no lock).
bool upgrade_running = false;

class UpgradeTurn {
 public:
  UpgradeTurn() {
    while (upgrade_running) rt::Yield();
    upgrade_running = true;
  }
  ~UpgradeTurn() { upgrade_running = false; }
  UpgradeTurn(const UpgradeTurn&) = delete;
  UpgradeTurn& operator=(const UpgradeTurn&) = delete;
};

}  // namespace

void UpgradeTipFile(const char* name_or_null) {
  const UpgradeTurn turn;
  if (name_or_null != nullptr && !rt::detail::ClipBlanks(name_or_null).empty()) {
    GLO.VTAPPNAME = name_or_null;
  }
  TipFileUpgrade().Run();
}

void UpgradeIfOldLayout() {
  const UpgradeTurn turn;
  const int32_t code = VISTIP.Open(rt::kOpenShared);
  if (code == rt::kLayoutMismatch) {
    TipFileUpgrade().Run();
  } else if (code == rt::kNoError) {
    VISTIP.Close();
  }
}

void SetUpgradeHooks(UpgradeHooks hooks) {
  Hooks() = std::move(hooks);
}

}  // namespace vistip
