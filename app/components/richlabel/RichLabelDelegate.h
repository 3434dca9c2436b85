#pragma once
// Hears which link of a rich-text label was tapped. Both operations are optional; a tap sends the
// URL first, then the href text.

#include <optional>
#include <string>

class RichLabel;

class RichLabelDelegate {
 public:
  virtual ~RichLabelDelegate() = default;
  // The link's href as a URL; nullopt when the href is no valid URL.
  virtual void richLabelDidSelectLinkWithURL(RichLabel& label, const std::optional<std::string>& url) {
    (void)label;
    (void)url;
  }
  // The link's href text.
  virtual void richLabelDidSelectLinkWithContent(RichLabel& label, const std::string& content) {
    (void)label;
    (void)content;
  }
};
