#pragma once
// A course promoted at the top of the catalogue.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class PopularizeResource : public BaseDomain {
  PF_OBJECT(PopularizeResource, BaseDomain)

  std::optional<std::string> popularizeId;
  std::optional<std::string> courseId;
  std::optional<std::string> courseName;
  // The promotion text, the property "description" (the member name would hide description()).
  std::optional<std::string> promotionText;
  // Cover picture addresses, largest first.
  std::optional<std::string> coverImgBig;
  std::optional<std::string> coverImgMiddle;
  std::optional<std::string> coverImgSmall;
  std::optional<std::string> coverImgLeast;
  double showOrder = 0;

  static void declareProperties(pf::ClassBuilder<PopularizeResource>& b);
};
