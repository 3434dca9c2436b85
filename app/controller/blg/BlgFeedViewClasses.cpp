#include "app/controller/blg/BlgFeedViewClasses.h"

#include "app/components/photozoom/PhotoZoomController.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgAllTableViewController.h"
#include "app/controller/blg/BlgAllViewController.h"
#include "app/controller/blg/BlgMainCell.h"
#include "app/controller/blg/BlgMainViewController.h"
#include "app/controller/blg/BlgSquareViewController.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/MyAttentionCell.h"
#include "app/controller/blg/MyAttentionTableViewController.h"
#include "app/controller/blg/MyAttentionViewController.h"
#include "app/controller/blg/MyBlogTableViewController.h"
#include "app/controller/blg/MyBlogViewController.h"
#include "app/controller/blg/MyCollectTableViewController.h"
#include "app/controller/blg/MyCollectViewController.h"
#include "app/controller/blg/MyTopicTableViewController.h"
#include "app/controller/blg/MyTopicViewController.h"
#include "app/controller/blg/MyfansTableViewController.h"
#include "app/controller/blg/MyfansViewController.h"
#include "app/controller/blg/SearchBlogViewController.h"
#include "app/controller/blg/SearchPeopleCell.h"
#include "app/controller/blg/SearchPeopleViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TextField.h"
#include "ui/base/BaseUIImageView.h"

