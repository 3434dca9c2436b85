#pragma once
// The list base of the course detail's tabs and of the comment detail: the course shown, the
// services, the overlays, and the command behind the study and brief tabs' right button, which
// selects the course for a 90-day study window or, once confirmed, removes it from the learner's
// courses. The result reaches the shell through a weak delegate.
//
// Main thread only; the selection's server call runs on a global queue and its answer is applied on
// the main queue.

#include <memory>

#include "app/controller/cmn/BaseTableViewController.h"
#include "app/controller/cms/CmsCourseUnSelectedPromptView.h"
#include "app/controller/cms/CmsDetailBaseViewControllerDelegate.h"
#include "platform/ui/AlertView.h"

class CmnWaitPromptView;
class CommonService;
class CourseService;
class CourseViewInfo;
class ProgressHUD;

class CmsDetailBaseViewController : public BaseTableViewController,
                                    public pf::AlertViewDelegate,
                                    public CmsCourseUnSelectedPromptViewDelegate {
  PF_OBJECT(CmsDetailBaseViewController, BaseTableViewController)

  static constexpr char kWaitPrompt[] = "正在加载数据，请稍等片刻...";
  static constexpr char kSelectingText[] = "正在请求选课信息...";
  static constexpr char kRemovingText[] = "正在移除选课信息...";
  static constexpr char kRemoveTitle[] = "提示";
  static constexpr char kRemoveMessage[] =
      "删除后，该课程的学习进度、学时、学分等全部信息将不被保留且无法找回，确定要删除吗";
  static constexpr char kRemoveConfirm[] = "确定";
  static constexpr char kRemoveCancel[] = "取消";

  CmsDetailBaseViewController();
  ~CmsDetailBaseViewController() override;

  const std::shared_ptr<CourseViewInfo>& courseViewInfo() const { return courseViewInfo_; }
  // Stores the course; courseHasSelected follows it.
  virtual void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info);

  bool courseHasSelected = false;
  // From a selection or removal until the shell relays its result; the right button waits meanwhile.
  bool isRequestingEditSelectingCourse = false;
  std::shared_ptr<CommonService> commonServer;
  std::shared_ptr<CourseService> courseServer;
  // 0 for a refresh, 1 for the next page.
  int loadType = 0;
  std::shared_ptr<ProgressHUD> progressHUD;
  std::shared_ptr<CmnWaitPromptView> waitView;
  std::weak_ptr<CmsDetailBaseViewControllerDelegate> delegate;

  bool enableRefresh() const override { return false; }
  bool enableLoadmore() const override { return false; }
  bool canLoadMore() const override { return false; }
  bool refreshData() override;
  bool loadMore() override;

  void viewDidLoad() override;
  // Selects the course, or asks before removing it.
  virtual void rightBtnPressed();
  // The unselected-course prompt asks to select.
  void comfirmPrompt() override { rightBtnPressed(); }
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;

 protected:
  // Tells the delegate the course to show, hides the overlay and reloads.
  void finishEditing();

 private:
  void selectCourse();
  void removeCourse();

  std::shared_ptr<CourseViewInfo> courseViewInfo_;
};
