#include "app/components/richlabel/RichLabelExtractedComponent.h"

std::shared_ptr<RichLabelExtractedComponent> RichLabelExtractedComponent::richLabelExtractComponentsWithTextComponent(
    std::vector<RichLabelComponentPtr> textComponents, std::string plainText) {
  auto made = std::make_shared<RichLabelExtractedComponent>();
  made->textComponents = std::move(textComponents);
  made->plainText = std::move(plainText);
  return made;
}
