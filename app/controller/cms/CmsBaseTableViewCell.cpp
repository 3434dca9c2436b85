#include "app/controller/cms/CmsBaseTableViewCell.h"

void CmsBaseTableViewCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setBackgroundColor(pf::Color::clear());
}
