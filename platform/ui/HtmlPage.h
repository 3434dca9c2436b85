#pragma once
// A page's HTML read as the web view shows it: its title, its body's markup as written, and its text
// as blocks with their links. Broken markup is recovered, nothing is fetched.

#include <string>
#include <vector>

#include "platform/foundation/Utf16.h"

namespace pf {

struct HtmlPage {
  // A link's text within its block (UTF-16 units) and its address as written.
  struct Link {
    utf16::Range range;
    std::string href;
  };
  // One block of the page's text.
  struct Block {
    enum class Kind { Heading, Paragraph, ListItem, Preformatted };
    Kind kind = Kind::Paragraph;
    int level = 0;  // heading level
    std::string text;
    std::vector<Link> links;
  };

  static HtmlPage read(const std::string& html);

  std::string title;
  std::string bodyHtml;
  std::vector<Block> blocks;
};

}  // namespace pf
