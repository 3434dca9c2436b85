#pragma once
// A folder of resources with an "Info.plist" describing it, standing in for the application bundle.
// The main bundle is the folder named by $MARLUNE_BUNDLE, else "resources" beside the executable;
// tests point it elsewhere with setMainBundlePath. A bundle is immutable once made (its information
// dictionary is read at construction), so it may be shared across threads.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {

class Bundle {
 public:
  static std::shared_ptr<Bundle> mainBundle();
  // Replaces the main bundle; an empty path goes back to the default folder.
  static void setMainBundlePath(const std::string& path);

  // A missing or unreadable "Info.plist" gives an empty information dictionary (unreadable is logged).
  explicit Bundle(std::string path);

  const std::string& bundlePath() const { return path_; }

  // "<bundle>/<directory>/<name>.<type>" when something exists there; an empty type takes the name as
  // it is. Names and folders that would lead out of the bundle ("..", absolute paths) find nothing.
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                             const std::string& directory) const;

  // The languages the bundle has texts for: its "<language>.lproj" folders, without the extension.
  std::vector<std::string> localizations() const;
  // The text of the key in the table "<table>.strings" (a property-list dictionary; table empty means
  // "Localizable") of the first preferred language the bundle has, else of the bundle's top folder;
  // otherwise value when it is given, else the key itself.
  std::string localizedStringForKey(const std::string& key, const std::optional<std::string>& value = std::nullopt,
                                    const std::string& table = "") const;

  const Dictionary& infoDictionary() const { return info_; }
  // Nil when absent.
  Value objectForInfoDictionaryKey(const std::string& key) const;

 private:
  const std::string path_;
  Dictionary info_;
};

}  // namespace pf
