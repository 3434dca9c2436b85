#pragma once
// A followed topic's row: its name and a follow switch ("取消关注" while followed, "加关注" when not).
// A tap flips the switch at once and asks the delegate to follow or unfollow.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class AnsTopicFocusCellDelegate;
class QuestionTopic;

class AnsTopicFocusCell : public pf::TableViewCell {
  PF_OBJECT(AnsTopicFocusCell, pf::TableViewCell)

  static constexpr char kFollowedText[] = "取消关注";
  static constexpr char kUnfollowedText[] = "加关注";

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::ImageView> cellBgView;
  std::weak_ptr<pf::Label> topicTittleLabel;
  std::weak_ptr<pf::Label> focusLabel;
  std::weak_ptr<pf::Button> focusedBtn;
  std::weak_ptr<AnsTopicFocusCellDelegate> delegate;
  std::shared_ptr<QuestionTopic> selectTopic;

  bool focused() const { return focused_; }
  void setFocused(bool focused);

  void awakeFromNib() override;
  void focusedBtnClick(const pf::ObjectPtr& sender);

 private:
  bool focused_ = false;
};
