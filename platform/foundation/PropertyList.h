#pragma once
// Property lists (XML or binary, told apart by their first bytes) to values and back: dictionaries,
// arrays, strings, integers ("q"), reals ("d"), booleans ("c"), dates and data. Failures answer nil or
// false with an Error of domain "NSCocoaErrorDomain" and never throw; malformed input included.
// Stateless; safe on any thread.
//
// Limits of the format as written here: integers above the signed 64-bit range, dates outside about
// 1933-2069, strings holding NUL or broken UTF-8, nil, the null marker and model objects are refused.
// XML keeps dates to the second; binary keeps microseconds.

#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

namespace pf {

class PropertyList {
 public:
  enum class Format { Xml, Binary };

  // Error codes (domain "NSCocoaErrorDomain").
  static constexpr long kFileNoSuchFileError = 260;
  static constexpr long kFileReadUnknownError = 256;
  static constexpr long kFileWriteUnknownError = 512;
  static constexpr long kFileWriteNoPermissionError = 513;
  static constexpr long kFileWriteOutOfSpaceError = 640;
  static constexpr long kReadCorruptError = 3840;
  static constexpr long kWriteInvalidError = 3851;

  // format, when given, receives the format the data was in.
  static Value propertyListWithData(const Data& data, Format* format = nullptr, ErrorPtr* error = nullptr);
  static Value propertyListWithContentsOfFile(const std::string& path, ErrorPtr* error = nullptr);

  static std::optional<Data> dataWithPropertyList(const Value& value, Format format,
                                                  ErrorPtr* error = nullptr);
  // Atomic: the bytes go to a temporary file in the same folder, are flushed to disk and then renamed
  // over the path, so a reader sees the old file or the new one, never a part.
  static bool writeToFile(const Value& value, const std::string& path, Format format,
                          ErrorPtr* error = nullptr);

  // Whether dataWithPropertyList would accept the value.
  static bool isValidPropertyList(const Value& value);
};

}  // namespace pf
