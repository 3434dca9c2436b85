#include "app/controller/blg/SearchPeopleCell.h"

void SearchPeopleCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  insertSubview(contentView(), 0);
}
