#include "platform/ui/TableViewCell.h"

#include <algorithm>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/Font.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Transaction.h"

namespace pf {

namespace {

constexpr double kMargin = 10;
constexpr double kAccessoryWidth = 30;
const Color kSelectedBlue = Color::fromRgba(0.02, 0.45, 0.87);
const Color kSelectedGray = Color::fromWhite(0.75);
const Color kDetailBlue = Color::fromRgba(0.22, 0.33, 0.53);

}  // namespace

TableViewCell::TableViewCell() : TableViewCell(CellStyle::Default, std::nullopt) {}

TableViewCell::TableViewCell(CellStyle style, std::optional<std::string> reuseIdentifier)
    : View(Rect(0, 0, 320, 44)), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
  setBackgroundColor(Color::white());
  contentView_ = std::make_shared<View>(bounds());
  contentView_->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  imageView_ = std::make_shared<ImageView>();
  textLabel_ = std::make_shared<Label>();
  textLabel_->setFont(Font::boldSystemFont(style == CellStyle::Value2 ? 12 : 17));
  textLabel_->setHighlightedTextColor(Color::white());
  if (style != CellStyle::Default) {
    detailTextLabel_ = std::make_shared<Label>();
    detailTextLabel_->setFont(Font::systemFont(style == CellStyle::Subtitle ? 14 : 17));
    detailTextLabel_->setTextColor(style == CellStyle::Subtitle ? Color::gray() : kDetailBlue);
    detailTextLabel_->setHighlightedTextColor(Color::white());
  }
  if (style == CellStyle::Value2) {
    textLabel_->setTextColor(kDetailBlue);
    textLabel_->setTextAlignment(TextAlignment::right);
    detailTextLabel_->setTextColor(Color::black());
    detailTextLabel_->setFont(Font::boldSystemFont(15));
  }
  if (style == CellStyle::Value1) detailTextLabel_->setTextAlignment(TextAlignment::right);
}

void TableViewCell::setAccessoryType(AccessoryType type) {
  accessoryType_ = type;
  setNeedsLayout();
  setNeedsDisplay();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
  if (accessoryView_) accessoryView_->removeFromSuperview();
  accessoryView_ = std::move(view);
  setNeedsLayout();
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  setNeedsLayout();
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
  if (selectedBackgroundView_) selectedBackgroundView_->removeFromSuperview();
  selectedBackgroundView_ = std::move(view);
  setNeedsLayout();
}

void TableViewCell::setSelected(bool selected, bool animated) {
  selected_ = selected;
  applyHighlight(animated);
}

void TableViewCell::setHighlighted(bool highlighted, bool animated) {
  highlighted_ = highlighted;
  applyHighlight(animated);
}

bool TableViewCell::isLit() const {
  return (selected_ || highlighted_) && selectionStyle_ != SelectionStyle::None;
}

void TableViewCell::applyHighlight(bool animated) {
  const bool lit = isLit();
  const bool changed = textLabel_->isHighlighted() != lit;
  textLabel_->setHighlighted(lit);
  if (detailTextLabel_) detailTextLabel_->setHighlighted(lit);
  imageView_->setHighlighted(lit);
  endFade();
  if (animated && changed) fadeSelection(lit);
  setNeedsLayout();
  setNeedsDisplay();
}

