#include "app/controller/blg/BlgMainTableViewController.h"

#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgMainCell.h"
#include "app/controller/blg/BlgPageLoader.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Blog.h"
#include "app/model/blg/Statistics.h"
#include "app/model/blg/Topic.h"
#include "app/model/cmn/Page.h"
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

constexpr char kBlgMainClientDictionary[] = "ClientType";
constexpr char kBlgMainAvatarPlaceholder[] = "BLG_BASE_user_def_s.png";
constexpr char kBlgMainPicturePlaceholder[] = "BLG_BASE_cmn_pic.png";

std::shared_ptr<pf::Image> blgMainPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

std::optional<pf::Url> blgMainUrl(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  return pf::Url::parse(*text);
}

std::vector<std::shared_ptr<Topic>> blgMainTopics(const pf::ArrayPtr& list) {
  std::vector<std::shared_ptr<Topic>> topics;
  if (!list) return topics;
  for (const auto& value : *list)
    if (auto topic = value.objectAs<Topic>()) topics.push_back(topic);
  return topics;
}

void blgMainSetRichText(RichLabel& label, const std::string& markup, const std::weak_ptr<RichLabelDelegate>& delegate) {
  label.setText(markup);
  label.setDelegate(delegate);
}

}  // namespace

BlgMainTableViewController::BlgMainTableViewController() : pageLoader(std::make_shared<BlgPageLoader>()) {}
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

std::shared_ptr<Page> BlgMainTableViewController::currentPage() const { return pageLoader->currentPage(); }

long BlgMainTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return resourceArr ? static_cast<long>(resourceArr->size()) : 0;
}

std::shared_ptr<BlgMainCell> BlgMainTableViewController::makeCell(pf::TableView* tableView) {
  std::shared_ptr<BlgMainCell> cell;
  if (tableView)
    cell = std::dynamic_pointer_cast<BlgMainCell>(tableView->dequeueReusableCellWithIdentifier(BlgMainCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<BlgMainCell>(ViewUtil::viewFromNibOfClass(BlgMainCell::kClassName));
    cell->setReuseIdentifier(BlgMainCell::kReuseIdentifier);
  }
  return cell;
}

std::shared_ptr<pf::TableViewCell> BlgMainTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                    const pf::IndexPath& indexPath) {
  auto cell = makeCell(&tableView);
  if (resourceArr && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < resourceArr->size())
    fillCell(*cell, *resourceArr->at(indexPath.row), true);
  return cell;
}

// One sizing cell per list: a height query never loads an interface file.
std::optional<double> BlgMainTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (!resourceArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= resourceArr->size()) return 0.0;
  if (!sizingCell_) sizingCell_ = makeCell(nullptr);
  fillCell(*sizingCell_, *resourceArr->at(indexPath.row), false);
  return sizingCell_->frame().height();
}

void BlgMainTableViewController::fillCell(BlgMainCell& cell, const Blog& blog, bool installZoom) {
  const std::weak_ptr<RichLabelDelegate> delegate = std::dynamic_pointer_cast<RichLabelDelegate>(shared_from_this());
  cell.nickNameLabel.lock()->setText(blog.nickName.value_or(""));
  cell.timeLabel.lock()->setText(blog.createTime ? MicroBlogUtils::caluteDateByCurrentDate(*blog.createTime) : "");
  cell.blogType = blog.blogType;

  auto avatar = cell.avatarImageView.lock();
  if (auto face = blgMainUrl(blog.userPic)) {
    ImageViewWebCache::setImageWithURL(avatar, face, blgMainPicture(kBlgMainAvatarPlaceholder));
  } else {
    ImageViewWebCache::cancelCurrentImageLoad(*avatar);
    avatar->setImage(blgMainPicture(kBlgMainAvatarPlaceholder));
  }

  blgMainSetRichText(*cell.contentLabel.lock(),
                     blog.content ? KivRichLabelExtension::updateBlgContentStringWithString(blog.content, true) : "",
                     delegate);
  blgMainSetRichText(*cell.topicLabel.lock(), KivRichLabelExtension::blogContentAddTopics(blgMainTopics(blog.topicList)),
                     delegate);
  fillPicture(*cell.contentImageView.lock(), blog, installZoom);

  const std::shared_ptr<Blog> origin = blog.blogType == Blog::kTypeBroadcast ? blog.refBlog : nullptr;
  std::string originText;
  if (origin && origin->content) {
    originText = KivRichLabelExtension::updateBlgContentStringWithString(
        pf::format(kRepostFormat, origin->nickName.value_or(""), *origin->content), false);
  }
  blgMainSetRichText(*cell.originContentLabel.lock(), originText, delegate);
  blgMainSetRichText(*cell.originTopicLabel.lock(),
                     origin && origin->content ? KivRichLabelExtension::blogContentAddTopics(blgMainTopics(origin->topicList))
                                               : "",
                     delegate);
  static const Blog kBlgMainNoBlog;
  fillPicture(*cell.originImageView.lock(), origin ? *origin : kBlgMainNoBlog, installZoom);

  cell.fromLabel.lock()->setText(clientName(blog.clientType));
  cell.broadcastLabel.lock()->setText(StringWithLongLong(blog.broadcastCnt));
  cell.commentsLabel.lock()->setText(StringWithLongLong(blog.commentsCnt));
  const double width = isViewLoaded() ? view()->bounds().width() : pf::Screen::mainScreen().bounds().width();
  cell.setFrame(pf::Rect(0, 0, width, std::numeric_limits<float>::max()));
}

