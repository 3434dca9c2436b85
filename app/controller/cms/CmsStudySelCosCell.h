#pragma once
// A unit row of a selected course: the play icon, the unit's name, its progress bar and whether its
// file is downloaded. In the download manager's edit mode the content slides aside for a check mark.
// Loaded from its interface file.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/DownloadCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
class ProgressView;
}  // namespace pf
class ScoViewInfo;

class CmsStudySelCosCell : public DownloadCell {
  PF_OBJECT(CmsStudySelCosCell, DownloadCell)

  static constexpr char kTwoScreen[] = "TWOSCREEN";
  static constexpr char kThreeScreen[] = "THREESCREEN";

  std::weak_ptr<pf::ImageView> playIcon;
  std::weak_ptr<pf::Label> progressValueLable;
  std::weak_ptr<pf::View> downloadStatusView;
  std::weak_ptr<pf::Button> downIcon;
  std::weak_ptr<pf::Label> downState;
  std::weak_ptr<pf::ImageView> checkSymbol;
  std::weak_ptr<pf::Label> scoNameLabel;
  std::weak_ptr<pf::ProgressView> studyProgress;
  std::weak_ptr<pf::View> courseContentView;
  std::weak_ptr<pf::Label> studyProgressPromptLabel;

  // The unit's progress in percent, or when the unit has no reference time the negated position in
  // milliseconds. Updates the unit's rate when there is a reference time. 64-bit arithmetic: positions
  // of many hours stay exact.
  static float progressOfUnit(ScoViewInfo& unit, const std::optional<std::string>& courseStandard);

  float progress() const { return progress_; }
  void setProgress(float progress);
  bool studyComplete() const { return studyComplete_; }
  void setStudyComplete(bool complete);
  bool hasDownloaded() const { return hasDownloaded_; }
  void setHasDownloaded(bool downloaded);
  bool checkSymbolHidden() const { return checkSymbolHidden_; }
  void setCheckSymbolHidden(bool hidden);
  const std::optional<std::string>& cellType() const { return cellType_; }
  void setCellType(std::optional<std::string> standard);

  void setIsOnEditing(bool editing) override;
  void setHasBeenSelected(bool selected) override;
  void awakeFromNib() override;

 private:
  void placeValueLabel(double x, const std::string& text);

  float progress_ = 0;
  bool studyComplete_ = false;
  bool hasDownloaded_ = false;
  bool checkSymbolHidden_ = true;
  std::optional<std::string> cellType_;
  // The name label's place from the interface file: each fill starts from it.
  std::optional<pf::Rect> nameFrame_;
};
