#pragma once
// The comment detail's bar of reply, forward and share buttons; built at load, never placed on screen.

#include <memory>

#include "platform/ui/View.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmsCommentDetailBottomBar : public pf::View {
  PF_OBJECT(CmsCommentDetailBottomBar, pf::View)

  std::weak_ptr<pf::Button> reply;
  std::weak_ptr<pf::Button> transmit;
  std::weak_ptr<pf::Button> share;
};
