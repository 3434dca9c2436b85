#include "app/controller/cms/CmsDownloadingCell.h"

#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/service/cms/DownloadService.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::shared_ptr<pf::Image> cmsDownloadingPicture(const char* name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

void CmsDownloadingCell::fillWithRecord(const ScoDownloadInfo& record) {
  auto service = DownloadService::instance();
  auto course = service->courseInfoWithCourseId(record.courseId);
  auto unit = service->scoInfoWithScoId(record.scoId);
  if (auto label = courseNameLabel.lock()) label->setText(course ? course->courseTitle.value_or("") : "");
  if (auto label = scoNameLabel.lock()) label->setText(unit ? unit->scoName.value_or("") : "");
  if (auto picture = courseImgView.lock()) {
    const auto url = course && course->coverPath ? pf::Url::parse(*course->coverPath) : std::nullopt;
    if (url) {
      ImageViewWebCache::setImageWithURL(picture, url, cmsDownloadingPicture("CMS_MAIN_book_bg.png"));
    } else {
      ImageViewWebCache::cancelCurrentImageLoad(*picture);
      picture->setImage(cmsDownloadingPicture("CMS_MAIN_book_bg.png"));
    }
  }
  if (auto bar = downloadProgressBar.lock()) bar->setProgress(record.progress);
  if (auto label = downloadPromptLabel.lock()) {
    label->setText(record.totalSize == 0 ? std::string("等待下载中...")
                                         : pf::format("下载进度%0.1fM/%0.1fM",
                                                      static_cast<float>(record.downloadedSize) / 1048576.0f,
                                                      static_cast<float>(record.totalSize) / 1048576.0f));
  }
  setDownloadState(record.downloadState);
  auto prompt = downloadPromptLabel.lock();
  if (record.downloadState == 4 || record.downloadState == 5) {
    if (prompt) {
      prompt->setText(record.downloadState == 5 ? "视频信息不存在" : "网络请求中断");
      prompt->setTextColor(pf::Color::red());
    }
    if (auto label = downloadStateLabel.lock()) label->setText(std::string("已暂停"));
    if (auto bar = downloadProgressBar.lock(); bar && record.downloadState == 5) bar->setProgress(1);
  } else if (prompt) {
    prompt->setTextColor(record.totalSize != 0 ? pf::Color::black() : pf::Color::lightGray());
  }
}

void CmsDownloadingCell::setDownloadState(int state) {
  auto picture = downloadStatusImageView.lock();
  auto label = downloadStateLabel.lock();
  if (picture) picture->setImage(cmsDownloadingPicture("CMS_DOWN_state_wait.png"));
  const char* text = nullptr;
  const char* image = nullptr;
  switch (state) {
    case 0:
      text = "下载中";
      image = "CMS_DOWN_state_active.png";
      break;
    case 1:
      text = "已暂停";
      image = "CMS_DOWN_state_pause.png";
      break;
    case 2:
      text = "等待中";
      image = "CMS_DOWN_state_wait.png";
      break;
    case 4:
    case 5:
      text = "网络请求中断";
      image = "CMS_DOWN_state_pause.png";
      break;
    default:
      return;
  }
  if (label) label->setText(std::string(text));
  if (picture) picture->setImage(cmsDownloadingPicture(image));
}

void CmsDownloadingCell::setIsOnEditing(bool editing) {
  subViewNeedsMove = courseContentView;
  if (auto check = checkSymbol.lock()) check->setHidden(!editing);
  DownloadCell::setIsOnEditing(editing);
}

void CmsDownloadingCell::setHasBeenSelected(bool selected) {
  DownloadCell::setHasBeenSelected(selected);
  if (auto check = checkSymbol.lock())
    check->setImage(cmsDownloadingPicture(selected ? "CMS_UDWN_dwnCheck.png" : "CMS_UDWN_dwnUnCheck.png"));
}
