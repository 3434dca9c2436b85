#include "app/controller/cms/CmsDownloadDeleteBar.h"

#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"

// Both left texts follow the marks, so the one on show never disagrees with the count.
void CmsDownloadDeleteBar::showLeftText(const char* text) {
  if (auto label = leftBtn.lock()) label->setText(std::string(text));
  if (auto label = leftLabel.lock()) label->setText(std::string(text));
}

void CmsDownloadDeleteBar::setDeleteCount(int count) {
  deleteCount_ = count;
  if (auto label = rightLabel.lock()) label->setText(pf::format("删除(%d)", count));
  selectAll_ = count == totalCount && totalCount != 0;
  showLeftText(selectAll_ ? kSelectNone : kSelectAll);
}

void CmsDownloadDeleteBar::setHidden(bool hidden) {
  pf::View::setHidden(hidden);
  if (hidden) setDeleteCount(0);
}

void CmsDownloadDeleteBar::selectAllBtnClick() {
  selectAll_ = !selectAll_;
  showLeftText(selectAll_ ? kSelectNone : kSelectAll);
  if (auto delegate = delegete.lock()) delegate->leftItemDidSelected(selectAll_);
}

void CmsDownloadDeleteBar::deleteBtnClick() {
  if (auto delegate = delegete.lock()) delegate->rightItemDidSelected();
}
