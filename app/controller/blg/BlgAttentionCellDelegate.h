#pragma once
// What a follow-list row tells its list: its follow button was tapped.

class MyAttentionCell;

class BlgAttentionCellDelegate {
 public:
  virtual ~BlgAttentionCellDelegate() = default;
  virtual void attentionBtnPressedWithCell(MyAttentionCell& cell) = 0;
};
