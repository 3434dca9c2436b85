#pragma once
// What one parse of rich-text markup gives: the plain text and its spans, in the order their start
// tags occur in the markup.

#include <memory>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabelComponent.h"

class RichLabelExtractedComponent {
 public:
  static std::shared_ptr<RichLabelExtractedComponent> richLabelExtractComponentsWithTextComponent(
      std::vector<RichLabelComponentPtr> textComponents, std::string plainText);

  std::vector<RichLabelComponentPtr> textComponents;
  std::string plainText;
};

using RichLabelExtractedComponentPtr = std::shared_ptr<RichLabelExtractedComponent>;
