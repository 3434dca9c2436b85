#include "app/controller/lgn/LgnViewClasses.h"

#include "app/controller/lgn/LoginViewController.h"
#include "app/controller/lgn/SynDataViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"

namespace {

template <typename Screen>
void registerLgnScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

}  // namespace

void registerLgnViewClasses() {
  pf::registerClass<LoginViewController>();
  pf::registerClass<SynDataViewController>();
  pf::NibRegistry::define<LoginViewController>([](pf::NibClassBuilder<LoginViewController>& b) {
    b.outlet("loginBtn", &LoginViewController::loginBtn)
        .outlet("corpCode", &LoginViewController::corpCode)
        .outlet("userName", &LoginViewController::userName)
        .outlet("passWord", &LoginViewController::passWord)
        .outlet("checkImgView", &LoginViewController::checkImgView)
        .action("pressLoginBtn", &LoginViewController::pressLoginBtn)
        .action("checkBoxPressed", &LoginViewController::checkBoxPressed);
  });
  pf::NibRegistry::define<SynDataViewController>([](pf::NibClassBuilder<SynDataViewController>& b) {
    b.outlet("activityView", &SynDataViewController::activityView)
        .outlet("loadingLabel", &SynDataViewController::loadingLabel);
  });
  registerLgnScreen<LoginViewController>();
  registerLgnScreen<SynDataViewController>();
}
