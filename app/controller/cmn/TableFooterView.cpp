#include "app/controller/cmn/TableFooterView.h"

void TableFooterView::awakeFromNib() {
  setBackgroundColor(pf::Color::clear());
  pf::View::awakeFromNib();
}
