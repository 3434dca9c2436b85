#pragma once
// The module's square: a search field, two segments (blogs, people) and their two lists. A text in the
// field is searched in whichever list is shown, also when the segment changes; the people list loads
// itself the first time it shows. On a phone the field's keyboard carries a "隐藏键盘" bar that clears
// the field and both filters.
//
// Main thread only.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/cmn/BaseTableViewControllerdelegate.h"
#include "platform/ui/TextField.h"

namespace pf {
class Button;
class View;
}  // namespace pf
class BlgSquareViewControllerDelegate;
class SearchBlogViewController;
class SearchPeopleViewController;

class BlgSquareViewController : public BlgBaseViewController,
                                public BaseTableViewControllerdelegate,
                                public pf::TextFieldDelegate {
  PF_OBJECT(BlgSquareViewController, BlgBaseViewController)

  BlgSquareViewController();
  explicit BlgSquareViewController(std::string nibName);
  ~BlgSquareViewController() override;

  static constexpr char kTitle[] = "广场";
  static constexpr char kHideKeyboardTitle[] = "隐藏键盘";
  static constexpr unsigned kChosenTitleRGB = 0xBB5904;

  std::weak_ptr<pf::Button> leftBtn, rightBtn;
  std::weak_ptr<SearchBlogViewController> searchBlgTableViewController;
  std::weak_ptr<SearchPeopleViewController> searchPeopleTableViewController;
  std::weak_ptr<pf::TextField> searchTextField;
  std::weak_ptr<BlgSquareViewControllerDelegate> blgSquareDelegate;

  int currentBtnIndex() const { return currentBtnIndex_; }
  void setCurrentBtnIndex(int index);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void loadResourceWithButtonIndex();
  void searchBlogBtnPressed();
  void searchPeopleBtnPressed();
  void searchBtnPressed();
  bool textFieldShouldReturn(pf::TextField& field) override;
  void editDone();
  void tableViewDidSelectRow(const pf::IndexPath& indexPath) override;

 private:
  void placeList(pf::View& list);
  double listTop() const;
  void styleSegment(pf::Button& button);
  void installKeyboardBar(pf::TextField& field);

  std::shared_ptr<SearchBlogViewController> blogList_;
  std::shared_ptr<SearchPeopleViewController> peopleList_;
  int currentBtnIndex_ = 0;
};
