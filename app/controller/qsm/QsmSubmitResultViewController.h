#pragma once
// Shown after a survey was sent: thanks over a card, and back to the reloaded survey list.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class ImageView;
}

class QsmSubmitResultViewController : public BaseViewController {
  PF_OBJECT(QsmSubmitResultViewController, BaseViewController)

  QsmSubmitResultViewController();
  explicit QsmSubmitResultViewController(std::string nibName);
  ~QsmSubmitResultViewController() override;

  std::weak_ptr<pf::ImageView> bgMidImageView;
  std::weak_ptr<pf::ImageView> bgBtmImageView;

  void viewDidLayoutSubviews() override;
  // Reloads the module root's list and returns to it.
  void backBtnClick();
};
