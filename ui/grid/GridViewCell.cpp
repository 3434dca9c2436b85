#include "ui/grid/GridViewCell.h"

#include <algorithm>

#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "ui/grid/GridViewAdditions.h"

namespace {

// The views that can show a highlight take the cell's.
void passGridCellHighlight(pf::View& view, bool highlighted) {
  if (auto* label = dynamic_cast<pf::Label*>(&view)) return label->setHighlighted(highlighted);
  if (auto* image = dynamic_cast<pf::ImageView*>(&view)) return image->setHighlighted(highlighted);
  if (auto* control = dynamic_cast<pf::Control*>(&view)) return control->setHighlighted(highlighted);
  if (auto* row = dynamic_cast<pf::TableViewCell*>(&view)) return row->setHighlighted(highlighted);
  if (auto* cell = dynamic_cast<GridViewCell*>(&view)) return cell->setHighlighted(highlighted);
}

}  // namespace

GridViewCell::GridViewCell() : GridViewCell(pf::Rect()) {}

GridViewCell::GridViewCell(const pf::Rect& frame) : View(frame) {
  setAutoresizesSubviews(false);
  makeDeleteButton();
}

GridViewCell::~GridViewCell() {
  // The button may outlive the cell in someone's hands: it must not call back.
  deleteButton_->removeTarget(nullptr, "", pf::Control::kTouchUpInside);
}

void GridViewCell::makeDeleteButton() {
  deleteButton_ = pf::Button::buttonWithType(pf::Button::Type::Custom);
  deleteButton_->setTitleColor(pf::Color::black(), pf::Control::kNormal);
  setDeleteButtonIcon(nullptr);
  setDeleteButtonOffset({-5, -5});
  deleteButton_->setAlpha(0);
  deleteButton_->addAction([this](pf::Control&, unsigned) { actionDelete(); }, pf::Control::kTouchUpInside);
}

void GridViewCell::attachDeleteButton() {
  if (deleteButton_->superview().get() == this || weak_from_this().expired()) return;
  addSubview(deleteButton_);
}

std::shared_ptr<pf::Button> GridViewCell::deleteButton() {
  attachDeleteButton();
  return deleteButton_;
}

void GridViewCell::didMoveToSuperview() {
  attachDeleteButton();
}

void GridViewCell::setContentView(const std::shared_ptr<pf::View>& view) {
  shake(false);
  const auto old = contentView_;
  if (old) old->removeFromSuperview();
  if (!view) {
    contentView_ = nullptr;
    return;
  }
  view->setFrame(old ? old->frame() : bounds());
  contentView_ = view;
  view->setAutoresizingMask(pf::View::kAutoresizingNone);
  addSubview(view);
  if (auto button = deleteButton()) bringSubviewToFront(button.get());
}

void GridViewCell::setHighlighted(bool highlighted) {
  highlighted_ = highlighted;
  if (!contentView_) return;
  GridViewAdditions::recursiveEnumerateSubviewsUsingBlock(
      *contentView_, [highlighted](pf::View& view, bool&) { passGridCellHighlight(view, highlighted); });
}

void GridViewCell::setEditing(bool editing) {
  setEditing(editing, false);
}

void GridViewCell::setEditing(bool editing, bool animated) {
  if (editing == editing_) return;
  editing_ = editing;
  const double alpha = editing ? 1.0 : 0.0;
  if (auto button = deleteButton()) {
    if (animated) {
      pf::View::animateWithDuration(kDeleteFadeDuration, 0, pf::View::kAnimationAllowUserInteraction,
                                    [button, alpha] { button->setAlpha(alpha); });
    } else {
      button->setAlpha(alpha);
    }
  }
  if (contentView_) contentView_->setUserInteractionEnabled(!editing);
  GridViewAdditions::shakeStatus(*this, editing);
}

void GridViewCell::setFullSizeView(const std::shared_ptr<pf::View>& view) {
  const auto old = fullSizeView_;
  if (view) {
    if (inFullSizeMode_ && old) {
      view->setFrame(old->frame());
      view->setAlpha(old->alpha());
    } else {
      view->setFrame(bounds());
      view->setAlpha(0);
    }
    defaultFullsizeViewResizingMask_ = view->autoresizingMask() | 45u;
    view->setAutoresizingMask(old ? old->autoresizingMask() : pf::View::kAutoresizingNone);
  }
  if (old) old->removeFromSuperview();
  fullSizeView_ = view;
  if (view) addSubview(view);
  if (auto button = deleteButton()) bringSubviewToFront(button.get());
}

