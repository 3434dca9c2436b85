#pragma once
// The editor of a comment on a course (viewType 1) or of a reply to a comment (viewType 0): at most
// 500 characters (UTF-16 units), posted with "发表", the result shown for 0.8 s, then back to the
// opener, which hears of the reply. The text is kept as a draft per learner, kind and course: a failed
// post leaves it there for the next opening, a successful one empties it.
//
// Main thread only; the post runs on a global queue, and "发表" does nothing while it runs.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TextView.h"

namespace pf {
class Button;
class Label;
struct Notification;
}  // namespace pf
class CommonService;
class CourseService;
class CourseViewInfo;
class Discuss;
class VelkSetting;

class CmsCommentReplyViewControllerDelegate {
 public:
  virtual ~CmsCommentReplyViewControllerDelegate() = default;
  // The reply posted, or null after a comment, a failure or leaving without posting.
  virtual void afterDistributeCommtent(const std::shared_ptr<Discuss>& reply) { (void)reply; }
};

class CmsCommentReplyViewController : public BaseViewController,
                                      public pf::AlertViewDelegate,
                                      public pf::TextViewDelegate {
  PF_OBJECT(CmsCommentReplyViewController, BaseViewController)

  static constexpr int kViewTypeReply = 0;
  static constexpr int kViewTypeComment = 1;
  static constexpr std::size_t kMaxLength = 500;
  static constexpr char kRemainFormat[] = "您还可以输入%d字";
  static constexpr char kTooLongFormat[] = "您最多只能输%d个字哦！";
  static constexpr char kEmptyMessage[] = "请输入内容";
  static constexpr char kCommentDone[] = "评论成功";
  static constexpr char kReplyDone[] = "回复成功";
  static constexpr char kPostFailed[] = "发布失败";
  static constexpr double kResultSeconds = 0.8;

  CmsCommentReplyViewController();
  explicit CmsCommentReplyViewController(std::string nibName);
  ~CmsCommentReplyViewController() override;

  std::weak_ptr<pf::View> editView;
  std::weak_ptr<pf::TextView> commentReplyView;
  std::weak_ptr<pf::Button> wordClearBtn;
  std::weak_ptr<pf::Label> oddWordQty;

  int viewType = kViewTypeComment;
  std::shared_ptr<CourseViewInfo> courseViewInfo;
  std::shared_ptr<Discuss> comment;
  std::weak_ptr<CmsCommentReplyViewControllerDelegate> commentDelegate;
  std::shared_ptr<CourseService> courseServer;
  std::shared_ptr<CommonService> commonServer;
  std::shared_ptr<Discuss> reply;
  std::shared_ptr<VelkSetting> draft;
  bool shouldSaveToDraft = true;
  int alertPromptType = 0;
  bool isPosting() const { return posting_; }

  // "draft_<corporation>_<user>_<评论|回复>_<course>".
  std::string draftKey() const;
  // The text cut to the limit without splitting a character.
  static std::string limitedText(const std::string& text);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void initService() override;
  void distribute();
  void clearWords();
  bool checkCommentIslegal();
  void leftBtnPressed() override;
  void hudWasHidden(ProgressHUD& hud) override;
  void textViewDidChange(pf::TextView& textView) override;
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;
  void keyboardWillShow(const pf::Notification& notification);
  void keyboardWillHide(const pf::Notification& notification);

 private:
  void showRemaining(std::size_t remaining);
  void showResult(bool success);

  bool posting_ = false;
  bool leaving_ = false;
  std::optional<double> editHeight_;
  std::vector<pf::NotificationCenter::Observation> observations_;
};
