#pragma once
// The previous release's database, in its own schema, as that release left it in Documents/Marlune:
// course and unit records of two learners and their downloads (one finished, one partial, one that
// never learnt its size). Built by code so the fixture stays small and readable.

#include <filesystem>
#include <string>

#include "core/sqlite/SqlDatabase.h"

namespace app_test {

struct EarlierReleaseDatabase {
  // Seconds since 1970 of the learners' last study.
  static constexpr double kLastStudy = 1500000000;

  // Writes the database at path; without the unit table when withUnitTable is false (the unit step
  // then fails).
  static void write(const std::string& path, bool withUnitTable = true) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    auto db = SqlDatabase::databaseWithPath(path);
    db->open();
    db->executeUpdate("CREATE TABLE courseInfo (course_id TEXT, course_name TEXT, min_study_time REAL)");
    db->executeUpdate(
        "CREATE TABLE courseStudy (course_id TEXT, user_id TEXT, study_rate REAL, "
        "last_study_time REAL, study_time REAL)");
    db->executeUpdate(
        "CREATE TABLE scoStudy (sco_id TEXT, user_id TEXT, kiv_progress REAL, location INTEGER, "
        "study_complete INTEGER, last_study_time REAL, download INTEGER)");
    if (withUnitTable) addUnitTable(*db);
    db->executeUpdate(
        "CREATE TABLE filedownlog (sco_id TEXT, user_id TEXT, course_id TEXT, downpath TEXT, "
        "file_size INTEGER, downlength INTEGER)");
    db->executeUpdate("INSERT INTO courseInfo VALUES ('C1', '安全生产', 30)");
    db->executeUpdate("INSERT INTO courseStudy VALUES ('C1', 'U1', 40, ?, 12)", kLastStudy);
    db->executeUpdate("INSERT INTO courseStudy VALUES ('C1', 'U2', 100, ?, 31)", kLastStudy + 60);
    // Both learners studied both units: a join on the unit alone would double every download.
    for (const char* user : {"U1", "U2"}) {
      for (const char* unit : {"S1", "S2", "S3"}) {
        db->executeUpdate("INSERT INTO scoStudy VALUES (?, ?, 55.5, 120, 0, ?, 1)", std::string(unit),
                          std::string(user), kLastStudy);
      }
    }
    db->executeUpdate(
        "INSERT INTO filedownlog VALUES ('S1', 'U1', 'C1', 'http://files/u/s1.mp4?v=2', 1000, 1000)");
    db->executeUpdate(
        "INSERT INTO filedownlog VALUES ('S2', 'U1', 'C1', 'http://files/u/s2.mp4', 1000, 250)");
    db->executeUpdate("INSERT INTO filedownlog VALUES ('S3', 'U2', 'C1', 'http://files/u/s3.mp4', 0, 0)");
    db->close();
  }

  static void addUnitTable(SqlDatabase& db) {
    db.executeUpdate("CREATE TABLE scoInfo (sco_id TEXT, course_id TEXT)");
    for (const char* unit : {"S1", "S2", "S3"})
      db.executeUpdate("INSERT INTO scoInfo VALUES (?, 'C1')", std::string(unit));
  }
};

}  // namespace app_test
