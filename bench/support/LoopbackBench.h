#pragma once
// What the download benchmarks share: processes of their own (only those pids are signalled), the
// loopback file server started on a free port, a private temporary folder removed with its contents,
// random files, timing and peak memory.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace bench {

inline void writeRandomFile(const std::string& path, std::size_t megabytes, unsigned seed) {
  std::mt19937_64 random(seed);
  std::vector<std::uint64_t> block(1 << 17);
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < megabytes; ++i) {
    for (auto& word : block) word = random();
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
  }
}

// A process this program started. Only its own pid is ever signalled or waited for.
class Child {
 public:
  static Child spawn(std::vector<std::string> arguments, int stdoutFd = -1) {
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int failure = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
      std::fprintf(stderr, "cannot start %s: %s\n", arguments[0].c_str(), std::strerror(failure));
      return Child();
    }
    return Child(pid);
  }

  Child() = default;
  Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  Child& operator=(Child&&) = delete;
  ~Child() { stop(); }

  bool started() const { return pid_ > 0; }
  // Waits for the child to end; true when it exited with status 0.
  bool wait() {
    if (!started()) return false;
    int status = 0;
    pid_t ended;
    do {
      ended = waitpid(pid_, &status, 0);
    } while (ended < 0 && errno == EINTR);
    pid_ = -1;
    return ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  void stop() {
    if (!started()) return;
    kill(pid_, SIGTERM);
    wait();
  }

 private:
  explicit Child(pid_t pid) : pid_(pid) {}
  pid_t pid_ = -1;
};

// Starts "marlune-devserver --root root" on a free port; url is its base URL, empty when it did not
// come up (said on stderr).
inline Child startFileServer(const std::string& binary, const std::string& root, std::string& url) {
  int lines[2];
  if (pipe2(lines, O_CLOEXEC) != 0) return Child();
  Child server = Child::spawn({binary, "--port", "0", "--root", root}, lines[1]);
  close(lines[1]);
  std::string line;
  char c;
  while (read(lines[0], &c, 1) == 1 && c != '\n') line += c;
  close(lines[0]);
  const std::size_t at = line.rfind(" on http://");
  if (server.started() && at == std::string::npos) {
    std::fprintf(stderr, "%s did not report where it listens\n", binary.c_str());
    server.stop();
  }
  if (server.started()) url = line.substr(at + 4);
  return server;
}

// A folder of this run's own under the system's temporary folder, removed with everything in it.
class PrivateFolder {
 public:
  explicit PrivateFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~PrivateFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// This process's peak resident memory (kB).
inline long peakMemoryKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The largest peak resident memory among the children waited for so far (kB).
inline long childrenPeakMemoryKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

inline double seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
