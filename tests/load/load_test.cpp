// The load test: four host processes, two tip windows each, opening tips, following links and
// saving edits against one tip file for VISTIP_LOAD_SECONDS (60 unless set). Afterwards the
// file is sound, holds every save that returned, and no process saw an undocumented error.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/load/load_tips.h"
#include "tests/tipwindow/tip_window_fixture.h"
#include "tipwindow/settings_memo.h"

extern char** environ;

namespace vistip::load {
namespace {

using tipwindow::testing::Tip;
using tipwindow::testing::TipFile;

// The standard warnings' captions: the messages a host may see and go on.
const std::set<std::string> kDocumentedCaptions = {
    "Invalid File",      "Invalid Key",     "Key Rebuild Error",     "File Creation Error",
    "File Access Error", "View Open Error", "Record Retrieval Error"};

// The record-file error codes a documented message may quote.
const std::set<int> kFileCodes = {2, 3, 4, 5, 13, 32, 33, 35, 37, 40, 46, 47, 52, 90};

// What one process logged.
struct ProcessLog {
  std::map<std::string, std::string> last_saved;         // control -> text
  std::map<std::string, std::set<std::string>> refused;  // after the last save of a control
  std::vector<std::string> errors;                       // undocumented
  int documented = 0;                                    // messages of the standard warnings
  std::string counts;
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream in(line);
  for (std::string part; std::getline(in, part, '\t');) parts.push_back(part);
  return parts;
}

// A message is documented when it is a standard warning and every code it quotes as "(N)" is
// a record-file error code.
bool Documented(const std::string& caption, const std::string& text) {
  if (!kDocumentedCaptions.contains(caption)) return false;
  for (size_t open = text.find('('); open != std::string::npos; open = text.find('(', open + 1)) {
    const size_t close = text.find(')', open);
    const std::string inside = text.substr(open + 1, close - open - 1);
    if (!inside.empty() && inside.find_first_not_of("0123456789") == std::string::npos &&
        !kFileCodes.contains(std::stoi(inside)))
      return false;
  }
  return true;
}

ProcessLog ReadLog(const std::filesystem::path& path) {
  ProcessLog log;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> parts = Split(line);
    const std::string& kind = parts.at(0);
    if (kind == "saved" && parts.size() == 3) {
      log.last_saved[parts[1]] = parts[2];
      log.refused[parts[1]].clear();
    } else if (kind == "refused" && parts.size() == 3) {
      log.refused[parts[1]].insert(parts[2]);
    } else if (kind == "message" && parts.size() == 3 && Documented(parts[1], parts[2])) {
      ++log.documented;
    } else if (kind == "counts" && parts.size() == 2) {
      log.counts = parts[1];
    } else {
      log.errors.push_back(line);
    }
  }
  return log;
}

// A settings memo's rows, whatever their order.
std::set<std::string> SettingsRows(const std::string& memo) {
  std::set<std::string> rows;
  for (const SetRecord& row : ReadSettingsMemo(memo))
    rows.insert(row.CONTROLNAME.str() + "|" + row.PROP.str() + "|" + row.SETTING.str());
  return rows;
}

int LoadSeconds() {
  const char* value = std::getenv("VISTIP_LOAD_SECONDS");
  return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : 60;
}

std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string result;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
          *static_cast<std::string*>(out) += values[0] != nullptr ? values[0] : "NULL";
          return 0;
        },
        &result, nullptr);
  } else {
    result = sqlite3_errmsg(db);
  }
  sqlite3_close(db);
  return result;
}

class LoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vistip_load_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "load.tps").string();
  }
  void TearDown() override {
    if (!HasFailure()) std::filesystem::remove_all(dir_);
  }

  std::vector<Tip> InitialTips() {
    std::vector<Tip> tips;
    for (int i = 0; i < kTips; ++i)
      tips.push_back(
          {kProcedure, ControlName(i), kType, TipText(ControlName(i), "start"), TipSettings(i)});
    return tips;
  }

  pid_t StartHost(int process) {
    const std::string seconds = std::to_string(LoadSeconds());
    const std::string index = std::to_string(process);
    const std::string log = LogPath(process);
    std::vector<std::string> args = {LOAD_HOST_PATH, file_, seconds, index, log};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, LOAD_HOST_PATH, nullptr, nullptr, argv.data(), environ), 0);
    return pid;
  }

  std::string LogPath(int process) {
    return (dir_ / ("host" + std::to_string(process) + ".log")).string();
  }

  std::filesystem::path dir_;
  std::string file_;
  rt::RuntimeThread thread_;
};

TEST_F(LoadTest, FourProcessesKeepEverySaveAndTheFileSound) {
  TipFile tip_file(file_);
  tip_file.Create(InitialTips());
  std::vector<pid_t> hosts;
  for (int p = 0; p < kProcesses; ++p) hosts.push_back(StartHost(p));
  for (int p = 0; p < kProcesses; ++p) {
    int status = 0;
    ASSERT_EQ(waitpid(hosts[p], &status, 0), hosts[p]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "host " << p << " " << status;
  }

  EXPECT_EQ(IntegrityCheck(file_), "ok");
  std::map<std::string, std::string> in_file;
  std::map<std::string, std::string> settings;
  for (const Tip& t : tip_file.Read()) {
    EXPECT_TRUE(in_file.emplace(t.control, t.text).second) << "twice: " << t.control;
    EXPECT_EQ(t.procedure, kProcedure);
    settings[t.control] = t.settings;
  }
  // Nobody changed a tip's links: every tip keeps its own targets.
  ASSERT_EQ(SettingsRows(TipSettings(0)).size(), 4u);
  for (int i = 0; i < kTips; ++i)
    EXPECT_EQ(SettingsRows(settings[ControlName(i)]), SettingsRows(TipSettings(i)))
        << ControlName(i);
  EXPECT_EQ(in_file.size(), static_cast<size_t>(kTips));

  for (int p = 0; p < kProcesses; ++p) {
    const ProcessLog log = ReadLog(LogPath(p));
    std::cout << "host " << p << ": " << log.counts << " warnings=" << log.documented << "\n";
    EXPECT_FALSE(log.counts.empty()) << "host " << p << " did not finish";
    EXPECT_EQ(log.errors, std::vector<std::string>{}) << "host " << p;
    for (int w = 0; w < kWindowsPerProcess; ++w) {
      const std::string control = ControlName(OwnedTip(p, w));
      const auto saved = log.last_saved.find(control);
      std::set<std::string> allowed = {saved != log.last_saved.end() ? saved->second
                                                                     : TipText(control, "start")};
      if (log.refused.contains(control))
        allowed.insert(log.refused.at(control).begin(), log.refused.at(control).end());
      EXPECT_TRUE(allowed.contains(in_file[control]))
          << control << " holds \"" << in_file[control] << "\"";
    }
  }
  for (int s = kProcesses * kWindowsPerProcess; s < kTips; ++s)
    EXPECT_EQ(in_file[ControlName(s)], TipText(ControlName(s), "start"));
}

}  // namespace
}  // namespace vistip::load
