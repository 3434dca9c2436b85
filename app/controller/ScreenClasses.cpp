#include "app/controller/ScreenClasses.h"

#include "app/controller/ans/AnsDetailViewClasses.h"
#include "app/controller/ans/AnsListViewClasses.h"
#include "app/controller/blg/BlgDetailViewClasses.h"
#include "app/controller/blg/BlgFeedViewClasses.h"
#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cmn/NavigatorViewClasses.h"
#include "app/controller/cms/CmsBrowseViewClasses.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/controller/ems/EmsViewClasses.h"
#include "app/controller/lgn/LgnViewClasses.h"
#include "app/controller/qsm/QsmViewClasses.h"
#include "app/controller/stg/StgViewClasses.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"
#include "ui/base/BaseViewClasses.h"

void registerScreenClasses() {
  registerBaseViewClasses();
  registerCmnViewClasses();
  registerLgnViewClasses();
  registerNavigatorViewClasses();
  registerStgViewClasses();
  registerCmsBrowseViewClasses();
  registerCmsDetailViewClasses();
  registerCmsPlayerViewClasses();
  registerEmsViewClasses();
  registerQsmViewClasses();
  registerAnsListViewClasses();
  registerAnsDetailViewClasses();
  registerBlgFeedViewClasses();
  registerBlgDetailViewClasses();
  // The exam and survey roots come in a navigation controller of their own; without one the menu
  // left both modules out as unknown.
  ViewUtil::registerNavigationController([](const pf::ObjectPtr& root) {
    return std::make_shared<pf::NavigationController>(std::dynamic_pointer_cast<pf::ViewController>(root));
  });
}
