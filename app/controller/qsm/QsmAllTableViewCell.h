#pragma once
// A row of the survey list: the survey's name and period, a mark when it has replies, and its status
// as a button that takes touches only while the survey is open. The row background shows pressed
// while the row is selected. Every fill sets every part, so a reused row keeps nothing of the last.

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class QsmSurvey;

class QsmAllTableViewCell : public pf::TableViewCell {
  PF_OBJECT(QsmAllTableViewCell, pf::TableViewCell)

  static constexpr char kEnterStatus[] = "进入";

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> durationLabel;
  std::weak_ptr<pf::ImageView> discussImageView;
  std::weak_ptr<pf::ImageView> bgLeftImageView;
  std::weak_ptr<pf::ImageView> bgMidImageView;
  std::weak_ptr<pf::Button> statusBtn;

  void awakeFromNib() override;
  // The button's tag becomes the row.
  void fillWithSurvey(const QsmSurvey& survey, long row);
  void setSelected(bool selected, bool animated) override;

 private:
  std::optional<pf::Color> defaultTitleColor_;
};
