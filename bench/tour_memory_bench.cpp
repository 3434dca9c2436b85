// The app's peak memory over the whole phone tour (the learner's day through every screen, one PNG a
// screen and the contact sheet, as `marlune --tour`), against the bytes of every picture it decoded.
// The stand-in runs as a process of its own (marlune-devserver --open with the demo data), so this
// process's peak is the app's.
//   tour_memory_bench path/to/marlune-devserver 2>/dev/null

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/AppDelegate.h"
#include "app/controller/ScreenClasses.h"
#include "app/tour/TourCommand.h"
#include "bench/support/LoopbackBench.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/DecodedPixels.h"
#include "platform/ui/Application.h"
#include "ui/auth/AuthenticationDialog.h"
#include "ui/deck/PanelDeckRouting.h"

namespace {

// "marlune-devserver --open --port 0": host is its "127.0.0.1:port", empty when it did not come up.
bench::Child startStandIn(const std::string& binary, std::string& host) {
  int lines[2];
  if (pipe2(lines, O_CLOEXEC) != 0) return bench::Child();
  bench::Child server = bench::Child::spawn({binary, "--open", "--port", "0"}, lines[1]);
  close(lines[1]);
  std::string line;
  char c;
  while (read(lines[0], &c, 1) == 1 && c != '\n') line += c;
  close(lines[0]);
  const std::size_t at = line.rfind(" on http://");
  const std::size_t end = line.rfind("/open");
  if (server.started() && (at == std::string::npos || end == std::string::npos || end < at)) {
    std::fprintf(stderr, "%s did not report where it listens: %s\n", binary.c_str(), line.c_str());
    server.stop();
  }
  if (server.started()) host = line.substr(at + 11, end - at - 11);
  return server;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tour_memory_bench path/to/marlune-devserver\n");
    return 2;
  }
  std::string host;
  bench::Child server = startStandIn(argv[1], host);
  if (host.empty()) return 1;
  const bench::PrivateFolder home("marlune-tour-memory-home");
  const bench::PrivateFolder pictures("marlune-tour-memory-pictures");
  setenv("MARLUNE_SERVER_HOST", host.c_str(), 1);
  setenv("MARLUNE_HOME", home.path().c_str(), 1);
  setenv("MARLUNE_SCREEN", "phone", 1);
  pf::Bundle::setMainBundlePath(MARLUNE_BUNDLE_DIR);
  registerScreenClasses();
  PanelDeckRouting::install();
  AuthenticationDialog::install();
  pf::Application::sharedApplication().setDelegate(std::make_shared<AppDelegate>());
  const long before = bench::peakMemoryKilobytes();
  double seconds = 0;
  int status = 0;
  seconds = bench::seconds([&] { status = TourCommand::run(pictures.path().string()); });
  const long peak = bench::peakMemoryKilobytes();
  const double decoded = double(pf::DecodedPixels::bytes()) / (1 << 20);
  std::printf("tour: phone, %.1f s, %s\n", seconds, status == 0 ? "no findings" : "with findings (see the log)");
  std::printf("tour memory: %.1f MB resident before the launch\n", double(before) / 1024);
  std::printf("tour memory: peak over the whole phone tour  ours %.1f MB  raw pictures decoded %.1f MB  ratio %.2f\n",
              double(peak) / 1024, decoded, decoded > 0 ? double(peak) / 1024 / decoded : 0);
  std::fflush(stdout);
  server.stop();
  std::error_code ignored;
  std::filesystem::remove_all(home.path(), ignored);
  std::filesystem::remove_all(pictures.path(), ignored);
  std::_Exit(0);  // measured: skip tearing the app down
}
