#include "tools/devserver/open/OpenAnswer.h"

#include <nlohmann/json.hpp>

namespace devserver {

OpenAnswer OpenAnswer::json(std::string body) {
  return OpenAnswer{200, std::move(body), false};
}

OpenAnswer OpenAnswer::string(const std::string& text) {
  return json(nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

OpenAnswer OpenAnswer::success(bool success) {
  return json(nlohmann::json{{"success", success}}.dump());
}

OpenAnswer OpenAnswer::error(std::string errorCode, std::string cause, std::string description) {
  return errors({Record{std::move(errorCode), std::move(cause), std::move(description)}});
}

OpenAnswer OpenAnswer::errors(std::vector<Record> records) {
  nlohmann::json list = nlohmann::json::array();
  for (const Record& record : records) {
    list.push_back(
        {{"errorCode", record.errorCode}, {"cause", record.cause}, {"description", record.description}});
  }
  return OpenAnswer{200, list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), true};
}

OpenAnswer OpenAnswer::status(int status, std::string body) {
  return OpenAnswer{status, std::move(body), false};
}

}  // namespace devserver