// The old look fades out or the new one in; the labels switch at once, as the platform's do.
void TableViewCell::fadeSelection(bool in) {
  fading_ = true;
  const unsigned count = ++fadeCount_;
  std::weak_ptr<TableViewCell> weak = sharedAs<TableViewCell>();
  Transaction::begin();
  Transaction::setDisableActions(true);
  Transaction::setCompletionBlock([weak, count] {
    auto self = weak.lock();
    if (self && self->fadeCount_ == count) self->endFade();
  });
  auto fade = BasicAnimation::make("opacity");
  fade->fromValue = in ? 0.0 : 1.0;
  fade->toValue = in ? 1.0 : 0.0;
  fade->duration = kSelectionFadeDuration;
  if (selectedBackgroundView_) {
    selectedBackgroundView_->setHidden(false);
    selectedBackgroundView_->layer()->setOpacity(in ? 1 : 0);
    selectedBackgroundView_->layer()->addAnimation(fade, "selectionFade");
  } else {
    fadeLayer_ = Layer::make();
    fadeLayer_->setBackgroundColor(selectionStyle_ == SelectionStyle::Gray ? kSelectedGray : kSelectedBlue);
    fadeLayer_->setFrame(bounds());
    fadeLayer_->setOpacity(in ? 1 : 0);
    // Below the subviews, over the cell's own drawing that the fill would have been part of.
    layer()->insertSublayer(fadeLayer_, 0);
    fadeLayer_->addAnimation(fade, "selectionFade");
  }
  Transaction::commit();
}

void TableViewCell::endFade() {
  if (!fading_) return;
  fading_ = false;
  if (fadeLayer_) fadeLayer_->removeFromSuperlayer();
  fadeLayer_.reset();
  if (selectedBackgroundView_) {
    selectedBackgroundView_->layer()->removeAnimationForKey("selectionFade");
    selectedBackgroundView_->layer()->setOpacity(1);
  }
  setNeedsLayout();
  setNeedsDisplay();
}

void TableViewCell::setEditing(bool editing, bool /*animated*/) {
  editing_ = editing;
  if (!editing) showingDeleteConfirmation_ = false;
  setNeedsLayout();
  setNeedsDisplay();
}

void TableViewCell::setShowingDeleteConfirmation(bool showing) {
  showingDeleteConfirmation_ = showing;
  setNeedsLayout();
  setNeedsDisplay();
}

void TableViewCell::setSeparatorColor(std::optional<Color> color) {
  separatorColor_ = color;
  setNeedsDisplay();
}

void TableViewCell::prepareForReuse() {
  selected_ = false;
  highlighted_ = false;
  showingDeleteConfirmation_ = false;
  applyHighlight(false);
}

View& TableViewCell::placedContentView() {
  contentView_->setFrame(contentFrame());
  // Beneath whatever a subclass added to the cell itself; the backgrounds go beneath it.
  if (contentView_->superview().get() != this) insertSubview(contentView_, 0);
  return *contentView_;
}

Rect TableViewCell::contentFrame() const {
  const Rect b = bounds();
  const double left = editing_ ? kEditControlWidth : 0;
  double right = b.width();
  if (showingDeleteConfirmation_) {
    right -= kDeleteButtonWidth;
  } else if (accessoryView_) {
    right -= accessoryView_->bounds().width() + kMargin;
  } else if (accessoryType_ != AccessoryType::None) {
    right -= kAccessoryWidth;
  }
  return Rect(left, 0, std::max(0.0, right - left), b.height());
}

void TableViewCell::layoutSubviews() {
  const Rect b = bounds();
  placedContentView();
  if (accessoryView_ && !showingDeleteConfirmation_) {
    const Size s = accessoryView_->bounds().size;
    accessoryView_->setFrame(Rect(b.width() - s.width - kMargin, (b.height() - s.height) / 2, s.width, s.height));
    if (accessoryView_->superview().get() != this) addSubview(accessoryView_);
  }
  if (backgroundView_) {
    backgroundView_->setFrame(b);
    if (backgroundView_->superview().get() != this) insertSubview(backgroundView_, 0);
  }
  if (selectedBackgroundView_) {
    selectedBackgroundView_->setFrame(b);
    selectedBackgroundView_->setHidden(!(selected_ || highlighted_) && !fading_);
    if (selectedBackgroundView_->superview().get() != this)
      insertSubview(selectedBackgroundView_, backgroundView_ ? 1 : 0);
  }
  layOutContent();
}

