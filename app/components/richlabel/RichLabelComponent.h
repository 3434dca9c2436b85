#pragma once
// One style span of rich-text markup: the tag that opened it, its attributes, where it begins in the
// plain text (UTF-16 units) and the plain text it covers once its end tag was met. A span that was
// never closed has no text and styles nothing; kNotFound marks a span whose tag was not located.

#include <map>
#include <memory>
#include <optional>
#include <string>

class RichLabelComponent {
 public:
  using Attributes = std::map<std::string, std::string>;
  // The platform's not-found marker of a substring search.
  static constexpr int kNotFound = 0x7fffffff;

  static std::shared_ptr<RichLabelComponent> componentWithString(std::string text, std::optional<std::string> tag,
                                                                 Attributes attributes);
  static std::shared_ptr<RichLabelComponent> componentWithTag(std::optional<std::string> tag, int position,
                                                              Attributes attributes);

  // The span's length in UTF-16 units; 0 while it has no text.
  int length() const;
  // "text: …, position: …" and the tag and attributes when set.
  std::string description() const;

  int componentIndex = 0;
  std::optional<std::string> text;
  std::optional<std::string> tagLabel;
  Attributes attributes;
  int position = 0;
};

using RichLabelComponentPtr = std::shared_ptr<RichLabelComponent>;
