#include "app/controller/blg/BlgMainTableViewController.h"

#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgBlogRows.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgMainCell.h"
#include "app/controller/blg/BlgUserRows.h"
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

namespace {

void blgMainSetRichText(RichLabel& label, const std::string& markup, const std::weak_ptr<RichLabelDelegate>& delegate) {
  label.setText(markup);
  label.setDelegate(delegate);
}

}  // namespace

BlgMainTableViewController::BlgMainTableViewController() = default;
BlgMainTableViewController::~BlgMainTableViewController() = default;

void BlgMainTableViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  userService = std::make_shared<BlgUserService>(self);
  commonService = std::make_shared<CommonService>(self);
}

void BlgMainTableViewController::viewDidLoad() {
  BlgBaseTableViewController::viewDidLoad();
  focusManager = std::make_shared<PhotoZoomManager>();
  focusManager->setDelegate(std::dynamic_pointer_cast<PhotoZoomDelegate>(shared_from_this()));
}

long BlgMainTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return resourceArr ? static_cast<long>(resourceArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> BlgMainTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                    const pf::IndexPath& indexPath) {
  auto cell = reusableCell<BlgMainCell>(&tableView);
  if (resourceArr && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < resourceArr->size())
    fillCell(*cell, *resourceArr->at(indexPath.row), true);
  return cell;
}

// One sizing cell per list: a height query never loads an interface file.
std::optional<double> BlgMainTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (!resourceArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= resourceArr->size()) return 0.0;
  if (!sizingCell_) sizingCell_ = reusableCell<BlgMainCell>(nullptr);
  fillCell(*sizingCell_, *resourceArr->at(indexPath.row), false);
  return sizingCell_->frame().height();
}

void BlgMainTableViewController::fillCell(BlgMainCell& cell, const Blog& blog, bool installZoom) {
  const std::weak_ptr<RichLabelDelegate> delegate = std::dynamic_pointer_cast<RichLabelDelegate>(shared_from_this());
  cell.nickNameLabel.lock()->setText(blog.nickName.value_or(""));
  cell.timeLabel.lock()->setText(blog.createTime ? MicroBlogUtils::caluteDateByCurrentDate(*blog.createTime) : "");
  cell.blogType = blog.blogType;

  BlgUserRows::showFace(cell.avatarImageView.lock(), blog.userPic);

  blgMainSetRichText(*cell.contentLabel.lock(),
                     blog.content ? KivRichLabelExtension::updateBlgContentStringWithString(blog.content, true) : "",
                     delegate);
  blgMainSetRichText(*cell.topicLabel.lock(), KivRichLabelExtension::blogContentAddTopics(BlgBlogRows::topicsOf(blog.topicList)),
                     delegate);
  PhotoZoomManager* zoom = installZoom ? focusManager.get() : nullptr;
  BlgBlogRows::showPicture(*cell.contentImageView.lock(), &blog, kPictureHeight, zoom);

  const std::shared_ptr<Blog> origin = blog.blogType == Blog::kTypeBroadcast ? blog.refBlog : nullptr;
  std::string originText;
  if (origin && origin->content) {
    originText = KivRichLabelExtension::updateBlgContentStringWithString(
        pf::format(kRepostFormat, origin->nickName.value_or(""), *origin->content), false);
  }
  blgMainSetRichText(*cell.originContentLabel.lock(), originText, delegate);
  blgMainSetRichText(*cell.originTopicLabel.lock(),
                     origin && origin->content ? KivRichLabelExtension::blogContentAddTopics(BlgBlogRows::topicsOf(origin->topicList))
                                               : "",
                     delegate);
  BlgBlogRows::showPicture(*cell.originImageView.lock(), origin.get(), kPictureHeight, zoom);

  cell.fromLabel.lock()->setText(clientName(blog.clientType));
  cell.broadcastLabel.lock()->setText(StringWithLongLong(blog.broadcastCnt));
  cell.commentsLabel.lock()->setText(StringWithLongLong(blog.commentsCnt));
  const double width = isViewLoaded() ? view()->bounds().width() : pf::Screen::mainScreen().bounds().width();
  cell.setFrame(pf::Rect(0, 0, width, std::numeric_limits<float>::max()));
}

std::string BlgMainTableViewController::clientName(const std::optional<std::string>& clientType) {
  return BlgBlogRows::clientName(commonService, clientType);
}

void BlgMainTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(indexPath);
}

void BlgMainTableViewController::richLabelDidSelectLinkWithContent(RichLabel&, const std::string& content) {
  if (auto screen = BlgBlogRows::screenForLink(content, *userService, parentController)) pushFromLink(screen);
}

void BlgMainTableViewController::pushFromLink(const std::shared_ptr<pf::ViewController>& screen) {
  auto navigation = navigationController();
  if (!navigation) return;
  navigation->pushViewController(screen, true);
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(pf::IndexPath::forRow(0, 0));
}

void BlgMainTableViewController::pushDetailForRow(long row) {
  if (!resourceArr || row < 0 || static_cast<size_t>(row) >= resourceArr->size()) return;
  auto navigation = navigationController();
  if (!navigation || !ViewUtil::isScreenClassRegistered(BlgDetailViewController::kClassName)) return;
  auto detail = std::dynamic_pointer_cast<BlgDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgDetailViewController::kClassName));
  if (!navigation || !detail) return;
  detail->parentController = parentController;
  detail->blog = resourceArr->at(row);
  detail->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(detail, true);
}

std::shared_ptr<const pf::Image> BlgMainTableViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                         pf::View& view) {
  return BlgBlogRows::zoomImage(view);
}

// Screens opened from lists that hand no module root on zoom over the list's own screen.
std::shared_ptr<pf::ViewController> BlgMainTableViewController::parentViewControllerForPhotoZoomManager(PhotoZoomManager&) {
  return BlgBlogRows::zoomParent(parentController, *this);
}

std::optional<std::string> BlgMainTableViewController::photoZoomManagerMediaURLForView(PhotoZoomManager&,
                                                                                        pf::View& view) {
  return BlgBlogRows::zoomUrl(view, BlgBlogRows::kNormalSizeFlag);
}

void BlgMainTableViewController::showPage(const pf::ArrayPtr& rows, bool more) { keepRows(resourceArr, rows, more); }
