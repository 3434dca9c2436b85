#include "app/controller/blg/BlgDetailTableViewController.h"

#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgCommentViewController.h"
#include "app/controller/blg/BlgDetailTableViewCell.h"
#include "app/controller/blg/BlgForwardEditViewController.h"
#include "app/controller/blg/BlgMainTableViewController.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Blog.h"
#include "app/model/blg/Statistics.h"
#include "app/model/blg/Topic.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/KivRichLabelExtension.h"
#include "app/util/MicroBlogUtils.h"
#include "app/util/ViewUtil.h"
#include "core/util/NumberString.h"
#include "core/util/Resources.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "ui/base/BaseUIImageView.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr char kBlgDetailClientDictionary[] = "ClientType";
constexpr char kBlgDetailDefaultClient[] = "网页";
constexpr char kBlgDetailPicturePlaceholder[] = "BLG_BASE_cmn_pic.png";
constexpr int kBlgDetailSmallFlag = 1;
constexpr int kBlgDetailNormalFlag = 2;
constexpr int kBlgDetailLargerFlag = 3;

std::optional<pf::Url> blgDetailUrl(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  return pf::Url::parse(*text);
}

std::vector<std::shared_ptr<Topic>> blgDetailTopics(const pf::ArrayPtr& list) {
  std::vector<std::shared_ptr<Topic>> topics;
  if (!list) return topics;
  for (const auto& value : *list)
    if (auto topic = value.objectAs<Topic>()) topics.push_back(topic);
  return topics;
}

}  // namespace

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
  std::shared_ptr<BlgDetailTableViewCell> cell;
  if (tableView)
    cell = std::dynamic_pointer_cast<BlgDetailTableViewCell>(
        tableView->dequeueReusableCellWithIdentifier(BlgDetailTableViewCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<BlgDetailTableViewCell>(
        ViewUtil::viewFromNibOfClass(BlgDetailTableViewCell::kClassName));
    cell->setReuseIdentifier(BlgDetailTableViewCell::kReuseIdentifier);
    cell->detailDelegate = std::dynamic_pointer_cast<BlgDetailTableViewDelegate>(shared_from_this());
  }
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
  topic->setText(KivRichLabelExtension::blogContentAddTopics(blgDetailTopics(blog.topicList)));
  cell.blogType = blog.blogType;
  cell.timeLabel.lock()->setText(blog.createTime ? MicroBlogUtils::caluteDateByCurrentDate(*blog.createTime) : "");
  fillPicture(*cell.currentImgView.lock(), &blog, installZoom);

  const Blog* origin = blog.blogType == Blog::kTypeBroadcast ? blog.refBlog.get() : nullptr;
  auto originText = cell.originalBlgContent.lock();
  originText->setDelegate(delegate);
  originText->setText(origin && origin->content
                          ? KivRichLabelExtension::updateBlgContentStringWithString(
                                pf::format(kRepostFormat, origin->nickName.value_or(""), *origin->content), false)
                          : "");
  auto originTopic = cell.originalBlgTopic.lock();
  originTopic->setDelegate(delegate);
  originTopic->setText(origin ? KivRichLabelExtension::blogContentAddTopics(blgDetailTopics(origin->topicList)) : "");
  fillPicture(*cell.originalImgView.lock(), origin, installZoom);
  cell.originalBroadcastNum.lock()->setText(origin ? StringWithLongLong(origin->broadcastCnt) : "");
  cell.originalCommentsNum.lock()->setText(origin ? StringWithLongLong(origin->commentsCnt) : "");

  std::string client = kBlgDetailDefaultClient;
  if (blog.clientType && commonService) {
    if (auto resources = commonService->resources()) {
      const pf::Value name = resources->valueForResourceKey(*blog.clientType, kBlgDetailClientDictionary);
      if (const std::string* text = name.string(); text && !text->empty()) client = *text;
    }
  }
  cell.fromLabel.lock()->setText(client);
  cell.broadcastLabel.lock()->setText(StringWithLongLong(blog.broadcastCnt));
  cell.commentsLabel.lock()->setText(StringWithLongLong(blog.commentsCnt));
  const double width = isViewLoaded() ? view()->bounds().width() : pf::Screen::mainScreen().bounds().width();
  cell.setFrame(pf::Rect(0, 0, width, std::numeric_limits<float>::max()));
}

// A blog lacking the normal or larger address falls back to the next smaller one; the zoom is
// installed once per view however often the row is filled.
void BlgDetailTableViewController::fillPicture(BaseUIImageView& view, const Blog* blog, bool installZoom) {
  ImageViewWebCache::cancelCurrentImageLoad(view);
  view.setImageUrlDic({});
  view.setImage(nullptr);
  const auto small = blog ? blgDetailUrl(blog->smallPicture) : std::nullopt;
  if (!small) return;
  const auto normal = blgDetailUrl(blog->normalPicture).value_or(*small);
  const auto larger = blgDetailUrl(blog->largerPicture).value_or(normal);
  view.setImageUrl(*small, kBlgDetailSmallFlag);
  view.setImageUrl(normal, kBlgDetailNormalFlag);
  view.setImageUrl(larger, kBlgDetailLargerFlag);
  view.setImageWithCurrentSizeFlag(kBlgDetailSmallFlag,
                                   pf::Image::named(kBlgDetailPicturePlaceholder, pf::Screen::mainScreen().scale()),
                                   static_cast<float>(BlgDetailTableViewCell::kPictureHeight));
  if (installZoom && focusManager) focusManager->installOnView(std::static_pointer_cast<pf::View>(view.shared_from_this()));
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
  if (auto topic = BlgMainTableViewController::topicLinkOf(content)) {
    auto screen = std::dynamic_pointer_cast<TopicDetailViewController>(
        ViewUtil::viewControllerFromNibOfClass(TopicDetailViewController::kClassName));
    if (!screen) return;
    screen->topicID = topic->topicId;
    screen->topicName = topic->topicName;
    screen->setHidesBottomBarWhenPushed(true);
    screen->parentController = parentController;
    push(screen);
    return;
  }
  auto statistics = userService->getUserDetailWithNickName(content);
  if (!statistics) return;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  if (!profile) return;
  profile->setHidesBottomBarWhenPushed(true);
  profile->needBack = true;
  profile->userStatistics = statistics;
  profile->parentController = parentController;
  push(profile);
}

std::shared_ptr<const pf::Image> BlgDetailTableViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                           pf::View& view) {
  auto image = dynamic_cast<pf::ImageView*>(&view);
  return image ? image->image() : nullptr;
}

// Without a module root (a detail opened on its own) the picture zooms over the detail's stack.
std::shared_ptr<pf::ViewController> BlgDetailTableViewController::parentViewControllerForPhotoZoomManager(
    PhotoZoomManager&) {
  if (auto parent = parentController.lock()) return parent;
  if (auto navigation = navigationController()) return navigation;
  return sharedAs<pf::ViewController>();
}

std::optional<std::string> BlgDetailTableViewController::photoZoomManagerMediaURLForView(PhotoZoomManager&,
                                                                                          pf::View& view) {
  auto picture = dynamic_cast<BaseUIImageView*>(&view);
  if (!picture) return std::nullopt;
  auto url = picture->imageUrlForImageSizeFlag(kZoomSizeFlag);
  if (!url) return std::nullopt;
  return url->absoluteString();
}
