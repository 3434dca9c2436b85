#pragma once
// The stand-in's course comments and their replies, seeded from the catalogue. A comment's idPath is
// "/<id>/", a reply's its comment's idPath followed by "<id>/"; comments are listed newest first and
// replies in the order they were written. Rendered as Discuss reads them.
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

class CourseComments {
 public:
  struct Author {
    std::string userId;
    std::string userName;
  };

  // clock: seconds since 1970.
  CourseComments(const CourseCatalogue& catalogue, std::function<double()> clock);

  // The course's comments, newest first, each with its replies.
  std::vector<nlohmann::json> commentsOf(const std::string& courseId) const;
  nlohmann::json add(const std::string& courseId, const Author& author, const std::string& content);
  // The new reply; nullopt when the course has no comment of that idPath.
  std::optional<nlohmann::json> reply(const std::string& courseId, const std::string& commentIdPath,
                                      const Author& author, const std::string& content);

 private:
  nlohmann::json newComment(const std::string& courseId, const Author& author, const std::string& content,
                            long long createTime, const std::string& parentPath);
  long long nowMillis() const;

  const std::function<double()> clock_;
  mutable std::mutex mutex_;
  // Oldest first.
  std::map<std::string, std::vector<nlohmann::json>> comments_;
  unsigned issued_ = 0;
};

}  // namespace devserver
