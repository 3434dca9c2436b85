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
#include <memory>
#include <optional>
#include <string>

#include "app/controller/ems/BaseQuestionViewController.h"

class EmsQuestion;

class EmsQuestionViewController : public BaseQuestionViewController {
  PF_OBJECT(EmsQuestionViewController, BaseQuestionViewController)

  enum class RowKind { Title, Item, Text, Answer };

  EmsQuestionViewController();
  ~EmsQuestionViewController() override;

  const std::shared_ptr<EmsQuestion>& question() const { return question_; }
  void setQuestion(std::shared_ptr<EmsQuestion> question);
  bool readonly = false;
  // Told of each choice, text change and scroll (the exam screen's idle count starts again).
  std::function<void()> onActivity;

  RowKind rowKind(long row) const;
  static std::string cellIdentifierForKind(RowKind kind);

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void scrollViewDidScroll(pf::ScrollView& scrollView) override;

  void textViewDidBeginEditing(pf::TextView& view) override;
  void textViewDidChange(pf::TextView& view) override;
  void textViewDidEndEditing(pf::TextView& view) override;

 protected:
  bool choosesMany() const override;
  long optionCount() const override;
  bool optionSelected(long option) const override;
  std::string cellIdentifier(long row) const override { return cellIdentifierForKind(rowKind(row)); }
  double rowHeight(long row) override;
  void fillCell(pf::TableViewCell& cell, long row) override;

 private:
  void beginTextEdit();
  void storeTypedText(const std::string& text);
  void reportActivity();

  std::shared_ptr<EmsQuestion> question_;
  std::shared_ptr<EmsQuestion> editingQuestion_;
  std::optional<std::string> heldText_;
};
