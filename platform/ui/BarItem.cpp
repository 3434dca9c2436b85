#include "platform/ui/BarItem.h"

#include "platform/runtime/ChangeObservers.h"

namespace pf {

void BarItem::setTitle(std::optional<std::string> title) {
  title_ = std::move(title);
  changed();
  ChangeObservers::didChange(*this, "title");
}

void BarItem::setImage(std::shared_ptr<const Image> image) {
  image_ = std::move(image);
  changed();
  ChangeObservers::didChange(*this, "image");
}

void BarItem::setImageInsets(EdgeInsets insets) {
  imageInsets_ = insets;
  changed();
}

void BarItem::setEnabled(bool enabled) {
  enabled_ = enabled;
  changed();
}

void BarItem::setTitleTextAttributes(TitleAttributes attributes, unsigned state) {
  titleAttributes_[state] = std::move(attributes);
  changed();
}

std::optional<BarItem::TitleAttributes> BarItem::titleTextAttributes(unsigned state) const {
  if (auto it = titleAttributes_.find(state); it != titleAttributes_.end()) return it->second;
  if (auto it = titleAttributes_.find(0); it != titleAttributes_.end()) return it->second;
  return std::nullopt;
}

void BarItem::changed() {
  if (changed_) changed_();
}

}  // namespace pf
