#include "app/controller/ans/AnsTopicViewCell.h"

void AnsTopicViewCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setSelectionStyle(SelectionStyle::None);
}
