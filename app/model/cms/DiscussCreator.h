#pragma once
// The author of a course comment.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class DiscussCreator : public BaseDomain {
  PF_OBJECT(DiscussCreator, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> userName;
  // Avatar address.
  std::optional<std::string> faceUrl;

  static void declareProperties(pf::ClassBuilder<DiscussCreator>& b);
};
