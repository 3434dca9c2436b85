#pragma once
// The list inside a question's detail: the question (title, topics as links, asker, date), the number
// of its answers and the answers (author, date, text, praise count). From its rows the learner
// praises an answer, starts editing his own answer (the detail screen opens the editor), edits the
// question in the question editor and opens a topic from a link.
//
// Edits are sent as copies and applied when the server took them, so a refused or failed save never
// shows as saved. Topic names enter the markup escaped; a tapped link still looks the topic up by the
// name as typed.
//
// Main thread only; refresh and load-more load on a global queue, everything else waits on the main
// thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabelDelegate.h"
#include "app/controller/ans/AnsBaseTableViewController.h"
#include "app/controller/ans/AnsDisTributeViewDelegate.h"
#include "app/controller/ans/AnsQuesAnswerCellDelegate.h"
#include "app/controller/ans/AnsQuesDetailCellDelegate.h"

class Answer;
class AnsModifyView;
class AnsQuesDetailViewController;
class AnsService;
class CommonService;
class QaQuestion;

class AnsQuesDetailContentViewController : public AnsBaseTableViewController,
                                           public AnsQuesAnswerCellDelegate,
                                           public AnsQuesDetailCellDelegate,
                                           public RichLabelDelegate,
                                           public AnsDisTributeViewDelegate {
  PF_OBJECT(AnsQuesDetailContentViewController, AnsBaseTableViewController)

  static constexpr char kUserPlaceholder[] = "ANS_PESN_uer_default.png";
  static constexpr char kLinkTitleColor[] = "B16E18";
  static constexpr char kLinkBackgroundColor[] = "FCCC49";
  static constexpr char kLinkPressedColor[] = "#FAFC49";

  AnsQuesDetailContentViewController();
  explicit AnsQuesDetailContentViewController(std::string nibName);
  ~AnsQuesDetailContentViewController() override;

  std::shared_ptr<QaQuestion> question;
  std::vector<std::shared_ptr<Answer>> answerList;
  // Made, placed and hidden by the detail screen.
  std::shared_ptr<AnsModifyView> modifyView;
  // The detail screen: hears link taps and edits of answers.
  std::weak_ptr<AnsQuesDetailViewController> linkDelegate;
  std::shared_ptr<AnsService> ansServer;
  std::shared_ptr<CommonService> commonServer;

  // The topic names of a topic text as the question row links them: one leading and one trailing
  // separator dropped, a repeat of the name just before skipped, nothing after the first empty piece.
  static std::vector<std::string> topicLinkNames(const std::optional<std::string>& names);
  // The height of an answer row whose text measures textHeight.
  static double answerRowHeight(double textHeight);

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  Request requestData(int type, std::shared_ptr<Page> page) override;
  void viewDidLoad() override;

  // The markup of the topic links, after a line break.
  std::string getTopics();
  // The topic text as measured for the question row.
  std::string getValiatedStrOfTopics();

  std::optional<bool> agreeAnswer(const std::shared_ptr<Answer>& answer) override;
  void editQuestion() override;
  void selectedLeftBtnItem() override;
  void selectedRightBtnItem() override;
  void richLabelDidSelectLinkWithContent(RichLabel& label, const std::string& content) override;
  void goback();

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  std::shared_ptr<pf::TableViewCell> questionCell(pf::TableView& tableView);
  std::shared_ptr<pf::TableViewCell> answerCountCell(pf::TableView& tableView);
  std::shared_ptr<pf::TableViewCell> answerCell(pf::TableView& tableView, const std::shared_ptr<Answer>& answer);
  double questionRowHeight();
  std::optional<std::string> topicNames();

  // The names the question row links, as typed: a tapped link names its topic by them.
  std::vector<std::string> linkedNames_;
};
