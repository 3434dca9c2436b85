#pragma once
// The download manager's two tabs, "下载中(n)" and "已下载(n)", with a marker under the one shown.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsDownloadSwitchBarDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
class Label;
}  // namespace pf

class CmsDownloadSwitchBar : public pf::View {
  PF_OBJECT(CmsDownloadSwitchBar, pf::View)

  // Weak: the manager owns the bar.
  std::weak_ptr<CmsDownloadSwitchBarDelegate> delegete;
  std::weak_ptr<pf::View> switchItemSelectedSymbolL;
  std::weak_ptr<pf::View> switchItemSelectedSymbolR;
  std::weak_ptr<pf::Label> downloadingLabel;
  std::weak_ptr<pf::Label> downloadedLabel;
  std::weak_ptr<pf::Button> downloadingBtn;
  std::weak_ptr<pf::Button> downloadedBtn;

  bool isSelectedDownloading() const { return isSelectedDownloading_; }
  // Shows the tab and tells the delegate.
  void setIsSelectedDownloading(bool downloading);
  void setCounts(int downloading, int downloaded);
  int downloadingCount() const { return downloadingCount_; }
  int downloadedCount() const { return downloadedCount_; }

  void downloadingBtnClick() { setIsSelectedDownloading(true); }
  void downloadedBtnClick() { setIsSelectedDownloading(false); }

 private:
  bool isSelectedDownloading_ = true;
  int downloadingCount_ = 0;
  int downloadedCount_ = 0;
};
