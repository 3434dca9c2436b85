#pragma once
// A fresh store per test: the test mapping file and a database file in a temporary folder removed
// afterwards.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/db/VelkDBHelper.h"
#include "tests/core/db/StoreTestClasses.h"

class StoreTestFolder : public ::testing::Test {
 protected:
  static std::string fixture(const std::string& name) {
    return std::string(MARLUNE_FIXTURES) + "/core/db/store/" + name;
  }

  void SetUp() override {
    registerStoreTestClasses();
    std::string pattern = (std::filesystem::temp_directory_path() / "marlune-store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    store_ = std::make_shared<VelkDBHelper>(fixture("store_mapping.xml"), dbPath());
    ASSERT_TRUE(store_->createDatabase());
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string dbPath() const { return (folder_ / "store.db").string(); }

  VelkDBHelper& store() { return *store_; }

  // Row count of a table.
  long long count(const std::string& table) {
    return store_->queryForSingleResult(101, "select count(*) from " + table).longLongValue();
  }

  static std::shared_ptr<StoreCourse> course(const std::optional<std::string>& id, const std::string& title) {
    auto c = std::make_shared<StoreCourse>();
    c->courseId = id;
    c->title = title;
    return c;
  }

  static std::shared_ptr<StoreRecord> record(const std::string& sid, const std::string& courseId = "c1") {
    auto r = std::make_shared<StoreRecord>();
    r->sid = sid;
    r->courseId = courseId;
    return r;
  }

 private:
  std::filesystem::path folder_;
  std::shared_ptr<VelkDBHelper> store_;
};
