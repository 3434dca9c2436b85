#pragma once
// Carries touch events from a window to gesture recognisers and views. New touches go to the view
// under them and collect the recognisers of that view and its superviews. Recognisers see each
// change first; when one recognises, it waits for those it must see fail, then wins over the
// recognisers it may not run beside (they fail), and cancels the touches in its view unless told
// not to. Views get what is left, held back while a recogniser that delays them may still win.
// Views and recognisers may be removed inside any callback. Main thread only.

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Responder.h"
#include "platform/ui/Touch.h"

namespace pf {

class Event;
class GestureRecognizer;
class Window;

class TouchDispatcher {
 public:
  static TouchDispatcher& shared();

  void dispatch(Window& window, const Event& event);
  // A recogniser's state moved outside a dispatch (a timer): settle it now.
  void recognizerChanged(GestureRecognizer& recognizer);
  // A recogniser left its view.
  void forget(GestureRecognizer& recognizer);
  // Forgets every touch and recogniser (a fresh start for tests).
  void reset();

 private:
  struct Delivery {
    // Kept while a delivery is held back, after the finger lifted.
    std::shared_ptr<Touch> touch;
    bool beganSent = false;
    bool beganHeld = false;
    bool endHeld = false;
    bool cancelled = false;
    bool finished = false;
  };

  void adopt(Window& window, const std::shared_ptr<Touch>& touch, const Event& event);
  void feedRecognizers(const Event& event);
  void settle();
  bool settleOne(const std::shared_ptr<GestureRecognizer>& recognizer);
  bool mayRunTogether(GestureRecognizer& a, GestureRecognizer& b) const;
  bool shareTouches(const GestureRecognizer& a, const GestureRecognizer& b) const;
  void cancelTouchesOf(GestureRecognizer& recognizer);
  void deliverToViews(const Event& event);
  void releaseHeld(const Event* event);
  void resetFinished();
  Delivery& deliveryOf(const std::shared_ptr<Touch>& touch);
  static void send(Touch::Phase phase, const std::shared_ptr<Touch>& touch, const Event* event);

  std::vector<std::shared_ptr<GestureRecognizer>> active_;
  std::map<const Touch*, Delivery> deliveries_;
  bool dispatching_ = false;
};

}  // namespace pf
