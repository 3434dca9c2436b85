#pragma once
// The course description of the brief tab, as formatted text; a no-description view when there is
// none. Loaded from its interface file; the text is not interactive.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace pf {
class WebView;
}  // namespace pf

class CmsBriefCell : public pf::TableViewCell {
  PF_OBJECT(CmsBriefCell, pf::TableViewCell)

  std::weak_ptr<pf::WebView> courseBriefView;
  std::weak_ptr<pf::View> noResPromptView;

  const std::optional<std::string>& brief() const { return brief_; }
  void setBrief(std::optional<std::string> brief);

  void layoutSubviews() override;

 private:
  std::optional<std::string> brief_;
};