// A blog that has a small picture but lacks the normal or larger address falls back to the next
// smaller one it has; the view never gets an empty address.
void BlgMainTableViewController::fillPicture(BaseUIImageView& view, const Blog& blog, bool installZoom) {
  ImageViewWebCache::cancelCurrentImageLoad(view);
  view.setImageUrlDic({});
  view.setImage(nullptr);
  const auto small = blgMainUrl(blog.smallPicture);
  if (!small) return;
  const auto normal = blgMainUrl(blog.normalPicture).value_or(*small);
  const auto larger = blgMainUrl(blog.largerPicture).value_or(normal);
  view.setImageUrl(*small, kSmallSizeFlag);
  view.setImageUrl(normal, kNormalSizeFlag);
  view.setImageUrl(larger, kLargerSizeFlag);
  view.setImageWithCurrentSizeFlag(kSmallSizeFlag, blgMainPicture(kBlgMainPicturePlaceholder),
                                   static_cast<float>(kPictureHeight));
  if (installZoom && focusManager)
    focusManager->installOnView(std::static_pointer_cast<pf::View>(view.shared_from_this()));
}

std::string BlgMainTableViewController::clientName(const std::optional<std::string>& clientType) {
  if (clientType && commonService) {
    if (auto resources = commonService->resources()) {
      const pf::Value name = resources->valueForResourceKey(*clientType, kBlgMainClientDictionary);
      if (const std::string* text = name.string(); text && !text->empty()) return *text;
    }
  }
  return kDefaultClient;
}

void BlgMainTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(indexPath);
}

std::optional<BlgMainTableViewController::TopicLink> BlgMainTableViewController::topicLinkOf(const std::string& content) {
  const std::string prefix = KivRichLabelExtension::kTopicLinkPrefix;
  if (content.size() <= prefix.size() || content.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string rest = content.substr(prefix.size());
  const size_t separator = rest.find(';');
  if (separator == std::string::npos) return TopicLink{rest, ""};
  return TopicLink{rest.substr(0, separator), rest.substr(separator + 1)};
}

void BlgMainTableViewController::richLabelDidSelectLinkWithContent(RichLabel&, const std::string& content) {
  if (auto topic = topicLinkOf(content)) {
    if (!ViewUtil::isScreenClassRegistered(TopicDetailViewController::kClassName)) return;
    auto screen = std::dynamic_pointer_cast<TopicDetailViewController>(
        ViewUtil::viewControllerFromNibOfClass(TopicDetailViewController::kClassName));
    if (!screen) return;
    screen->topicID = topic->topicId;
    screen->topicName = topic->topicName;
    screen->setHidesBottomBarWhenPushed(true);
    screen->parentController = parentController;
    pushFromLink(screen);
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
  pushFromLink(profile);
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
  auto image = dynamic_cast<pf::ImageView*>(&view);
  return image ? image->image() : nullptr;
}

// Screens opened from lists that hand no module root on zoom over the list's own screen.
std::shared_ptr<pf::ViewController> BlgMainTableViewController::parentViewControllerForPhotoZoomManager(PhotoZoomManager&) {
  if (auto parent = parentController.lock()) return parent;
  if (auto navigation = navigationController()) return navigation;
  return sharedAs<pf::ViewController>();
}

std::optional<std::string> BlgMainTableViewController::photoZoomManagerMediaURLForView(PhotoZoomManager&,
                                                                                        pf::View& view) {
  auto picture = dynamic_cast<BaseUIImageView*>(&view);
  if (!picture) return std::nullopt;
  auto url = picture->imageUrlForImageSizeFlag(kNormalSizeFlag);
  if (!url) return std::nullopt;
  return url->absoluteString();
}

std::vector<std::shared_ptr<Blog>> BlgMainTableViewController::blogsOf(const pf::ArrayPtr& rows) {
  std::vector<std::shared_ptr<Blog>> blogs;
  if (!rows) return blogs;
  for (const auto& value : *rows)
    if (auto blog = value.objectAs<Blog>()) blogs.push_back(blog);
  return blogs;
}

void BlgMainTableViewController::refreshBlogs(const PageFetch& fetch, std::function<void()> afterSuccess) {
  std::weak_ptr<BlgMainTableViewController> weak = sharedAs<BlgMainTableViewController>();
  pageLoader->refresh(
      fetch,
      [weak, afterSuccess](const pf::ArrayPtr& rows) {
        auto self = weak.lock();
        if (!self) return;
        if (afterSuccess) afterSuccess();
        self->resourceArr = blogsOf(rows);
        self->tableView()->reloadData();
      },
      [weak] {
        if (auto self = weak.lock()) self->refreshDataComplete();
      });
}

bool BlgMainTableViewController::loadMoreBlogs(const PageFetch& fetch) {
  std::weak_ptr<BlgMainTableViewController> weak = sharedAs<BlgMainTableViewController>();
  pageLoader->loadMore(
      fetch,
      [weak](const pf::ArrayPtr& rows) {
        auto self = weak.lock();
        if (!self) return;
        if (!self->resourceArr) self->resourceArr.emplace();
        for (auto& blog : blogsOf(rows)) self->resourceArr->push_back(blog);
        self->tableView()->reloadData();
      },
      [weak] {
        if (auto self = weak.lock()) self->loadMoreCompleted();
      });
  return true;
}
