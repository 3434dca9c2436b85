#pragma once
// The round trip of the JSON fuzz targets: the input's first byte picks the type the rest is read as;
// a value that reads is handed to the target's checks, written back as JSON, and must read again as
// that type (what the mapper writes it must read).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/json/JsonUtil.h"

template <std::size_t kTypeCount, typename Check>
int fuzzJsonRoundTrip(const std::uint8_t* bytes, std::size_t size, const char* const (&types)[kTypeCount],
                      Check&& check) {
  if (size == 0) return 0;
  const std::string type = types[bytes[0] % kTypeCount];
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);
  pf::ErrorPtr error;
  const pf::Value value = JsonUtil::objectFromJsonText(text, type, &error);
  if (value.isNil()) return 0;
  check(value);
  const std::optional<std::string> written = JsonUtil::jsonStringWithObject(value, &error);
  if (!written) return 0;
  const pf::Value again = JsonUtil::objectFromJsonString(*written, type, &error);
  if (again.isNil() && !value.isNull()) {
    std::fprintf(stderr, "written JSON does not read again as %s:\n%s\n", type.c_str(), written->c_str());
    std::abort();
  }
  return 0;
}
