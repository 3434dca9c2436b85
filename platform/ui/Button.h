#pragma once
// A control with a title and an image, each set per state, over a background image per state. A
// value missing for the current state falls back: highlighted-and-selected to selected, then any
// state to normal. The title label and image view are real subviews, laid out within the content
// edge insets, image before title, each shifted by its own insets. A system button (rounded rect)
// draws in the tint: blue title, a rounded outline that fills while pressed. Main thread only.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/EdgeInsets.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace pf {

class GraphicsContext;
class ImageView;
class Label;

class Button : public Control {
  PF_OBJECT(Button, Control)

  enum class Type {
    Custom = 0,
    RoundedRect = 1,
    DetailDisclosure = 2,
    InfoLight = 3,
    InfoDark = 4,
    ContactAdd = 5
  };
  static constexpr Type kSystem = Type::RoundedRect;

  static std::shared_ptr<Button> buttonWithType(Type type);
  Button();
  explicit Button(const Rect& frame);
  Button(const Rect& frame, Type type);

  Type buttonType() const { return type_; }

  void setTitle(std::optional<std::string> title, unsigned state);
  void setTitleColor(std::optional<Color> color, unsigned state);
  void setTitleShadowColor(std::optional<Color> color, unsigned state);
  void setImage(std::shared_ptr<const Image> image, unsigned state);
  void setBackgroundImage(std::shared_ptr<const Image> image, unsigned state);
  // Values set for exactly that state (no fall-back).
  std::optional<std::string> titleForState(unsigned state) const;
  std::optional<Color> titleColorForState(unsigned state) const;
  std::shared_ptr<const Image> imageForState(unsigned state) const;
  std::shared_ptr<const Image> backgroundImageForState(unsigned state) const;
  // The values for the current state, after fall-back.
  std::optional<std::string> currentTitle() const;
  std::optional<Color> currentTitleColor() const;
  std::shared_ptr<const Image> currentImage() const;
  std::shared_ptr<const Image> currentBackgroundImage() const;

  // Made on construction, placed in the button when it is first laid out or asked for.
  const std::shared_ptr<Label>& titleLabel();
  const std::shared_ptr<ImageView>& imageView();

  EdgeInsets contentEdgeInsets() const { return contentInsets_; }
  void setContentEdgeInsets(EdgeInsets insets);
  EdgeInsets titleEdgeInsets() const { return titleInsets_; }
  void setTitleEdgeInsets(EdgeInsets insets);
  EdgeInsets imageEdgeInsets() const { return imageInsets_; }
  void setImageEdgeInsets(EdgeInsets insets);
  bool adjustsImageWhenHighlighted() const { return adjustsImageWhenHighlighted_; }
  void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImageWhenHighlighted_ = adjusts; }
  bool adjustsImageWhenDisabled() const { return adjustsImageWhenDisabled_; }
  void setAdjustsImageWhenDisabled(bool adjusts) { adjustsImageWhenDisabled_ = adjusts; }
  bool showsTouchWhenHighlighted() const { return showsTouchWhenHighlighted_; }
  void setShowsTouchWhenHighlighted(bool shows);
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);

  virtual Rect backgroundRectForBounds(const Rect& bounds) const;
  virtual Rect contentRectForBounds(const Rect& bounds) const;
  virtual Rect titleRectForContentRect(const Rect& contentRect) const;
  virtual Rect imageRectForContentRect(const Rect& contentRect) const;

  Size sizeThatFits(Size size) const override;
  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

 protected:
  void stateDidChange() override;

 private:
  template <typename T>
  static std::optional<T> lookUp(const std::map<unsigned, T>& values, unsigned state);
  Color effectiveTint() const;
  Size titleSize() const;
  Size imageSize() const;
  // Where content of the size sits in the content rect by the content alignments.
  Rect align(Size size, const Rect& contentRect) const;
  void refreshContent();
  void attachParts();
  // The circled mark of the info, disclosure and add types.
  void drawSymbol(GraphicsContext& context, const Rect& area) const;

  Type type_ = Type::Custom;
  std::map<unsigned, std::string> titles_;
  std::map<unsigned, Color> titleColors_;
  std::map<unsigned, Color> titleShadowColors_;
  std::map<unsigned, std::shared_ptr<const Image>> images_;
  std::map<unsigned, std::shared_ptr<const Image>> backgroundImages_;
  std::shared_ptr<Label> titleLabel_;
  std::shared_ptr<ImageView> imageView_;
  EdgeInsets contentInsets_;
  EdgeInsets titleInsets_;
  EdgeInsets imageInsets_;
  std::optional<Color> tint_;
  bool adjustsImageWhenHighlighted_ = true;
  bool adjustsImageWhenDisabled_ = true;
  bool showsTouchWhenHighlighted_ = false;
};

}  // namespace pf
