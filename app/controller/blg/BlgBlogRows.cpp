#include "app/controller/blg/BlgBlogRows.h"

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Blog.h"
#include "app/model/blg/Statistics.h"
#include "app/model/blg/Topic.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/KivRichLabelExtension.h"
#include "app/util/ViewUtil.h"
#include "core/util/Resources.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseUIImageView.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr char kBlgBlogRowsClientDictionary[] = "ClientType";

std::optional<pf::Url> blgBlogRowsUrl(const std::optional<std::string>& text) {
  if (!text || text->empty()) return std::nullopt;
  return pf::Url::parse(*text);
}

std::shared_ptr<pf::ViewController> blgBlogRowsTopicScreen(const BlgBlogRows::TopicLink& link,
                                                           const std::weak_ptr<pf::ViewController>& parent) {
  if (!ViewUtil::isScreenClassRegistered(TopicDetailViewController::kClassName)) return nullptr;
  auto screen = std::dynamic_pointer_cast<TopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(TopicDetailViewController::kClassName));
  if (!screen) return nullptr;
  screen->topicID = link.topicId;
  screen->topicName = link.topicName;
  screen->parentController = parent;
  return screen;
}

std::shared_ptr<pf::ViewController> blgBlogRowsProfile(const std::string& nickName, BlgUserService& users,
                                                       const std::weak_ptr<pf::ViewController>& parent) {
  auto statistics = users.getUserDetailWithNickName(nickName);
  if (!statistics) return nullptr;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  if (!profile) return nullptr;
  profile->needBack = true;
  profile->userStatistics = statistics;
  profile->parentController = parent;
  return profile;
}

}  // namespace

std::optional<BlgBlogRows::TopicLink> BlgBlogRows::topicLinkOf(const std::string& content) {
  const std::string prefix = KivRichLabelExtension::kTopicLinkPrefix;
  if (content.size() <= prefix.size() || content.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string rest = content.substr(prefix.size());
  const size_t separator = rest.find(';');
  if (separator == std::string::npos) return TopicLink{rest, ""};
  return TopicLink{rest.substr(0, separator), rest.substr(separator + 1)};
}

std::vector<std::shared_ptr<Topic>> BlgBlogRows::topicsOf(const pf::ArrayPtr& list) {
  std::vector<std::shared_ptr<Topic>> topics;
  if (!list) return topics;
  for (const auto& value : *list)
    if (auto topic = value.objectAs<Topic>()) topics.push_back(topic);
  return topics;
}

std::string BlgBlogRows::clientName(const std::shared_ptr<CommonService>& service,
                                    const std::optional<std::string>& clientType) {
  if (clientType && service) {
    if (auto resources = service->resources()) {
      const pf::Value name = resources->valueForResourceKey(*clientType, kBlgBlogRowsClientDictionary);
      if (const std::string* text = name.string(); text && !text->empty()) return *text;
    }
  }
  return kDefaultClient;
}

void BlgBlogRows::showPicture(BaseUIImageView& view, const Blog* blog, double height, PhotoZoomManager* zoom) {
  ImageViewWebCache::cancelCurrentImageLoad(view);
  view.setImageUrlDic({});
  view.setImage(nullptr);
  const auto small = blog ? blgBlogRowsUrl(blog->smallPicture) : std::nullopt;
  if (!small) return;
  const auto normal = blgBlogRowsUrl(blog->normalPicture).value_or(*small);
  const auto larger = blgBlogRowsUrl(blog->largerPicture).value_or(normal);
  view.setImageUrl(*small, kSmallSizeFlag);
  view.setImageUrl(normal, kNormalSizeFlag);
  view.setImageUrl(larger, kLargerSizeFlag);
  view.setImageWithCurrentSizeFlag(kSmallSizeFlag,
                                   pf::Image::named(kPicturePlaceholder, pf::Screen::mainScreen().scale()),
                                   static_cast<float>(height));
  // The manager installs once per view however often the row is filled.
  if (zoom) zoom->installOnView(std::static_pointer_cast<pf::View>(view.shared_from_this()));
}

std::shared_ptr<pf::ViewController> BlgBlogRows::screenForLink(const std::string& content, BlgUserService& users,
                                                               const std::weak_ptr<pf::ViewController>& parent) {
  auto topic = topicLinkOf(content);
  auto screen = topic ? blgBlogRowsTopicScreen(*topic, parent) : blgBlogRowsProfile(content, users, parent);
  if (screen) screen->setHidesBottomBarWhenPushed(true);
  return screen;
}

std::shared_ptr<const pf::Image> BlgBlogRows::zoomImage(pf::View& view) {
  auto image = dynamic_cast<pf::ImageView*>(&view);
  return image ? image->image() : nullptr;
}

std::shared_ptr<pf::ViewController> BlgBlogRows::zoomParent(const std::weak_ptr<pf::ViewController>& parent,
                                                            pf::ViewController& list) {
  if (auto root = parent.lock()) return root;
  if (auto navigation = list.navigationController()) return navigation;
  return list.sharedAs<pf::ViewController>();
}

std::optional<std::string> BlgBlogRows::zoomUrl(pf::View& view, int sizeFlag) {
  auto picture = dynamic_cast<BaseUIImageView*>(&view);
  if (!picture) return std::nullopt;
  auto url = picture->imageUrlForImageSizeFlag(sizeFlag);
  if (!url) return std::nullopt;
  return url->absoluteString();
}
