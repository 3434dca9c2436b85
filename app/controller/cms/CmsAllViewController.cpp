#include "app/controller/cms/CmsAllViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/AllCourseViewDelegate.h"
#include "app/controller/cms/CmsAllTableViewController.h"
#include "app/controller/cms/CmsCourseTableViewController.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

namespace {

// The count makes the title longer than the bar's narrow title label: give it the room between the
// bar's buttons.
void cmsAllWidenTitle(pf::ViewController& screen) {
  auto label = std::dynamic_pointer_cast<pf::Label>(screen.navigationItem()->titleView());
  if (!label) return;
  label->setFrame(pf::Rect(0, 0, 190, 44));
  label->setAdjustsFontSizeToFitWidth(true);
}

}  // namespace

CmsAllViewController::CmsAllViewController() = default;
CmsAllViewController::CmsAllViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsAllViewController::~CmsAllViewController() = default;

void CmsAllViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setShowBackBtn(false);
  setRightBtnWithBgImageN("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", std::string(kCategoryButton),
                          std::string("CMS_CATE_sort.png"));
  setNavgationItemTitle(kTitle);
  auto list = std::make_shared<CmsAllTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->courseDelegate = std::dynamic_pointer_cast<CmsCourseTableViewDelegate>(shared_from_this());
  list->delegate = std::dynamic_pointer_cast<CmsAllTableViewDelegate>(shared_from_this());
  allCoursetableViewCon = list;
  list->willBeginRefreshData();
  list->refreshData();
}

void CmsAllViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto root = allCourseDelegate.lock()) root->enableAppNavigatorView();
}

void CmsAllViewController::updateTitleWithNum(long long num) {
  setNavgationItemTitle(pf::format("%@(%lli)", kTitle, num));
  cmsAllWidenTitle(*this);
}

void CmsAllViewController::tableViewDidSelectItem() {
  if (auto root = allCourseDelegate.lock()) root->disableAppNavigatorView();
}

void CmsAllViewController::rightBtnPressed() {
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(CmsCourseTableViewController::kOffline);
    return;
  }
  auto categories = std::dynamic_pointer_cast<pf::ViewController>(
      ViewUtil::viewControllerFromNibOfClass("CmsCategoryViewController"));
  auto navigation = navigationController();
  if (!categories || !navigation) return;
  navigation->pushViewController(categories, true);
  tableViewDidSelectItem();
}
