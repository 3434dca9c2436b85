#pragma once
// One survey question as a table, drawn with the exam's question rows: its text and picture, one row
// per option, and a row for typed text where the question takes it. Choices and text go straight into
// the question object. The last option of a choice question with a text row is the "other" option:
// the text row is writable only while it is chosen, and leaving it empties the text.
//
// Typed text is stored as it changes, into the question the row shows; an end of editing after the
// question changed writes nothing. A tap on a picture opens it zoomed over the parent controller.
//
// Main thread only.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "app/controller/cmn/BaseTableViewController.h"
#include "platform/graphics/Point.h"
#include "platform/ui/TextView.h"

class BaseQuestionCell;
class EmsQuestionTextViewCell;
class PhotoZoomManager;
class QsmQuestion;

class QsmQuestionViewController : public BaseTableViewController,
                                  public pf::TextViewDelegate,
                                  public PhotoZoomDelegate {
  PF_OBJECT(QsmQuestionViewController, BaseTableViewController)

  enum class RowKind { Title, Item, Text };

  QsmQuestionViewController();
  ~QsmQuestionViewController() override;

  const std::shared_ptr<QsmQuestion>& question() const { return question_; }
  void setQuestion(std::shared_ptr<QsmQuestion> question);
  std::weak_ptr<pf::ViewController> parentController;
  std::shared_ptr<PhotoZoomManager> focusManager;
  // Where each row's pictures start, by row number, stored when its height is asked.
  std::map<std::string, pf::Point> cellImageOriginDic;

  RowKind rowKind(long row) const;

  void viewDidLoad() override;
  bool refreshData() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView,
                                                const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void textViewDidBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void textViewDidEndEditing(pf::TextView& view) override;

  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager& manager,
                                                                pf::View& view) override;
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(
      PhotoZoomManager& manager) override;

 private:
  long optionCount() const;
  bool hasOtherOption() const;
  double rowHeight(long row);
  void fillCell(pf::TableViewCell& cell, long row);
  void mirrorSelectionInTable();
  // The text row among the visible cells; null while it is off screen.
  std::shared_ptr<EmsQuestionTextViewCell> visibleTextCell();
  void lockTextRow(bool locked);
  void clearTypedText();
  void zoomPicturesOf(BaseQuestionCell& cell);
  void storeTypedText(const std::string& text);

  std::shared_ptr<QsmQuestion> question_;
  std::shared_ptr<QsmQuestion> editingQuestion_;
};
