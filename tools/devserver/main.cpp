// The loopback platform server on its own: serves the files of a folder on 127.0.0.1 until interrupted.
//   marlune-devserver [--port N] [--root DIR]

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

int main(int argc, char** argv) {
  int port = 8080;
  std::string root = ".";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--port") {
      port = std::atoi(argv[i + 1]);
    } else if (option == "--root") {
      root = argv[i + 1];
    } else {
      std::fprintf(stderr, "usage: %s [--port N] [--root DIR]\n", argv[0]);
      return 2;
    }
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts, so all inherit the mask

  devserver::DevServer server;
  server.route("/*", devserver::answers::directory(root));
  if (!server.start(port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("serving %s on %s\n", root.c_str(), server.url().c_str());
  std::fflush(stdout);
  int received = 0;
  sigwait(&signals, &received);
  server.stop();
  return 0;
}
