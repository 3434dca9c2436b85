#include "app/controller/cmn/NavigatorViewClasses.h"

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/cmn/AppPlazaViewController.h"
#include "app/controller/cmn/MainMenuCell.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/TableView.h"

namespace {

template <typename Screen>
void registerNavigatorScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

}  // namespace

void registerNavigatorViewClasses() {
  pf::registerClass<AppNavigatorViewController>();
  pf::registerClass<AppPlazaViewController>();
  pf::registerClass<MainMenuCell>();
  pf::NibRegistry::define<AppNavigatorViewController>([](pf::NibClassBuilder<AppNavigatorViewController>& b) {
    b.outlet("tableView", &AppNavigatorViewController::tableView)
        .outlet("userName", &AppNavigatorViewController::userName)
        .outlet("userPic", &AppNavigatorViewController::userPic)
        .action("settingBtnPressed", &AppNavigatorViewController::settingBtnPressed);
  });
  pf::NibRegistry::define<MainMenuCell>([](pf::NibClassBuilder<MainMenuCell>& b) {
    b.outlet("menuImgView", &MainMenuCell::menuImgView)
        .outlet("contentLabel", &MainMenuCell::contentLabel)
        .outlet("numImgView", &MainMenuCell::numImgView)
        .outlet("notifyNum", &MainMenuCell::notifyNum);
  });
  pf::NibRegistry::define<AppPlazaViewController>([](pf::NibClassBuilder<AppPlazaViewController>& b) {
    b.outlet("userName", &AppPlazaViewController::userName)
        .outlet("currentDate", &AppPlazaViewController::currentDate)
        .outlet("imgView", &AppPlazaViewController::imgView)
        .outlet("pageControl", &AppPlazaViewController::pageControl)
        .action("leftTopBtnPressed", &AppPlazaViewController::leftTopBtnPressed);
  });
  registerNavigatorScreen<AppNavigatorViewController>();
  registerNavigatorScreen<AppPlazaViewController>();
}
