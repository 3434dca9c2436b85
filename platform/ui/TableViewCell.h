#pragma once
// One row of a table: a content view holding a title label, a detail label (by style) and an image
// view, an accessory at the right, and the selected and highlighted looks. A table hands a cell out
// again only after prepareForReuse. Subclasses may override setFrame and layoutSubviews. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/View.h"

namespace pf {

class ImageView;
class Label;

class TableViewCell : public View {
  PF_OBJECT(TableViewCell, View)

  // The platform's numbers.
  enum class CellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
  enum class AccessoryType { None = 0, DisclosureIndicator = 1, DetailDisclosureButton = 2, Checkmark = 3 };
  enum class SelectionStyle { None = 0, Blue = 1, Gray = 2 };
  enum class EditingStyle { None = 0, Delete = 1, Insert = 2 };

  TableViewCell();
  TableViewCell(CellStyle style, std::optional<std::string> reuseIdentifier);

  CellStyle style() const { return style_; }
  const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
  void setReuseIdentifier(std::optional<std::string> identifier) { reuseIdentifier_ = std::move(identifier); }

  const std::shared_ptr<View>& contentView() const { return contentView_; }
  // The content view fitted to the cell and in place beneath the cell's other views: where an
  // interface file puts the cell's subviews, so the content view never covers their controls.
  View& placedContentView();
  const std::shared_ptr<Label>& textLabel() const { return textLabel_; }
  // Null in the default style.
  const std::shared_ptr<Label>& detailTextLabel() const { return detailTextLabel_; }
  const std::shared_ptr<ImageView>& imageView() const { return imageView_; }

  AccessoryType accessoryType() const { return accessoryType_; }
  void setAccessoryType(AccessoryType type);
  const std::shared_ptr<View>& accessoryView() const { return accessoryView_; }
  void setAccessoryView(std::shared_ptr<View> view);
  SelectionStyle selectionStyle() const { return selectionStyle_; }
  void setSelectionStyle(SelectionStyle style) { selectionStyle_ = style; }
  const std::shared_ptr<View>& backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  const std::shared_ptr<View>& selectedBackgroundView() const { return selectedBackgroundView_; }
  void setSelectedBackgroundView(std::shared_ptr<View> view);

  // Seconds an animated change of the selected or highlighted look fades over.
  static constexpr double kSelectionFadeDuration = 0.3;

  bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected, bool animated = false);
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted, bool animated = false);
  bool isEditing() const { return editing_; }
  virtual void setEditing(bool editing, bool animated = false);
  bool showingDeleteConfirmation() const { return showingDeleteConfirmation_; }
  void setShowingDeleteConfirmation(bool showing);
  // Set by the table: the hairline under the row, none when empty.
  void setSeparatorColor(std::optional<Color> color);

  // Clears the selected, highlighted and editing looks; subclasses reset their own content too.
  virtual void prepareForReuse();

  void layoutSubviews() override;
  void drawRect(const Rect& rect) override;

  // Width taken by the delete confirmation button at the right while it shows.
  static constexpr double kDeleteButtonWidth = 82;
  // Width of the delete control at the left while editing.
  static constexpr double kEditControlWidth = 38;

 private:
  void applyHighlight(bool animated);
  bool isLit() const;
  void fadeSelection(bool in);
  void endFade();
  void layOutContent();
  Rect contentFrame() const;

  CellStyle style_ = CellStyle::Default;
  std::optional<std::string> reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<Label> textLabel_;
  std::shared_ptr<Label> detailTextLabel_;
  std::shared_ptr<ImageView> imageView_;
  std::shared_ptr<View> accessoryView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> selectedBackgroundView_;
  std::optional<Color> separatorColor_;
  AccessoryType accessoryType_ = AccessoryType::None;
  SelectionStyle selectionStyle_ = SelectionStyle::Blue;
  // While a fade runs: the layer that fades the default look, or none for a selected background view.
  std::shared_ptr<Layer> fadeLayer_;
  bool fading_ = false;
  // Tells a finished fade's completion from a newer fade's.
  unsigned fadeCount_ = 0;
  bool selected_ = false;
  bool highlighted_ = false;
  bool editing_ = false;
  bool showingDeleteConfirmation_ = false;
};

}  // namespace pf
