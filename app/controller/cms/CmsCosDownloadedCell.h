#pragma once
// A course with downloaded units in the download manager: picture, title and "已下载：n章".
//
// Main thread only.

#include <memory>

#include "app/controller/cms/DownloadCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class CourseDownloadInfo;

class CmsCosDownloadedCell : public DownloadCell {
  PF_OBJECT(CmsCosDownloadedCell, DownloadCell)

  std::weak_ptr<pf::ImageView> courseImg;
  std::weak_ptr<pf::Label> scoDownloadedNumLabel;
  std::weak_ptr<pf::Label> courseTitleLabel;
  std::weak_ptr<pf::View> courseContentView;
  std::weak_ptr<pf::ImageView> checkSymbol;

  void fillWithCourse(const CourseDownloadInfo& course);
  void setIsOnEditing(bool editing) override;
  void setHasBeenSelected(bool selected) override;
};
