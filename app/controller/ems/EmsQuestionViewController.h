#pragma once
// One exam question as a table: its text and pictures, one row per option, a row for typed text where
// the question takes it, and the right answer with its analysis where that may be shown. Choices and
// text go straight into the question object; the view keeps no answers of its own.
//
// A tap on a picture of the title or an option opens it zoomed over the parent controller.
//
// Typed text is stored as it changes, into the question the row shows; text erased to blanks keeps
// the answer held when editing began. Every choice, text change and scroll is reported as activity.
//
// Main thread only.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "app/controller/cmn/BaseTableViewController.h"
#include "platform/graphics/Point.h"
#include "platform/ui/TextView.h"

class BaseQuestionCell;
class EmsQuestion;
class PhotoZoomManager;

class EmsQuestionViewController : public BaseTableViewController,
                                  public pf::TextViewDelegate,
                                  public PhotoZoomDelegate {
  PF_OBJECT(EmsQuestionViewController, BaseTableViewController)

  enum class RowKind { Title, Item, Text, Answer };

  EmsQuestionViewController();
  ~EmsQuestionViewController() override;

  const std::shared_ptr<EmsQuestion>& question() const { return question_; }
  void setQuestion(std::shared_ptr<EmsQuestion> question);
  bool readonly = false;
  std::weak_ptr<pf::ViewController> parentController;
  // Told of each choice, text change and scroll (the exam screen's idle count starts again).
  std::function<void()> onActivity;
  // Where each row's pictures start, by row number, stored when its height is asked.
  std::map<std::string, pf::Point> cellImageOriginDic;
  // Zooms the pictures of the rows; made when the view loads.
  std::shared_ptr<PhotoZoomManager> focusManager;

  RowKind rowKind(long row) const;
  static std::string cellIdentifierForKind(RowKind kind);

  void viewDidLoad() override;
  bool refreshData() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void scrollViewDidScroll(pf::ScrollView& scrollView) override;

  void textViewDidBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void textViewDidEndEditing(pf::TextView& view) override;

  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager, pf::View& view) override;
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager& manager) override;

 private:
  double rowHeight(long row);
  void zoomPicturesOf(BaseQuestionCell& cell);
  void fillCell(pf::TableViewCell& cell, long row);
  void mirrorSelectionInTable();
  void beginTextEdit();
  void storeTypedText(const std::string& text);
  void reportActivity();

  std::shared_ptr<EmsQuestion> question_;
  std::shared_ptr<EmsQuestion> editingQuestion_;
  std::optional<std::string> heldText_;
};
