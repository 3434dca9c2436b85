#include "app/controller/cms/CmsMyViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/CmsMyTableViewController.h"
#include "app/controller/cms/MyCourseViewDelegate.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

namespace {

// The count makes the title longer than the bar's narrow title label: give it the room between the
// bar's buttons.
void cmsMyWidenTitle(pf::ViewController& screen) {
  auto label = std::dynamic_pointer_cast<pf::Label>(screen.navigationItem()->titleView());
  if (!label) return;
  label->setFrame(pf::Rect(0, 0, 190, 44));
  label->setAdjustsFontSizeToFitWidth(true);
}

}  // namespace

CmsMyViewController::CmsMyViewController() = default;
CmsMyViewController::CmsMyViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsMyViewController::~CmsMyViewController() = default;

void CmsMyViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setShowBackBtn(false);
  setNavgationItemTitle(kTitle);
  auto list = std::make_shared<CmsMyTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->delegate = std::dynamic_pointer_cast<MyTableViewDelegate>(shared_from_this());
  list->courseDelegate = std::dynamic_pointer_cast<CmsCourseTableViewDelegate>(shared_from_this());
  myTabelViewController = list;
}

void CmsMyViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto root = myDelegate.lock()) root->appNavigatorViewEnable();
}

void CmsMyViewController::updateTitleViewWithNum(unsigned num) {
  setNavgationItemTitle(num == 0 ? std::string(kTitle) : pf::format("%@(%i)", kTitle, static_cast<int>(num)));
  cmsMyWidenTitle(*this);
}

void CmsMyViewController::tableViewDidSelectItem() {
  if (auto root = myDelegate.lock()) root->appNavigatorViewDisable();
}
