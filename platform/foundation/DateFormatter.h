#pragma once
// Writes and reads dates in a fixed pattern, in the device's local time zone (TZ) with English names.
// Pattern letters: yyyy yy y (year), MM M (month), dd d (day), HH H (hour 0-23), hh h (hour 1-12),
// mm m (minute), ss s (second), S.. (fraction of a second, SSS milliseconds), a (AM/PM),
// EEE EEEE (weekday, short or full). Text between single quotes is literal ('' is a quote); any other
// character stands for itself. Reading is strict: the whole text must match, doubled letters take
// exactly that many digits, single letters one or two (years up to four), and every field must be in
// range. Missing fields default to 1970-01-01 00:00:00.000 local time; a weekday is read and ignored.
// Immutable once made, so one formatter may be used from any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {

class DateFormatter {
 public:
  explicit DateFormatter(std::string_view pattern);

  std::string stringFromDate(Date date) const;
  std::optional<Date> dateFromString(std::string_view text) const;

 private:
  // A pattern field (letter with its repeat count) or, when letter is 0, literal text.
  struct Field {
    char letter = 0;
    int count = 0;
    std::string literal;
  };

  std::vector<Field> fields_;
};

}  // namespace pf
