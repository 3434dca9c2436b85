#pragma once
// The base of the course and unit rows that can be marked in an edit mode: while editing, the view
// named subViewNeedsMove slides aside to make room for a check mark. Loaded from interface files;
// never highlights, and its background stays clear.
//
// Main thread only.

#include <memory>

#include "platform/ui/TableViewCell.h"

class DownloadCell : public pf::TableViewCell {
  PF_OBJECT(DownloadCell, pf::TableViewCell)

  bool isOnEditing() const { return isOnEditing_; }
  bool hasBeenSelected() const { return hasBeenSelected_; }
  std::weak_ptr<pf::View> subViewNeedsMove;

  // Slides subViewNeedsMove over 0.5 s; nothing without it.
  virtual void setIsOnEditing(bool editing);
  virtual void setHasBeenSelected(bool selected) { hasBeenSelected_ = selected; }

  void awakeFromNib() override;
  void layoutSubviews() override;

 private:
  bool isOnEditing_ = false;
  bool hasBeenSelected_ = false;
};
