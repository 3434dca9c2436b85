#include "app/controller/cms/CmsCommentCell.h"

#include <limits>

#include "app/model/cms/Discuss.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

bool cmsCommentIsTablet() { return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad; }

double cmsCommentTextHeight(const std::string& text, double width) {
  const double size = cmsCommentIsTablet() ? 26 : 14;
  return pf::StringDrawing::sizeOfText(text, *pf::Font::systemFont(size), {width, std::numeric_limits<double>::infinity()},
                                       pf::LineBreakMode::wordWrap)
      .height;
}

}  // namespace

void CmsCommentCell::setCommentContent(std::optional<std::string> content) {
  commentContent_ = std::move(content);
  if (auto label = commentLabel.lock()) label->setText(commentContent_.value_or(""));
  setNeedsLayout();
}

void CmsCommentCell::fillWithDiscuss(const Discuss& discuss, bool showsReplyCount) {
  if (auto face = userImgView.lock()) {
    const auto& address = discuss.creator ? discuss.creator->faceUrl : std::nullopt;
    const auto url = address ? pf::Url::parse(*address) : std::nullopt;
    ImageViewWebCache::setImageWithURL(face, url, pf::Image::named(kAvatar, pf::Screen::mainScreen().scale()));
  }
  if (auto name = userNameLabel.lock())
    name->setText(discuss.creator ? discuss.creator->userName.value_or("") : std::string());
  setCommentContent(discuss.content);
  if (auto date = dateTimeLabel.lock())
    date->setText(CommonUtil::parseStringResultOfDate(discuss.createTime, kDateFormat).value_or(""));
  if (auto count = replyQtyLabel.lock()) {
    count->setText(pf::format("%d", static_cast<int>(discuss.discussList.size())));
    count->setHidden(!showsReplyCount);
  }
  if (auto icon = replyIconImgView.lock()) icon->setHidden(!showsReplyCount);
  if (auto phrase = replyPhaseLabel.lock()) phrase->setHidden(!showsReplyCount);
}

double CmsCommentCell::rowHeightForContent(const std::optional<std::string>& content) {
  const double height = cmsCommentTextHeight(content.value_or(""), pf::Screen::mainScreen().bounds().width());
  return height + (cmsCommentIsTablet() ? 161 : 70);
}

void CmsCommentCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  const auto blue = ColorExpanded::colorWithHexString("0x007DBF");
  if (auto name = userNameLabel.lock(); name && blue) name->setTextColor(*blue);
  if (auto count = replyQtyLabel.lock(); count && blue) count->setTextColor(*blue);
  auto label = commentLabel.lock();
  auto face = userImgView.lock();
  if (!label || !face) return;
  pf::Rect frame = label->frame();
  frame.origin.y = face->frame().maxY() + 5;
  frame.size.height = cmsCommentTextHeight(commentContent_.value_or(""), cmsCommentIsTablet() ? 740 : 310);
  label->setFrame(frame);
}
