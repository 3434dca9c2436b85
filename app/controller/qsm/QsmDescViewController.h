#pragma once
// A survey's description: its name, period, answering mode, sponsor and text, the earlier replies
// under it, and, while the survey is open, the area with the button that starts answering. The
// status is the one the list worked out when it loaded.
//
// Main thread only.

#include <memory>
#include <optional>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class ImageView;
class Label;
class ScrollView;
class View;
}  // namespace pf
class CommonService;
class QsmReplyView;
class QsmSurvey;

class QsmDescViewController : public BaseViewController {
  PF_OBJECT(QsmDescViewController, BaseViewController)

  QsmDescViewController();
  explicit QsmDescViewController(std::string nibName);
  ~QsmDescViewController() override;

  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> durationLabel;
  std::weak_ptr<pf::Label> modeLabel;
  std::weak_ptr<pf::Label> sponsorLabel;
  std::weak_ptr<pf::Label> descLabel;
  std::weak_ptr<pf::ImageView> bgTopImageView;
  std::weak_ptr<pf::ImageView> bgMidImageView;
  std::weak_ptr<pf::ImageView> bgBtmImageView;
  std::weak_ptr<pf::ImageView> replySepImageView;
  std::weak_ptr<pf::View> enterBtmView;
  std::weak_ptr<pf::ScrollView> scrollView;

  std::shared_ptr<QsmSurvey> survey;
  std::shared_ptr<CommonService> commonService;
  std::vector<std::shared_ptr<QsmReplyView>> replyViews;

  void initService() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void viewDidLayoutSubviews() override;

  void enterBtnClick();
  void backBtnClick();

 private:
  void initReplyViews();
  void resetReplyViewFrames();
  bool hasComments() const;
  bool isOnTop() const;
  bool isOpen() const;

  // The scroll view's height in the interface file, so that every layout pass gives the same.
  std::optional<double> scrollHeight_;
};
