#include "app/controller/blg/BlgDetailTableViewController.h"

#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgBlogRows.h"
#include "app/controller/blg/BlgCommentViewController.h"
#include "app/controller/blg/BlgDetailTableViewCell.h"
#include "app/controller/blg/BlgForwardEditViewController.h"
#include "app/model/blg/Blog.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/KivRichLabelExtension.h"
#include "app/util/MicroBlogUtils.h"
#include "app/util/ViewUtil.h"
#include "core/util/NumberString.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "ui/base/BaseUIImageView.h"

BlgDetailTableViewController::BlgDetailTableViewController() = default;
BlgDetailTableViewController::~BlgDetailTableViewController() = default;

void BlgDetailTableViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  userService = std::make_shared<BlgUserService>(self);
  commonService = std::make_shared<CommonService>(self);
}

void BlgDetailTableViewController::viewDidLoad() {
  BlgBaseTableViewController::viewDidLoad();
  focusManager = std::make_shared<PhotoZoomManager>();
  focusManager->setDelegate(std::dynamic_pointer_cast<PhotoZoomDelegate>(shared_from_this()));
}

long BlgDetailTableViewController::numberOfRowsInSection(pf::TableView&, long) { return currentBlog ? 1 : 0; }

std::shared_ptr<BlgDetailTableViewCell> BlgDetailTableViewController::makeCell(pf::TableView* tableView) {
  auto cell = reusableCell<BlgDetailTableViewCell>(tableView);
  cell->detailDelegate = std::dynamic_pointer_cast<BlgDetailTableViewDelegate>(shared_from_this());
  return cell;
}

std::shared_ptr<pf::TableViewCell> BlgDetailTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                      const pf::IndexPath&) {
  auto cell = makeCell(&tableView);
  if (currentBlog) fillCell(*cell, *currentBlog, true);
  return cell;
}

// One sizing cell: the height query never loads the interface file again.
std::optional<double> BlgDetailTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  if (!currentBlog) return 0.0;
  if (!sizingCell_) sizingCell_ = makeCell(nullptr);
  fillCell(*sizingCell_, *currentBlog, false);
  return sizingCell_->frame().height();
}

void BlgDetailTableViewController::fillCell(BlgDetailTableViewCell& cell, const Blog& blog, bool installZoom) {
  const std::weak_ptr<RichLabelDelegate> delegate = std::dynamic_pointer_cast<RichLabelDelegate>(shared_from_this());
  auto content = cell.contentLabel.lock();
  content->setDelegate(delegate);
  content->setText(blog.content ? KivRichLabelExtension::updateBlgContentStringWithString(blog.content, true) : "");
  auto topic = cell.contentTopic.lock();
  topic->setDelegate(delegate);
  topic->setText(KivRichLabelExtension::blogContentAddTopics(BlgBlogRows::topicsOf(blog.topicList)));
  cell.blogType = blog.blogType;
  cell.timeLabel.lock()->setText(blog.createTime ? MicroBlogUtils::caluteDateByCurrentDate(*blog.createTime) : "");
  PhotoZoomManager* zoom = installZoom ? focusManager.get() : nullptr;
  BlgBlogRows::showPicture(*cell.currentImgView.lock(), &blog, BlgDetailTableViewCell::kPictureHeight, zoom);

  const Blog* origin = blog.blogType == Blog::kTypeBroadcast ? blog.refBlog.get() : nullptr;
  auto originText = cell.originalBlgContent.lock();
  originText->setDelegate(delegate);
  originText->setText(origin && origin->content
                          ? KivRichLabelExtension::updateBlgContentStringWithString(
                                pf::format(kRepostFormat, origin->nickName.value_or(""), *origin->content), false)
                          : "");
  auto originTopic = cell.originalBlgTopic.lock();
  originTopic->setDelegate(delegate);
  originTopic->setText(origin ? KivRichLabelExtension::blogContentAddTopics(BlgBlogRows::topicsOf(origin->topicList)) : "");
  BlgBlogRows::showPicture(*cell.originalImgView.lock(), origin, BlgDetailTableViewCell::kPictureHeight, zoom);
  cell.originalBroadcastNum.lock()->setText(origin ? StringWithLongLong(origin->broadcastCnt) : "");
  cell.originalCommentsNum.lock()->setText(origin ? StringWithLongLong(origin->commentsCnt) : "");

  cell.fromLabel.lock()->setText(BlgBlogRows::clientName(commonService, blog.clientType));
  cell.broadcastLabel.lock()->setText(StringWithLongLong(blog.broadcastCnt));
  cell.commentsLabel.lock()->setText(StringWithLongLong(blog.commentsCnt));
  const double width = isViewLoaded() ? view()->bounds().width() : pf::Screen::mainScreen().bounds().width();
  cell.setFrame(pf::Rect(0, 0, width, std::numeric_limits<float>::max()));
}

void BlgDetailTableViewController::push(const std::shared_ptr<pf::ViewController>& screen) {
  auto navigation = navigationController();
  if (screen && navigation) navigation->pushViewController(screen, true);
}

void BlgDetailTableViewController::openRepost(const std::optional<std::string>& blogId,
                                              const std::optional<std::string>& forwardText) {
  auto editor = std::dynamic_pointer_cast<BlgForwardEditViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgForwardEditViewController::kClassName));
  if (!editor) return;
  editor->originBlgID = blogId;
  editor->forwardText = forwardText;
  editor->parentController = parentController;
  push(editor);
}

void BlgDetailTableViewController::openComments(const std::optional<std::string>& blogId) {
  auto comments = std::dynamic_pointer_cast<BlgCommentViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgCommentViewController::kClassName));
  if (!comments) return;
  comments->blogID = blogId;
  comments->parentController = parentController;
  push(comments);
}

void BlgDetailTableViewController::broadcastOriginalBlogBtnPressed() {
  if (currentBlog) openRepost(currentBlog->originId, std::nullopt);
}

void BlgDetailTableViewController::commentsOriginalBlogBtnPressed() {
  if (currentBlog) openComments(currentBlog->originId);
}

// Reposting a repost quotes its text; an original blog is reposted without a quote.
void BlgDetailTableViewController::broadcastCurrentBlogBtnPressed() {
  if (!currentBlog) return;
  const bool repost = currentBlog->blogType == Blog::kTypeBroadcast;
  openRepost(currentBlog->blogId, repost ? currentBlog->content : std::nullopt);
}

void BlgDetailTableViewController::commentsCurrentBlogBtnPressed() {
  if (currentBlog) openComments(currentBlog->blogId);
}

void BlgDetailTableViewController::richLabelDidSelectLinkWithContent(RichLabel&, const std::string& content) {
  push(BlgBlogRows::screenForLink(content, *userService, parentController));
}

std::shared_ptr<const pf::Image> BlgDetailTableViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                           pf::View& view) {
  return BlgBlogRows::zoomImage(view);
}

// Without a module root (a detail opened on its own) the picture zooms over the detail's stack.
std::shared_ptr<pf::ViewController> BlgDetailTableViewController::parentViewControllerForPhotoZoomManager(
    PhotoZoomManager&) {
  return BlgBlogRows::zoomParent(parentController, *this);
}

std::optional<std::string> BlgDetailTableViewController::photoZoomManagerMediaURLForView(PhotoZoomManager&,
                                                                                          pf::View& view) {
  return BlgBlogRows::zoomUrl(view, kZoomSizeFlag);
}
