#pragma once
// Fixture for the learner's day through the whole app: the demo stand-in with every module's data,
// the app launched against it on the virtual clock, every screen registered as the program does, and
// the login screen on the key window. Pictures still coming in end with the case.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/controller/ScreenClasses.h"
#include "app/journey/LearnerJourney.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/foundation/Sandbox.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/JpegCodec.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "ui/auth/AuthenticationDialog.h"
#include "ui/deck/PanelDeckRouting.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageManager.h"

class LearnerJourneyTest : public SignInJourneyTest {
 protected:
  // A short time-out keeps the stalls of the fault walk cheap.
  explicit LearnerJourneyTest(pf::Screen::Profile screenProfile) : SignInJourneyTest(screenProfile) {
    requestTimeout = 2;
  }

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerScreenClasses();
    PanelDeckRouting::install();
    AuthenticationDialog::install();
    placeAlbumPicture();
    showLogin();
    journey = std::make_unique<LearnerJourney>(window);
  }
  void TearDown() override {
    journey.reset();
    WebImageManager::sharedManager()->cancelAll();
    if (loop) {
      auto pictures = WebImageDownloader::sharedDownloader()->downloadQueue();
      loop->runUntilTrue([&] { return pictures->operationCount() == 0 && pf::RunLoop::pendingWorkCount() == 0; }, 20);
      loop->runUntil(pf::Clock::now() + 1);
    }
    SignInJourneyTest::TearDown();
  }

  // The album's one picture, for the blog's photo.
  static void placeAlbumPicture() {
    const auto folder = std::filesystem::path(pf::Sandbox::home()) / "Pictures";
    std::filesystem::create_directories(folder);
    auto context = pf::ImageContext::create({640, 480}, true, 1);
    ASSERT_TRUE(context);
    context->context().setFillColor(pf::Color::fromRgba(0.2, 0.6, 0.3, 1));
    context->context().fillRect(pf::Rect(0, 0, 640, 480));
    auto jpeg = pf::JpegCodec::encode(*context->image()->bitmap(), 0.8);
    ASSERT_TRUE(jpeg);
    std::ofstream((folder / "walk.jpg").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg->data()), static_cast<std::streamsize>(jpeg->size()));
  }

  // Runs the named step; the problems it found fail the case.
  LearnerJourney::StepResult walk(const std::string& name) {
    const auto names = LearnerJourney::stepNames();
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] != name) continue;
      auto result = journey->runStep(i);
      for (const auto& problem : result.problems) ADD_FAILURE() << name << ": " << problem;
      return result;
    }
    ADD_FAILURE() << "no step " << name;
    return {};
  }

  std::unique_ptr<LearnerJourney> journey;
};
