#pragma once
// A fresh temporary folder per test, removed afterwards, with helpers to open databases inside it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/sqlite/SqlDatabase.h"

class SqlTestFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "marlune-sql-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string path(const std::string& name = "test.db") const { return (folder_ / name).string(); }

  std::shared_ptr<SqlDatabase> openDatabase(const std::string& name = "test.db") const {
    std::shared_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path(name));
    EXPECT_TRUE(db->open());
    return db;
  }

 private:
  std::filesystem::path folder_;
};
