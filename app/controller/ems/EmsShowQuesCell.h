#pragma once
// A row of the all-questions sheet: five numbered buttons side by side.

#include <memory>
#include <vector>

#include "platform/ui/TableViewCell.h"

class EmsShowQuesBtnView;
class ShowQuesBtnDelegate;

class EmsShowQuesCell : public pf::TableViewCell {
  PF_OBJECT(EmsShowQuesCell, pf::TableViewCell)

  static constexpr int kButtonsPerRow = 5;

  using pf::TableViewCell::TableViewCell;

  std::vector<std::shared_ptr<EmsShowQuesBtnView>> btnViews;

  void initBtnViews(const std::weak_ptr<ShowQuesBtnDelegate>& delegate);
};