namespace {

template <typename Screen>
void registerBlgFeedScreen() {
  pf::registerClass<Screen>();
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

template <typename Container>
void defineBlgFeedContainer() {
  pf::NibRegistry::define<Container>(
      [](pf::NibClassBuilder<Container>& b) { b.outlet("listContainer", &Container::listContainer); });
  registerBlgFeedScreen<Container>();
}

void defineBlgFeedRows() {
  pf::NibRegistry::define<BlgMainCell>([](pf::NibClassBuilder<BlgMainCell>& b) {
    b.outlet("avatarImageView", &BlgMainCell::avatarImageView)
        .outlet("nickNameLabel", &BlgMainCell::nickNameLabel)
        .outlet("timeLabel", &BlgMainCell::timeLabel)
        .outlet("contentLabel", &BlgMainCell::contentLabel)
        .outlet("topicLabel", &BlgMainCell::topicLabel)
        .outlet("contentImageView", &BlgMainCell::contentImageView)
        .outlet("originImageView", &BlgMainCell::originImageView)
        .outlet("originContentLabel", &BlgMainCell::originContentLabel)
        .outlet("originTopicLabel", &BlgMainCell::originTopicLabel)
        .outlet("fromLabelTitle", &BlgMainCell::fromLabelTitle)
        .outlet("fromLabel", &BlgMainCell::fromLabel)
        .outlet("broadcastIMG", &BlgMainCell::broadcastIMG)
        .outlet("broadcastLabel", &BlgMainCell::broadcastLabel)
        .outlet("commentsIMG", &BlgMainCell::commentsIMG)
        .outlet("commentsLabel", &BlgMainCell::commentsLabel)
        .outlet("orginBGTop", &BlgMainCell::orginBGTop)
        .outlet("orginBGCenter", &BlgMainCell::orginBGCenter)
        .outlet("orginBGBottom", &BlgMainCell::orginBGBottom);
  });
  pf::NibRegistry::define<SearchPeopleCell>([](pf::NibClassBuilder<SearchPeopleCell>& b) {
    b.outlet("userPic", &SearchPeopleCell::userPic)
        .outlet("userName", &SearchPeopleCell::userName)
        .outlet("fanLabel", &SearchPeopleCell::fanLabel);
  });
  pf::NibRegistry::define<MyAttentionCell>([](pf::NibClassBuilder<MyAttentionCell>& b) {
    b.outlet("userPic", &MyAttentionCell::userPic)
        .outlet("userName", &MyAttentionCell::userName)
        .outlet("attentionBtn", &MyAttentionCell::attentionBtn)
        .action("attentionBtn:", &MyAttentionCell::attentionBtnTapped);
  });
}

void defineBlgFeedScreens() {
  pf::NibRegistry::define<BlgMainViewController>([](pf::NibClassBuilder<BlgMainViewController>&) {});
  pf::NibRegistry::define<BlgAllViewController>([](pf::NibClassBuilder<BlgAllViewController>& b) {
    b.outlet("listContainer", &BlgAllViewController::listContainer);
  });
  pf::NibRegistry::define<BlgSquareViewController>([](pf::NibClassBuilder<BlgSquareViewController>& b) {
    b.outlet("leftBtn", &BlgSquareViewController::leftBtn)
        .outlet("rightBtn", &BlgSquareViewController::rightBtn)
        .outlet("searchTextField", &BlgSquareViewController::searchTextField)
        .action("searchBlogBtnPressed:", &BlgSquareViewController::searchBlogBtnPressed)
        .action("searchPeopleBtnPressed:", &BlgSquareViewController::searchPeopleBtnPressed)
        .action("searchBtnPressed:", &BlgSquareViewController::searchBtnPressed);
  });
  pf::NibRegistry::define<BlgUserInfoViewController>([](pf::NibClassBuilder<BlgUserInfoViewController>& b) {
    b.outlet("userName", &BlgUserInfoViewController::userName)
        .outlet("userPic", &BlgUserInfoViewController::userPic)
        .outlet("attentionBtn", &BlgUserInfoViewController::attentionBtn)
        .outlet("leftUpBtn", &BlgUserInfoViewController::leftUpBtn)
        .outlet("rightUpBtn", &BlgUserInfoViewController::rightUpBtn)
        .outlet("leftDownBtn", &BlgUserInfoViewController::leftDownBtn)
        .outlet("rightDownBtn", &BlgUserInfoViewController::rightDownBtn)
        .outlet("collectBtn", &BlgUserInfoViewController::collectBtn)
        .outlet("leftUpLabel", &BlgUserInfoViewController::leftUpLabel)
        .outlet("rightUpLabel", &BlgUserInfoViewController::rightUpLabel)
        .outlet("leftDownLabel", &BlgUserInfoViewController::leftDownLabel)
        .outlet("rightDownLabel", &BlgUserInfoViewController::rightDownLabel)
        .outlet("collectLabel", &BlgUserInfoViewController::collectLabel)
        .action("leftUpBtnPressed:", &BlgUserInfoViewController::leftUpBtnPressed)
        .action("leftDownBtnPressed:", &BlgUserInfoViewController::leftDownBtnPressed)
        .action("rightUpBtnPressed:", &BlgUserInfoViewController::rightUpBtnPressed)
        .action("rightDownBtnPressed:", &BlgUserInfoViewController::rightDownBtnPressed)
        .action("collectBtnPressed:", &BlgUserInfoViewController::collectBtnPressed)
        .action("attentionBtnPressed:", &BlgUserInfoViewController::attentionBtnPressed);
  });
}

}  // namespace

void registerBlgFeedViewClasses() {
  RichLabel::registerForInterfaceFiles();
  BaseUIImageView::registerForInterfaceFiles();
  PhotoZoomController::registerForInterfaceFiles();
  pf::registerClass<BlgAllTableViewController>();
  pf::registerClass<SearchBlogViewController>();
  pf::registerClass<SearchPeopleViewController>();
  pf::registerClass<MyAttentionTableViewController>();
  pf::registerClass<MyfansTableViewController>();
  pf::registerClass<MyBlogTableViewController>();
  pf::registerClass<MyCollectTableViewController>();
  pf::registerClass<MyTopicTableViewController>();
  defineBlgFeedRows();
  defineBlgFeedScreens();
  registerBlgFeedScreen<BlgMainViewController>();
  registerBlgFeedScreen<BlgAllViewController>();
  registerBlgFeedScreen<BlgSquareViewController>();
  registerBlgFeedScreen<BlgUserInfoViewController>();
  defineBlgFeedContainer<MyAttentionViewController>();
  defineBlgFeedContainer<MyfansViewController>();
  defineBlgFeedContainer<MyBlogViewController>();
  defineBlgFeedContainer<MyTopicViewController>();
  defineBlgFeedContainer<MyCollectViewController>();
}
