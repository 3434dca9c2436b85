#pragma once
// The first screen of the all-courses tab: the menu button, the "分类" button that opens the
// categories while online, and the embedded catalogue list, which starts loading as soon as the tab
// is built. Its title carries the catalogue's total.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsAllTableViewDelegate.h"
#include "app/controller/cms/CmsCourseTableViewDelegate.h"

namespace pf {
class View;
}
class AllCourseViewDelegate;
class CmsAllTableViewController;

class CmsAllViewController : public BaseViewController,
                             public CmsAllTableViewDelegate,
                             public CmsCourseTableViewDelegate {
  PF_OBJECT(CmsAllViewController, BaseViewController)

  static constexpr char kTitle[] = "全部课程";
  static constexpr char kCategoryButton[] = "分类";

  CmsAllViewController();
  explicit CmsAllViewController(std::string nibName);
  ~CmsAllViewController() override;

  std::weak_ptr<CmsAllTableViewController> allCoursetableViewCon;
  std::weak_ptr<AllCourseViewDelegate> allCourseDelegate;
  // Where the list lies, from the interface file.
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void rightBtnPressed() override;
  void updateTitleWithNum(long long num) override;
  void tableViewDidSelectItem() override;
};
