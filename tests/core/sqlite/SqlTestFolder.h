#pragma once
// A fresh temporary folder per test, removed afterwards, with helpers to open databases inside it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/sqlite/SqlDatabase.h"
#include "tests/support/TemporaryFolder.h"

class SqlTestFolder : public ::testing::Test {
 protected:
  std::string path(const std::string& name = "test.db") const { return folder_.file(name); }

  std::shared_ptr<SqlDatabase> openDatabase(const std::string& name = "test.db") const {
    std::shared_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path(name));
    EXPECT_TRUE(db->open());
    return db;
  }

 private:
  pf_test::TemporaryFolder folder_;
};
