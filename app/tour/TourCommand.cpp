#include "app/tour/TourCommand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/controller/stg/HelpViewController.h"
#include "app/journey/LearnerJourney.h"
#include "app/tour/ScreenTour.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

// A first launch opens the help pages; they get their picture and are left as the learner would.
void tourCommandPastHelp(ScreenTour& tour, LearnerJourney& journey, pf::HeadlessHost& host) {
  auto help = std::dynamic_pointer_cast<HelpViewController>(journey.topScreen());
  if (!help) return;
  tour.shoot("help", help, nullptr);
  help->enterAppView();
  host.advance(1);
}

// The album's one photo, for the step that writes a blog with a picture.
void tourCommandPlaceAlbumPicture() {
  const auto folder = std::filesystem::path(pf::Sandbox::home()) / "Pictures";
  std::error_code error;
  if (std::filesystem::exists(folder, error) && !std::filesystem::is_empty(folder, error)) return;
  std::filesystem::create_directories(folder, error);
  auto context = pf::ImageContext::create({640, 480}, true, 1);
  if (!context) return;
  context->context().setFillColor(pf::Color::fromRgba(0.2, 0.6, 0.3, 1));
  context->context().fillRect(pf::Rect(0, 0, 640, 480));
  if (auto jpeg = pf::JpegCodec::encode(*context->image()->bitmap(), 0.8))
    std::ofstream((folder / "tour.jpg").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg->data()), static_cast<std::streamsize>(jpeg->size()));
}

}  // namespace

int TourCommand::run(const std::string& folder) {
  // Timers and animations run on a clock of their own, so the walk takes no longer than its work;
  // it starts at the real date, which the server's records are stamped against.
  pf::Clock::install(std::make_shared<pf::VirtualClock>(pf::Clock::current()->wall()));
  tourCommandPlaceAlbumPicture();
  auto& application = pf::Application::sharedApplication();
  application.launch();
  pf::HeadlessHost host;
  host.runPending();
  const auto window = application.keyWindow();
  if (!window) {
    std::fprintf(stderr, "the app made no window to tour\n");
    return 1;
  }
  const bool tablet = pf::Screen::mainScreen().profile() == pf::Screen::Profile::Tablet;
  ScreenTour tour(folder, tablet ? "tablet" : "phone");
  LearnerJourney journey(window);
  tourCommandPastHelp(tour, journey, host);
  journey.setObserver([&tour, &window](const std::string& step, const std::shared_ptr<pf::ViewController>& onTop) {
    tour.shoot(step, onTop, window);
  });
  std::size_t problems = 0;
  for (const auto& result : journey.run()) {
    for (const auto& problem : result.problems) {
      std::printf("%s  %s  step went wrong  %s\n", tablet ? "tablet" : "phone", result.name.c_str(), problem.c_str());
      ++problems;
    }
  }
  for (const auto& line : tour.findingLines()) std::printf("%s\n", line.c_str());
  const std::string sheet = tour.finish();
  if (sheet.empty()) {
    std::fprintf(stderr, "could not write the contact sheet under %s\n", folder.c_str());
    return 1;
  }
  std::printf("%zu screens, %zu findings, %zu steps went wrong; contact sheet: %s\n", tour.shots().size(),
              tour.findingLines().size(), problems, sheet.c_str());
  return tour.findingLines().empty() && problems == 0 ? 0 : 1;
}
