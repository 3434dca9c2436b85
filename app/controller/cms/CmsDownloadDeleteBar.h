#pragma once
// The download manager's bar in edit mode, over the tab bar: select all (or none) on the left,
// "删除(n)" on the right.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsDownloadDeleteBarDelegate.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
class Label;
}  // namespace pf

class CmsDownloadDeleteBar : public pf::View {
  PF_OBJECT(CmsDownloadDeleteBar, pf::View)

  static constexpr char kSelectAll[] = "全选";
  static constexpr char kSelectNone[] = "取消";

  std::weak_ptr<CmsDownloadDeleteBarDelegate> delegete;
  std::weak_ptr<pf::Label> rightLabel;
  std::weak_ptr<pf::Label> leftLabel;
  std::weak_ptr<pf::Label> leftBtn;
  std::weak_ptr<pf::Button> selectAllBtn;
  std::weak_ptr<pf::Button> deletebtn;
  int totalCount = 0;

  int deleteCount() const { return deleteCount_; }
  // "删除(n)"; all marked shows "取消" (select none) on the left, otherwise "全选".
  void setDeleteCount(int count);
  bool isSelectAll() const { return selectAll_; }
  // Hiding forgets the marks' count.
  void setHidden(bool hidden) override;

  void selectAllBtnClick();
  void deleteBtnClick();

 private:
  void showLeftText(const char* text);

  int deleteCount_ = 0;
  bool selectAll_ = false;
};
