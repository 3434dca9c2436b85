#pragma once
// What a list embedded in a container screen tells the container: a row was chosen. The list base
// never sends it; list screens do.

#include "platform/ui/IndexPath.h"

class BaseTableViewControllerdelegate {
 public:
  virtual ~BaseTableViewControllerdelegate() = default;
  virtual void tableViewDidSelectRow(const pf::IndexPath& indexPath) { (void)indexPath; }
};
