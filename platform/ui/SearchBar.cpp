#include "platform/ui/SearchBar.h"

#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Button.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/SystemStyle.h"
#include "platform/ui/TextField.h"

namespace pf {

namespace {

constexpr double kMargin = 8;
constexpr double kFieldHeight = 28;

// The magnifier at the start of the field.
class Magnifier : public View {
 public:
  Magnifier() : View(Rect{{0, 0}, {26, 20}}) { setOpaque(false); }
  void drawRect(const Rect&) override {
    GraphicsContext* context = CurrentContext::get();
    if (!context) return;
    context->setStrokeColor(Color::fromWhite(0.55));
    context->setLineWidth(1.5);
    context->strokeEllipse({{8, 4}, {9, 9}});
    Path handle;
    handle.moveTo({15.5, 11.5});
    handle.lineTo({19, 15});
    context->strokePath(handle);
  }
};

}  // namespace

// Passes the field's questions and news on to the search bar's delegate.
class SearchBar::FieldDelegate : public TextFieldDelegate {
 public:
  explicit FieldDelegate(SearchBar& bar) : bar_(bar) {}
  bool textFieldShouldBeginEditing(TextField&) override {
    auto delegate = bar_.delegate_.lock();
    return !delegate || delegate->searchBarShouldBeginEditing(bar_);
  }
  void textFieldDidBeginEditing(TextField&) override {
    if (auto delegate = bar_.delegate_.lock()) delegate->searchBarTextDidBeginEditing(bar_);
  }
  bool textFieldShouldEndEditing(TextField&) override {
    auto delegate = bar_.delegate_.lock();
    return !delegate || delegate->searchBarShouldEndEditing(bar_);
  }
  void textFieldDidEndEditing(TextField&) override {
    if (auto delegate = bar_.delegate_.lock()) delegate->searchBarTextDidEndEditing(bar_);
  }
  bool shouldChangeCharactersInRange(TextField&, utf16::Range range, const std::string& text) override {
    auto delegate = bar_.delegate_.lock();
    return !delegate || delegate->shouldChangeTextInRange(bar_, range, text);
  }
  bool textFieldShouldReturn(TextField&) override {
    if (auto delegate = bar_.delegate_.lock()) delegate->searchBarSearchButtonClicked(bar_);
    return true;
  }

 private:
  SearchBar& bar_;
};

SearchBar::SearchBar() : SearchBar(Rect({0, 0}, {320, kHeight})) {}

SearchBar::SearchBar(const Rect& frame)
    : View(frame),
      background_(std::make_shared<View>(Rect({0, 0}, frame.size))),
      field_(std::make_shared<TextField>()),
      cancel_(Button::buttonWithType(Button::Type::Custom)),
      fieldDelegate_(std::make_shared<FieldDelegate>(*this)) {
  background_->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  background_->setUserInteractionEnabled(false);
  background_->setBackgroundColor(Color::fromRgba(201 / 255.0, 201 / 255.0, 206 / 255.0));
  field_->setDelegate(fieldDelegate_);
  field_->setFont(Font::systemFont(14));
  field_->setClearButtonMode(TextField::ViewMode::WhileEditing);
  field_->setReturnKeyType(ReturnKeyType::Search);
  field_->setLeftView(std::make_shared<Magnifier>());
  field_->setLeftViewMode(TextField::ViewMode::Always);
  field_->setBackgroundColor(Color::white());
  field_->layer()->setCornerRadius(5);
  field_->setClipsToBounds(true);
  field_->addAction(
      [this](Control&, unsigned) {
        if (auto delegate = delegate_.lock()) delegate->textDidChange(*this, field_->text());
      },
      Control::kEditingChanged);
  cancel_->setTitle("Cancel", Control::kNormal);
  cancel_->setTitleColor(SystemStyle::tint(), Control::kNormal);
  cancel_->setTitleColor(SystemStyle::tint().withAlpha(0.3), Control::kHighlighted);
  cancel_->addAction(
      [this](Control&, unsigned) {
        if (auto delegate = delegate_.lock()) delegate->searchBarCancelButtonClicked(*this);
      },
      Control::kTouchUpInside);
}

SearchBar::~SearchBar() {
  field_->setDelegate({});
}

std::string SearchBar::text() const {
  return field_->text();
}

void SearchBar::setText(std::optional<std::string> text) {
  field_->setText(std::move(text));
}

std::optional<std::string> SearchBar::placeholder() const {
  return field_->placeholder();
}

void SearchBar::setPlaceholder(std::optional<std::string> placeholder) {
  field_->setPlaceholder(std::move(placeholder));
}

void SearchBar::setShowsCancelButton(bool shows, bool animated) {
  (void)animated;
  showsCancel_ = shows;
  setNeedsLayout();
}

void SearchBar::setTintColor(std::optional<Color> color) {
  tint_ = color;
  background_->setBackgroundColor(tint_.value_or(Color::fromRgba(201 / 255.0, 201 / 255.0, 206 / 255.0)));
}

// The background goes in once, below the rest: once removed it stays away.
void SearchBar::attachParts() {
  if (!backgroundAttached_) {
    backgroundAttached_ = true;
    background_->setFrame(bounds());
    insertSubview(background_, 0);
  }
  if (field_->superview().get() != this) addSubview(field_);
  if (cancel_->superview().get() != this) addSubview(cancel_);
}

const std::shared_ptr<TextField>& SearchBar::textField() {
  attachParts();
  return field_;
}

const std::shared_ptr<Button>& SearchBar::cancelButton() {
  attachParts();
  return cancel_;
}

bool SearchBar::becomeFirstResponder() {
  attachParts();
  return field_->becomeFirstResponder();
}

bool SearchBar::resignFirstResponder() {
  return field_->resignFirstResponder();
}

Size SearchBar::sizeThatFits(Size size) const {
  return {size.width, kHeight};
}

void SearchBar::layoutSubviews() {
  attachParts();
  const Rect area = bounds();
  double right = area.maxX() - kMargin;
  cancel_->setHidden(!showsCancel_);
  if (showsCancel_) {
    cancel_->sizeToFit();
    const Size size = cancel_->frame().size;
    cancel_->setFrame({{right - size.width, std::floor((area.size.height - size.height) / 2)}, size});
    right -= size.width + kMargin;
  }
  field_->setFrame(
      {{kMargin, std::floor((area.size.height - kFieldHeight) / 2)}, {right - kMargin, kFieldHeight}});
}


}  // namespace pf
