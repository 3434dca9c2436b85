#pragma once
// The footer of a list that loads more: a spinner while a page loads and the end-of-list text.
// Loaded from its interface file, which connects both outlets.

#include <memory>

#include "platform/ui/View.h"

namespace pf {
class ActivityIndicatorView;
class Label;
}  // namespace pf

class TableFooterView : public pf::View {
  PF_OBJECT(TableFooterView, pf::View)

  using pf::View::View;

  std::shared_ptr<pf::ActivityIndicatorView> activityIndicator;
  std::shared_ptr<pf::Label> infoLabel;

  // Clears the background.
  void awakeFromNib() override;
};
