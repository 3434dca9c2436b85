#include "app/controller/ans/AnsModifyView.h"

#include "platform/foundation/Utf16.h"
#include "ui/base/BaseTextView.h"

void AnsModifyView::awakeFromNib() {
  AnsDistributeView::awakeFromNib();
  topicLimitLenth = kTopicLimit;
}

std::optional<std::string> AnsModifyView::topicContent() const {
  auto area = topicEditView.lock();
  if (!area) return std::nullopt;
  return area->text();
}

void AnsModifyView::setTopicContent(const std::optional<std::string>& text) {
  if (auto area = topicEditView.lock()) area->setText(text);
}

int AnsModifyView::topicLeftWordQty() const {
  const auto text = topicContent();
  return topicLimitLenth - static_cast<int>(text ? pf::utf16::length(*text) : 0);
}

void AnsModifyView::layoutSubviews() {
  AnsDistributeView::layoutSubviews();
  if (auto area = topicEditView.lock())
    area->setDelegate(std::dynamic_pointer_cast<pf::TextViewDelegate>(shared_from_this()));
}

void AnsModifyView::textViewDidChange(pf::TextView& textView) {
  auto topics = topicEditView.lock();
  if (topics.get() != &textView) {
    AnsDistributeView::textViewDidChange(textView);
    return;
  }
  if (topicLeftWordQty() > 0) return;
  currentTextView = topics;
  warnOverLimit(textView, topicLimitLenth);
  setTopicContent(pf::utf16::prefix(topicContent().value_or(""), static_cast<size_t>(std::max(topicLimitLenth, 0))));
}
