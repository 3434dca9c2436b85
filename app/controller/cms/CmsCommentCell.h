#pragma once
// One comment or reply: the author's face and name, the text, the time and the number of replies.
// Loaded from its interface file; the text label takes the height its text needs.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class Discuss;

class CmsCommentCell : public pf::TableViewCell {
  PF_OBJECT(CmsCommentCell, pf::TableViewCell)

  // Hours on the 24-hour clock: "hh" would show 15:30 as 03:30.
  static constexpr char kDateFormat[] = "yyyy-MM-dd HH:mm";
  static constexpr char kAvatar[] = "CMN_NAVI_avatar.png";

  std::weak_ptr<pf::ImageView> userImgView;
  std::weak_ptr<pf::Label> userNameLabel;
  std::weak_ptr<pf::Label> dateTimeLabel;
  std::weak_ptr<pf::Label> replyQtyLabel;
  std::weak_ptr<pf::Label> commentLabel;
  std::weak_ptr<pf::ImageView> replyIconImgView;
  std::weak_ptr<pf::Label> replyPhaseLabel;

  const std::optional<std::string>& commentContent() const { return commentContent_; }
  void setCommentContent(std::optional<std::string> content);
  // Fills every field; the reply count, its icon and phrase only where replies are counted.
  void fillWithDiscuss(const Discuss& discuss, bool showsReplyCount);

  // The height of a row showing the text.
  static double rowHeightForContent(const std::optional<std::string>& content);

  void layoutSubviews() override;

 private:
  std::optional<std::string> commentContent_;
};
