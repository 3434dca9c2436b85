#pragma once
// The sheet of all questions over the timed exam: numbered buttons five to a row, coloured by
// answered or not while taking the exam, marked right or wrong while viewing answers, with a summary
// line. A tap closes the sheet and shows that question, found by its place in the paper.
//
// Main thread only.

#include <memory>
#include <vector>

#include "app/controller/ems/ShowQuesBtnDelegate.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace pf {
class Label;
}
class EmsExam;
class EmsProcessViewController;
class EmsQuestion;
class EmsShowQuesCell;

class EmsShowAllQuesViewController : public pf::ViewController,
                                     public pf::TableViewDataSource,
                                     public pf::TableViewDelegate,
                                     public ShowQuesBtnDelegate {
  PF_OBJECT(EmsShowAllQuesViewController, pf::ViewController)

  static constexpr char kReuseIdentifier[] = "cellId";

  EmsShowAllQuesViewController();
  ~EmsShowAllQuesViewController() override;

  std::weak_ptr<pf::Label> scorePreffixLabel;
  std::weak_ptr<pf::Label> scoreLabel;
  std::weak_ptr<pf::Label> scoreSuffixLabel;
  std::weak_ptr<pf::Label> leftTimeLabel;
  std::weak_ptr<pf::Label> processLabel;
  std::weak_ptr<pf::TableView> quesTableView;

  bool viewAnswerMode = false;
  std::shared_ptr<EmsExam> exam;
  std::vector<std::shared_ptr<EmsQuestion>> questions;
  std::weak_ptr<EmsProcessViewController> processViewController;

  void loadView() override;
  void viewWillAppear(bool animated) override;
  void showQuesWithNo(int number) override;
  void backBtnClick();

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void willDisplayCell(pf::TableView& tableView, pf::TableViewCell& cell, const pf::IndexPath& indexPath) override;

 private:
  void showSummary();
  void initCellWithQuestions(long row, EmsShowQuesCell& cell);
};
