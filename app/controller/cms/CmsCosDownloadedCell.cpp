#include "app/controller/cms/CmsCosDownloadedCell.h"

#include "app/model/cms/CourseDownloadInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::shared_ptr<pf::Image> cmsCosDownloadedPicture(const char* name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

void CmsCosDownloadedCell::fillWithCourse(const CourseDownloadInfo& download) {
  const auto& course = download.courseInfo;
  if (auto picture = courseImg.lock()) {
    const auto url = course && course->coverPath ? pf::Url::parse(*course->coverPath) : std::nullopt;
    if (url) {
      ImageViewWebCache::setImageWithURL(picture, url, cmsCosDownloadedPicture("CMS_MAIN_book_bg.png"));
    } else {
      ImageViewWebCache::cancelCurrentImageLoad(*picture);
      picture->setImage(cmsCosDownloadedPicture("CMS_MAIN_book_bg.png"));
    }
  }
  if (auto label = courseTitleLabel.lock()) label->setText(course ? course->courseTitle.value_or("") : "");
  if (auto label = scoDownloadedNumLabel.lock()) label->setText(pf::format("已下载：%d章", download.downloadChapterCount));
}

void CmsCosDownloadedCell::setIsOnEditing(bool editing) {
  subViewNeedsMove = courseContentView;
  if (auto check = checkSymbol.lock()) check->setHidden(!editing);
  DownloadCell::setIsOnEditing(editing);
}

void CmsCosDownloadedCell::setHasBeenSelected(bool selected) {
  DownloadCell::setHasBeenSelected(selected);
  if (auto check = checkSymbol.lock())
    check->setImage(cmsCosDownloadedPicture(selected ? "CMS_UDWN_dwnCheck.png" : "CMS_UDWN_dwnUnCheck.png"));
}
