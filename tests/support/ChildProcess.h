#pragma once
// This test program started again to run one test only, the child's role, with settings added to its
// environment: a process of our own to kill in the middle of its work. Only its pid is ever signalled.
// The child tells the parent it has reached the point to be killed at by writing one byte to
// kReadyDescriptor (signalReady, safe in any context), so the kill lands there and not after a guess.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern char** environ;

namespace pf_test {

class ChildProcess {
 public:
  using Settings = std::vector<std::pair<std::string, std::string>>;

  // Far above the descriptors a test program opens before a child's role starts.
  static constexpr int kReadyDescriptor = 100;

  // Runs the test named "Suite.Name" in a new process.
  ChildProcess(const std::string& test, const Settings& settings) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    ready_ = ready[0];
    std::vector<std::string> environment;
    // Without the parent's shard or filter settings, which could leave the child nothing to run.
    for (char** entry = environ; *entry; ++entry) {
      if (!std::string_view(*entry).starts_with("GTEST_")) environment.emplace_back(*entry);
    }
    for (const auto& [name, value] : settings) environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=" + test;
    char* argv[] = {program.data(), filter.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], kReadyDescriptor);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
  }
  ~ChildProcess() {
    kill9();
    if (ready_ >= 0) close(ready_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // In the child: tells the parent it is ready to be killed.
  static void signalReady() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(kReadyDescriptor, &byte, 1);
  }

  bool started() const { return pid_ > 0; }
  bool running() const {
    if (!started()) return false;
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) == 0;
  }
  // Waits for the child's byte; false when the child ended first or the time ran out.
  bool waitReady(double seconds) {
    if (!started() || ready_ < 0) return false;
    pollfd readable{ready_, POLLIN, 0};
    int polled;
    do {
      polled = poll(&readable, 1, static_cast<int>(seconds * 1000));
    } while (polled < 0 && errno == EINTR);
    char byte = 0;
    return polled == 1 && read(ready_, &byte, 1) == 1;
  }
  // SIGKILL and wait; true when the child was running and died of the signal.
  bool kill9() {
    if (pid_ <= 0) return false;
    const pid_t pid = pid_;
    pid_ = -1;
    if (kill(pid, SIGKILL) != 0) return false;
    int status = 0;
    pid_t ended;
    do {
      ended = waitpid(pid, &status, 0);
    } while (ended < 0 && errno == EINTR);
    return ended == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  int ready_ = -1;
};

}  // namespace pf_test
