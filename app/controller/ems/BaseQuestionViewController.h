#pragma once
// The base of the exam's and the survey's question screens: one question as a table of the exam's
// question rows (its text and pictures, one row per option, a row for typed text). It sizes the rows
// to their text and pictures, keeps where each row's pictures start, fills the title, option and text
// rows, marks choices in the rows and mirrors them in the table's selection, and zooms a tapped
// picture over the parent controller. A subclass says what the question holds and what a choice does.
//
// Main thread only.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "app/controller/cmn/BaseTableViewController.h"
#include "platform/graphics/Point.h"
#include "platform/ui/TextView.h"

class BaseQuestionCell;
class EmsQuestionItemCell;
class EmsQuestionTextViewCell;
class EmsQuestionTitleCell;
class PhotoZoomManager;

class BaseQuestionViewController : public BaseTableViewController,
                                   public pf::TextViewDelegate,
                                   public PhotoZoomDelegate {
  PF_OBJECT(BaseQuestionViewController, BaseTableViewController)

  BaseQuestionViewController();
  ~BaseQuestionViewController() override;

  std::weak_ptr<pf::ViewController> parentController;
  // Zooms the pictures of the rows; made when the view loads.
  std::shared_ptr<PhotoZoomManager> focusManager;
  // Where each row's pictures start, by row number, stored when its height is asked.
  std::map<std::string, pf::Point> cellImageOriginDic;

  void viewDidLoad() override;
  bool refreshData() override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager, pf::View& view) override;
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager& manager) override;

 protected:
  // What the question holds.
  virtual bool choosesMany() const = 0;
  virtual long optionCount() const = 0;
  virtual bool optionSelected(long option) const = 0;
  // The rows.
  virtual std::string cellIdentifier(long row) const = 0;
  virtual double rowHeight(long row) = 0;
  virtual void fillCell(pf::TableViewCell& cell, long row) = 0;

  // Replaces the question: an edit in progress ends first (its text stored into the question it was
  // typed for), then the rows' picture places are forgotten and the table chooses as the new one does.
  void changeQuestion(const std::function<void()>& replace);

  // Row heights on this screen: text measured at a font size and width scaled with the screen, and a
  // row with text over pictures, which also stores where the row's pictures start.
  static double widthScale();
  static double heightScale();
  static double textHeight(const std::optional<std::string>& text, double fontSize, double width);
  double titleRowHeight(long row, const std::optional<std::string>& text, size_t pictures);
  double optionRowHeight(long row, const std::optional<std::string>& text, size_t pictures);
  static double textRowHeight();

  void fillTitle(EmsQuestionTitleCell& cell, long row, const std::optional<std::string>& text,
                 const std::vector<std::string>& pictures);
  // The mark alone shows the choice; the table's selection only mirrors it.
  void fillOption(EmsQuestionItemCell& cell, long row, const std::optional<std::string>& text, bool readonly,
                  bool selected, const std::vector<std::string>& pictures);
  void fillTextRow(EmsQuestionTextViewCell& cell, const std::optional<std::string>& text, bool readonly);

  // Options are rows 1 to the option count.
  static pf::IndexPath optionPath(long option);
  // Marks the option's row chosen; a previous option (of a one-choice question) is unmarked and
  // deselected first.
  static void markChoice(pf::TableView& tableView, long option, std::optional<long> previous);
  static void unmarkChoice(pf::TableView& tableView, long option);
  // A choice restored from storage is selected in the table too, so one tap changes or clears it.
  void mirrorSelectionInTable();

 private:
  double rowOverPictures(long row, double textHeight, size_t pictures);
  pf::Point imageOrigin(long row) const;
  void zoomPicturesOf(BaseQuestionCell& cell);
};
