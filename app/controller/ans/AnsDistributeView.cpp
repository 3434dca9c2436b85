#include "app/controller/ans/AnsDistributeView.h"

#include "app/controller/ans/AnsDisTributeViewDelegate.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Utf16.h"
#include "platform/text/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseTextView.h"

namespace {

constexpr unsigned kAnsDistributeTitleStates[] = {pf::Control::kNormal, pf::Control::kHighlighted,
                                                  pf::Control::kSelected};

double ansDistributeWidthScale() { return pf::Screen::mainScreen().bounds().width() / 320; }
double ansDistributeHeightScale() { return pf::Screen::mainScreen().bounds().height() / 480; }

}  // namespace

void AnsDistributeView::awakeFromNib() {
  BaseScrollView::awakeFromNib();
  setContentLimitedSize(kDefaultLimit);
}

void AnsDistributeView::setContentLimitedSize(int size) {
  contentLimitedSize_ = size == 0 ? kDefaultLimit : size;
  showCounter(leftWordQty());
}

std::optional<std::string> AnsDistributeView::content() const {
  auto area = editView.lock();
  if (!area) return std::nullopt;
  return area->text();
}

void AnsDistributeView::setContent(const std::optional<std::string>& content) {
  if (auto area = editView.lock()) area->setText(content);
  if (contentLimitedSize_ > 0) showCounter(leftWordQty());
}

void AnsDistributeView::setContentFont(std::shared_ptr<const pf::Font> font) {
  if (auto area = editView.lock()) area->setFont(std::move(font));
}

int AnsDistributeView::leftWordQty() const {
  const auto text = content();
  return contentLimitedSize_ - static_cast<int>(text ? pf::utf16::length(*text) : 0);
}

void AnsDistributeView::showCounter(int left) {
  auto counter = numBtn.lock();
  if (!counter) return;
  for (unsigned state : kAnsDistributeTitleStates) counter->setTitle(pf::format("%d", left), state);
}

void AnsDistributeView::setLeftItemTittle(const std::optional<std::string>& title) {
  leftItemTittle_ = title;
  auto button = leftBtn.lock();
  if (!button) return;
  for (unsigned state : kAnsDistributeTitleStates) button->setTitle(title, state);
  const double s = ansDistributeWidthScale();
  pf::Rect frame = button->frame();
  const double wanted = static_cast<double>(title ? pf::utf16::length(*title) : 0) * 15 * s + 30 * s;
  frame.size.width = std::max(frame.width(), wanted);
  button->setFrame(frame);
  if (auto background = leftBgItem.lock()) background->setFrame(frame);
}

void AnsDistributeView::setRightItemTittle(const std::optional<std::string>& title) {
  rightItemTittle_ = title;
  if (auto background = rightBgItem.lock()) background->titleLabel()->setText(title);
}

void AnsDistributeView::setTopTitle(const std::optional<std::string>& title) {
  topTitle_ = title;
  if (auto label = topTitleLabel.lock()) label->setText(title);
}

void AnsDistributeView::setNumBtnHidden(bool hidden) {
  numBtnHidden_ = hidden;
  auto counter = numBtn.lock();
  if (counter) counter->setHidden(hidden);
  if (auto background = numBgItem.lock()) background->setHidden(hidden);
  auto area = editView.lock();
  auto left = leftBtn.lock();
  if (!area || !left || !counter) return;
  const double bottom = hidden ? left->frame().minY() : counter->frame().minY();
  pf::Rect frame = area->frame();
  frame.size.height = bottom - frame.minY() - 5 * ansDistributeHeightScale();
  area->setFrame(frame);
}

void AnsDistributeView::setClearWordBtnHidden(bool hidden) {
  numBtnHidden_ = hidden;
  if (auto counter = numBtn.lock()) counter->setHidden(hidden);
}

void AnsDistributeView::setTopTitleHidden(bool hidden) {
  topTitleHidden_ = hidden;
  auto label = topTitleLabel.lock();
  if (!label) return;
  label->setHidden(hidden);
  auto area = editView.lock();
  if (!hidden || !area) return;
  const double h = label->frame().height();
  pf::Rect frame = area->frame();
  frame.origin.y -= h;
  frame.size.height += h - 5 * ansDistributeHeightScale();
  area->setFrame(frame);
}

void AnsDistributeView::layoutSubviews() {
  BaseScrollView::layoutSubviews();
  if (auto panel = contentView.lock()) {
    pf::Rect frame = panel->frame();
    frame.origin.y = (bounds().height() - frame.height()) * 0.5;
    panel->setFrame(frame);
  }
  if (auto area = editView.lock())
    area->setDelegate(std::dynamic_pointer_cast<pf::TextViewDelegate>(shared_from_this()));
}

void AnsDistributeView::warnOverLimit(pf::TextView& textView, int limit) {
  auto self = std::static_pointer_cast<pf::View>(shared_from_this());
  auto warning = ProgressHUD::initWithView(self);
  textView.resignFirstResponder();
  addSubview(warning);
  warning->setMode(ProgressHUD::kCustomView);
  warning->setLabelFont(pf::Font::systemFont(ansDistributeWidthScale() * 15));
  warning->setLabelText(pf::format(kOverLimitMessage, limit));
  // Made for this one warning: it leaves the view once hidden.
  warning->setRemoveFromSuperViewOnHide(true);
  warning->show(true);
  warning->hide(true, 0.8);
}

void AnsDistributeView::textViewDidChange(pf::TextView& textView) {
  currentTextView = std::static_pointer_cast<pf::TextView>(textView.shared_from_this());
  if (leftWordQty() > 0) {
    showCounter(leftWordQty());
    return;
  }
  warnOverLimit(textView, contentLimitedSize_);
  const auto text = content().value_or("");
  setContent(pf::utf16::prefix(text, static_cast<size_t>(std::max(contentLimitedSize_, 0))));
}

void AnsDistributeView::leftTouchDown(const pf::ObjectPtr&) {
  if (auto background = leftBgItem.lock()) background->setHighlighted(true);
}

void AnsDistributeView::rightTouchDown(const pf::ObjectPtr&) {
  if (auto background = rightBgItem.lock()) background->setHighlighted(true);
}

void AnsDistributeView::selectedLeftBtn(const pf::ObjectPtr&) {
  if (auto background = leftBgItem.lock()) background->setHighlighted(false);
  if (auto listener = delegate.lock()) listener->selectedLeftBtnItem();
}

void AnsDistributeView::selectedRightBtn(const pf::ObjectPtr&) {
  if (auto background = rightBgItem.lock()) background->setHighlighted(false);
  if (auto listener = delegate.lock()) listener->selectedRightBtnItem();
}
