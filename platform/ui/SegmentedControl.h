#pragma once
// A row of equal segments, each a title or an image, one selected (or none, -1). A tap selects a
// segment and sends value changed; a momentary control shows the tap and keeps no selection.
// Drawn as a tinted rounded outline with the selected segment filled. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace pf {

class SegmentedControl : public Control {
  PF_OBJECT(SegmentedControl, Control)

  static constexpr long kNoSegment = -1;
  using Item = std::variant<std::string, std::shared_ptr<const Image>>;

  SegmentedControl();
  explicit SegmentedControl(std::vector<Item> items);

  size_t numberOfSegments() const { return segments_.size(); }
  long selectedSegmentIndex() const { return selected_; }
  // Out of range selects none. No event.
  void setSelectedSegmentIndex(long index);
  bool isMomentary() const { return momentary_; }
  void setMomentary(bool momentary) { momentary_ = momentary; }
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);

  void insertSegment(Item item, size_t index, bool animated = false);
  void removeSegmentAtIndex(size_t index, bool animated = false);
  void removeAllSegments();
  void setTitle(const std::string& title, size_t segment);
  std::optional<std::string> titleForSegmentAtIndex(size_t segment) const;
  void setImage(std::shared_ptr<const Image> image, size_t segment);
  void setEnabled(bool enabled, size_t segment);
  bool isEnabledForSegmentAtIndex(size_t segment) const;
  using Control::setEnabled;

  Rect rectForSegmentAtIndex(size_t segment) const;

  bool beginTracking(Point point) override;
  bool continueTracking(Point point) override;
  void endTracking(Point point) override;
  void cancelTracking() override;
  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;

 private:
  struct Segment {
    Item item;
    bool enabled = true;
  };
  std::optional<size_t> segmentAt(Point point) const;

  std::vector<Segment> segments_;
  std::optional<Color> tint_;
  std::optional<size_t> pressed_;
  long selected_ = kNoSegment;
  bool momentary_ = false;
};

}  // namespace pf
