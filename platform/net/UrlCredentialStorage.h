#pragma once
// Credentials by protection space, each space with an optional default credential. Session credentials
// live in memory only; permanent ones are also written to a property list file that only the user may
// read (mode 0600), and read back when the storage is made. Credentials with persistence None are not
// kept. There is no system key ring to hand here, so the file holds passwords in clear: its mode is the
// protection.
// Thread-safe: every call takes the storage's lock, writes to the file included.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/net/UrlCredential.h"
#include "platform/net/UrlProtectionSpace.h"

namespace pf {

class UrlCredentialStorage {
 public:
  // Credentials of one space by user name.
  using Credentials = std::map<std::string, UrlCredential>;

  // The storage of the current sandbox, file "Credentials.plist" in its Library folder; a sandbox home
  // set later gets its own storage.
  static std::shared_ptr<UrlCredentialStorage> shared();

  // A storage kept in the given file; a missing file is an empty storage, an unreadable one is logged
  // and replaced at the next permanent change.
  explicit UrlCredentialStorage(std::string path);

  UrlCredentialStorage(const UrlCredentialStorage&) = delete;
  UrlCredentialStorage& operator=(const UrlCredentialStorage&) = delete;

  Credentials credentials(const UrlProtectionSpace& space) const;
  std::map<UrlProtectionSpace, Credentials> allCredentials() const;
  std::optional<UrlCredential> defaultCredential(const UrlProtectionSpace& space) const;

  // Replaces a credential of the same user in that space. The answers are false when nothing was kept
  // (persistence None) or the file could not be written (the change stays in memory).
  bool setCredential(const UrlCredential& credential, const UrlProtectionSpace& space);
  // Keeps the credential and makes it the space's default.
  bool setDefaultCredential(const UrlCredential& credential, const UrlProtectionSpace& space);
  // Removes the user's credential (and the default, when it was that user's); false when the file could
  // not be written.
  bool removeCredential(const UrlCredential& credential, const UrlProtectionSpace& space);

 private:
  struct Space {
    Credentials credentials;
    std::optional<std::string> defaultUser;
  };

  bool store(const UrlCredential& credential, const UrlProtectionSpace& space, bool makeDefault);
  void load();
  bool save() const;

  const std::string path_;
  mutable std::mutex mutex_;
  std::map<UrlProtectionSpace, Space> spaces_;
};

}  // namespace pf
