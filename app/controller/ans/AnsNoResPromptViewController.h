#pragma once
// A screen for an empty result: an icon and a prompt. Nothing opens it yet.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class AnsNoResPromptViewController : public BaseViewController {
  PF_OBJECT(AnsNoResPromptViewController, BaseViewController)

  using BaseViewController::BaseViewController;

  std::weak_ptr<pf::ImageView> iconImgView;
  std::weak_ptr<pf::Label> promptLabel;

  void viewDidUnload() override;
};
