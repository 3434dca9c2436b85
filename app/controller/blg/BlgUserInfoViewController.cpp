#include "app/controller/blg/BlgUserInfoViewController.h"

#include "app/controller/blg/BlgUserInfoViewControllerDelegate.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"

BlgUserInfoViewController::BlgUserInfoViewController() = default;
BlgUserInfoViewController::BlgUserInfoViewController(std::string nibName)
    : BlgBaseViewController(std::move(nibName)) {}
BlgUserInfoViewController::~BlgUserInfoViewController() = default;

void BlgUserInfoViewController::initService() {}
void BlgUserInfoViewController::viewDidLoad() { BlgBaseViewController::viewDidLoad(); }
void BlgUserInfoViewController::viewDidAppear(bool animated) { BlgBaseViewController::viewDidAppear(animated); }
void BlgUserInfoViewController::rightBtnPressed() {}
void BlgUserInfoViewController::loadUserInfo() {}
void BlgUserInfoViewController::attentionBtnPressed() {}
void BlgUserInfoViewController::updateAttentionBtn() {}
void BlgUserInfoViewController::leftUpBtnPressed() {}
void BlgUserInfoViewController::leftDownBtnPressed() {}
void BlgUserInfoViewController::rightUpBtnPressed() {}
void BlgUserInfoViewController::rightDownBtnPressed() {}
void BlgUserInfoViewController::collectBtnPressed() {}
void BlgUserInfoViewController::disableAppNavigator() {}
void BlgUserInfoViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  BlgBaseViewController::onError(error, requestUri);
}
void BlgUserInfoViewController::pushContainer(const std::string&) {}
