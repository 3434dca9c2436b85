#include "app/components/richlabel/RichLabelComponent.h"

#include "platform/foundation/Utf16.h"

std::shared_ptr<RichLabelComponent> RichLabelComponent::componentWithString(std::string text,
                                                                            std::optional<std::string> tag,
                                                                            Attributes attributes) {
  auto made = std::make_shared<RichLabelComponent>();
  made->text = std::move(text);
  made->tagLabel = std::move(tag);
  made->attributes = std::move(attributes);
  return made;
}

std::shared_ptr<RichLabelComponent> RichLabelComponent::componentWithTag(std::optional<std::string> tag,
                                                                         int position, Attributes attributes) {
  auto made = std::make_shared<RichLabelComponent>();
  made->tagLabel = std::move(tag);
  made->position = position;
  made->attributes = std::move(attributes);
  return made;
}

int RichLabelComponent::length() const { return text ? static_cast<int>(pf::utf16::length(*text)) : 0; }

std::string RichLabelComponent::description() const {
  std::string out = "text: " + (text ? *text : std::string("(null)"));
  out += ", position: " + std::to_string(position);
  if (tagLabel) out += ", tag: " + *tagLabel;
  if (!attributes.empty()) {
    out += ", attributes: {";
    for (const auto& [key, value] : attributes) out += " " + key + " = " + value + ";";
    out += " }";
  }
  return out;
}
