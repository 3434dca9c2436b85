#pragma once
// Laid over the whole window when a learner touches a course he has not selected: it points at the
// bar's "选择" button, and a touch there selects the course; any touch closes it. With hideAlert NO it
// asks with an alert instead (the download tab's choice).
//
// Main thread only.

#include <memory>

#include "platform/ui/AlertView.h"
#include "platform/ui/View.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class CmsCourseUnSelectedPromptViewDelegate {
 public:
  virtual ~CmsCourseUnSelectedPromptViewDelegate() = default;
  // The learner asked to select the course.
  virtual void comfirmPrompt() {}
};

class CmsCourseUnSelectedPromptView : public pf::View, public pf::AlertViewDelegate {
  PF_OBJECT(CmsCourseUnSelectedPromptView, pf::View)

  static constexpr char kAlertMessage[] = "如果您要下载这门课程的章节，请先选择这门课程";
  static constexpr char kAlertSelect[] = "选择";
  static constexpr char kAlertCancel[] = "取消";

  std::weak_ptr<pf::ImageView> promptActionBtn;
  std::weak_ptr<pf::Label> promptLabel;
  std::weak_ptr<pf::ImageView> promptImgView;
  // The view pointed at.
  std::weak_ptr<pf::View> srcRectView;
  std::shared_ptr<pf::AlertView> alertView;
  std::weak_ptr<CmsCourseUnSelectedPromptViewDelegate> delegate;

  bool hideAlert() const { return hideAlert_; }
  // YES: the pointing overlay; NO: the alert.
  void setHideAlert(bool hide);
  // The select button's place in this view's coordinates.
  pf::Rect actionRect() const;

  void awakeFromNib() override;
  void layoutSubviews() override;
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;

 private:
  void confirm();

  bool hideAlert_ = true;
};