void TableViewCell::layOutContent() {
  const Rect c = contentView_->bounds();
  double x = kMargin;
  if (imageView_->image()) {
    const Size s = imageView_->image()->size();
    const double h = std::min(s.height, c.height());
    imageView_->setFrame(Rect(0, (c.height() - h) / 2, s.width * (s.height > 0 ? h / s.height : 1), h));
    x = imageView_->frame().maxX() + kMargin;
    if (!imageView_->superview()) contentView_->addSubview(imageView_);
  } else if (imageView_->superview()) {
    imageView_->removeFromSuperview();
  }
  const double width = std::max(0.0, c.width() - x - kMargin);
  auto place = [this](const std::shared_ptr<Label>& label, const Rect& frame) {
    label->setFrame(frame);
    if (!label->superview()) contentView_->addSubview(label);
  };
  switch (style_) {
    case CellStyle::Default:
      place(textLabel_, Rect(x, 0, width, c.height()));
      break;
    case CellStyle::Subtitle:
      if (detailTextLabel_->text().value_or("").empty()) {  // a lone title sits in the middle
        place(textLabel_, Rect(x, 0, width, c.height()));
        place(detailTextLabel_, Rect(x, c.height(), width, 0));
        break;
      }
      place(textLabel_, Rect(x, 2, width, c.height() * 0.55 - 2));
      place(detailTextLabel_, Rect(x, c.height() * 0.55, width, c.height() * 0.45 - 2));
      break;
    case CellStyle::Value1:
      place(textLabel_, Rect(x, 0, width * 0.6, c.height()));
      place(detailTextLabel_, Rect(x + width * 0.6, 0, width * 0.4, c.height()));
      break;
    case CellStyle::Value2:
      place(textLabel_, Rect(0, 0, 67, c.height()));
      place(detailTextLabel_, Rect(67 + 6, 0, std::max(0.0, c.width() - 73 - kMargin), c.height()));
      break;
  }
}

void TableViewCell::drawRect(const Rect& /*rect*/) {
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect b = bounds();
  if (isLit() && !fading_ && !selectedBackgroundView_) {
    context->setFillColor(selectionStyle_ == SelectionStyle::Gray ? kSelectedGray : kSelectedBlue);
    context->fillRect(b);
  }
  if (separatorColor_) {
    context->setFillColor(*separatorColor_);
    context->fillRect(Rect(0, b.height() - 1, b.width(), 1));
  }
  context->setLineWidth(2);
  if (editing_) {  // the round red delete control
    context->setFillColor(Color::red());
    context->fillPath(Path::withOval(Rect(9, b.height() / 2 - 10, 20, 20)));
    context->setFillColor(Color::white());
    context->fillRect(Rect(13, b.height() / 2 - 1.5, 12, 3));
  }
  if (showingDeleteConfirmation_) {
    context->setFillColor(Color::red());
    context->fillPath(Path::withRoundedRect(
        Rect(b.width() - kDeleteButtonWidth + 6, b.height() / 2 - 15, kDeleteButtonWidth - 12, 30), 5));
    return;
  }
  if (accessoryView_ || accessoryType_ == AccessoryType::None) return;
  const double x = b.width() - kAccessoryWidth / 2 - 4;
  const double y = b.height() / 2;
  Path mark;
  if (accessoryType_ == AccessoryType::Checkmark) {
    context->setStrokeColor(kDetailBlue);
    mark.moveTo({x - 6, y});
    mark.lineTo({x - 2, y + 5});
    mark.lineTo({x + 6, y - 6});
  } else {
    context->setStrokeColor(accessoryType_ == AccessoryType::DisclosureIndicator ? Color::gray()
                                                                                 : kSelectedBlue);
    mark.moveTo({x - 3, y - 5});
    mark.lineTo({x + 2, y});
    mark.lineTo({x - 3, y + 5});
  }
  context->strokePath(mark);
}

}  // namespace pf
