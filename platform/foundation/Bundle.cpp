#include "platform/foundation/Bundle.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/foundation/Error.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace pf {
namespace {

struct Main {
  std::mutex mutex;
  std::shared_ptr<Bundle> bundle;
};

Main& mainSlot() {
  static Main m;
  return m;
}

std::string defaultMainPath() {
  if (const char* folder = std::getenv("MARLUNE_BUNDLE"); folder && *folder) return folder;
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return path::appendingPathComponent(error ? "." : executable.parent_path().string(), "resources");
}

// Whether a relative piece of a resource path stays inside the bundle folder.
bool staysInside(const std::filesystem::path& relative) {
  if (relative.is_absolute()) return false;
  for (const auto& part : relative.lexically_normal()) {
    if (part == "..") return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<Bundle> Bundle::mainBundle() {
  std::lock_guard lock(mainSlot().mutex);
  if (!mainSlot().bundle) mainSlot().bundle = std::make_shared<Bundle>(defaultMainPath());
  return mainSlot().bundle;
}

void Bundle::setMainBundlePath(const std::string& path) {
  auto bundle = std::make_shared<Bundle>(path.empty() ? defaultMainPath() : path);
  std::lock_guard lock(mainSlot().mutex);
  mainSlot().bundle = std::move(bundle);
}

Bundle::Bundle(std::string path) : path_(std::move(path)) {
  const std::string infoPath = path::appendingPathComponent(path_, "Info.plist");
  std::error_code ignored;
  if (!std::filesystem::exists(infoPath, ignored)) return;
  ErrorPtr error;
  const Value info = PropertyList::propertyListWithContentsOfFile(infoPath, &error);
  if (info.isDictionary()) {
    info_ = *info.dictionary();
  } else {
    logf("Bundle: %@ is no readable dictionary: %@", infoPath,
         error ? error->localizedDescription() : "its top level is another kind");
  }
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const {
  return pathForResource(name, type, "");
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type,
                                                   const std::string& directory) const {
  if (name.empty()) return std::nullopt;
  const std::string extension = type.starts_with('.') ? type.substr(1) : type;
  const std::string file = extension.empty() ? name : name + "." + extension;
  const std::string relative = directory.empty() ? file : path::appendingPathComponent(directory, file);
  if (!staysInside(relative)) return std::nullopt;
  const std::string candidate = path::appendingPathComponent(path_, relative);
  std::error_code ignored;
  if (!std::filesystem::exists(candidate, ignored)) return std::nullopt;
  return candidate;
}

Value Bundle::objectForInfoDictionaryKey(const std::string& key) const {
  auto found = info_.find(key);
  return found == info_.end() ? Value() : found->second;
}

namespace {

std::optional<std::string> bundleTableText(const std::string& file, const std::string& key) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(file, ignored)) return std::nullopt;
  const Value table = PropertyList::propertyListWithContentsOfFile(file);
  const DictionaryPtr texts = table.dictionary();
  if (!texts) return std::nullopt;
  const auto found = texts->find(key);
  if (found == texts->end() || !found->second.string()) return std::nullopt;
  return *found->second.string();
}

}  // namespace

std::vector<std::string> Bundle::localizations() const {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path_, error)) {
    if (entry.is_directory(error) && entry.path().extension() == ".lproj") found.push_back(entry.path().stem().string());
  }
  return found;
}

std::string Bundle::localizedStringForKey(const std::string& key, const std::optional<std::string>& value,
                                          const std::string& table) const {
  const std::string file = (table.empty() ? std::string("Localizable") : table) + ".strings";
  for (const std::string& language : Locale::preferredLanguages()) {
    const auto folder = pathForResource(language, "lproj");
    if (!folder) continue;
    if (auto text = bundleTableText(path::appendingPathComponent(*folder, file), key)) return *text;
    break;
  }
  if (auto text = bundleTableText(path::appendingPathComponent(path_, file), key)) return *text;
  return value.value_or(key);
}

}  // namespace pf
