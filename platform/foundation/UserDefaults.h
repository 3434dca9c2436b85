#pragma once
// Application preferences: a dictionary of property-list values kept in a binary property list, the
// standard one at <sandbox home>/Library/Preferences/UserDefaults.plist. Changes live in memory until
// synchronize() (or the end of the instance) writes the whole file atomically. A file that cannot be
// read is moved aside to "<file>.corrupt", logged, and the preferences start empty.
//
// Thread-safe: every operation takes the instance's lock. Values are copied in and out, so a caller
// changing an array it stored or read does not change the preferences.

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace pf {

class UserDefaults {
 public:
  // Made on first use from the sandbox home of that moment.
  static std::shared_ptr<UserDefaults> standardUserDefaults();
  // Writes the standard preferences' pending changes and drops them; the next standardUserDefaults()
  // reads the file under the sandbox home of then (tests switch homes this way).
  static void resetStandardUserDefaults();

  // Preferences kept in the property-list file at path (read now, if it exists).
  explicit UserDefaults(std::string path);
  // Writes pending changes.
  ~UserDefaults();
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  const std::string& path() const { return path_; }

  // Values answered for keys the preferences do not hold (a later registration of a key wins). Kept
  // in memory only: never written, and removing a key shows its registered value again.
  void registerDefaults(const Dictionary& defaults);

  // Nil when absent here and not registered.
  Value objectForKey(const std::string& key) const;
  // A string as it is, a number as its decimal text; otherwise none.
  std::optional<std::string> stringForKey(const std::string& key) const;
  // Numbers and strings read leniently ("YES", "1", true); anything else is NO / 0.
  bool boolForKey(const std::string& key) const;
  long integerForKey(const std::string& key) const;
  double doubleForKey(const std::string& key) const;
  std::optional<Date> dateForKey(const std::string& key) const;

  // Nil removes the key. A value a property list cannot hold (null marker, object, ...) is a
  // programming fault: ContractViolation "Attempt to insert non-property list object ...".
  void setObject(const Value& value, const std::string& key);
  void setBool(bool value, const std::string& key);
  void setInteger(long value, const std::string& key);
  void setDouble(double value, const std::string& key);
  void removeObjectForKey(const std::string& key);

  // Writes pending changes; false (and logged) when the file could not be written.
  bool synchronize();

 private:
  void load();
  bool writeLocked();

  const std::string path_;
  mutable std::mutex mutex_;
  Dictionary values_;
  Dictionary registered_;
  bool changed_ = false;
};

}  // namespace pf
