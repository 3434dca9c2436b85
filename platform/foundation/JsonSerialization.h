#pragma once
// JSON text to values and back. Reading keeps integers and reals apart (each number keeps the letter
// of what it was: "q", "Q" above the signed range, "d" for reals, "c" for true/false), and writing puts
// reals with a fraction or exponent, so a round trip answers what went in. Nothing here throws: a
// failure answers nil with an Error of domain "NSCocoaErrorDomain" (3840 reading, 3851 writing).
// Stateless; safe on any thread.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

namespace pf {

class JsonSerialization {
 public:
  // Reading options, a bit set. Without ReadingAllowFragments the top level must be an array or an
  // object.
  enum ReadingOptions : unsigned { ReadingAllowFragments = 4 };
  // Writing options, a bit set. Pretty printing indents by two blanks and writes "key" : value.
  // Without WritingFragmentsAllowed the top level must be an array or a dictionary.
  enum WritingOptions : unsigned { WritingPrettyPrinted = 1, WritingFragmentsAllowed = 4 };

  // Objects become dictionaries, arrays arrays, null the null marker.
  static Value JSONObjectWithData(const Data& data, unsigned options = 0, ErrorPtr* error = nullptr);
  static Value JSONObjectWithString(std::string_view text, unsigned options = 0, ErrorPtr* error = nullptr);
  // Reads a document whose top level is an array one element at a time: each complete element goes to
  // take and is not kept, so a long list never stands in memory whole as values. false (with error)
  // when the text is not JSON or not an array, or when take answered false.
  static bool forEachArrayElement(std::string_view text, const std::function<bool(Value)>& take,
                                  ErrorPtr* error = nullptr);

  // UTF-8 JSON text. Dates, data, objects, nil, NaN and infinite numbers and broken UTF-8 are errors.
  static std::optional<Data> dataWithJSONObject(const Value& value, unsigned options = 0,
                                                ErrorPtr* error = nullptr);
  static std::optional<std::string> stringWithJSONObject(const Value& value, unsigned options = 0,
                                                         ErrorPtr* error = nullptr);
};

}  // namespace pf
