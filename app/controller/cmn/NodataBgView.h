#pragma once
// The picture and text shown over an empty list, placed just above the middle of the list when it is
// added. Loaded from its interface file, which connects both outlets.

#include <memory>

#include "platform/ui/View.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class NodataBgView : public pf::View {
  PF_OBJECT(NodataBgView, pf::View)

  using pf::View::View;

  std::weak_ptr<pf::ImageView> centerImageView;
  std::weak_ptr<pf::Label> centerLabel;

  void didMoveToSuperview() override;
};
