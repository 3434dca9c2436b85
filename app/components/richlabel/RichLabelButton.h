#pragma once
// The invisible button a rich-text label lays over one line fragment of a link: it knows the link's
// span, its href text and the href as a URL (when it is one).

#include <optional>
#include <string>

#include "platform/ui/Button.h"

class RichLabelButton : public pf::Button {
  PF_OBJECT(RichLabelButton, pf::Button)

  RichLabelButton() = default;
  explicit RichLabelButton(const pf::Rect& frame) : pf::Button(frame) {}

  // Whether the text is a URL as the platform reads one (absolute or relative).
  static bool isValidUrl(const std::string& text);

  int componentIndex = 0;
  std::optional<std::string> url;
  std::string linkConent;
};
