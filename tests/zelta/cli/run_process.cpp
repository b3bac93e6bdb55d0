#include "tests/zelta/cli/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelta::cli_testing {

namespace {

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Reads what is available; false at end of file.
bool Drain(int fd, std::string& into) {
  char buffer[65536];
  ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) {
    into.append(buffer, static_cast<size_t>(n));
    return true;
  }
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

}  // namespace

std::string ProcessResult::Describe() const {
  std::string text = timedOut ? "timed out"
                     : signal ? "killed by signal " + std::to_string(signal)
                              : "exit status " + std::to_string(status);
  return text + "; stderr: " + err.substr(0, 2000);
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         std::chrono::milliseconds timeout,
                         std::chrono::milliseconds interruptAfter) {
  ProcessResult result;
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return result;
  }
  std::vector<char*> args = CStrings(argv), envp = CStrings(env);
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    execve(args[0], args.data(), envp.data());
    dprintf(2, "cannot run %s: %s\n", args[0], strerror(errno));
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  if (pid < 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    result.err = "fork failed";
    return result;
  }

  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + timeout;
  bool interrupt = interruptAfter.count() > 0;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int openPipes = 2;
  while (openPipes > 0) {
    const auto now = std::chrono::steady_clock::now();
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    if (interrupt && now >= start + interruptAfter) {
      kill(pid, SIGINT);
      interrupt = false;
    }
    if (interrupt)
      left = std::min(left, std::chrono::duration_cast<std::chrono::milliseconds>(
                                start + interruptAfter - now) +
                                std::chrono::milliseconds(1));
    if (poll(fds, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      if (!Drain(fds[i].fd, i == 0 ? result.out : result.err)) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --openPipes;
      }
    }
  }
  for (pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  if (WIFSIGNALED(wstatus) && !result.timedOut) result.signal = WTERMSIG(wstatus);
  return result;
}

}  // namespace zelta::cli_testing
