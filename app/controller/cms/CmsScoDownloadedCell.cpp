#include "app/controller/cms/CmsScoDownloadedCell.h"

#include "platform/foundation/Format.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void CmsScoDownloadedCell::awakeFromNib() {
  DownloadCell::awakeFromNib();
  if (auto label = downloadedProgressLabel.lock()) labelX_ = label->frame().origin.x;
  setDownloadedCount(0);
}

void CmsScoDownloadedCell::setTotalCount(int total) {
  totalCount_ = total;
  showCounts();
}

// The label's place follows the counts on every fill, so a reused row shows its own layout.
void CmsScoDownloadedCell::setDownloadedCount(int downloaded) {
  downloadedCount_ = downloaded;
  const bool all = downloadedCount_ == totalCount_;
  if (auto picture = leftImgView.lock()) picture->setHidden(all);
  if (auto title = titleLabel.lock()) title->setHidden(all);
  if (auto label = downloadedProgressLabel.lock()) {
    pf::Rect frame = label->frame();
    frame.origin.x = labelX_ - (all ? pf::Screen::mainScreen().bounds().height() / 480 * 100 : 0);
    label->setFrame(frame);
  }
  showCounts();
}

void CmsScoDownloadedCell::showCounts() {
  if (auto label = downloadedProgressLabel.lock())
    label->setText(pf::format("已下载:%d章/共%d章", downloadedCount_, totalCount_));
}

void CmsScoDownloadedCell::touchesBegan(const pf::TouchSet&, const pf::Event*) {
  if (auto target = delegate.lock()) target->selectedMoreChapter();
}
