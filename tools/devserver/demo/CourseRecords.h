#pragma once
// The stand-in's study records: which courses each user holds and how far he got, course by course
// and unit by unit, seeded from the catalogue. Selecting adds a record with a unit record for every
// unit, giving up removes a course the user selected himself, and a sync takes the device's progress
// wherever it is ahead of the server's. Records are rendered as CourseStudyRecord reads them.
//
// Thread rules: every member works from any thread (handlers run one per connection).

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/devserver/demo/CourseCatalogue.h"

namespace devserver {

class CourseRecords {
 public:
  // clock: seconds since 1970.
  CourseRecords(const CourseCatalogue& catalogue, std::function<double()> clock);

  // The user's records with their unit records, oldest selection first.
  nlohmann::json recordsOf(const std::string& userId) const;
  std::vector<std::string> courseIdsOf(const std::string& userId) const;
  // Records whose last study lies within the bounds (milliseconds, either may be open).
  nlohmann::json recordsStudiedBetween(const std::string& userId, std::optional<long long> from,
                                       std::optional<long long> to) const;
  // Records not yet at 100 percent.
  int unfinishedCount(const std::string& userId) const;

  // The user's record of the course, made when he has none; nullopt for a course not in the catalogue.
  std::optional<nlohmann::json> select(const std::string& userId, const std::string& courseId);
  // Only a course the user selected himself can be given up.
  bool remove(const std::string& userId, const std::string& courseId);
  // Takes the progress of the device's records where it is ahead and answers the user's records.
  nlohmann::json merge(const std::string& userId, const nlohmann::json& clientRecords);

 private:
  nlohmann::json newRecord(const std::string& userId, const nlohmann::json& course,
                           const nlohmann::json& seed) const;
  nlohmann::json* find(const std::string& userId, const std::string& courseId);
  long long nowMillis() const;

  const CourseCatalogue& catalogue_;
  const std::function<double()> clock_;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<nlohmann::json>> records_;
};

}  // namespace devserver
