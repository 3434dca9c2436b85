#pragma once
// A unit still downloading in the download manager: course picture and name, unit name, progress
// bar and text, and its state (downloading, paused, waiting, or interrupted in red).
//
// Main thread only.

#include <memory>

#include "app/controller/cms/DownloadCell.h"

namespace pf {
class ImageView;
class Label;
class ProgressView;
}  // namespace pf
class ScoDownloadInfo;

class CmsDownloadingCell : public DownloadCell {
  PF_OBJECT(CmsDownloadingCell, DownloadCell)

  std::weak_ptr<pf::ImageView> courseImgView;
  std::weak_ptr<pf::Label> scoNameLabel;
  std::weak_ptr<pf::Label> courseNameLabel;
  std::weak_ptr<pf::ProgressView> downloadProgressBar;
  std::weak_ptr<pf::Label> downloadPromptLabel;
  std::weak_ptr<pf::View> courseContentView;
  std::weak_ptr<pf::ImageView> checkSymbol;
  std::weak_ptr<pf::Label> downloadStateLabel;
  std::weak_ptr<pf::ImageView> downloadStatusImageView;

  // Course, unit, picture, progress and state of the record.
  void fillWithRecord(const ScoDownloadInfo& record);
  void setDownloadState(int state);
  void setIsOnEditing(bool editing) override;
  void setHasBeenSelected(bool selected) override;
};
