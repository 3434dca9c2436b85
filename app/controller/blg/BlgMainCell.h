#pragma once
// One blog in a list: avatar, nick name, time, text with mentions, topic chips, a picture, a reposted
// blog in a frame, the source and the repost and comment counts. Setting its frame lays it out for
// what it holds and sets its own height, which the list reads back as the row height.
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
class BaseUIImageView;
class RichLabel;

class BlgMainCell : public pf::TableViewCell {
  PF_OBJECT(BlgMainCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "BlgMainCell";

  std::weak_ptr<pf::ImageView> avatarImageView;
  std::weak_ptr<pf::Label> nickNameLabel, timeLabel;
  std::weak_ptr<RichLabel> contentLabel, topicLabel;
  std::weak_ptr<BaseUIImageView> contentImageView, originImageView;
  std::weak_ptr<RichLabel> originContentLabel, originTopicLabel;
  std::weak_ptr<pf::Label> fromLabelTitle, fromLabel;
  std::weak_ptr<pf::ImageView> broadcastIMG;
  std::weak_ptr<pf::Label> broadcastLabel;
  std::weak_ptr<pf::ImageView> commentsIMG;
  std::weak_ptr<pf::Label> commentsLabel;
  std::weak_ptr<pf::ImageView> orginBGTop, orginBGCenter, orginBGBottom;
  std::optional<std::string> blogType;

  // Lays the row out; only x, y and width of the frame are used, the height is computed.
  void setFrame(const pf::Rect& frame) override;

 private:
  bool hasOutlets() const;
  // The reposted blog in its frame, below last; answers the frame's bottom.
  double layoutOrigin(double last, double sx, double sy);
  void layoutCounts(double bottom, double sx, double sy);
};
