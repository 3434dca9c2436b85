#pragma once
// The question editor of the question detail: the text overlay with a second text area for the
// question's topics (at most 54 characters, warned and cut like the text; no counter). One per
// question detail, reused.
//
// Always loaded from its interface file. Main thread only.

#include "app/controller/ans/AnsDistributeView.h"

class AnsModifyView : public AnsDistributeView {
  PF_OBJECT(AnsModifyView, AnsDistributeView)

  static constexpr int kTopicLimit = 54;

  using AnsDistributeView::AnsDistributeView;

  std::weak_ptr<BaseTextView> topicEditView;
  int topicLimitLenth = kTopicLimit;
  // Stored as given; reading answers what is left of the topic limit.
  int topicContentLength() const { return topicLeftWordQty(); }
  void setTopicContentLength(int length) { topicContentLength_ = length; }

  std::optional<std::string> topicContent() const;
  void setTopicContent(const std::optional<std::string>& text);
  int topicLeftWordQty() const;

  void awakeFromNib() override;
  void layoutSubviews() override;
  void textViewDidChange(pf::TextView& textView) override;

 private:
  int topicContentLength_ = 0;
};
