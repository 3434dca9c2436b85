#pragma once
// A timer in step with the screen's refresh (60 frames a second): once added to a run loop in a mode
// it runs its action every frame while that loop runs in that mode. The target is held weakly: the
// action runs only while the target lives, and a link whose target has gone invalidates itself, so a
// view that forgets to stop its link is still freed. The run loop keeps a running link alive.
// Main thread use is the usual; add, invalidate and the getters work from the loop's thread.

#include <functional>
#include <memory>
#include <string>

namespace pf {

class RunLoop;
class Timer;

class DisplayLink : public std::enable_shared_from_this<DisplayLink> {
 public:
  using Action = std::function<void(DisplayLink&)>;
  static constexpr double kFrameDuration = 1.0 / 60.0;

  static std::shared_ptr<DisplayLink> make(std::weak_ptr<void> target, Action action);
  ~DisplayLink();

  void addToRunLoop(const std::shared_ptr<RunLoop>& loop, const std::string& mode);
  // Stops the link for good and drops its action.
  void invalidate();
  bool isValid() const { return valid_; }
  bool isPaused() const { return paused_; }
  void setPaused(bool paused) { paused_ = paused; }
  // Clock time of the frame being handled.
  double timestamp() const { return timestamp_; }
  double duration() const { return kFrameDuration; }

 private:
  DisplayLink(std::weak_ptr<void> target, Action action);
  void fire();

  std::weak_ptr<void> target_;
  Action action_;
  std::shared_ptr<Timer> timer_;
  double timestamp_ = 0;
  bool valid_ = true;
  bool paused_ = false;
};

}  // namespace pf
