#pragma once
// A unit row of the course download tab: the unit's name and a button that downloads it ("下载"),
// shows it downloading ("下载中") or downloaded ("已下载"); a course not yet selected shows the name
// greyed without the play icon. A lecture-only unit cannot be downloaded and says so.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsDetailDownloadCellDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/TableViewCell.h"

namespace pf {
class AlertView;
class Button;
class ImageView;
class Label;
class View;
}  // namespace pf
class ScoViewInfo;

class CmsDetailDownloadCell : public pf::TableViewCell {
  PF_OBJECT(CmsDetailDownloadCell, pf::TableViewCell)

  static constexpr char kDownload[] = "下载";
  static constexpr char kDownloading[] = "下载中";
  static constexpr char kDownloaded[] = "已下载";
  static constexpr char kNoDownloadTitle[] = "提示";
  static constexpr char kNoDownloadMessage[] = "该章节目前不支持下载！";

  std::weak_ptr<pf::Label> sectionName;
  std::weak_ptr<pf::ImageView> palyIconImgView;
  std::weak_ptr<pf::View> downloadStateView;
  std::weak_ptr<pf::Button> downloadStateBgBtn;
  std::weak_ptr<pf::Button> downloadStateImgBtn;
  std::weak_ptr<pf::Label> downloadStateLabel;
  std::weak_ptr<CmsDetailDownloadCellDelegate> delegate;

  bool hasSelectedCourse() const { return hasSelectedCourse_; }
  void setHasSelectedCourse(bool selected);
  int cmsDownCellStyle() const { return cmsDownCellStyle_; }
  // 0 course not selected (no play icon, grey name), 1 selected.
  void setCmsDownCellStyle(int style);
  bool hasBeninDownloading() const { return hasBeninDownloading_; }
  void setHasBeninDownloading(bool downloading);
  const std::shared_ptr<ScoViewInfo>& scoViewInfo() const { return scoViewInfo_; }
  // The unit's download record decides the button.
  void setScoViewInfo(std::shared_ptr<ScoViewInfo> unit);

  void downloadBtnClick();

 private:
  bool hasSelectedCourse_ = false;
  bool hasBeninDownloading_ = false;
  int cmsDownCellStyle_ = 0;
  std::shared_ptr<ScoViewInfo> scoViewInfo_;
  // The alert on show: alerts are not kept alive by the screen.
  std::shared_ptr<pf::AlertView> noDownloadAlert_;
};
