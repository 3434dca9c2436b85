#pragma once
// The learner's Q&A page (the module's third tab): picture, nick name, four counts (questions asked,
// answers given, questions collected, topics followed) and four entries that open the lists behind
// them. The counts are fetched again each time the page shows.
//
// Main thread only; the counts load on a global queue and land on the main queue.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class AnsService;
class QuestionUser;
class User;

class AnsPesnViewController : public BaseViewController {
  PF_OBJECT(AnsPesnViewController, BaseViewController)

  static constexpr int kAskedEntry = 100;
  static constexpr int kAnsweredEntry = 200;
  static constexpr int kCollectedEntry = 300;
  static constexpr int kTopicsEntry = 400;
  static constexpr char kUserPlaceholder[] = "ANS_PESN_uer_default.png";

  AnsPesnViewController();
  explicit AnsPesnViewController(std::string nibName);
  ~AnsPesnViewController() override;

  std::weak_ptr<pf::ImageView> userImgView;
  std::weak_ptr<pf::Label> userNameLabel;
  std::weak_ptr<pf::Label> quizCountLabel;
  std::weak_ptr<pf::Label> answerCountLabel;
  std::weak_ptr<pf::Label> collectCountLabel;
  std::weak_ptr<pf::Label> topicCountLabel;

  std::shared_ptr<AnsService> answerService;
  std::shared_ptr<User> user;
  std::shared_ptr<QuestionUser> userQAInfo;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidUnload() override;
  void getMessageCount();
  void changeItemHighlited(bool highlighted, const pf::View& item);
  void willSelectedItem(const pf::ObjectPtr& sender);
  void itemSelectedCanceled(const pf::ObjectPtr& sender);
  void selectedItem(const pf::ObjectPtr& sender);
  void goback();

 private:
  void showCounts();
  void toggleMenu();
};
