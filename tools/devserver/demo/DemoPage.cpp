#include "tools/devserver/demo/DemoPage.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace devserver {

DemoPage DemoPage::fromCall(const OpenCall& call) {
  DemoPage page;
  const auto it = call.parameters.find("page");
  if (it == call.parameters.end()) return page;
  const nlohmann::json asked = nlohmann::json::parse(it->second, nullptr, false);
  if (!asked.is_object()) return page;
  const nlohmann::json& number = asked.value("pageNo", nlohmann::json());
  const nlohmann::json& size = asked.value("pageSize", nlohmann::json());
  // Bounded so that the first row's index cannot overflow.
  if (number.is_number_integer() && number.get<long long>() >= 1) {
    page.pageNo = std::min(number.get<long long>(), kMaxPageNo);
  }
  if (size.is_number_integer() && size.get<long long>() >= 1) {
    page.pageSize = std::min(size.get<long long>(), kMaxPageSize);
  }
  const nlohmann::json& autoCount = asked.value("autoCount", nlohmann::json());
  if (autoCount.is_boolean()) page.autoCount = autoCount.get<bool>();
  return page;
}

OpenAnswer DemoPage::answer(const nlohmann::json& allRows) const {
  const long long total = static_cast<long long>(allRows.size());
  nlohmann::json rows = nlohmann::json::array();
  const long long first = (pageNo - 1) * pageSize;
  for (long long i = first; i < total && i < first + pageSize; ++i) rows.push_back(allRows[i]);
  const nlohmann::json page = {{"pageNo", pageNo},   {"pageSize", pageSize}, {"autoCount", autoCount},
                               {"autoPaging", true}, {"total", total},       {"rows", rows}};
  return OpenAnswer::json(page.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace devserver
