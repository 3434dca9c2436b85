#pragma once
// Takes one value out of the store lookup's answer text without a JSON parser: the text after the
// first quoted occurrence of the key, between the next ":" and the next "," or "}" (so a value last in
// its object is found too), trimmed, a quoted value extended over commas it holds, quotes removed and
// escapes decoded. Never reads outside the text. Stateless; any thread.

#include <optional>
#include <string>
#include <string_view>

class StoreLookupScanner {
 public:
  // nullopt when the key, its ":" or the value's end is missing.
  static std::optional<std::string> valueForKey(std::string_view key, std::string_view json);
};