void GridViewCell::setFullSize(pf::Size size) {
  fullSize_ = size;
  setNeedsLayout();
}

std::shared_ptr<const pf::Image> GridViewCell::deleteButtonIcon() {
  return deleteButton_->imageForState(pf::Control::kNormal);
}

void GridViewCell::setDeleteButtonIcon(std::shared_ptr<const pf::Image> icon) {
  const auto& button = deleteButton_;
  button->setImage(icon, pf::Control::kNormal);
  const pf::Point origin = button->frame().origin;
  if (icon) {
    button->setFrame({origin, icon->size()});
    button->setTitle(std::nullopt, pf::Control::kNormal);
    button->setBackgroundColor(pf::Color::clear());
  } else {
    button->setFrame({origin, {kDeleteButtonSide, kDeleteButtonSide}});
    button->setTitle("X", pf::Control::kNormal);
    button->setBackgroundColor(pf::Color::lightGray());
  }
}

pf::Point GridViewCell::deleteButtonOffset() {
  return deleteButton_->frame().origin;
}

void GridViewCell::setDeleteButtonOffset(pf::Point offset) {
  deleteButton_->setFrame({offset, deleteButton_->frame().size});
}

void GridViewCell::shake(bool on) {
  if (inShakingMode_ == on) return;
  if (contentView_) GridViewAdditions::shakeStatus(*contentView_, on);
  inShakingMode_ = on;
}

void GridViewCell::switchToFullSizeMode(bool on) {
  const auto full = fullSizeView_;
  const auto content = contentView_;
  auto relayout = [weak = weak_from_this()](bool) {
    if (auto self = weak.lock()) std::static_pointer_cast<pf::View>(self)->setNeedsLayout();
  };
  if (on) {
    if (full) {
      full->setAutoresizingMask(defaultFullsizeViewResizingMask_);
      const pf::Point center = full->center();
      full->setFrame({full->frame().origin, fullSize_});
      full->setCenter(center);
      full->setAlpha(std::max(full->alpha(), content ? content->alpha() : 0.0));
    }
    inFullSizeMode_ = true;
    if (content) content->setAlpha(0);
    const pf::Size size = fullSize_;
    const pf::Point center = full ? full->center() : pf::Point{};
    pf::View::animateWithDuration(kFullSizeSwitchDuration, [full, size, center] {
      if (!full) return;
      full->setAlpha(1.0);
      full->setFrame({full->frame().origin, size});
      full->setCenter(center);
    }, relayout);
    return;
  }
  if (full) {
    full->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
    full->setAlpha(0);
  }
  inFullSizeMode_ = false;
  if (content) content->setAlpha(0.6);
  const pf::Rect cellBounds = bounds();
  pf::View::animateWithDuration(kFullSizeSwitchDuration, [full, content, cellBounds] {
    if (content) content->setAlpha(1.0);
    if (full) full->setFrame(cellBounds);
  }, relayout);
}

void GridViewCell::prepareForReuse() {
  fullSize_ = {};
  setFullSizeView(nullptr);
  setEditing(false, false);
  deleteBlock_ = nullptr;
  // Another item's name must not show lit.
  setHighlighted(false);
}

void GridViewCell::actionDelete() {
  if (deleteBlock_) deleteBlock_(*this);
}

void GridViewCell::layoutSubviews() {
  if (!fullSizeView_) return;
  const pf::Rect b = bounds();
  if (inFullSizeMode_) {
    fullSizeView_->setFrame({(b.width() - fullSize_.width) * 0.5, (b.height() - fullSize_.height) * 0.5,
                             fullSize_.width, fullSize_.height});
  } else {
    fullSizeView_->setFrame(b);
  }
}

void GridViewCell::touchesBegan(const pf::TouchSet&, const pf::Event*) {
  setHighlighted(true);
}

void GridViewCell::touchesMoved(const pf::TouchSet&, const pf::Event*) {}

void GridViewCell::touchesEnded(const pf::TouchSet&, const pf::Event*) {
  setHighlighted(false);
}

void GridViewCell::touchesCancelled(const pf::TouchSet&, const pf::Event*) {
  setHighlighted(false);
}
