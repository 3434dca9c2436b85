#include "platform/foundation/UserDefaults.h"

#include <filesystem>

#include "platform/foundation/Error.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"

namespace pf {
namespace {

struct Standard {
  std::mutex mutex;
  std::shared_ptr<UserDefaults> instance;
};

Standard& standard() {
  static Standard s;
  return s;
}

// Arrays and dictionaries are shared by reference; the preferences keep and hand out their own.
Value deepCopy(const Value& v) {
  if (const ArrayPtr& array = v.array()) {
    auto copy = std::make_shared<Array>();
    copy->reserve(array->size());
    for (const Value& item : *array) copy->push_back(deepCopy(item));
    return copy;
  }
  if (const DictionaryPtr& dictionary = v.dictionary()) {
    auto copy = std::make_shared<Dictionary>();
    for (const auto& [key, item] : *dictionary) (*copy)[key] = deepCopy(item);
    return copy;
  }
  return v;
}

// Containers are not described: one that holds itself would never finish.
std::string describe(const Value& v) {
  if (v.isArray()) return "(an array)";
  if (v.isDictionary()) return "(a dictionary)";
  return v.description();
}

}  // namespace

std::shared_ptr<UserDefaults> UserDefaults::standardUserDefaults() {
  std::lock_guard lock(standard().mutex);
  if (!standard().instance) {
    const std::string folder = path::appendingPathComponent(Sandbox::libraryPath(), "Preferences");
    standard().instance =
        std::make_shared<UserDefaults>(path::appendingPathComponent(folder, "UserDefaults.plist"));
  }
  return standard().instance;
}

void UserDefaults::resetStandardUserDefaults() {
  std::shared_ptr<UserDefaults> previous;
  {
    std::lock_guard lock(standard().mutex);
    previous = std::move(standard().instance);
  }
  if (previous) previous->synchronize();
}

UserDefaults::UserDefaults(std::string path) : path_(std::move(path)) {
  load();
}

UserDefaults::~UserDefaults() {
  std::lock_guard lock(mutex_);
  if (changed_) writeLocked();
}

void UserDefaults::registerDefaults(const Dictionary& defaults) {
  std::lock_guard lock(mutex_);
  for (const auto& [key, value] : defaults) registered_[key] = deepCopy(value);
}

Value UserDefaults::objectForKey(const std::string& key) const {
  std::lock_guard lock(mutex_);
  if (auto found = values_.find(key); found != values_.end()) return deepCopy(found->second);
  auto registered = registered_.find(key);
  return registered == registered_.end() ? Value() : deepCopy(registered->second);
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
  const Value v = objectForKey(key);
  if (const std::string* s = v.string()) return *s;
  if (const Number* n = v.number()) return n->stringValue();
  return std::nullopt;
}

bool UserDefaults::boolForKey(const std::string& key) const {
  return objectForKey(key).boolValue();
}

long UserDefaults::integerForKey(const std::string& key) const {
  return static_cast<long>(objectForKey(key).longLongValue());
}

double UserDefaults::doubleForKey(const std::string& key) const {
  return objectForKey(key).doubleValue();
}

std::optional<Date> UserDefaults::dateForKey(const std::string& key) const {
  const Value v = objectForKey(key);
  return v.isDate() ? std::optional<Date>(*v.date()) : std::nullopt;
}

void UserDefaults::setObject(const Value& value, const std::string& key) {
  if (value.isNil()) {
    removeObjectForKey(key);
    return;
  }
  if (!PropertyList::isValidPropertyList(value)) {
    throw ContractViolation(
        "Attempt to insert non-property list object " + describe(value) + " for key " + key,
        "NSInvalidArgumentException");
  }
  Value copy = deepCopy(value);
  std::lock_guard lock(mutex_);
  values_[key] = std::move(copy);
  changed_ = true;
}

void UserDefaults::setBool(bool value, const std::string& key) {
  setObject(Number(value), key);
}

void UserDefaults::setInteger(long value, const std::string& key) {
  setObject(Number(static_cast<long long>(value)), key);
}

void UserDefaults::setDouble(double value, const std::string& key) {
  setObject(Number(value), key);
}

void UserDefaults::removeObjectForKey(const std::string& key) {
  std::lock_guard lock(mutex_);
  changed_ |= values_.erase(key) > 0;
}

bool UserDefaults::synchronize() {
  std::lock_guard lock(mutex_);
  return !changed_ || writeLocked();
}

void UserDefaults::load() {
  std::error_code ignored;
  if (!std::filesystem::exists(path_, ignored)) return;
  ErrorPtr error;
  Value stored = PropertyList::propertyListWithContentsOfFile(path_, &error);
  if (stored.isDictionary()) {
    values_ = std::move(*stored.dictionary());
    return;
  }
  // Keep the unreadable file for whoever looks into it; writing over it would lose it for good.
  const std::string reason = error ? error->localizedDescription() : "its top level is no dictionary";
  const std::string aside = path_ + ".corrupt";
  std::error_code moveError;
  std::filesystem::rename(path_, aside, moveError);
  if (moveError) {
    logf("UserDefaults: %@ is unreadable (%@) and could not be moved aside: %@", path_, reason,
         moveError.message());
  } else {
    logf("UserDefaults: %@ is unreadable (%@); kept as %@, starting empty", path_, reason, aside);
  }
}

bool UserDefaults::writeLocked() {
  std::error_code folderError;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), folderError);
  ErrorPtr error;
  if (!PropertyList::writeToFile(Value(values_), path_, PropertyList::Format::Binary, &error)) {
    logf("UserDefaults: could not write %@: %@", path_,
         error ? error->localizedDescription() : "unknown error");
    return false;
  }
  changed_ = false;
  return true;
}

}  // namespace pf
