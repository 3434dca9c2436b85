#include "tools/devserver/open/OpenCall.h"

#include <nlohmann/json.hpp>

namespace devserver {

std::optional<std::string> OpenCall::text(const std::string& name) const {
  const auto it = parameters.find(name);
  if (it == parameters.end()) return std::nullopt;
  const nlohmann::json value = nlohmann::json::parse(it->second, nullptr, false);
  if (!value.is_string()) return std::nullopt;
  return value.get<std::string>();
}

}  // namespace devserver
