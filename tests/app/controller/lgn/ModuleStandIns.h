#pragma once
// Stand-ins for the module root screens other screens' work builds: plain screens registered under
// the modules' class names, with the navigation container the exam and survey modules are wrapped in.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"

namespace lgn_test {

inline void registerModuleStandIns() {
  for (const char* name : {"CmsMainViewController", "EmsAllViewController", "QsmAllViewController",
                           "AnsMainViewController", "BlgMainViewController"}) {
    ViewUtil::registerScreenClass(name, [name](const std::string&) {
      auto screen = std::make_shared<BaseViewController>();
      screen->setTitle(std::string(name));
      return screen;
    });
  }
  ViewUtil::registerNavigationController([](const pf::ObjectPtr& root) {
    return std::make_shared<pf::NavigationController>(std::dynamic_pointer_cast<pf::ViewController>(root));
  });
}

}  // namespace lgn_test
