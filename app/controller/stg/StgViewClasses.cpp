#include "app/controller/stg/StgViewClasses.h"

#include "app/controller/stg/HelpViewController.h"
#include "app/controller/stg/ModifyViewController.h"
#include "app/controller/stg/SettingViewCell.h"
#include "app/controller/stg/SettingViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"

namespace {

template <typename Screen>
void registerStgScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

}  // namespace

void registerStgViewClasses() {
  pf::registerClass<SettingViewController>();
  pf::registerClass<SettingViewCell>();
  pf::registerClass<HelpViewController>();
  pf::registerClass<ModifyViewController>();
  pf::NibRegistry::define<SettingViewController>([](pf::NibClassBuilder<SettingViewController>& b) {
    b.outlet("tableView", &SettingViewController::tableView);
  });
  pf::NibRegistry::define<SettingViewCell>([](pf::NibClassBuilder<SettingViewCell>& b) {
    b.outlet("imgView", &SettingViewCell::imgView)
        .outlet("content", &SettingViewCell::content)
        .outlet("btn", &SettingViewCell::btn)
        .outlet("wifiSwitch", &SettingViewCell::wifiSwitch)
        .action("btnPressed", &SettingViewCell::btnPressed)
        .action("switchValueChange", &SettingViewCell::switchValueChange);
  });
  pf::NibRegistry::define<HelpViewController>([](pf::NibClassBuilder<HelpViewController>& b) {
    b.outlet("scrollView", &HelpViewController::scrollView);
  });
  pf::NibRegistry::define<ModifyViewController>([](pf::NibClassBuilder<ModifyViewController>& b) {
    b.outlet("oldPassword", &ModifyViewController::oldPassword)
        .outlet("firstNewPW", &ModifyViewController::firstNewPW)
        .outlet("secondNewPW", &ModifyViewController::secondNewPW)
        .outlet("oldPWLabel", &ModifyViewController::oldPWLabel)
        .outlet("newPWLabel", &ModifyViewController::newPWLabel)
        .outlet("btn", &ModifyViewController::btn)
        .action("buttonPressed", &ModifyViewController::buttonPressed);
  });
  registerStgScreen<SettingViewController>();
  registerStgScreen<HelpViewController>();
  registerStgScreen<ModifyViewController>();
}
