#pragma once
// One remembered catalogue search of one user (table cms_search_info, key search_id, filled by the
// store when a new row is saved).

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class CmsSearchInfo : public pf::Object {
  PF_OBJECT(CmsSearchInfo, pf::Object)

  std::optional<std::string> searchId;
  std::optional<std::string> userId;
  // The searched text.
  std::optional<std::string> title;
  // When it was last searched.
  std::optional<pf::Date> lastTime;

  static void declareProperties(pf::ClassBuilder<CmsSearchInfo>& b);
};
