#include "app/controller/blg/BlgDetailViewClasses.h"

#include "app/components/photozoom/PhotoZoomController.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgCommentCell.h"
#include "app/controller/blg/BlgCommentEditViewController.h"
#include "app/controller/blg/BlgCommentTableViewController.h"
#include "app/controller/blg/BlgCommentViewController.h"
#include "app/controller/blg/BlgDetailTableViewCell.h"
#include "app/controller/blg/BlgDetailTableViewController.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgEditBaseViewController.h"
#include "app/controller/blg/BlgForwardEditViewController.h"
#include "app/controller/blg/BlgTopicCell.h"
#include "app/controller/blg/BlgTopicTableViewController.h"
#include "app/controller/blg/BlgTopicViewController.h"
#include "app/controller/blg/TopicDetailTableViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/controller/blg/WblgShowImageViewController.h"
#include "app/controller/blg/WriteBlogViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "ui/base/BaseUIImageView.h"

namespace {

template <typename Screen>
void registerBlgDetailScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

void defineBlgDetailRows() {
  pf::NibRegistry::define<BlgDetailTableViewCell>([](pf::NibClassBuilder<BlgDetailTableViewCell>& b) {
    b.outlet("contentLabel", &BlgDetailTableViewCell::contentLabel)
        .outlet("contentTopic", &BlgDetailTableViewCell::contentTopic)
        .outlet("currentImgView", &BlgDetailTableViewCell::currentImgView)
        .outlet("broadcastLabel", &BlgDetailTableViewCell::broadcastLabel)
        .outlet("commentsLabel", &BlgDetailTableViewCell::commentsLabel)
        .outlet("broadcastBtn", &BlgDetailTableViewCell::broadcastBtn)
        .outlet("commentsBtn", &BlgDetailTableViewCell::commentsBtn)
        .outlet("btnBackgroundImgView", &BlgDetailTableViewCell::btnBackgroundImgView)
        .outlet("lineImgView", &BlgDetailTableViewCell::lineImgView)
        .outlet("originalBlgContent", &BlgDetailTableViewCell::originalBlgContent)
        .outlet("originalBlgTopic", &BlgDetailTableViewCell::originalBlgTopic)
        .outlet("originalImgView", &BlgDetailTableViewCell::originalImgView)
        .outlet("originalBroadcastNum", &BlgDetailTableViewCell::originalBroadcastNum)
        .outlet("originalCommentsNum", &BlgDetailTableViewCell::originalCommentsNum)
        .outlet("originBroadcastBtn", &BlgDetailTableViewCell::originBroadcastBtn)
        .outlet("originCommentsBtn", &BlgDetailTableViewCell::originCommentsBtn)
        .outlet("orginBGTop", &BlgDetailTableViewCell::orginBGTop)
        .outlet("orginBGCenter", &BlgDetailTableViewCell::orginBGCenter)
        .outlet("orginBGBottom", &BlgDetailTableViewCell::orginBGBottom)
        .outlet("fromTitle", &BlgDetailTableViewCell::fromTitle)
        .outlet("fromLabel", &BlgDetailTableViewCell::fromLabel)
        .outlet("timeLabel", &BlgDetailTableViewCell::timeLabel)
        .action("broadcastOriginalBlog:", &BlgDetailTableViewCell::broadcastOriginalBlog)
        .action("commentsOriginalBlog:", &BlgDetailTableViewCell::commentsOriginalBlog)
        .action("broadcastCurrentBlog:", &BlgDetailTableViewCell::broadcastCurrentBlog)
        .action("commentsCurrentBlog:", &BlgDetailTableViewCell::commentsCurrentBlog);
  });
  pf::NibRegistry::define<BlgCommentCell>([](pf::NibClassBuilder<BlgCommentCell>& b) {
    b.outlet("userName", &BlgCommentCell::userName)
        .outlet("timeLabel", &BlgCommentCell::timeLabel)
        .outlet("contentLabel", &BlgCommentCell::contentLabel)
        .outlet("lineImgView", &BlgCommentCell::lineImgView);
  });
  pf::NibRegistry::define<BlgTopicCell>(
      [](pf::NibClassBuilder<BlgTopicCell>& b) { b.outlet("titleLabel", &BlgTopicCell::titleLabel); });
}

void defineBlgDetailScreens() {
  pf::NibRegistry::define<BlgDetailViewController>([](pf::NibClassBuilder<BlgDetailViewController>& b) {
    b.outlet("userPic", &BlgDetailViewController::userPic)
        .outlet("userName", &BlgDetailViewController::userName)
        .outlet("actionBar", &BlgDetailViewController::actionBar)
        .outlet("listContainer", &BlgDetailViewController::listContainer)
        .action("showUserInfo:", &BlgDetailViewController::showUserInfo);
  });
  pf::NibRegistry::define<BlgCommentViewController>([](pf::NibClassBuilder<BlgCommentViewController>& b) {
    b.outlet("listContainer", &BlgCommentViewController::listContainer);
  });
  pf::NibRegistry::define<BlgTopicViewController>([](pf::NibClassBuilder<BlgTopicViewController>& b) {
    b.outlet("listContainer", &BlgTopicViewController::listContainer);
  });
  pf::NibRegistry::define<TopicDetailViewController>([](pf::NibClassBuilder<TopicDetailViewController>& b) {
    b.outlet("titleLabel", &TopicDetailViewController::titleLabel)
        .outlet("actionBar", &TopicDetailViewController::actionBar)
        .outlet("listContainer", &TopicDetailViewController::listContainer);
  });
}

void defineBlgDetailEditors() {
  pf::NibRegistry::define<BlgEditBaseViewController>([](pf::NibClassBuilder<BlgEditBaseViewController>& b) {
    b.outlet("textView", &BlgEditBaseViewController::textView)
        .outlet("checkbox", &BlgEditBaseViewController::checkbox)
        .outlet("numLabel", &BlgEditBaseViewController::numLabel)
        .outlet("cleanView", &BlgEditBaseViewController::cleanView)
        .action("cleanBtn:", &BlgEditBaseViewController::cleanBtn)
        .action("checkBoxBtnPressed:", &BlgEditBaseViewController::checkBoxBtnPressed);
  });
  pf::NibRegistry::define<BlgForwardEditViewController>([](pf::NibClassBuilder<BlgForwardEditViewController>&) {});
  pf::NibRegistry::define<BlgCommentEditViewController>([](pf::NibClassBuilder<BlgCommentEditViewController>&) {});
  pf::NibRegistry::define<WriteBlogViewController>([](pf::NibClassBuilder<WriteBlogViewController>& b) {
    b.outlet("blogText", &WriteBlogViewController::blogText)
        .outlet("blogField", &WriteBlogViewController::blogField)
        .outlet("fieldBgImgView", &WriteBlogViewController::fieldBgImgView)
        .outlet("cleanView", &WriteBlogViewController::cleanView)
        .outlet("numLabel", &WriteBlogViewController::numLabel)
        .outlet("toolBar", &WriteBlogViewController::toolBar)
        .action("clearContentView:", &WriteBlogViewController::clearContentView)
        .action("tellViewTap:", &WriteBlogViewController::tellViewTap);
  });
  pf::NibRegistry::define<WblgShowImageViewController>([](pf::NibClassBuilder<WblgShowImageViewController>& b) {
    b.outlet("showImgView", &WblgShowImageViewController::showImgView);
  });
}

}  // namespace

void registerBlgDetailViewClasses() {
  RichLabel::registerForInterfaceFiles();
  BaseUIImageView::registerForInterfaceFiles();
  PhotoZoomController::registerForInterfaceFiles();
  pf::registerClass<BlgDetailTableViewController>();
  pf::registerClass<BlgCommentTableViewController>();
  pf::registerClass<BlgTopicTableViewController>();
  pf::registerClass<TopicDetailTableViewController>();
  defineBlgDetailRows();
  defineBlgDetailScreens();
  defineBlgDetailEditors();
  registerBlgDetailScreen<BlgDetailViewController>();
  registerBlgDetailScreen<BlgCommentViewController>();
  registerBlgDetailScreen<BlgTopicViewController>();
  registerBlgDetailScreen<TopicDetailViewController>();
  registerBlgDetailScreen<BlgForwardEditViewController>();
  registerBlgDetailScreen<BlgCommentEditViewController>();
  registerBlgDetailScreen<WriteBlogViewController>();
  registerBlgDetailScreen<WblgShowImageViewController>();
}
