#pragma once
// The composer's photo, full screen, with a button "删除" that drops it and returns.
//
// Main thread only.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"

namespace pf {
class Image;
class ImageView;
}  // namespace pf
class WblgShowImageDelegate;

class WblgShowImageViewController : public BlgBaseViewController {
  PF_OBJECT(WblgShowImageViewController, BlgBaseViewController)

  static constexpr char kDeleteTitle[] = "删除";

  WblgShowImageViewController();
  explicit WblgShowImageViewController(std::string nibName);
  ~WblgShowImageViewController() override;

  std::shared_ptr<const pf::Image> img;
  std::weak_ptr<WblgShowImageDelegate> delegate;
  std::shared_ptr<pf::ImageView> showImgView;

  void viewDidLoad() override;
  void rightBtnPressed() override;
};
