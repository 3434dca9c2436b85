#pragma once
// What bar items share: a title, an image with its insets, a tag, whether it can be tapped, and
// title text attributes per control state. Items are not views; the bar that shows them makes the
// views. A change tells the bar showing the item (through the change callback) to lay out again.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/EdgeInsets.h"
#include "platform/graphics/Image.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"
#include "platform/text/Font.h"

namespace pf {

class BarItem : public Object {
  PF_OBJECT(BarItem, Object)

  struct TitleAttributes {
    std::shared_ptr<const Font> font;
    std::optional<Color> color;
  };

  const std::optional<std::string>& title() const { return title_; }
  void setTitle(std::optional<std::string> title);
  const std::shared_ptr<const Image>& image() const { return image_; }
  void setImage(std::shared_ptr<const Image> image);
  EdgeInsets imageInsets() const { return imageInsets_; }
  void setImageInsets(EdgeInsets insets);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  void setTitleTextAttributes(TitleAttributes attributes, unsigned state);
  // Exactly as set for the state; the normal state's when that state has none.
  std::optional<TitleAttributes> titleTextAttributes(unsigned state) const;

  // Set by the bar that shows the item.
  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

 protected:
  void changed();

 private:
  std::optional<std::string> title_;
  std::shared_ptr<const Image> image_;
  EdgeInsets imageInsets_;
  std::map<unsigned, TitleAttributes> titleAttributes_;
  std::function<void()> changed_;
  int tag_ = 0;
  bool enabled_ = true;
};

}  // namespace pf
