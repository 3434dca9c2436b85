#pragma once
// A bar holding its background (the first subview, which callers may remove to show what lies
// behind), a rounded search field (a text field subview, so callers can reach it among the subviews)
// and, when asked, a cancel button. Typing, search (return) and cancel reach the
// delegate. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Utf16.h"
#include "platform/ui/View.h"

namespace pf {

class Button;
class SearchBar;
class TextField;

class SearchBarDelegate {
 public:
  virtual ~SearchBarDelegate() = default;
  virtual bool searchBarShouldBeginEditing(SearchBar& bar) {
    (void)bar;
    return true;
  }
  virtual void searchBarTextDidBeginEditing(SearchBar& bar) { (void)bar; }
  virtual bool searchBarShouldEndEditing(SearchBar& bar) {
    (void)bar;
    return true;
  }
  virtual void searchBarTextDidEndEditing(SearchBar& bar) { (void)bar; }
  virtual bool shouldChangeTextInRange(SearchBar& bar, utf16::Range range, const std::string& text) {
    (void)bar;
    (void)range;
    (void)text;
    return true;
  }
  virtual void textDidChange(SearchBar& bar, const std::string& searchText) {
    (void)bar;
    (void)searchText;
  }
  virtual void searchBarSearchButtonClicked(SearchBar& bar) { (void)bar; }
  virtual void searchBarCancelButtonClicked(SearchBar& bar) { (void)bar; }
};

class SearchBar : public View {
  PF_OBJECT(SearchBar, View)

  static constexpr double kHeight = 44;

  SearchBar();
  explicit SearchBar(const Rect& frame);
  ~SearchBar() override;

  std::string text() const;
  void setText(std::optional<std::string> text);
  std::optional<std::string> placeholder() const;
  void setPlaceholder(std::optional<std::string> placeholder);
  bool showsCancelButton() const { return showsCancel_; }
  void setShowsCancelButton(bool shows, bool animated = false);
  std::optional<Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<Color> color);
  std::weak_ptr<SearchBarDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<SearchBarDelegate> delegate) { delegate_ = std::move(delegate); }

  const std::shared_ptr<TextField>& textField();
  // The cancel button, shown or not.
  const std::shared_ptr<Button>& cancelButton();

  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  Size sizeThatFits(Size size) const override;
  void layoutSubviews() override;

 private:
  class FieldDelegate;
  void attachParts();

  std::shared_ptr<View> background_;
  bool backgroundAttached_ = false;
  std::shared_ptr<TextField> field_;
  std::shared_ptr<Button> cancel_;
  std::shared_ptr<FieldDelegate> fieldDelegate_;
  std::weak_ptr<SearchBarDelegate> delegate_;
  std::optional<Color> tint_;
  bool showsCancel_ = false;
};

}  // namespace pf
