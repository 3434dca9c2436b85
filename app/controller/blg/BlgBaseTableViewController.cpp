#include "app/controller/blg/BlgBaseTableViewController.h"

#include "core/util/CommonUtil.h"

bool BlgBaseTableViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  if (CommonUtil::isOnline()) {
    refreshDataOnline();
  } else {
    refreshDataOffline();
  }
  return true;
}

void BlgBaseTableViewController::showOfflineAndComplete() {
  showErrorInfoWithMessage(kOfflineMessage);
  refreshDataComplete();
}
