#include "platform/net/UrlCredentialStorage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "tests/support/TemporaryFolder.h"

namespace pf {
namespace {

using Persistence = UrlCredential::Persistence;

class UrlCredentialStorageTest : public testing::Test {
 protected:
  std::string path() const { return folder_.file("Library/Credentials.plist"); }
  std::unique_ptr<UrlCredentialStorage> reopen() const {
    return std::make_unique<UrlCredentialStorage>(path());
  }

  pf_test::TemporaryFolder folder_;
  const UrlProtectionSpace server_ = UrlProtectionSpace::server("Learn.Example.com", 443, "HTTPS", "Staff",
                                                                UrlProtectionSpace::kMethodDefault);
  const UrlProtectionSpace proxy_ = UrlProtectionSpace::proxy(
      "proxy.corp", 3128, UrlProtectionSpace::kProxyHttp, std::nullopt, UrlProtectionSpace::kMethodNtlm);
};

TEST_F(UrlCredentialStorageTest, KeepsPermanentCredentialsAcrossAReloadInAPrivateFile) {
  UrlCredentialStorage storage(path());
  EXPECT_TRUE(storage.setDefaultCredential({"ann", "p\xc3\xa4ss", Persistence::Permanent}, server_));
  EXPECT_TRUE(storage.setCredential({"bob", "session", Persistence::ForSession}, server_));
  EXPECT_TRUE(storage.setDefaultCredential({"svc", "pw", Persistence::Permanent, "CORP"}, proxy_));
  EXPECT_FALSE(storage.setCredential({"tmp", "pw", Persistence::None}, server_));
  EXPECT_EQ(storage.credentials(server_).size(), 2u);

  struct stat status;
  ASSERT_EQ(stat(path().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  auto reloaded = reopen();
  auto credentials = reloaded->credentials(server_);
  ASSERT_EQ(credentials.size(), 1u);
  EXPECT_EQ(credentials.at("ann"), UrlCredential("ann", "p\xc3\xa4ss", Persistence::Permanent));
  EXPECT_EQ(reloaded->defaultCredential(server_),
            UrlCredential("ann", "p\xc3\xa4ss", Persistence::Permanent));
  EXPECT_EQ(reloaded->defaultCredential(proxy_), UrlCredential("svc", "pw", Persistence::Permanent, "CORP"));
  EXPECT_EQ(reloaded->allCredentials().size(), 2u);
}

TEST_F(UrlCredentialStorageTest, SpacesDifferByRealmKindAndMethodButNotHostCase) {
  UrlCredentialStorage storage(path());
  storage.setDefaultCredential({"ann", "pw", Persistence::ForSession}, server_);
  auto sameHostOtherCase = UrlProtectionSpace::server("learn.example.COM", 443, "https", "Staff",
                                                      UrlProtectionSpace::kMethodDefault);
  EXPECT_TRUE(storage.defaultCredential(sameHostOtherCase));
  for (const auto& other : {
           UrlProtectionSpace::server("learn.example.com", 443, "https", "staff",
                                      UrlProtectionSpace::kMethodDefault),
           UrlProtectionSpace::server("learn.example.com", 443, "https", std::nullopt),
           UrlProtectionSpace::server("learn.example.com", 80, "https", "Staff"),
           UrlProtectionSpace::proxy("learn.example.com", 443, "https", "Staff"),
           UrlProtectionSpace::server("learn.example.com", 443, "https", "Staff",
                                      UrlProtectionSpace::kMethodNtlm),
       }) {
    EXPECT_FALSE(storage.defaultCredential(other));
  }
}

TEST_F(UrlCredentialStorageTest, RemovingOrDowngradingReachesTheFile) {
  UrlCredentialStorage storage(path());
  storage.setDefaultCredential({"ann", "pw", Persistence::Permanent}, server_);
  storage.setCredential({"bob", "pw", Persistence::Permanent}, server_);
  EXPECT_TRUE(storage.removeCredential({"ann", "", Persistence::None}, server_));
  EXPECT_FALSE(storage.defaultCredential(server_));
  // bob stays for this session only.
  storage.setCredential({"bob", "new", Persistence::ForSession}, server_);
  EXPECT_EQ(storage.credentials(server_).at("bob").password(), "new");

  EXPECT_TRUE(reopen()->allCredentials().empty());
}

TEST_F(UrlCredentialStorageTest, SessionOnlyUseWritesNoFile) {
  UrlCredentialStorage storage(path());
  storage.setDefaultCredential({"ann", "pw", Persistence::ForSession}, server_);
  EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(UrlCredentialStorageTest, AnUnreadableFileIsLoggedAndReplaced) {
  std::filesystem::create_directories(folder_.file("Library"));
  std::ofstream(path()) << "<plist><dict><key>entries";
  chmod(path().c_str(), 0644);
  Log::Capture log;
  UrlCredentialStorage storage(path());
  EXPECT_TRUE(storage.allCredentials().empty());
  EXPECT_TRUE(log.contains("unreadable"));
  struct stat status;
  ASSERT_EQ(stat(path().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  EXPECT_TRUE(storage.setCredential({"ann", "pw", Persistence::Permanent}, server_));
  EXPECT_EQ(reopen()->credentials(server_).size(), 1u);
}

TEST_F(UrlCredentialStorageTest, ConcurrentWritersAllLand) {
  UrlCredentialStorage storage(path());
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) {
        storage.setCredential({"u" + std::to_string(t * 10 + i), "pw", Persistence::Permanent}, server_);
        storage.defaultCredential(server_);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(reopen()->credentials(server_).size(), 40u);
}

TEST_F(UrlCredentialStorageTest, SharedStorageFollowsTheSandbox) {
  Sandbox::setHome(folder_.path());
  auto shared = UrlCredentialStorage::shared();
  EXPECT_EQ(shared, UrlCredentialStorage::shared());
  shared->setCredential({"ann", "pw", Persistence::Permanent}, server_);
  Sandbox::setHome("");
  EXPECT_EQ(reopen()->credentials(server_).size(), 1u);
}

}  // namespace
}  // namespace pf
