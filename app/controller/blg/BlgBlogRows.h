#pragma once
// What the feed rows and the detail row share: a blog's picture in its three sizes (a missing normal
// or larger address falls back to the next smaller one; the view never gets an empty address), the
// topics of a blog, the source line's client name, the screen a tapped link opens, and the picture
// zoom's answers.
//
// Main thread only; a mention's nick-name look-up blocks it for one server call.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {
class Image;
class View;
class ViewController;
}  // namespace pf
class BaseUIImageView;
class Blog;
class BlgUserService;
class CommonService;
class PhotoZoomManager;
class Topic;

class BlgBlogRows {
 public:
  static constexpr int kSmallSizeFlag = 1;
  static constexpr int kNormalSizeFlag = 2;
  static constexpr int kLargerSizeFlag = 3;
  static constexpr char kDefaultClient[] = "网页";
  static constexpr char kPicturePlaceholder[] = "BLG_BASE_cmn_pic.png";

  // A topic chip's link ("topicID:" id ";" name): its id and name; nullopt for a nick name. A link
  // without ";" has the whole rest as its id and an empty name.
  struct TopicLink {
    std::string topicId;
    std::string topicName;
  };
  static std::optional<TopicLink> topicLinkOf(const std::string& content);

  static std::vector<std::shared_ptr<Topic>> topicsOf(const pf::ArrayPtr& list);
  // The source line's text for a client type: its name in the client resources, or "网页".
  static std::string clientName(const std::shared_ptr<CommonService>& service,
                                const std::optional<std::string>& clientType);
  // Clears the view, then shows the blog's small picture (none without a blog or a small address)
  // at the given height; zoom, when given, is installed on the shown picture.
  static void showPicture(BaseUIImageView& view, const Blog* blog, double height, PhotoZoomManager* zoom);
  // The topic's detail or the mentioned user's profile, ready to push (bottom bar hidden, the module
  // root handed on); null when the user is unknown or the screen is not registered.
  static std::shared_ptr<pf::ViewController> screenForLink(const std::string& content, BlgUserService& users,
                                                           const std::weak_ptr<pf::ViewController>& parent);

  static std::shared_ptr<const pf::Image> zoomImage(pf::View& view);
  // The module root; without one, the list's stack or the list itself.
  static std::shared_ptr<pf::ViewController> zoomParent(const std::weak_ptr<pf::ViewController>& parent,
                                                        pf::ViewController& list);
  static std::optional<std::string> zoomUrl(pf::View& view, int sizeFlag);
};
