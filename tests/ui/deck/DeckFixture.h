#pragma once
// The deck as the app builds it after sign-in: a module screen in the centre, the module menu on the
// left, the left size screen width / 320 x 50, pushed over the login screen on a navigation
// controller in the key window. The centre is the deck's delegate and writes every deck call it
// hears into the journal, after the appearance calls of the controllers. Views are coloured so a
// snapshot shows which is where. Runs on the phone or the tablet profile, animations on, the deck's
// routing installed, the virtual clock at 0.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Accessibility.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ControllerRouting.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchInjector.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/deck/PanelDeckRouting.h"

namespace decktest {

using Journal = std::vector<std::string>;

inline std::string sideName(DeckSide side) {
  static const char* names[] = {"none", "left", "right", "top", "bottom"};
  return side <= DeckSideBottom ? names[side] : "?";
}

// A screen that notes its appearance calls.
class Page : public pf::ViewController {
 public:
  Page(std::string name, std::shared_ptr<Journal> journal, pf::Color color)
      : name_(std::move(name)), journal_(std::move(journal)), color_(color) {}
  void loadView() override {
    auto v = std::make_shared<pf::View>(pf::Screen::mainScreen().applicationFrame());
    v->setBackgroundColor(color_);
    setView(v);
  }
  void viewWillAppear(bool animated) override { note(animated ? "willAppear animated" : "willAppear"); }
  void viewDidAppear(bool animated) override { note(animated ? "didAppear animated" : "didAppear"); }
  void viewWillDisappear(bool animated) override { note(animated ? "willDisappear animated" : "willDisappear"); }
  void viewDidDisappear(bool animated) override { note(animated ? "didDisappear animated" : "didDisappear"); }
  void didReceiveMemoryWarning() override { note("memoryWarning"); }
  const std::string& name() const { return name_; }

 protected:
  void note(const std::string& what) { journal_->push_back(name_ + " " + what); }

 private:
  std::string name_;
  std::shared_ptr<Journal> journal_;
  pf::Color color_;
};

// A module screen: the deck's delegate, noting what it hears; vetoes on request.
class ModuleScreen : public Page, public PanelDeckControllerDelegate {
 public:
  using Page::Page;
  std::optional<bool> openAnswer;
  std::optional<bool> closeAnswer;
  std::optional<bool> lastCloseAnimated;

  std::optional<bool> shouldOpenViewSide(PanelDeckController&, DeckSide) override { return openAnswer; }
  std::optional<bool> shouldCloseViewSide(PanelDeckController&, DeckSide, bool animated) override {
    lastCloseAnimated = animated;
    return closeAnswer;
  }
  void willOpenViewSide(PanelDeckController&, DeckSide side, bool) override { note("willOpen " + sideName(side)); }
  void didOpenViewSide(PanelDeckController&, DeckSide side, bool) override { note("didOpen " + sideName(side)); }
  void willCloseViewSide(PanelDeckController&, DeckSide side, bool) override { note("willClose " + sideName(side)); }
  void didCloseViewSide(PanelDeckController&, DeckSide side, bool) override { note("didClose " + sideName(side)); }
  void didShowCenterViewFromSide(PanelDeckController&, DeckSide side, bool) override {
    note("didShowCenter " + sideName(side));
  }
};

inline const pf::Color kMenuColor = pf::Color::fromRgba(0.1, 0.3, 0.9, 1);
inline const pf::Color kCenterColor = pf::Color::fromRgba(0.9, 0.2, 0.1, 1);
inline const pf::Color kOtherColor = pf::Color::fromRgba(0.1, 0.8, 0.2, 1);

class DeckFixture : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::View::setAnimationsEnabled(true);
    pf::Accessibility::reset();
    PanelDeckRouting::install();
  }
  void TearDown() override {
    host.reset();
    pf::ControllerRouting::install(nullptr);
    deck.reset();
    navigation.reset();
    pf::Screen::configure(pf::Screen::Profile::Phone);
    UiTest::TearDown();
  }

  // Builds and shows the app's deck on the profile.
  void showAppDeck(pf::Screen::Profile profile = pf::Screen::Profile::Phone) {
    useProfile(profile);
    center = std::make_shared<ModuleScreen>("center", journal, kCenterColor);
    menu = std::make_shared<Page>("menu", journal, kMenuColor);
    deck = PanelDeckController::create(center, menu);
    deck->setDelegate(std::static_pointer_cast<PanelDeckControllerDelegate>(center));
    deck->setLeftSize(width() / 320 * 50);
    auto login = std::make_shared<Page>("login", journal, pf::Color::white());
    navigation = std::make_shared<pf::NavigationController>(login);
    window->setRootViewController(navigation);
    settle();
    navigation->pushViewController(deck, false);
    settle();
    journal->clear();
    pf::Accessibility::reset();
  }

  void useProfile(pf::Screen::Profile profile) {
    if (profile == pf::Screen::Profile::Phone) return;
    pf::Screen::configure(profile);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
  }

  double width() const { return pf::Screen::mainScreen().bounds().size.width; }
  double ledge() const { return width() / 320 * 50; }
  double openOffset() const { return deck->referenceBounds().size.width - ledge(); }
  double slidingX() const { return deck->slidingControllerView()->frame().origin.x; }
  // Where the sliding view is drawn now (the animation's value).
  double shownX() const {
    return deck->slidingControllerView()->layer()->presentationOrSelf()->frame().origin.x;
  }
  // A point of the deck's view in window coordinates.
  pf::Point inWindow(double x, double y) const { return deck->view()->convertPointToView({x, y}, nullptr); }

  void settle(double seconds = 0.5) { runUntil(pf::Clock::now() + seconds); }

  pf::HeadlessHost& screen() {
    if (!host) host = std::make_unique<pf::HeadlessHost>(window);
    return *host;
  }

  // A drag of the deck's view by dx points (in deck coordinates) from x, at a steady speed.
  void dragBy(double fromX, double dx, double seconds) {
    const double y = deck->view()->bounds().size.height / 2;
    screen().drag({inWindow(fromX, y), inWindow(fromX + dx, y)}, seconds);
  }
  // Moves by dx in steps, holds still long enough to read as a slow release, then lifts.
  void dragAndHold(double fromX, double dx) {
    const double y = deck->view()->bounds().size.height / 2;
    pf::TouchInjector injector(window);
    injector.press(0, inWindow(fromX, y));
    for (int i = 1; i <= 20; ++i) {
      settle(0.02);
      injector.move(0, inWindow(fromX + dx * i / 20, y));
    }
    settle(0.3);
    injector.move(0, inWindow(fromX + dx, y));
    injector.lift(0);
    settle(0);
  }

  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
  std::shared_ptr<ModuleScreen> center;
  std::shared_ptr<Page> menu;
  std::shared_ptr<PanelDeckController> deck;
  std::shared_ptr<pf::NavigationController> navigation;
  std::unique_ptr<pf::HeadlessHost> host;
};

}  // namespace decktest
