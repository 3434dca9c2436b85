#pragma once
// One micro-blog user's profile: avatar, nick name and five counts, each a button opening that user's
// personal list. As the module's fourth tab it shows the signed-in user ("我的资料", with the
// collections); pushed (from a mention, a people row, a follow list or a blog) it shows another user
// ("资料", with a follow button). Which of the two is chosen once, when the view loads. Every
// appearance reloads the counts.
//
// Main thread only; the profile load runs in the progress overlay's background block.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class BlgUserInfoViewControllerDelegate;
class BlgUserService;
class CommonService;
class Statistics;

class BlgUserInfoViewController : public BlgBaseViewController {
  PF_OBJECT(BlgUserInfoViewController, BlgBaseViewController)

  BlgUserInfoViewController();
  explicit BlgUserInfoViewController(std::string nibName);
  ~BlgUserInfoViewController() override;

  // Outlets.
  std::weak_ptr<pf::Label> userName;
  std::weak_ptr<pf::ImageView> userPic;
  std::weak_ptr<pf::Button> attentionBtn;
  std::weak_ptr<pf::Button> leftUpBtn, rightUpBtn, leftDownBtn, rightDownBtn, collectBtn;
  std::weak_ptr<pf::Label> leftUpLabel, rightUpLabel, leftDownLabel, rightDownLabel, collectLabel;

  static constexpr char kFollowUri[] = "/v1/wb/bloguser/follow";
  static constexpr char kCancelFollowUri[] = "/v1/wb/bloguser/cancelFollow";
  static constexpr char kFollowedCode[] = "wb.blogUser.followed";
  static constexpr char kCancelFollowedCode[] = "wb.blogUser.cancelFollowed";
  static constexpr char kLoadingText[] = "加载中...";
  static constexpr char kOwnTitle[] = "我的资料";
  static constexpr char kOtherTitle[] = "资料";
  static constexpr char kFollowTitle[] = "加关注";
  static constexpr char kCancelFollowTitle[] = "取消关注";

  std::shared_ptr<CommonService> commonService;
  std::shared_ptr<BlgUserService> userService;
  bool isConcerned = false;
  // Set by the opener before the view loads: a back button (pushed) or the menu button (the tab).
  bool needBack = false;
  std::weak_ptr<BlgUserInfoViewControllerDelegate> blgUserInfoDelegate;
  // The user shown; set by the opener for another user's profile, nil at first for the own one.
  std::shared_ptr<Statistics> userStatistics;

  void setUserStatistics(const std::shared_ptr<Statistics>& statistics) { userStatistics = statistics; }
  // Whether the view chose the other user's look (decided once at load).
  bool showsOtherUser() const { return showsOtherUser_; }

  void initService() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void rightBtnPressed() override;
  void loadUserInfo();
  void attentionBtnPressed();
  void updateAttentionBtn();
  void leftUpBtnPressed();
  void leftDownBtnPressed();
  void rightUpBtnPressed();
  void rightDownBtnPressed();
  void collectBtnPressed();
  void disableAppNavigator();
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 private:
  // The id whose profile is shown: the handed user's, else the signed-in user's.
  std::optional<std::string> shownUserId();
  template <typename Container>
  void pushContainer();

  bool showsOtherUser_ = false;
};
