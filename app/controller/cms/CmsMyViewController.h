#pragma once
// The first screen of the my-courses tab: the menu button and the embedded list of the learner's
// courses, which loads itself each time it shows. Its title carries the number of courses.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsCourseTableViewDelegate.h"
#include "app/controller/cms/MyTableViewDelegate.h"

namespace pf {
class View;
}
class CmsMyTableViewController;
class MyCourseViewDelegate;

class CmsMyViewController : public BaseViewController, public MyTableViewDelegate, public CmsCourseTableViewDelegate {
  PF_OBJECT(CmsMyViewController, BaseViewController)

  static constexpr char kTitle[] = "我的课程";

  CmsMyViewController();
  explicit CmsMyViewController(std::string nibName);
  ~CmsMyViewController() override;

  std::weak_ptr<CmsMyTableViewController> myTabelViewController;
  std::weak_ptr<MyCourseViewDelegate> myDelegate;
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void updateTitleViewWithNum(unsigned num) override;
  void tableViewDidSelectItem() override;
};
