#pragma once
// What a learner does with the window, for the journey: reads the texts that show (labels, buttons,
// fields, tab titles, boxes and alerts), taps where a view or a text shows, types, and lets time pass
// on the main loop. Alerts are answered as they come up (button 0 unless told otherwise) and every box
// and alert text seen is kept until taken, so a step can tell what the learner was told.
//
// Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Rect.h"

namespace pf {
class TableView;
class Timer;
class View;
class Window;
}  // namespace pf

class JourneyScreen {
 public:
  struct ShownText {
    std::string text;
    pf::Rect frame;  // in the window
    std::weak_ptr<pf::View> view;
  };
  // The button index to answer an alert of this message with.
  using AlertAnswer = std::function<long(const std::string& message)>;

  explicit JourneyScreen(std::shared_ptr<pf::Window> window);
  ~JourneyScreen();
  JourneyScreen(const JourneyScreen&) = delete;
  JourneyScreen& operator=(const JourneyScreen&) = delete;

  const std::shared_ptr<pf::Window>& window() const { return window_; }

  // Texts showing now, in the window's drawing order; alerts' titles and messages last.
  std::vector<ShownText> shownTexts() const;
  // Whether a text showing now contains the piece.
  bool shows(const std::string& piece) const;
  // One line of every text showing, for a step's report.
  std::string describe() const;

  // Taps the middle of the view as it shows in the window; false when it does not show.
  bool tap(const std::shared_ptr<pf::View>& view);
  // Taps the last-drawn text showing exactly this (or containing it when no text is exact) where a
  // finger reaches it (nothing else on top).
  // Within a view, only texts inside it count.
  bool tapText(const std::string& text, const std::shared_ptr<pf::View>& within = nullptr);
  // Scrolls the row into view and taps it.
  bool tapRow(pf::TableView& table, long row, long section = 0);
  // Focuses the view and types the text into it.
  bool type(const std::shared_ptr<pf::View>& field, const std::string& text);
  // Drags from one point to another in the window.
  void drag(pf::Point from, pf::Point to);

  // Lets the main loop run that many seconds of its clock, recording boxes and alerts.
  void wait(double seconds);
  // Runs until done() holds or the timeout passed, then a short settle; answers done().
  bool waitFor(const std::function<bool()>& done, double timeout = 20);

  void setAlertAnswer(AlertAnswer answer);
  // Box and alert texts seen since the last take, in order, each once.
  std::vector<std::string> takeMessages();
  // Box and alert texts seen since the last take, without taking them.
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  bool reachable(const ShownText& shown) const;
  // Whether touches reach the view through every view from it up to (not including) upTo.
  static bool takesTouches(const pf::View& view, const pf::View& upTo);
  void look();
  void note(const std::string& text);

  std::shared_ptr<pf::Window> window_;
  AlertAnswer alertAnswer_;
  std::shared_ptr<pf::Timer> watcher_;
  std::vector<std::string> messages_;
};
