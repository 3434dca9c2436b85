#include "platform/foundation/Locale.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace pf {

namespace {

struct LocaleOverride {
  std::mutex mutex;
  std::optional<std::string> identifier;
  std::vector<std::string> languages;
};

LocaleOverride& localeOverride() {
  static LocaleOverride instance;
  return instance;
}

std::string localeEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The identifier the environment names for messages; "C" and "POSIX" name no language.
std::string environmentIdentifier() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = localeEnvironment(name);
    if (!value.empty()) return value == "C" || value == "POSIX" || value.starts_with("C.") ? "" : value;
  }
  return "";
}

// "zh_CN.UTF-8@euro" without its encoding and modifier.
std::string localeBase(const std::string& identifier) {
  return identifier.substr(0, identifier.find_first_of(".@"));
}

}  // namespace

std::string Locale::languageOfIdentifier(const std::string& identifier) {
  const std::string base = localeBase(identifier);
  const std::string language = base.substr(0, base.find_first_of("_-"));
  if (language != "zh") return language;
  const std::string country = countryOfIdentifier(identifier);
  return country == "TW" || country == "HK" || country == "MO" ? "zh-Hant" : "zh-Hans";
}

std::string Locale::countryOfIdentifier(const std::string& identifier) {
  const std::string base = localeBase(identifier);
  const auto separator = base.find_first_of("_-");
  return separator == std::string::npos ? "" : base.substr(separator + 1);
}

std::string Locale::countryCode() {
  {
    std::lock_guard lock(localeOverride().mutex);
    if (localeOverride().identifier) return countryOfIdentifier(*localeOverride().identifier);
  }
  return countryOfIdentifier(environmentIdentifier());
}

std::vector<std::string> Locale::preferredLanguages() {
  std::vector<std::string> languages;
  std::string identifier;
  {
    std::lock_guard lock(localeOverride().mutex);
    languages = localeOverride().languages;
    identifier = localeOverride().identifier.value_or(environmentIdentifier());
  }
  if (languages.empty()) {
    // LANGUAGE lists the wanted languages, separated by ":".
    std::string list = localeEnvironment("LANGUAGE");
    for (std::size_t start = 0; start < list.size();) {
      const auto end = std::min(list.find(':', start), list.size());
      if (end > start) languages.push_back(languageOfIdentifier(list.substr(start, end - start)));
      start = end + 1;
    }
  }
  if (languages.empty() && !identifier.empty()) languages.push_back(languageOfIdentifier(identifier));
  if (languages.empty()) languages.push_back("en");
  return languages;
}

void Locale::setCurrent(std::optional<std::string> identifier, std::vector<std::string> languages) {
  std::lock_guard lock(localeOverride().mutex);
  localeOverride().identifier = std::move(identifier);
  localeOverride().languages = std::move(languages);
}

}  // namespace pf
