#include "tools/devserver/demo/DemoJson.h"

#include <chrono>
#include <fstream>
#include <sstream>

namespace devserver::demo_json {

Json readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return Json::parse(content.str(), nullptr, false);
}

OpenAnswer answer(const Json& document) {
  return OpenAnswer::json(document.dump(-1, ' ', false, Json::error_handler_t::replace));
}

Json parameter(const OpenCall& call, const std::string& name) {
  const auto it = call.parameters.find(name);
  return it == call.parameters.end() ? Json() : Json::parse(it->second, nullptr, false);
}

std::string text(const Json& object, const char* key) {
  if (!object.is_object()) return {};
  const auto it = object.find(key);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

long long nowMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace devserver::demo_json
