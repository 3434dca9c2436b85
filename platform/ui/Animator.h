#pragma once
// Ends layer animations on the main run loop's clock. It keeps the running animations and one timer
// set to the earliest end; when that comes, each finished animation is removed from its layer (unless
// it stays on completion) and its stop handlers and delegate hear finished = true. An animation
// removed or replaced early hears finished = false on a later turn of the main loop. Either way a
// stop is reported exactly once. Main thread only.

#include <memory>
#include <vector>

namespace pf {

class Animation;
class Layer;
class Timer;

class Animator {
 public:
  static Animator& shared();

  // Called by a layer when it adds an animation.
  void started(const std::shared_ptr<Layer>& layer, const std::shared_ptr<Animation>& animation);
  // Called when an animation leaves its layer before the animator ended it.
  void stopped(const std::shared_ptr<Animation>& animation, bool finished);

  // Whether any animation is running, so a host keeps drawing frames.
  bool isAnimating() const;
  // Ends every animation whose end has come; the timer calls it, tests may too.
  void tick();
  // Looks again at the ends, after animations were retimed.
  void reschedule() { schedule(); }
  // Forgets everything without reports (a fresh start for tests).
  void reset();

 private:
  struct Running {
    std::weak_ptr<Layer> layer;
    std::shared_ptr<Animation> animation;
    bool reported = false;
  };

  Animator() = default;
  void schedule();
  static void report(const std::shared_ptr<Animation>& animation, bool finished);

  std::vector<Running> running_;
  std::shared_ptr<Timer> timer_;
  double timerAt_ = 0;
};

}  // namespace pf
