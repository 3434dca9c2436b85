#pragma once
// The view a grid places at each item: it wraps the content view its data source gives, passes its
// highlight down to every descendant of that content that can show one (a touched icon lights up its
// name), carries a delete button that fades in while the grid edits, wobbles while edited or dragged,
// and can show a full-size view in place of its content (pinched open). Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
}

class GridViewCell : public pf::View {
 public:
  using DeleteBlock = std::function<void(GridViewCell& cell)>;

  static constexpr double kDeleteButtonSide = 35;
  static constexpr double kDeleteFadeDuration = 0.2;
  static constexpr double kFullSizeSwitchDuration = 0.3;

  GridViewCell();
  explicit GridViewCell(const pf::Rect& frame);
  ~GridViewCell() override;

  const std::shared_ptr<pf::View>& contentView() const { return contentView_; }
  // The new view takes the frame of the one it replaces (the cell's bounds for the first).
  void setContentView(const std::shared_ptr<pf::View>& view);
  const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
  void setReuseIdentifier(std::optional<std::string> identifier) { reuseIdentifier_ = std::move(identifier); }

  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  bool isEditing() const { return editing_; }
  void setEditing(bool editing);
  void setEditing(bool editing, bool animated);
  bool isInShakingMode() const { return inShakingMode_; }
  bool isInFullSizeMode() const { return inFullSizeMode_; }

  const std::shared_ptr<pf::View>& fullSizeView() const { return fullSizeView_; }
  void setFullSizeView(const std::shared_ptr<pf::View>& view);
  pf::Size fullSize() const { return fullSize_; }
  void setFullSize(pf::Size size);
  unsigned defaultFullsizeViewResizingMask() const { return defaultFullsizeViewResizingMask_; }
  void setDefaultFullsizeViewResizingMask(unsigned mask) { defaultFullsizeViewResizingMask_ = mask; }

  // The cell's own subview (placed in the cell once the cell is shared, at the first use).
  std::shared_ptr<pf::Button> deleteButton();
  std::shared_ptr<const pf::Image> deleteButtonIcon();
  // Without an icon: a 35 x 35 light grey button titled "X"; with one, the icon's size and no title.
  void setDeleteButtonIcon(std::shared_ptr<const pf::Image> icon);
  pf::Point deleteButtonOffset();
  void setDeleteButtonOffset(pf::Point offset);
  const DeleteBlock& deleteBlock() const { return deleteBlock_; }
  void setDeleteBlock(DeleteBlock block) { deleteBlock_ = std::move(block); }

  // Starts or stops the content view's wobble.
  void shake(bool on);
  void switchToFullSizeMode(bool on);
  // Accepted and ignored: the full-size view shows at once when switched to.
  void stepToFullsizeWithAlpha(float /*alpha*/) {}
  // Before the cell is handed out again: no edit state, full-size view, delete block or highlight.
  void prepareForReuse();
  void actionDelete();

  void layoutSubviews() override;
  // A touch highlights the cell until it ends; touches go no further.
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesMoved(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesEnded(const pf::TouchSet& touches, const pf::Event* event) override;
  void touchesCancelled(const pf::TouchSet& touches, const pf::Event* event) override;

 private:
  void makeDeleteButton();
  // Views join a superview only once they are owned: the button moves in at the first chance.
  void attachDeleteButton();
  void didMoveToSuperview() override;

  std::shared_ptr<pf::View> contentView_;
  std::shared_ptr<pf::View> fullSizeView_;
  std::shared_ptr<pf::Button> deleteButton_;
  std::optional<std::string> reuseIdentifier_;
  DeleteBlock deleteBlock_;
  pf::Size fullSize_;
  unsigned defaultFullsizeViewResizingMask_ = 0;
  bool highlighted_ = false;
  bool editing_ = false;
  bool inShakingMode_ = false;
  bool inFullSizeMode_ = false;
};
