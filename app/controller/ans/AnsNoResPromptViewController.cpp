#include "app/controller/ans/AnsNoResPromptViewController.h"

void AnsNoResPromptViewController::viewDidUnload() {
  iconImgView.reset();
  promptLabel.reset();
  BaseViewController::viewDidUnload();
}
