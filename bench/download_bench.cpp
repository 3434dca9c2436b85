// Downloads one large file from the loopback server to disk with the engine and with the curl command
// line tool, in the same run from the same server (a separate process, so this process's peak memory is
// the engine's), and prints both throughputs, their ratio and the engine's peak memory. The file and the
// copies live in a temporary folder of the run's own; only the processes it started are signalled.
//   download_bench [path/to/marlune-devserver] [megabytes]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/http/HttpRequest.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"

extern char** environ;

namespace {

constexpr int kRounds = 3;

void writeRandomFile(const std::string& path, std::size_t megabytes) {
  std::mt19937_64 random(3);
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
  // Says why on stderr and answers an empty child when the program cannot be started.
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

// Starts the server on a free port and reads its first line, which it prints once it listens and which
// ends with its URL. An empty url means it did not come up (said on stderr).
Child startServer(const std::string& binary, const std::string& root, std::string& url) {
  int lines[2];
  if (pipe2(lines, O_CLOEXEC) != 0) {
    std::fprintf(stderr, "cannot make a pipe: %s\n", std::strerror(errno));
    return Child();
  }
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
  PrivateFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marlune-download-bench-XXXXXX").string();
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

long peakMemoryKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

double cpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

double seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool engineDownload(const std::string& url, const std::string& destination) {
  auto request = HttpRequest::requestWithURL(pf::Url::parse(url));
  request->downloadDestinationPath.set(destination);
  request->timeOutSeconds = 60;
  request->startSynchronous();
  if (const pf::ErrorPtr error = request->error.get()) {
    std::fprintf(stderr, "engine: %s\n", error->localizedDescription().c_str());
    return false;
  }
  return true;
}

bool curlDownload(const std::string& url, const std::string& destination) {
  Child curl = Child::spawn({"curl", "-sS", "-o", destination, url});
  if (!curl.started()) return false;
  if (curl.wait()) return true;
  std::fprintf(stderr, "curl failed to download %s\n", url.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string binary = argc > 1 ? argv[1] : "tools/devserver/marlune-devserver";
  const std::size_t megabytes = argc > 2 ? std::stoul(argv[2]) : 256;
  pf::RunLoop::setMainThread();
  const PrivateFolder folder;
  if (folder.path().empty()) {
    std::fprintf(stderr, "cannot make a temporary folder: %s\n", std::strerror(errno));
    return 1;
  }
  std::filesystem::create_directories(folder.path() / "served");
  pf::Sandbox::setHome(folder.path().string());
  writeRandomFile((folder.path() / "served" / "big.bin").string(), megabytes);

  std::string base;
  Child server = startServer(binary, (folder.path() / "served").string(), base);
  if (!server.started()) return 1;
  const std::string url = base + "big.bin";
  const std::string destination = (folder.path() / "big.copy").string();
  const double bytes = static_cast<double>(megabytes) * 1024 * 1024;

  const long memoryBefore = peakMemoryKilobytes();
  double engineBest = 1e9;
  double curlBest = 1e9;
  double engineCpu = 0;
  double curlCpu = 0;
  bool ok = true;
  for (int round = 0; round < kRounds && ok; ++round) {
    const double engineCpuBefore = cpuSeconds(RUSAGE_SELF);
    engineBest = std::min(engineBest, seconds([&] { ok = ok && engineDownload(url, destination); }));
    engineCpu += cpuSeconds(RUSAGE_SELF) - engineCpuBefore;
    if (ok && std::filesystem::file_size(destination) != static_cast<std::uintmax_t>(bytes)) {
      std::fprintf(stderr, "the engine's copy has %ju bytes, not %.0f\n",
                   static_cast<std::uintmax_t>(std::filesystem::file_size(destination)), bytes);
      ok = false;
    }
    std::filesystem::remove(destination);
    const double curlCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    curlBest = std::min(curlBest, seconds([&] { ok = ok && curlDownload(url, destination); }));
    curlCpu += cpuSeconds(RUSAGE_CHILDREN) - curlCpuBefore;
    std::filesystem::remove(destination);
  }
  const long memoryAfter = peakMemoryKilobytes();
  server.stop();
  if (!ok) return 1;
  const double engineRate = bytes / engineBest / 1e6;
  const double curlRate = bytes / curlBest / 1e6;
  std::printf("file %zu MB, best of %d rounds\n", megabytes, kRounds);
  std::printf("engine %.0f MB/s, curl %.0f MB/s, ratio %.2f\n", engineRate, curlRate, engineRate / curlRate);
  std::printf("CPU per download: engine %.2f s, curl %.2f s\n", engineCpu / kRounds, curlCpu / kRounds);
  std::printf("peak memory %.1f MB (%.1f MB before the downloads)\n", memoryAfter / 1024.0,
              memoryBefore / 1024.0);
  return 0;
}
