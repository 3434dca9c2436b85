#pragma once
// Turns dates into text and back for connections that store dates as text. The pattern is a
// strftime pattern ("%Y-%m-%d %H:%M:%S"), always read and written in UTC with the C locale, so the
// stored text does not depend on the device's time zone or language.

#include <optional>
#include <string>

#include "platform/foundation/Value.h"

class SqlDateFormatter {
 public:
  explicit SqlDateFormatter(std::string format) : format_(std::move(format)) {}

  const std::string& format() const { return format_; }
  // Whole seconds; a fraction is dropped.
  std::string stringFromDate(pf::Date date) const;
  // nullopt when the text does not match the pattern.
  std::optional<pf::Date> dateFromString(const std::string& text) const;

 private:
  std::string format_;
};
