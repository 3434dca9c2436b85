#pragma once
// The application's own mapping file, as far as the classes it names have been written. Entities of
// classes still awaited are left out of a copy that tests load instead of the shipped file.

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "platform/runtime/Class.h"

namespace app_test {

// Mapped classes whose modules have not written them yet. When you add one of these classes, register
// it in its module's register<Module>Classes() and remove its name here: the mapping tests then cover
// its table too.
inline const std::set<std::string>& awaitedMappedClasses() {
  static const std::set<std::string> awaited = {};
  return awaited;
}

inline std::string shippedMappingPath() {
  return std::string(MARLUNE_APP_RESOURCES) + "/DBConfig.xml";
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Class names of every entity in the mapping text, in file order.
inline std::vector<std::string> mappedClassNames(const std::string& mapping) {
  static const std::regex entity(R"(<entity className="([A-Za-z0-9_]+)\")");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(mapping.begin(), mapping.end(), entity); it != std::sregex_iterator();
       ++it) {
    names.push_back((*it)[1]);
  }
  return names;
}

// The shipped mapping without the entities of awaited classes, written to path.
inline void writeMappingOfWrittenClasses(const std::string& path) {
  std::string mapping = readText(shippedMappingPath());
  for (const std::string& name : awaitedMappedClasses()) {
    const std::regex entity("\\n *<entity className=\"" + name + "\"([^>]*/>|[^>]*>[\\s\\S]*?</entity>)");
    mapping = std::regex_replace(mapping, entity, "");
  }
  std::ofstream(path, std::ios::binary) << mapping;
}

}  // namespace app_test
