#pragma once
// A row of the exam list: the exam's name, period, status text with its colour and state icon, and
// the score over its bottom picture. Loaded from its interface file, whose state views are the
// defaults every fill starts from, so a reused cell keeps nothing of its last exam.

#include <memory>
#include <optional>

#include "platform/graphics/Color.h"
#include "platform/ui/TableViewCell.h"

namespace pf {
class Image;
class ImageView;
class Label;
}  // namespace pf
class EmsExam;

class EmsAllTableViewCell : public pf::TableViewCell {
  PF_OBJECT(EmsAllTableViewCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "cellId";

  std::weak_ptr<pf::Label> examNameLabel;
  std::weak_ptr<pf::Label> scoreLabel;
  std::weak_ptr<pf::Label> statusLabel;
  std::weak_ptr<pf::Label> examTimeLabel;
  std::weak_ptr<pf::ImageView> scoreIconImageView;
  std::weak_ptr<pf::ImageView> scoreBtmImageView;

  void awakeFromNib() override;
  void fillWithExam(const EmsExam& exam);

 private:
  void resetStateViews();
  void applyStatus(const std::string& status);

  std::shared_ptr<const pf::Image> defaultIcon_;
  std::optional<pf::Color> defaultStatusColor_;
};
