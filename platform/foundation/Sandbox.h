#pragma once
// The application's home on disk, as the phone platform laid it out: Documents, Library, Library/Caches
// and tmp under one root. The root is $MARLUNE_HOME, else ~/.local/share/marlune; tests point it at a
// fresh temporary folder with setHome. Each folder is made, with its parents, when asked for; a folder
// that cannot be made is logged and its path answered anyway, so the caller's write reports the fault.
// Thread-safe: setHome may race with readers, who see the old root or the new one.

#include <string>

namespace pf {

class Sandbox {
 public:
  // An empty path goes back to the default root. A relative path is taken from the current folder.
  static void setHome(const std::string& path);
  static std::string home();

  static std::string documentsPath();
  static std::string libraryPath();
  static std::string cachesPath();
  // Without a trailing "/".
  static std::string temporaryPath();
};

}  // namespace pf
