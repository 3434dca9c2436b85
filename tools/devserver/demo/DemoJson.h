#pragma once
// JSON chores the demo modules share: reading a data file, answering a document, and reading the
// parameters of a call (each a JSON text).

#include <nlohmann/json.hpp>
#include <string>

#include "tools/devserver/open/OpenAnswer.h"
#include "tools/devserver/open/OpenCall.h"

namespace devserver::demo_json {

using Json = nlohmann::json;

// The file's document; a discarded value when it is missing or no JSON.
Json readFile(const std::string& path);
// 200 with the document; text that is no UTF-8 is replaced rather than refused.
OpenAnswer answer(const Json& document);
// The parameter decoded from its JSON text; null when absent or no JSON.
Json parameter(const OpenCall& call, const std::string& name);
// The member when it is a string, else "".
std::string text(const Json& object, const char* key);
long long nowMilliseconds();

}  // namespace devserver::demo_json
