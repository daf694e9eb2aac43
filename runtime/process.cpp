// The runtime's process services: starting programs without a shell, the host's command line,
// INI look-ups, day numbers, HALT and BEEP.
#include "runtime/process.h"

#include <pthread.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <mutex>

#include "runtime/errors.h"
#include "runtime/strings.h"

extern char** environ;

namespace rt {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without blanks, tabs and carriage returns at either end.
std::string_view Trim(std::string_view s) {
  constexpr std::string_view kSpace = " \t\r";
  const size_t first = s.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

// ---- RUN ----

// The program name: quotes group, backslashes are plain characters. Returns the position after.
size_t ReadProgramWord(std::string_view s, size_t i, std::string& word) {
  bool quoted = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      word += c;
    }
  }
  return i;
}

// An argument word, with the backslash-and-quote rules. Returns the position after.
size_t ReadArgumentWord(std::string_view s, size_t i, std::string& word) {
  bool quoted = false;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\\') {
      size_t end = i;
      while (end < s.size() && s[end] == '\\') ++end;
      const size_t count = end - i;
      if (end < s.size() && s[end] == '"') {
        word.append(count / 2, '\\');
        if (count % 2 == 1) {
          word += '"';  // an escaped quote is literal
          ++end;
        }  // else the quote is read next, as a grouping quote
      } else {
        word.append(count, '\\');
      }
      i = end;
    } else if (c == '"') {
      quoted = !quoted;
      ++i;
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      word += c;
      ++i;
    }
  }
  return i;
}

int32_t SpawnError(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return kAccessDenied;
    case ENOEXEC:
    case ENAMETOOLONG:
    case E2BIG:
    case EINVAL:
      return kInvalidFile;
    case EMFILE:
    case ENFILE:
      return kNoFileHandles;
    default:
      return kFileNotFound;
  }
}

void* ReapChild(void* arg) {
  const auto pid = static_cast<pid_t>(reinterpret_cast<intptr_t>(arg));
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return nullptr;
}

// Children whose reaper thread could not be started; reaped by a later Run.
std::mutex unreaped_mutex;
std::vector<pid_t> unreaped;

// Waits for the child on a small detached thread of its own, so it never stays a zombie. The
// thread blocks every signal, so the host's signals keep going to the host's own threads.
void ReapWhenDone(pid_t pid) {
  {
    std::lock_guard<std::mutex> lock(unreaped_mutex);
    std::erase_if(unreaped, [](pid_t p) { return waitpid(p, nullptr, WNOHANG) != 0; });
  }
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_attr_setstacksize(&attr, 64 * 1024);
  sigset_t all;
  sigset_t old;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &old);
  pthread_t thread;
  const int rc = pthread_create(&thread, &attr, ReapChild,
                                reinterpret_cast<void*>(static_cast<intptr_t>(pid)));
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  pthread_attr_destroy(&attr);
  if (rc != 0) {
    std::lock_guard<std::mutex> lock(unreaped_mutex);
    unreaped.push_back(pid);
  }
}

// ---- COMMAND ----

struct CommandLine {
  std::mutex mutex;
  bool loaded = false;
  std::vector<std::string> args;
};

CommandLine& TheCommandLine() {
  static auto* line = new CommandLine;  // never destroyed: Command may run during exit
  return *line;
}

std::vector<std::string> ReadProcessArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.emplace_back(all, start, end - start);
    start = end + 1;
  }
  return args;
}

std::vector<std::string> ProcessArguments() {
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> lock(line.mutex);
  if (!line.loaded) {
    line.args = ReadProcessArguments();
    line.loaded = true;
  }
  return line.args;
}

// ---- dates ----

// Days from 1 January 1970 of a proleptic Gregorian date, month 1..12 (the well-known
// era-of-400-years method, exact for every year).
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;                                    // [0, 399]
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // [0, 146096]
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

constexpr int64_t kDayZero = DaysFromCivil(1800, 12, 28);  // day 0 of the runtime's dates

// ---- BEEP ----

struct BeepState {
  std::mutex mutex;
  std::function<void()> hook;
};

BeepState& TheBeepState() {
  static auto* state = new BeepState;  // never destroyed: a beep may come during exit
  return *state;
}

std::atomic<int64_t> beep_count{0};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < command_line.size()) {
    while (i < command_line.size() && IsBlank(command_line[i])) ++i;
    if (i == command_line.size()) break;
    std::string word;
    i = words.empty() ? ReadProgramWord(command_line, i, word)
                      : ReadArgumentWord(command_line, i, word);
    words.push_back(std::move(word));
  }
  return words;
}

bool Run(std::string_view command_line) {
  return RunArgv(SplitCommandLine(command_line));
}

