#pragma once
// The last row of a downloaded course's units when not all are downloaded: "已下载:n章/共m章"; a
// touch on it asks for more units (and never selects the row).
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsScoDownloadedCellDelegate.h"
#include "app/controller/cms/DownloadCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class CmsScoDownloadedCell : public DownloadCell {
  PF_OBJECT(CmsScoDownloadedCell, DownloadCell)

  std::weak_ptr<pf::ImageView> leftImgView;
  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> downloadedProgressLabel;
  std::weak_ptr<CmsScoDownloadedCellDelegate> delegate;

  int downloadedCount() const { return downloadedCount_; }
  int totalCount() const { return totalCount_; }
  void setTotalCount(int total);
  // Equal counts hide the picture and title and move the label left.
  void setDownloadedCount(int downloaded);

  void awakeFromNib() override;
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;

 private:
  void showCounts();

  int downloadedCount_ = 0;
  int totalCount_ = 0;
  double labelX_ = 0;
};
