#include "platform/net/UrlCredentialStorage.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"

namespace pf {
namespace {

constexpr char kFileName[] = "Credentials.plist";

Value spaceValue(const UrlProtectionSpace& space) {
  Dictionary out = {{"host", space.host()},
                    {"port", space.port()},
                    {"protocol", space.protocol()},
                    {"isProxy", space.isProxy()},
                    {"authenticationMethod", space.authenticationMethod()}};
  if (space.realm()) out["realm"] = *space.realm();
  return out;
}

// Member lookups answer copies, so text is copied out rather than pointed at.
std::optional<std::string> stringAt(const Value& dictionary, const std::string& key) {
  Value member = dictionary[key];
  if (const std::string* text = member.string()) return *text;
  return std::nullopt;
}

std::optional<UrlProtectionSpace> spaceFrom(const Value& value) {
  auto host = stringAt(value, "host");
  auto protocol = stringAt(value, "protocol");
  auto method = stringAt(value, "authenticationMethod");
  if (!host || !protocol || !method || !value["port"].isNumber()) return std::nullopt;
  int port = value["port"].intValue();
  auto realm = stringAt(value, "realm");
  return value["isProxy"].boolValue() ? UrlProtectionSpace::proxy(*host, port, *protocol, realm, *method)
                                      : UrlProtectionSpace::server(*host, port, *protocol, realm, *method);
}

std::optional<UrlCredential> credentialFrom(const Value& value) {
  auto user = stringAt(value, "user");
  auto password = stringAt(value, "password");
  if (!user || !password) return std::nullopt;
  return UrlCredential(*user, *password, UrlCredential::Persistence::Permanent,
                       stringAt(value, "accountDomain").value_or(""));
}

// Written beside the target under a private name and mode 0600, then renamed over it: readers see the
// old file or the new one, and nobody else ever sees the passwords.
bool writePrivately(const std::string& path, const Data& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  std::string temporary = path + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool written = fchmod(fd, S_IRUSR | S_IWUSR) == 0;
  for (std::size_t done = 0; written && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) done += std::size_t(n);
  }
  written = written && fsync(fd) == 0;
  written = (::close(fd) == 0) && written;
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace

std::shared_ptr<UrlCredentialStorage> UrlCredentialStorage::shared() {
  static std::mutex mutex;
  static std::shared_ptr<UrlCredentialStorage> storage;
  std::string path = Sandbox::libraryPath() + "/" + kFileName;
  std::lock_guard lock(mutex);
  if (!storage || storage->path_ != path) storage = std::make_shared<UrlCredentialStorage>(path);
  return storage;
}

UrlCredentialStorage::UrlCredentialStorage(std::string path) : path_(std::move(path)) {
  load();
}

UrlCredentialStorage::Credentials UrlCredentialStorage::credentials(const UrlProtectionSpace& space) const {
  std::lock_guard lock(mutex_);
  auto found = spaces_.find(space);
  return found == spaces_.end() ? Credentials() : found->second.credentials;
}

std::map<UrlProtectionSpace, UrlCredentialStorage::Credentials> UrlCredentialStorage::allCredentials() const {
  std::lock_guard lock(mutex_);
  std::map<UrlProtectionSpace, Credentials> out;
  for (const auto& [space, entry] : spaces_) out.emplace(space, entry.credentials);
  return out;
}

std::optional<UrlCredential> UrlCredentialStorage::defaultCredential(const UrlProtectionSpace& space) const {
  std::lock_guard lock(mutex_);
  auto found = spaces_.find(space);
  if (found == spaces_.end() || !found->second.defaultUser) return std::nullopt;
  return found->second.credentials.at(*found->second.defaultUser);
}

bool UrlCredentialStorage::setCredential(const UrlCredential& credential, const UrlProtectionSpace& space) {
  return store(credential, space, false);
}

bool UrlCredentialStorage::setDefaultCredential(const UrlCredential& credential,
                                                const UrlProtectionSpace& space) {
  return store(credential, space, true);
}

bool UrlCredentialStorage::store(const UrlCredential& credential, const UrlProtectionSpace& space,
                                 bool makeDefault) {
  if (credential.persistence() == UrlCredential::Persistence::None) return false;
  std::lock_guard lock(mutex_);
  Space& entry = spaces_[space];
  entry.credentials.insert_or_assign(credential.user(), credential);
  if (makeDefault) entry.defaultUser = credential.user();
  return save();
}

bool UrlCredentialStorage::removeCredential(const UrlCredential& credential,
                                            const UrlProtectionSpace& space) {
  std::lock_guard lock(mutex_);
  auto found = spaces_.find(space);
  if (found == spaces_.end() || !found->second.credentials.erase(credential.user())) return true;
  if (found->second.defaultUser == credential.user()) found->second.defaultUser.reset();
  if (found->second.credentials.empty()) spaces_.erase(found);
  return save();
}

void UrlCredentialStorage::load() {
  // A file others could read (copied in, or made by an older build) is closed to them at once.
  struct stat status;
  if (::stat(path_.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO))) {
    ::chmod(path_.c_str(), S_IRUSR | S_IWUSR);
  }
  ErrorPtr error;
  Value root = PropertyList::propertyListWithContentsOfFile(path_, &error);
  if (root.isNil()) {
    if (error && error->code() != PropertyList::kFileNoSuchFileError) {
      logf("Credential storage %@ is unreadable: %@", path_, error->localizedDescription());
    }
    return;
  }
  ArrayPtr entries = root["entries"].array();
  if (!entries) return;
  for (const Value& item : *entries) {
    auto space = spaceFrom(item["protectionSpace"]);
    ArrayPtr credentials = item["credentials"].array();
    if (!space || !credentials) continue;
    Space entry;
    for (const Value& value : *credentials) {
      if (auto credential = credentialFrom(value))
        entry.credentials.insert_or_assign(credential->user(), *credential);
    }
    auto defaultUser = stringAt(item, "defaultUser");
    if (defaultUser && entry.credentials.count(*defaultUser)) entry.defaultUser = *defaultUser;
    if (!entry.credentials.empty()) spaces_[*space] = std::move(entry);
  }
}

// Writes the permanent credentials; the caller holds the lock. Nothing is written while nothing
// permanent exists and no file was there before.
bool UrlCredentialStorage::save() const {
  Array entries;
  for (const auto& [space, entry] : spaces_) {
    Array credentials;
    for (const auto& [user, credential] : entry.credentials) {
      if (credential.persistence() != UrlCredential::Persistence::Permanent) continue;
      credentials.push_back(Dictionary{{"user", credential.user()},
                                       {"password", credential.password()},
                                       {"accountDomain", credential.accountDomain()}});
    }
    if (credentials.empty()) continue;
    Dictionary item = {{"protectionSpace", spaceValue(space)}, {"credentials", std::move(credentials)}};
    if (entry.defaultUser &&
        entry.credentials.at(*entry.defaultUser).persistence() == UrlCredential::Persistence::Permanent) {
      item["defaultUser"] = *entry.defaultUser;
    }
    entries.push_back(std::move(item));
  }
  std::error_code ignored;
  if (entries.empty() && !std::filesystem::exists(path_, ignored)) return true;

  ErrorPtr error;
  auto data = PropertyList::dataWithPropertyList(Dictionary{{"entries", std::move(entries)}},
                                                 PropertyList::Format::Xml, &error);
  if (data && writePrivately(path_, *data)) return true;
  logf("Cannot write the credential storage %@", path_);
  return false;
}

}  // namespace pf
