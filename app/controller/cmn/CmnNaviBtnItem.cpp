#include "app/controller/cmn/CmnNaviBtnItem.h"

#include "app/controller/cmn/ImageEditor.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

std::shared_ptr<pf::Image> bundlePicture(const std::optional<std::string>& name) {
  return name ? pf::Image::named(*name, pf::Screen::mainScreen().scale()) : nullptr;
}

}  // namespace

CmnNaviBtnItem::CmnNaviBtnItem(const std::optional<std::string>& image, const std::optional<std::string>& highlight,
                               const std::optional<std::string>& iconName, const std::optional<std::string>& text,
                               std::weak_ptr<void> target, std::function<void()> action) {
  auto background = std::make_shared<pf::Button>(pf::Rect(0, 0, barWidth, barHeight));
  background->setTag(kButtonTag);
  background->setBackgroundImage(bundlePicture(image), pf::Control::kNormal);
  background->setBackgroundImage(bundlePicture(highlight), pf::Control::kHighlighted);
  background->addTarget(std::move(target), "action",
                        [action = std::move(action)](pf::Control&, unsigned) {
                          if (action) action();
                        },
                        pf::Control::kTouchUpInside);

  auto iconView = std::make_shared<pf::ImageView>(iconFrameForTitleHidden(!text));
  iconView->setTag(kIconTag);
  iconView->setImage(bundlePicture(iconName));

  auto titleLabel = std::make_shared<pf::Label>(titleLabelFrameForIconHidden(!iconName));
  titleLabel->setTag(kTitleTag);
  titleLabel->setText(text);
  titleLabel->setFont(pf::Font::systemFont(13));
  titleLabel->setTextAlignment(pf::TextAlignment::left);
  titleLabel->setBackgroundColor(pf::Color::clear());
  titleLabel->setTextColor(pf::Color::white());

  auto badgeView = std::make_shared<pf::View>(pf::Rect(barWidth - 20, -10, badgeWidth, badgeHeight));
  badgeView->setTag(kBadgeTag);
  badgeView->setBackgroundColor(pf::Color::clear());
  auto badgePicture = std::make_shared<pf::ImageView>(pf::Rect(0, 0, badgeWidth, badgeHeight));
  badgePicture->setTag(kBadgePictureTag);
  badgePicture->setImage(bundlePicture(kBadgeImageName));
  auto badgeLabel = std::make_shared<pf::Label>(pf::Rect(0, 0, badgeWidth, badgeHeight));
  badgeLabel->setTag(kBadgeNumberTag);
  badgeLabel->setBackgroundColor(pf::Color::clear());
  badgeLabel->setFont(pf::Font::systemFont(12));
  badgeLabel->setTextAlignment(pf::TextAlignment::center);
  badgeView->addSubview(badgePicture);
  badgeView->addSubview(badgeLabel);

  background->addSubview(iconView);
  background->addSubview(titleLabel);
  background->addSubview(badgeView);
  setCustomView(background);
  setTitleHidden(!text);
  setIconHidden(!iconName);
  setBadgeHidden(true);
}

std::shared_ptr<pf::Button> CmnNaviBtnItem::button() const {
  return std::dynamic_pointer_cast<pf::Button>(customView());
}

std::shared_ptr<pf::ImageView> CmnNaviBtnItem::icon() const {
  return std::dynamic_pointer_cast<pf::ImageView>(customView()->viewWithTag(kIconTag));
}

std::shared_ptr<pf::Label> CmnNaviBtnItem::title() const {
  return std::dynamic_pointer_cast<pf::Label>(customView()->viewWithTag(kTitleTag));
}

std::shared_ptr<pf::View> CmnNaviBtnItem::badge() const {
  return customView()->viewWithTag(kBadgeTag);
}

pf::Rect CmnNaviBtnItem::iconFrameForTitleHidden(bool hidden) const {
  return hidden ? pf::Rect(0, 0, barWidth, barHeight) : pf::Rect(7, 9.5, 13, 13);
}

pf::Rect CmnNaviBtnItem::titleLabelFrameForIconHidden(bool hidden) const {
  return hidden ? pf::Rect(0, 0, barWidth, barHeight) : pf::Rect(20, 0, barWidth - 5, barHeight);
}

void CmnNaviBtnItem::setTitleHidden(bool hidden) {
  titleHidden_ = hidden;
  title()->setHidden(hidden);
  icon()->setFrame(iconFrameForTitleHidden(hidden));
}

void CmnNaviBtnItem::setIconHidden(bool hidden) {
  iconHidden_ = hidden;
  icon()->setHidden(hidden);
  title()->setFrame(titleLabelFrameForIconHidden(hidden));
  title()->setTextAlignment(hidden ? pf::TextAlignment::center : pf::TextAlignment::left);
}

void CmnNaviBtnItem::setBadgeHidden(bool hidden) {
  badgeHidden_ = hidden;
  badge()->setHidden(hidden);
}

void CmnNaviBtnItem::reframeParts() {
  badge()->setFrame(pf::Rect(barWidth - 20, -10, 20, 20));
  title()->setFrame(titleLabelFrameForIconHidden(iconHidden_));
  icon()->setFrame(iconFrameForTitleHidden(titleHidden_));
}

void CmnNaviBtnItem::setItemLength(double length) {
  barWidth = length;
  barHeight = customView()->frame().height();
  customView()->setFrame(pf::Rect(0, 0, barWidth, barHeight));
  reframeParts();
}

void CmnNaviBtnItem::setItemHeight(double height) {
  barHeight = height;
  barWidth = customView()->frame().width();
  customView()->setFrame(pf::Rect((width() - barWidth) * 0.5, 0, barWidth, barHeight));
  reframeParts();
}

void CmnNaviBtnItem::setItemSize(pf::Size size) {
  setItemLength(size.width);
  setItemHeight(size.height);
}

void CmnNaviBtnItem::setItemTitle(const std::optional<std::string>& text) {
  title()->setText(text);
}

void CmnNaviBtnItem::setIconImg(std::shared_ptr<const pf::Image> image) {
  icon()->setImage(std::move(image));
}

void CmnNaviBtnItem::setItemBackGroundImg(std::shared_ptr<const pf::Image> image) {
  button()->setBackgroundImage(std::move(image), pf::Control::kNormal);
}

void CmnNaviBtnItem::setBadgeNumber(int number) {
  badgeNumber_ = number;
  auto label = std::dynamic_pointer_cast<pf::Label>(customView()->viewWithTag(kBadgeNumberTag));
  label->setText(pf::format("%d", number));
  setBadgeHidden(number == 0);
}

void CmnNaviBtnItem::setBadgeColor(const pf::Color& color) {
  auto picture = std::dynamic_pointer_cast<pf::ImageView>(customView()->viewWithTag(kBadgePictureTag));
  const auto source = bundlePicture(kBadgeImageName);
  picture->setImage(source ? ImageEditor::imageWithReplaceColor(color, *source, true) : nullptr);
}

std::optional<pf::Color> CmnNaviBtnItem::badgeBackgroundColor() const {
  auto picture = std::dynamic_pointer_cast<pf::ImageView>(customView()->viewWithTag(kBadgePictureTag));
  if (!picture->image() || !picture->image()->bitmap()) return std::nullopt;
  const auto& bitmap = *picture->image()->bitmap();
  const pf::Pixel centre = bitmap.pixel(bitmap.width() / 2, bitmap.height() / 2);
  return pf::Color::fromRgba(centre.red / 255.0, centre.green / 255.0, centre.blue / 255.0, centre.alpha / 255.0);
}
