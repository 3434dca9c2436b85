#include "platform/foundation/Sandbox.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"

namespace pf {
namespace {

struct HomeSetting {
  std::mutex mutex;
  std::string path;  // empty until first asked for or set
};

HomeSetting& setting() {
  static HomeSetting instance;
  return instance;
}

// Absolute and without a trailing "/", so that joined paths read the same however the root was given.
std::string cleanRoot(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  std::string root = error ? path : absolute.lexically_normal().string();
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

std::string defaultHome() {
  if (const char* home = std::getenv("MARLUNE_HOME"); home && *home) return cleanRoot(home);
  const char* user = std::getenv("HOME");
  if (!user || !*user) {
    const passwd* entry = getpwuid(getuid());
    user = entry ? entry->pw_dir : "/tmp";
  }
  return path::appendingPathComponent(user, ".local/share/marlune");
}

std::string folder(const std::string& relative) {
  std::string path = path::appendingPathComponent(Sandbox::home(), relative);
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) logf("Sandbox: could not make the folder %@: %@", path, error.message());
  return path;
}

}  // namespace

void Sandbox::setHome(const std::string& path) {
  std::string root = path.empty() ? defaultHome() : cleanRoot(path);
  std::lock_guard lock(setting().mutex);
  setting().path = std::move(root);
}

std::string Sandbox::home() {
  std::lock_guard lock(setting().mutex);
  if (setting().path.empty()) setting().path = defaultHome();
  return setting().path;
}

std::string Sandbox::documentsPath() {
  return folder("Documents");
}

std::string Sandbox::libraryPath() {
  return folder("Library");
}

std::string Sandbox::cachesPath() {
  return folder("Library/Caches");
}

std::string Sandbox::temporaryPath() {
  return folder("tmp");
}

}  // namespace pf
