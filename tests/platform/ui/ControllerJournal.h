#pragma once
// Controllers that write what happens to them into a shared journal, and a check that each one's
// appearance calls follow the allowed order.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewController.h"

using Journal = std::vector<std::string>;

template <typename Base>
class Journaled : public Base {
 public:
  Journaled(std::string name, std::shared_ptr<Journal> journal)
      : name_(std::move(name)), journal_(std::move(journal)) {}

  const std::string& name() const { return name_; }
  void viewDidLoad() override {
    Base::viewDidLoad();
    note("load");
  }
  void viewWillAppear(bool animated) override { note(animated ? "willAppear animated" : "willAppear"); }
  void viewDidAppear(bool animated) override { note(animated ? "didAppear animated" : "didAppear"); }
  void viewWillDisappear(bool animated) override {
    note(animated ? "willDisappear animated" : "willDisappear");
  }
  void viewDidDisappear(bool animated) override { note(animated ? "didDisappear animated" : "didDisappear"); }
  void willMoveToParentViewController(pf::ViewController* parent) override {
    note(parent ? "willMoveTo parent" : "willMoveTo none");
  }
  void didMoveToParentViewController(pf::ViewController* parent) override {
    note(parent ? "didMoveTo parent" : "didMoveTo none");
  }
  void willRotateToInterfaceOrientation(pf::ViewController::Orientation o, double) override {
    note("willRotate " + std::to_string(static_cast<int>(o)));
  }
  void didRotateFromInterfaceOrientation(pf::ViewController::Orientation o) override {
    note("didRotate from " + std::to_string(static_cast<int>(o)));
  }

 private:
  void note(const std::string& what) { journal_->push_back(name_ + " " + what); }
  std::string name_;
  std::shared_ptr<Journal> journal_;
};

using Page = Journaled<pf::ViewController>;

// Every controller's appearance calls in the journal go disappeared -> will appear -> did appear ->
// will disappear -> did disappear, a will call of the other way cancelling a transition midway. A
// controller's first call may be either will call (the journal may start while it shows).
inline testing::AssertionResult appearanceBalanced(const Journal& journal) {
  enum State { Unknown, Gone, Coming, Shown, Going };
  std::map<std::string, State> states;
  for (const auto& line : journal) {
    const auto space = line.find(' ');
    const std::string who = line.substr(0, space);
    const std::string what = line.substr(space + 1);
    State& state = states[who];
    const auto fail = [&] { return testing::AssertionFailure() << "out of order: " << line; };
    if (what.starts_with("willAppear")) {
      if (state != Unknown && state != Gone && state != Going) return fail();
      state = Coming;
    } else if (what.starts_with("didAppear")) {
      if (state != Coming) return fail();
      state = Shown;
    } else if (what.starts_with("willDisappear")) {
      if (state != Unknown && state != Shown && state != Coming) return fail();
      state = Going;
    } else if (what.starts_with("didDisappear")) {
      if (state != Going) return fail();
      state = Gone;
    }
  }
  return testing::AssertionSuccess();
}
