#include "app/controller/cms/DownloadCell.h"

#include "platform/ui/Screen.h"

void DownloadCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  isOnEditing_ = false;
  hasBeenSelected_ = false;
  setSelectionStyle(SelectionStyle::None);
}

void DownloadCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  setBackgroundColor(pf::Color::clear());
}

void DownloadCell::setIsOnEditing(bool editing) {
  auto moving = subViewNeedsMove.lock();
  if (!moving) return;
  isOnEditing_ = editing;
  const double scale = pf::Screen::mainScreen().bounds().width() / 320;
  pf::Rect frame = moving->frame();
  frame.origin.x = editing ? 50 * scale : 0;
  frame.size.width = (editing ? 220 : 270) * scale;
  pf::View::animateWithDuration(0.5, [moving, frame] { moving->setFrame(frame); });
}
