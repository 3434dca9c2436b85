#pragma once
// The full-window text overlay of the Q&A screens: one text area, a counter of characters left and
// two buttons (send or save, cancel). The question detail answers (limit 400), shares (140) and edits
// an answer (400) with it; what the buttons do is the opener's, told through AnsDisTributeViewDelegate.
// Reaching the limit warns and keeps the text at the limit. Lengths count UTF-16 units and a cut never
// splits a pair.
//
// Always loaded from its interface file. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TextView.h"
#include "ui/base/BaseScrollView.h"
#include "ui/hud/ProgressHUD.h"

namespace pf {
class Button;
class Font;
class ImageView;
class Label;
}  // namespace pf
class AnsDisTributeViewDelegate;
class BaseTextView;

class AnsDistributeView : public BaseScrollView, public pf::TextViewDelegate, public ProgressHUDDelegate {
  PF_OBJECT(AnsDistributeView, BaseScrollView)

  static constexpr int kDefaultLimit = 140;
  static constexpr char kOverLimitMessage[] = "您输入的字数已超过限制长度：%d";
  // viewType values, set and read by the openers.
  static constexpr int kEditAnswer = 0;
  static constexpr int kEditQuestion = 1;
  static constexpr int kShare = 2;
  static constexpr int kAnswer = 3;

  using BaseScrollView::BaseScrollView;

  std::weak_ptr<BaseTextView> editView;
  std::weak_ptr<pf::Button> leftBtn;
  std::weak_ptr<pf::Button> rightBtn;
  std::weak_ptr<pf::Button> numBtn;
  std::weak_ptr<pf::Button> leftBgItem;
  std::weak_ptr<pf::Button> rightBgItem;
  std::weak_ptr<pf::Button> numBgItem;
  std::weak_ptr<pf::ImageView> editBgImgView;
  std::weak_ptr<pf::Label> topTitleLabel;
  std::weak_ptr<pf::View> contentView;

  // The opener's; the view never reads it.
  int viewType = kEditAnswer;
  // The text area last edited.
  std::shared_ptr<pf::TextView> currentTextView;
  std::weak_ptr<AnsDisTributeViewDelegate> delegate;

  int contentLimitedSize() const { return contentLimitedSize_; }
  // 0 stores the default.
  void setContentLimitedSize(int size);
  std::optional<std::string> content() const;
  void setContent(const std::optional<std::string>& content);
  void setContentFont(std::shared_ptr<const pf::Font> font);
  const std::optional<std::string>& leftItemTittle() const { return leftItemTittle_; }
  void setLeftItemTittle(const std::optional<std::string>& title);
  void setRightItemTittle(const std::optional<std::string>& title);
  const std::optional<std::string>& topTitle() const { return topTitle_; }
  void setTopTitle(const std::optional<std::string>& title);
  bool numBtnHidden() const { return numBtnHidden_; }
  void setNumBtnHidden(bool hidden);
  void setClearWordBtnHidden(bool hidden);
  bool topTitleHidden() const { return topTitleHidden_; }
  void setTopTitleHidden(bool hidden);
  // The limit less the text's length.
  int leftWordQty() const;

  void awakeFromNib() override;
  void layoutSubviews() override;
  void textViewDidChange(pf::TextView& textView) override;

  void leftTouchDown(const pf::ObjectPtr& sender);
  void rightTouchDown(const pf::ObjectPtr& sender);
  void selectedLeftBtn(const pf::ObjectPtr& sender);
  void selectedRightBtn(const pf::ObjectPtr& sender);

 protected:
  // A self-hiding warning over the view; the text area loses the keyboard.
  void warnOverLimit(pf::TextView& textView, int limit);
  void showCounter(int left);

 private:
  int contentLimitedSize_ = kDefaultLimit;
  std::optional<std::string> leftItemTittle_;
  std::optional<std::string> rightItemTittle_;
  std::optional<std::string> topTitle_;
  bool numBtnHidden_ = false;
  bool topTitleHidden_ = false;
};
