#include "app/controller/cmn/CmnViewClasses.h"

#include "app/controller/cmn/BaseTableViewController.h"
#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cmn/CmnShareToolBar.h"
#include "app/controller/cmn/MyNavigationBar.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/cmn/TableFooterView.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TableViewController.h"

void registerCmnViewClasses() {
  pf::registerClass<BaseViewController>();
  pf::registerClass<BaseTableViewController>();
  pf::NibRegistry::define<pf::TableViewController>();
  pf::NibRegistry::define<BaseViewController>();
  pf::NibRegistry::define<BaseTableViewController>();
  pf::NibRegistry::define<MyNavigationBar>();
  pf::NibRegistry::define<TableFooterView>([](pf::NibClassBuilder<TableFooterView>& b) {
    b.outlet("activityIndicator", &TableFooterView::activityIndicator).outlet("infoLabel", &TableFooterView::infoLabel);
  });
  pf::NibRegistry::define<NodataBgView>([](pf::NibClassBuilder<NodataBgView>& b) {
    b.outlet("centerImageView", &NodataBgView::centerImageView).outlet("centerLabel", &NodataBgView::centerLabel);
  });
  pf::NibRegistry::define<CmnShareToolBar>([](pf::NibClassBuilder<CmnShareToolBar>& b) {
    b.action("transmitToMicroMsgFriends", &CmnShareToolBar::transmitToMicroMsgFriends)
        .action("transmitToMicroMsgFriendsCircle", &CmnShareToolBar::transmitToMicroMsgFriendsCircle)
        .action("transmitToSinaMicroBlog", &CmnShareToolBar::transmitToSinaMicroBlog)
        .action("cancle", &CmnShareToolBar::cancle);
  });
  MyNavigationBar::installAsNavigationBarClass();
}
