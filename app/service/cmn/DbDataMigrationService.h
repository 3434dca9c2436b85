#pragma once
// Carries the previous release's data into the current store at launch: the module resource folders
// are emptied, partial downloads lose the ".temp" ending that release gave them, and the previous
// release's database "Marlune/Marlune.db" (another schema) is copied to a working folder and read
// into the current tables: course records, unit records, and one download record per earlier download.
//
// Every step runs at every launch; the database part only while the earlier database exists. A step
// that succeeded is marked in the settings rows together with its rows, so a run that failed in one
// step retries only that step at the next launch; once every step is in, both folders are deleted.
//
// Threads: the launch calls it on the main thread, before any screen.

#include <memory>
#include <string>
#include <vector>

#include "app/model/cmn/DataTransferObj.h"
#include "core/db/VelkDBHelper.h"
#include "core/sqlite/SqlDatabase.h"

class ScoDownloadInfo;

class DbDataMigrationService {
 public:
  // The settings row marking a step done is this followed by the step's class name.
  static constexpr char kStepDoneKeyPrefix[] = "db_migration_done_";

  DbDataMigrationService();

  void beginMigrations();
  // Renames the partial downloads; copies the earlier database into the working folder (replacing a
  // copy left by a failed run). YES when a copy was made.
  bool migrateDbFileToTemPath();
  // Runs one step on the open working copy; YES when its rows are in (or it was done before).
  bool migrateWithRelationObj(const std::shared_ptr<DataTransferObj>& relationObj);
  // Whether the current database file exists.
  bool checkNewDbFileExisit() const;

  // The three steps, in order.
  static std::vector<std::shared_ptr<DataTransferObj>> migrationSteps();

  std::shared_ptr<VelkDBHelper> dbHelper;
  std::string dbDir;
  std::string dbPath;
  std::string dbTemDir;
  std::string dbTemPath;
  std::shared_ptr<SqlDatabase> db;
  std::vector<std::shared_ptr<DataTransferObj>> relationships;

 private:
  void renamePartialDownloads();
  static void completeDownloadRecord(const pf::ObjectPtr& object);
  static void keepDownloadPathsApart(const std::vector<std::shared_ptr<ScoDownloadInfo>>& records);
};
