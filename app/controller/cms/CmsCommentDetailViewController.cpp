#include "app/controller/cms/CmsCommentDetailViewController.h"

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsCommentCell.h"
#include "app/controller/cms/CmsCommentDetailBottomBar.h"
#include "app/controller/cms/CmsCommentNumCell.h"
#include "app/model/lgn/User.h"
#include "app/model/cms/Discuss.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SwipeGestureRecognizer.h"
#include "ui/webimage/ImageViewWebCache.h"

CmsCommentDetailViewController::CmsCommentDetailViewController() = default;
CmsCommentDetailViewController::~CmsCommentDetailViewController() = default;

void CmsCommentDetailViewController::setComment(std::shared_ptr<Discuss> comment) { comment_ = std::move(comment); }

const std::vector<std::shared_ptr<Discuss>>& CmsCommentDetailViewController::replies() const {
  static const std::vector<std::shared_ptr<Discuss>> kNone;
  return comment_ ? comment_->discussList : kNone;
}

void CmsCommentDetailViewController::viewDidLoad() {
  CmsDetailBaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<CmsCommentDetailViewController>(shared_from_this());
  std::weak_ptr<CmsCommentDetailViewController> weak = self;
  navigationItem()->setLeftBarButtonItem(std::make_shared<CmnNaviBtnItem>(
      std::string("CMN_NAVI_back_n.png"), std::string("CMN_NAVI_back_p.png"), std::nullopt, std::string("返回"), self,
      [weak] {
        if (auto detail = weak.lock()) detail->goback();
      }));
  navigationItem()->setRightBarButtonItem(std::make_shared<CmnNaviBtnItem>(
      std::string("CMN_BASE_btn_n.png"), std::string("CMN_BASE_btn_p.png"), std::string("CMS_WCOM_navi_write_n.png"),
      std::string("回复"), self, [weak] {
        if (auto detail = weak.lock()) detail->reply();
      }));
  currentUser = commonServer->getCurrentUser();
  auto swipe = std::make_shared<pf::SwipeGestureRecognizer>();
  swipe->addTarget(weak_from_this(), [weak](pf::GestureRecognizer&) {
    if (auto detail = weak.lock()) detail->goback();
  });
  view()->addGestureRecognizer(swipe);
  bottomBar = std::dynamic_pointer_cast<CmsCommentDetailBottomBar>(
      ViewUtil::viewFromNibOfClass(CmsCommentDetailBottomBar::kClassName));
  if (bottomBar) {
    bottomBar->setFrame({0, view()->bounds().height() - 88, 320, 44});
    if (auto button = bottomBar->reply.lock())
      button->addTarget(weak_from_this(), "reply", [weak](pf::Control&, unsigned) {
        if (auto detail = weak.lock()) detail->reply();
      }, pf::Control::kTouchUpInside);
  }
}

void CmsCommentDetailViewController::viewWillAppear(bool animated) {
  CmsDetailBaseViewController::viewWillAppear(animated);
  tableView()->reloadData();
}

void CmsCommentDetailViewController::goback() {
  if (auto listener = detailDelegate.lock()) listener->afterReplying();
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsCommentDetailViewController::reply() {
  auto editor = std::dynamic_pointer_cast<CmsCommentReplyViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCommentReplyViewController::kClassName));
  auto navigation = navigationController();
  if (!editor || !navigation) return;
  editor->viewType = CmsCommentReplyViewController::kViewTypeReply;
  editor->courseViewInfo = courseViewInfo();
  editor->comment = comment_;
  editor->commentDelegate = std::static_pointer_cast<CmsCommentDetailViewController>(shared_from_this());
  editor->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(editor, true);
}

void CmsCommentDetailViewController::afterDistributeCommtent(const std::shared_ptr<Discuss>& reply) {
  if (!reply || !comment_) return;
  comment_->discussList.insert(comment_->discussList.begin(), reply);
  tableView()->reloadData();
}

long CmsCommentDetailViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(replies().size()) + 2;
}

std::shared_ptr<pf::TableViewCell> CmsCommentDetailViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (indexPath.row == 1) {
    auto cell = std::dynamic_pointer_cast<CmsCommentNumCell>(
        ViewUtil::tableViewCellWithClass(CmsCommentNumCell::kClassName, tableView));
    if (!cell) return cell;
    if (auto phrase = cell->numPhrase.lock()) phrase->setText(pf::format("共%d条回复", static_cast<int>(replies().size())));
    if (auto face = cell->leftImg.lock()) {
      const auto& address = currentUser ? currentUser->faceUrl : std::nullopt;
      ImageViewWebCache::setImageWithURL(face, address ? pf::Url::parse(*address) : std::nullopt,
                                         pf::Image::named(CmsCommentCell::kAvatar, pf::Screen::mainScreen().scale()));
    }
    return cell;
  }
  auto cell =
      std::dynamic_pointer_cast<CmsCommentCell>(ViewUtil::tableViewCellWithClass(CmsCommentCell::kClassName, tableView));
  const auto& discuss = indexPath.row == 0 ? comment_ : replies().at(static_cast<size_t>(indexPath.row - 2));
  if (cell && discuss) cell->fillWithDiscuss(*discuss, false);
  return cell;
}

std::optional<double> CmsCommentDetailViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                             const pf::IndexPath& indexPath) {
  if (indexPath.row == 1) return 40 * pf::Screen::mainScreen().bounds().height() / 480;
  const auto& discuss = indexPath.row == 0 ? comment_ : replies().at(static_cast<size_t>(indexPath.row - 2));
  return CmsCommentCell::rowHeightForContent(discuss ? discuss->content : std::nullopt);
}
