#pragma once
// The one list of questions, in four variants by view type: 0 the questions the user asked, 1 those
// he answered, 2 those he collected (each titled, with a back button), 3 all questions, searched by
// the text in the search bar that is the title, with the menu and ask buttons. A row opens the
// question's detail. Paged, refreshed and extended online only (the list base).
//
// Editing the search text starts nothing: a search starts with the search or hide-keyboard button,
// and load-more goes on with the text of that search.
//
// Main thread only; the loads run on a global queue.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/ans/AnsBaseTableViewController.h"
#include "platform/ui/SearchBar.h"

class AnsService;
class QaQuestion;

class AnsQuesViewController : public AnsBaseTableViewController, public pf::SearchBarDelegate {
  PF_OBJECT(AnsQuesViewController, AnsBaseTableViewController)

  static constexpr int kMyAsked = 0;
  static constexpr int kMyAnswered = 1;
  static constexpr int kMyFavorite = 2;
  static constexpr int kSearchAll = 3;
  static constexpr char kNoQuestionImage[] = "ANS_QUES_no_question.png";
  static constexpr char kNoQuestionText[] = "没有问题信息,有问题快发布吧";
  static constexpr char kUserPlaceholder[] = "ANS_PESN_uer_default.png";

  AnsQuesViewController();
  explicit AnsQuesViewController(std::string nibName);
  ~AnsQuesViewController() override;

  int viewType() const { return viewType_; }
  void setViewType(int viewType);

  std::vector<std::shared_ptr<QaQuestion>> qesInfoList;
  // The search text trimmed of spaces, kept on every edit.
  std::optional<std::string> searchBarText;
  std::shared_ptr<pf::SearchBar> searchBar;
  std::shared_ptr<AnsService> ansServer;

  Request requestData(int type, std::shared_ptr<Page> page) override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void configSearchBar();
  void hideKeyBoard();
  void quiz();
  void goback();

  void textDidChange(pf::SearchBar& bar, const std::string& searchText) override;
  void searchBarSearchButtonClicked(pf::SearchBar& bar) override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView,
                                                const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  bool isOnTop() const;
  void toggleMenu();

  int viewType_ = kMyAsked;
  // The text of the search the list shows; load-more asks for more of it.
  std::optional<std::string> searchedText_;
};
