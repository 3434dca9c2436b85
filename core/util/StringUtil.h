#pragma once
// Text helpers of the storage framework: column names from property names, nil/blank tests, HTML escaping.

#include <optional>
#include <string>
#include <string_view>

class StringUtil {
 public:
  // courseId gives course_id, URL gives u_r_l, Name gives name. Empty text is a contract fault.
  static std::string dbColumnNameWithString(std::string_view propName);
  static bool isNullOrEmpty(const std::optional<std::string>& text);
  // Empty after trimming blanks and tabs; line breaks count as content.
  static bool isBlank(const std::optional<std::string>& text);
  // The text as HTML shows it literally: & < > " and ' become entities.
  static std::string htmlEscaped(std::string_view text);
};
