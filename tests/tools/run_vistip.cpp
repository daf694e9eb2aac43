// Child processes of the built vistip: posix_spawn with pipes, or forkpty for a terminal.
#include "tests/tools/run_vistip.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <thread>

extern char** environ;

namespace vistip::testing {
namespace {

std::vector<char*> Argv(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(VISTIP_PATH)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

std::vector<char*> Environment(bool without_display) {
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e)
    if (!without_display || std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  env.push_back(nullptr);
  return env;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads both pipes to their ends, writing the input meanwhile.
void Drain(int out_fd, int err_fd, int in_fd, const std::string& input, Ran& ran) {
  size_t written = 0;
  auto close_input = [&in_fd] {
    close(in_fd);
    in_fd = -1;
  };
  if (input.empty()) close_input();
  while (out_fd >= 0 || err_fd >= 0) {
    pollfd fds[3] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}, {in_fd, POLLOUT, 0}};
    poll(fds, 3, -1);
    for (int i = 0; i < 2; ++i) {
      int& fd = i == 0 ? out_fd : err_fd;
      if (fd < 0 || fds[i].revents == 0) continue;
      char buf[4096];
      const ssize_t n = read(fd, buf, sizeof buf);
      if (n <= 0) {
        close(fd);
        fd = -1;
      } else {
        (i == 0 ? ran.out : ran.err).append(buf, static_cast<size_t>(n));
      }
    }
    if (in_fd >= 0 && fds[2].revents != 0) {
      const ssize_t n = write(in_fd, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if (n <= 0 || written == input.size()) close_input();
    }
  }
  if (in_fd >= 0) close_input();
}

}  // namespace

Ran RunVistip(const std::vector<std::string>& args, const RunOptions& options) {
  int out[2], err[2], in[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0)
    return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, VISTIP_PATH, &actions, nullptr, Argv(args).data(),
                                  Environment(options.without_display).data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  Ran ran;
  Drain(out[0], err[0], in[1], options.input, ran);
  if (spawned == 0) ran.status = ExitStatus(pid);
  return ran;
}

pid_t StartVistip(const std::vector<std::string>& args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, VISTIP_PATH, &actions, nullptr, Argv(args).data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

int WaitVistip(pid_t pid, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (VistipRunning(pid)) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid, SIGKILL);
      ExitStatus(pid);
      return -2;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ExitStatus(pid);
}

bool VistipRunning(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

Ran RunVistipOnTerminal(const std::vector<std::string>& args, const std::string& cwd) {
  std::vector<char*> argv = Argv(args);  // before the fork: the child only execs
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    execv(VISTIP_PATH, argv.data());
    _exit(127);
  }
  Ran ran;
  if (pid < 0) return ran;
  char buf[4096];
  ssize_t n;
  // The terminal ends with EIO once the child has closed it.
  while ((n = read(master, buf, sizeof buf)) > 0) ran.out.append(buf, static_cast<size_t>(n));
  close(master);
  ran.status = ExitStatus(pid);
  return ran;
}

}  // namespace vistip::testing
