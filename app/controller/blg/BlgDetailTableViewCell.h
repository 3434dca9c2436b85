#pragma once
// The blog detail's one row: the text with mentions, topic chips, the picture (an original blog's) or
// the reposted blog in its frame with its own picture, counts and buttons, then the bar with the
// blog's repost and comment buttons and the source and time. Setting its frame lays it out and sets
// its own height.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class BaseUIImageView;
class BlgDetailTableViewDelegate;
class RichLabel;

class BlgDetailTableViewCell : public pf::TableViewCell {
  PF_OBJECT(BlgDetailTableViewCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "BlgDetailTableViewCell";
  static constexpr double kPictureHeight = 60;

  std::weak_ptr<BlgDetailTableViewDelegate> detailDelegate;
  std::optional<std::string> blogType;

  // The blog itself.
  std::weak_ptr<RichLabel> contentLabel, contentTopic;
  std::weak_ptr<BaseUIImageView> currentImgView;
  std::weak_ptr<pf::Label> broadcastLabel, commentsLabel;
  std::weak_ptr<pf::Button> broadcastBtn, commentsBtn;
  std::weak_ptr<pf::ImageView> btnBackgroundImgView, lineImgView;
  // The reposted blog.
  std::weak_ptr<RichLabel> originalBlgContent, originalBlgTopic;
  std::weak_ptr<BaseUIImageView> originalImgView;
  std::weak_ptr<pf::Label> originalBroadcastNum, originalCommentsNum;
  std::weak_ptr<pf::Button> originBroadcastBtn, originCommentsBtn;
  std::weak_ptr<pf::ImageView> orginBGTop, orginBGCenter, orginBGBottom;
  // Foot line.
  std::weak_ptr<pf::Label> fromTitle, fromLabel, timeLabel;

  void broadcastOriginalBlog();
  void commentsOriginalBlog();
  void broadcastCurrentBlog();
  void commentsCurrentBlog();
  void initBtn();

  // Lays the row out; only x, y and width of the frame are used, the height is computed.
  void setFrame(const pf::Rect& frame) override;

 private:
  bool hasOutlets() const;
  // The origin blog's own view: text, topics, picture; answers the lowest edge.
  double layoutOriginal(double bottom, double gap);
  double layoutReposted(double bottom, double gap);
};
