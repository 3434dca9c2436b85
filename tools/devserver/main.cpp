// The loopback platform server on its own: serves the files of a folder on 127.0.0.1 until interrupted,
// or, with --open, stands in for the platform's open interface with the data of a folder.
//   marlune-devserver [--port N] [--root DIR]
//   marlune-devserver --open [--data DIR] [--port N] [--store-version V]
//       (DIR defaults to the demo folder of the source tree; V is the version the store offers)

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/demo/DemoMethods.h"
#include "tools/devserver/demo/DemoStore.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--port N] [--root DIR] | --open [--data DIR] [--port N] [--store-version V]\n", program);
  return 2;
}

void waitForSignal(sigset_t& signals) {
  int received = 0;
  sigwait(&signals, &received);
}

int serveOpen(int port, const std::string& data, sigset_t& signals) {
  std::string problem;
  const auto folder = devserver::OpenDataFolder::read(data, &problem);
  if (!folder) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  devserver::OpenServer server(folder->settings);
  folder->install(server);
  devserver::installDemoMethods(server, data);
  if (!server.start(port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("open interface with %s on http://%s/open\n", data.c_str(), server.host().c_str());
  std::fflush(stdout);
  waitForSignal(signals);
  server.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 8080;
  std::string root = ".";
  std::string data;
  bool open = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--open") {
      open = true;
    } else if (i + 1 == argc) {
      return usage(argv[0]);
    } else if (option == "--port") {
      port = std::atoi(argv[++i]);
    } else if (option == "--root") {
      root = argv[++i];
    } else if (option == "--data") {
      data = argv[++i];
    } else if (option == "--store-version") {
      devserver::DemoStore::publish(std::string(argv[++i]));
    } else {
      return usage(argv[0]);
    }
  }
  if (open && data.empty()) data = MARLUNE_DEMO_DATA;
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts, so all inherit the mask
  if (open) return serveOpen(port, data, signals);

  devserver::DevServer server;
  server.route("/*", devserver::answers::directory(root));
  if (!server.start(port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("serving %s on %s\n", root.c_str(), server.url().c_str());
  std::fflush(stdout);
  waitForSignal(signals);
  server.stop();
  return 0;
}
