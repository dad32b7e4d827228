// Runs a program as a child process with given standard input, and collects
// its exit status and both output streams. Input and output are pumped
// together, so large data cannot deadlock on full pipes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace test_support {

struct ProcessResult {
  int exit_code = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

inline ProcessResult run_process(const std::vector<std::string>& argv, const std::string& input = {}) {
  std::signal(SIGPIPE, SIG_IGN);  // a child that exits before reading its input
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) || pipe2(out_pipe, O_CLOEXEC) || pipe2(err_pipe, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (rc != 0) {
    close(in_pipe[1]);
    close(out_pipe[0]);
    close(err_pipe[0]);
    throw std::runtime_error("cannot start " + argv[0]);
  }

  ProcessResult result;
  std::size_t written = 0;
  int in_fd = in_pipe[1];
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  int out_fd = out_pipe[0], err_fd = err_pipe[0];
  char buf[1 << 16];
  while (in_fd >= 0 || out_fd >= 0 || err_fd >= 0) {
    pollfd fds[3] = {{in_fd, POLLOUT, 0}, {out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (in_fd >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(in_fd, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) {
        close(in_fd);
        in_fd = -1;
      }
    }
    for (int k = 1; k <= 2; ++k) {
      int& fd = k == 1 ? out_fd : err_fd;
      if (fd >= 0 && (fds[k].revents & (POLLIN | POLLHUP | POLLERR))) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) (k == 1 ? result.out : result.err).append(buf, static_cast<std::size_t>(n));
        else {
          close(fd);
          fd = -1;
        }
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

}  // namespace test_support
