// Downloads one large file from the loopback server to disk with the engine and with the curl command
// line tool, in the same run from the same server (a separate process, so this process's peak memory is
// the engine's), and prints both throughputs, their ratio and the engine's peak memory.
//   download_bench [path/to/marlune-devserver] [megabytes]

#include <netinet/in.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/http/HttpRequest.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"

extern char** environ;

namespace {

constexpr int kRounds = 3;

int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

void writeRandomFile(const std::string& path, std::size_t megabytes) {
  std::mt19937_64 random(3);
  std::vector<std::uint64_t> block(1 << 17);
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < megabytes; ++i) {
    for (auto& word : block) word = random();
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
  }
}

pid_t spawn(std::vector<std::string> arguments, int stdoutFd = -1) {
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  pid_t pid = -1;
  posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Starts the server and waits for its first line, which it prints once it listens.
pid_t startServer(const std::string& binary, int port, const std::string& root) {
  int lines[2];
  if (pipe(lines) != 0) return -1;
  const pid_t pid = spawn({binary, "--port", std::to_string(port), "--root", root}, lines[1]);
  close(lines[1]);
  char c;
  while (read(lines[0], &c, 1) == 1 && c != '\n') {
  }
  close(lines[0]);
  return pid;
}

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
  const pid_t pid = spawn({"curl", "-s", "-o", destination, url});
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string binary = argc > 1 ? argv[1] : "tools/devserver/marlune-devserver";
  const std::size_t megabytes = argc > 2 ? std::stoul(argv[2]) : 256;
  pf::RunLoop::setMainThread();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "marlune-download-bench";
  std::filesystem::create_directories(folder / "served");
  pf::Sandbox::setHome(folder.string());
  writeRandomFile((folder / "served" / "big.bin").string(), megabytes);

  const int port = freePort();
  const pid_t server = startServer(binary, port, (folder / "served").string());
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/big.bin";
  const std::string destination = (folder / "big.copy").string();
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
    ok = ok && std::filesystem::file_size(destination) == static_cast<std::uintmax_t>(bytes);
    std::filesystem::remove(destination);
    const double curlCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    curlBest = std::min(curlBest, seconds([&] { ok = ok && curlDownload(url, destination); }));
    curlCpu += cpuSeconds(RUSAGE_CHILDREN) - curlCpuBefore;
    std::filesystem::remove(destination);
  }
  const long memoryAfter = peakMemoryKilobytes();
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  std::filesystem::remove_all(folder);
  if (!ok) {
    std::fprintf(stderr, "a download failed\n");
    return 1;
  }
  const double engineRate = bytes / engineBest / 1e6;
  const double curlRate = bytes / curlBest / 1e6;
  std::printf("file %zu MB, best of %d rounds\n", megabytes, kRounds);
  std::printf("engine %.0f MB/s, curl %.0f MB/s, ratio %.2f\n", engineRate, curlRate, engineRate / curlRate);
  std::printf("CPU per download: engine %.2f s, curl %.2f s\n", engineCpu / kRounds, curlCpu / kRounds);
  std::printf("peak memory %.1f MB (%.1f MB before the downloads)\n", memoryAfter / 1024.0,
              memoryBefore / 1024.0);
  return 0;
}
