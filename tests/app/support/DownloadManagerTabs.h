#pragma once
// The course module's tabs with the download manager in the fourth, as the module root lays them
// out (a plain stack in each of the first three), the manager's tab selected and the tabs the
// window's root. Tests and benchmarks of the manager start from it; the caller then lets the loop run.

#include <cstddef>
#include <memory>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsDownloadCourseViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

struct DownloadManagerTabs {
  static constexpr size_t kManagerTab = 3;

  static DownloadManagerTabs show(pf::Window& window) {
    DownloadManagerTabs shown{
        std::make_shared<pf::TabBarController>(),
        std::dynamic_pointer_cast<CmsDownloadCourseViewController>(
            ViewUtil::viewControllerFromNibOfClass(CmsDownloadCourseViewController::kClassName))};
    std::vector<std::shared_ptr<pf::ViewController>> stacks;
    for (size_t i = 0; i < kManagerTab; ++i)
      stacks.push_back(std::make_shared<pf::NavigationController>(std::make_shared<BaseViewController>()));
    stacks.push_back(std::make_shared<pf::NavigationController>(shown.manager));
    shown.tabs->setViewControllers(stacks);
    shown.tabs->setSelectedIndex(kManagerTab);
    window.setRootViewController(shown.tabs);
    return shown;
  }

  std::shared_ptr<pf::TabBarController> tabs;
  std::shared_ptr<CmsDownloadCourseViewController> manager;
};
