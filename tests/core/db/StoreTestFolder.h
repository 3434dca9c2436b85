#pragma once
// A fresh store per test: the test mapping file and a database file in a temporary folder removed
// afterwards.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/db/VelkDBHelper.h"
#include "tests/core/db/StoreTestClasses.h"
#include "tests/support/TemporaryFolder.h"

class StoreTestFolder : public ::testing::Test {
 protected:
  static std::string fixture(const std::string& name) {
    return std::string(MARLUNE_FIXTURES) + "/core/db/store/" + name;
  }

  void SetUp() override {
    registerStoreTestClasses();
    store_ = std::make_shared<VelkDBHelper>(fixture("store_mapping.xml"), dbPath());
    ASSERT_TRUE(store_->createDatabase());
  }
  std::string dbPath() const { return folder_.file("store.db"); }

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
  pf_test::TemporaryFolder folder_;
  std::shared_ptr<VelkDBHelper> store_;
};
