#pragma once
// One person in the square's people list: face, nick name and fan count.
//
// Main thread only.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class SearchPeopleCell : public pf::TableViewCell {
  PF_OBJECT(SearchPeopleCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "SearchPeopleCell";

  std::weak_ptr<pf::ImageView> userPic;
  std::weak_ptr<pf::Label> userName;
  std::weak_ptr<pf::Label> fanLabel;
};
