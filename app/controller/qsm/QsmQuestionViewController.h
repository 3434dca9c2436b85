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

#include <memory>
#include <string>

#include "app/controller/ems/BaseQuestionViewController.h"

class EmsQuestionTextViewCell;
class QsmQuestion;

class QsmQuestionViewController : public BaseQuestionViewController {
  PF_OBJECT(QsmQuestionViewController, BaseQuestionViewController)

  enum class RowKind { Title, Item, Text };

  QsmQuestionViewController();
  ~QsmQuestionViewController() override;

  const std::shared_ptr<QsmQuestion>& question() const { return question_; }
  void setQuestion(std::shared_ptr<QsmQuestion> question);

  RowKind rowKind(long row) const;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

  void textViewDidBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void textViewDidEndEditing(pf::TextView& view) override;

 protected:
  bool choosesMany() const override;
  long optionCount() const override;
  bool optionSelected(long option) const override;
  std::string cellIdentifier(long row) const override;
  double rowHeight(long row) override;
  void fillCell(pf::TableViewCell& cell, long row) override;

 private:
  bool hasOtherOption() const;
  // The text row among the visible cells; null while it is off screen.
  std::shared_ptr<EmsQuestionTextViewCell> visibleTextCell();
  void lockTextRow(bool locked);
  void clearTypedText();
  void storeTypedText(const std::string& text);

  std::shared_ptr<QsmQuestion> question_;
  std::shared_ptr<QsmQuestion> editingQuestion_;
};
