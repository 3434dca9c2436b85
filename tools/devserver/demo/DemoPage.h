#pragma once
// A page asked for by a demo method: the number and size from the call's "page" parameter (1 and
// 20 when it is absent, null or out of range), and the answer holding that page's share of the rows.

#include <nlohmann/json_fwd.hpp>
#include <string>

#include "tools/devserver/open/OpenAnswer.h"
#include "tools/devserver/open/OpenCall.h"

namespace devserver {

class DemoPage {
 public:
  static constexpr long long kMaxPageNo = 1000000;
  static constexpr long long kMaxPageSize = 500;

  static DemoPage fromCall(const OpenCall& call);

  // {"pageNo", "pageSize", "autoCount", "autoPaging", "total", "rows"}: total counts every row.
  OpenAnswer answer(const nlohmann::json& allRows) const;

  long long pageNo = 1;
  long long pageSize = 20;
  bool autoCount = true;
};

}  // namespace devserver
