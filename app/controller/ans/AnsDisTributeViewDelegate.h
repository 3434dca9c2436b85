#pragma once
// What a Q&A text overlay tells the screen that opened it: its send (or save) and cancel buttons were
// tapped. What they do is the opener's. Both operations are optional.

class AnsDisTributeViewDelegate {
 public:
  virtual ~AnsDisTributeViewDelegate() = default;
  virtual void selectedLeftBtnItem() {}
  virtual void selectedRightBtnItem() {}
};
