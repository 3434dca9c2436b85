#pragma once
// One question with its answers, and a bar of three actions at the bottom: answer, share to the
// micro-blog, collect. The user edits his own answers here and opens a topic from the question's
// topic links. Opened from the question lists and from a topic's question list.
//
// The text overlays live on the key window: an editor is made only when one opens and leaves the
// window when it closes; the question editor leaves with the screen. An edited answer is sent as a
// copy and replaces the listed one only when the server took it.
//
// Main thread only; every service call of this screen waits on the main thread.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/ans/AnsDisTributeViewDelegate.h"
#include "app/controller/ans/AnsQuesAnswerCellDelegate.h"
#include "app/controller/ans/AnsQuesDetailContentViewControllerDelegate.h"
#include "app/controller/ans/AnsTabBarDelegate.h"
#include "app/controller/cmn/BaseViewController.h"

class Answer;
class AnsDistributeView;
class AnsQuesDetailContentViewController;
class AnsQuesViewController;
class AnsService;
class AnsTabBar;
class QaQuestion;

class AnsQuesDetailViewController : public BaseViewController,
                                    public AnsTabBarDelegate,
                                    public AnsDisTributeViewDelegate,
                                    public AnsQuesDetailContentViewControllerDelegate,
                                    public AnsQuesAnswerCellDelegate {
  PF_OBJECT(AnsQuesDetailViewController, BaseViewController)

  static constexpr int kAnswerItem = 0;
  static constexpr int kShareItem = 1;
  static constexpr int kCollectItem = 2;
  static constexpr double kBarHeight = 56;
  static constexpr char kAlreadyAnswered[] = "已添加过答案！";
  static constexpr char kEmptyShare[] = "分享内容不能为空";
  static constexpr char kAnswerAdded[] = "添加答案成功！";
  static constexpr char kShared[] = "成功分享到微博！";
  static constexpr char kShareFailed[] = "分享到微博出错！";
  static constexpr char kCollected[] = "收藏成功！";
  static constexpr char kCollectFailed[] = "收藏失败！";
  static constexpr char kUncollected[] = "取消收藏成功";
  static constexpr char kUncollectFailed[] = "取消收藏失败";
  static constexpr char kCollectTitle[] = "收藏";
  static constexpr char kUncollectTitle[] = "取消收藏";
  static constexpr char kSaveTitle[] = "保存";
  static constexpr char kShareTitle[] = "分享到微博";
  static constexpr char kEditAnswerTitle[] = "编辑回答";

  AnsQuesDetailViewController();
  explicit AnsQuesDetailViewController(std::string nibName);
  ~AnsQuesDetailViewController() override;

  // Set by the opener before the view loads.
  std::shared_ptr<QaQuestion> question;
  // The list that opened the screen; empty when a topic's list opened it.
  std::weak_ptr<AnsQuesViewController> qesVC;
  std::shared_ptr<AnsQuesDetailContentViewController> qesDVC;
  // The editor in use; made anew for every use.
  std::shared_ptr<AnsDistributeView> disV;
  int selectedItemIndex = kAnswerItem;
  std::shared_ptr<AnsService> ansService;
  std::shared_ptr<ProgressHUD> progressHUD;
  std::shared_ptr<ProgressHUD> resultHUD;
  std::optional<std::string> requestResultPrompt;
  std::shared_ptr<AnsTabBar> ansTabBar;
  std::weak_ptr<Answer> editingAnswer;
  bool questionIsCollected = false;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

  void ansTabBarDidSelectedItemAtIndex(int index) override;
  void selectedLeftBtnItem() override;
  void selectedRightBtnItem() override;
  void editAnswer(const std::shared_ptr<Answer>& answer) override;
  void didPressLink(const std::shared_ptr<QuestionTopic>& topic) override;

  void addAnswer();
  void shareToMB();
  void collectQuestion();
  bool checkShareCommentLegal();
  bool checkQuestionIsCollected();
  void goback();

 private:
  // A new editor on the key window, hidden, replacing the one before.
  void makeEditor();
  void closeEditor();
  void removeOverlays();
  void showResult(const std::optional<std::string>& text, double seconds);
  std::optional<std::string> editorText() const;
};
