#pragma once
// The user's locale as the system reports it: the country of the current locale and the preferred
// languages, most wanted first, as language codes ("zh-Hans", "en"). Read from the process
// environment (LC_ALL, LC_MESSAGES, LANG and LANGUAGE); tests set their own with setCurrent.
//
// Threads: any; setCurrent is for start-up and tests.

#include <optional>
#include <string>
#include <vector>

namespace pf {

class Locale {
 public:
  // The country code of the current locale ("CN", "US"); empty when the locale names none.
  static std::string countryCode();
  // The preferred languages, never empty ("en" when nothing is set).
  static std::vector<std::string> preferredLanguages();
  // Replaces what the environment says (identifier like "zh_CN"; languages in order); nullopt goes
  // back to the environment.
  static void setCurrent(std::optional<std::string> identifier, std::vector<std::string> languages = {});
  // The language code of a locale identifier: "zh_CN.UTF-8" gives "zh-Hans", "pt_BR" gives "pt".
  static std::string languageOfIdentifier(const std::string& identifier);
  // The country of a locale identifier: "zh_CN.UTF-8" gives "CN"; empty without one.
  static std::string countryOfIdentifier(const std::string& identifier);
};

}  // namespace pf
