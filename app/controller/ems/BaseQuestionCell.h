#pragma once
// The base of the question rows of exams and surveys: a read-only flag that stops touches, and remote
// pictures stacked under the row's text from a given origin, each a screen-scaled thumbnail.
//
// Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Rect.h"
#include "platform/ui/TableViewCell.h"

class BaseUIImageView;

class BaseQuestionCell : public pf::TableViewCell {
  PF_OBJECT(BaseQuestionCell, pf::TableViewCell)

  static constexpr char kPlaceholderImage[] = "BLG_BASE_cmn_pic.png";

  using pf::TableViewCell::TableViewCell;

  bool readonly() const { return readonly_; }
  virtual void setReadonly(bool readonly);
  const std::vector<std::shared_ptr<BaseUIImageView>>& imageViews() const { return imageViews_; }

  // Replaces the pictures the cell shows with one per address, from the origin downwards.
  void initAndAddImageViews(const std::vector<std::string>& urls, pf::Point origin);
  // The size of one picture and the step to the next, on this screen.
  static pf::Size pictureSize();
  static double pictureStep();

 private:
  bool readonly_ = false;
  std::vector<std::shared_ptr<BaseUIImageView>> imageViews_;
};