bool RunArgv(std::vector<std::string> words) {
  if (words.empty()) {
    SetError(kInvalidFile);
    return false;
  }
  std::vector<char*> argv;
  for (std::string& w : words) {
    if (w.find('\0') != std::string::npos) {  // cannot be passed to a program
      SetError(kInvalidFile);
      return false;
    }
    argv.push_back(w.data());
  }
  argv.push_back(nullptr);

  // The child starts clean: no blocked signals, default dispositions, only the standard
  // streams inherited from the host.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigfillset(&defaults);
  sigdelset(&defaults, SIGKILL);
  sigdelset(&defaults, SIGSTOP);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  pid_t pid = 0;
  // The C library reports a program that cannot be executed here and has then already
  // reaped the short-lived child itself.
  const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    SetError(SpawnError(rc));
    return false;
  }
  ReapWhenDone(pid);
  ClearError();
  return true;
}

std::string Command(std::string_view sw) {
  const std::string_view key = Trim(sw);
  const std::vector<std::string> args = ProcessArguments();
  if (key.empty()) {
    std::string all;
    for (size_t i = 1; i < args.size(); ++i) {
      if (i > 1) all += ' ';
      all += args[i];
    }
    return all;
  }
  if (key.find_first_not_of("0123456789") == std::string_view::npos) {
    const int32_t n = ToLong(key);
    return static_cast<size_t>(n) < args.size() ? args[static_cast<size_t>(n)] : std::string();
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (EqualNoCase(arg, key)) return args[i];
    if (arg.size() > key.size() && arg[key.size()] == '=' &&
        EqualNoCase(arg.substr(0, key.size()), key)) {
      return std::string(arg.substr(key.size() + 1));
    }
  }
  return {};
}

void SetCommandLineForTesting(std::vector<std::string> args) {
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> lock(line.mutex);
  line.args = std::move(args);
  line.loaded = true;
}

std::optional<std::string> FindIniValue(std::string_view ini_text, std::string_view section,
                                        std::string_view entry) {
  const std::string_view want_section = Trim(section);
  const std::string_view want_entry = Trim(entry);
  if (want_entry.empty()) return std::nullopt;
  bool in_section = false;
  size_t pos = 0;
  while (pos < ini_text.size()) {
    size_t end = ini_text.find('\n', pos);
    if (end == std::string_view::npos) end = ini_text.size();
    const std::string_view line = Trim(ini_text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      const std::string_view name =
          close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
      in_section = EqualNoCase(Trim(name), want_section);
      continue;
    }
    if (!in_section) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (EqualNoCase(Trim(line.substr(0, eq)), want_entry)) {
      return std::string(Trim(line.substr(eq + 1)));
    }
  }
  return std::nullopt;
}

std::string DefaultIniPath() {
  if (const char* explicit_path = std::getenv("VTRT_INI"); explicit_path && *explicit_path) {
    return explicit_path;
  }
  // XDG_CONFIG_HOME counts only when it is an absolute path, as the base-directory rules say.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
    return std::string(config) + "/vistip/vistip.ini";
  }
  std::string home;
  if (const char* env_home = std::getenv("HOME"); env_home && *env_home) {
    home = env_home;
  } else {
    passwd pw;
    passwd* found = nullptr;
    char buf[4096];
    if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found) home = found->pw_dir;
  }
  return home + "/.config/vistip/vistip.ini";
}

std::string GetIni(std::string_view section, std::string_view entry, std::string_view default_value,
                   std::string_view file) {
  const std::string path = file.empty() ? DefaultIniPath() : std::string(file);
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string(default_value);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<std::string> value = FindIniValue(text, section, entry);
  return value ? *std::move(value) : std::string(default_value);
}

int32_t DateFromYmd(int year, int month, int day) {
  // Months beyond 1..12 carry into the years, days beyond the month into the months.
  const int64_t months = static_cast<int64_t>(year) * 12 + (month - 1);
  const int64_t y = (months >= 0 ? months : months - 11) / 12;
  const int64_t m = months - y * 12 + 1;
  const int64_t date = DaysFromCivil(y, m, 1) + (static_cast<int64_t>(day) - 1) - kDayZero;
  if (date > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (date < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(date);
}

void YmdFromDate(int32_t date, int& year, int& month, int& day) {
  int64_t y = 0;
  int64_t m = 0;
  int64_t d = 0;
  CivilFromDays(kDayZero + date, y, m, d);
  year = static_cast<int>(y);  // |date| < 2^31 days keeps the year far inside int
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

int32_t Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateFromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void Halt(int level, std::string_view text) {
  std::cout.flush();
  std::clog.flush();
  std::fflush(nullptr);
  if (!text.empty()) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
  }
  std::quick_exit(level);
}

void Beep() {
  beep_count.fetch_add(1, std::memory_order_relaxed);
  std::function<void()> hook;
  {
    BeepState& state = TheBeepState();
    std::lock_guard<std::mutex> lock(state.mutex);
    hook = state.hook;
  }
  if (hook) {
    hook();
  } else if (isatty(STDERR_FILENO)) {
    const ssize_t written = write(STDERR_FILENO, "\a", 1);
    (void)written;  // a lost beep is not worth reporting
  }
}

void SetBeepHook(std::function<void()> hook) {
  BeepState& state = TheBeepState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.hook = std::move(hook);
}

int64_t BeepCount() {
  return beep_count.load(std::memory_order_relaxed);
}

}  // namespace rt
