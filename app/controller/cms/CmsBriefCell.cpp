#include "app/controller/cms/CmsBriefCell.h"

#include "platform/ui/WebView.h"

void CmsBriefCell::setBrief(std::optional<std::string> brief) {
  brief_ = std::move(brief);
  const bool none = !brief_ || brief_->empty();
  if (auto web = courseBriefView.lock()) {
    web->loadHTMLString(brief_.value_or(""), "");
    web->setHidden(none);
  }
  if (auto prompt = noResPromptView.lock()) prompt->setHidden(!none);
}

void CmsBriefCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  if (auto web = courseBriefView.lock()) {
    web->setUserInteractionEnabled(false);
    web->setBackgroundColor(pf::Color::clear());
    web->setOpaque(false);
  }
}
