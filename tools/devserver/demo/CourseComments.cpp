#include "tools/devserver/demo/CourseComments.h"

#include <algorithm>

#include "tools/devserver/demo/DemoJson.h"

namespace devserver {

namespace {

using nlohmann::json;

void addReply(json& comment, json reply) {
  comment["replyCount"] = comment.value("replyCount", 0) + 1;
  comment["lastReplyPerson"] = reply.at("creator").at("userName");
  comment["lastReplyTime"] = reply.at("createTime");
  comment["discussList"].push_back(std::move(reply));
}

}  // namespace

CourseComments::CourseComments(const CourseCatalogue& catalogue, std::function<double()> clock)
    : clock_(std::move(clock)) {
  for (const json& seed : catalogue.commentSeeds()) {
    const std::string courseId = demo_json::text(seed, "courseId");
    json comment = newComment(courseId, {demo_json::text(seed, "userId"), demo_json::text(seed, "userName")}, demo_json::text(seed, "content"),
                              seed.value("createTime", 0LL), "/");
    for (const json& replySeed : seed.value("replies", json::array())) {
      addReply(comment, newComment(courseId, {demo_json::text(replySeed, "userId"), demo_json::text(replySeed, "userName")},
                                   demo_json::text(replySeed, "content"), replySeed.value("createTime", 0LL),
                                   demo_json::text(comment, "idPath")));
    }
    comments_[courseId].push_back(std::move(comment));
  }
}

std::vector<json> CourseComments::commentsOf(const std::string& courseId) const {
  std::lock_guard lock(mutex_);
  const auto it = comments_.find(courseId);
  if (it == comments_.end()) return {};
  std::vector<json> newestFirst(it->second.rbegin(), it->second.rend());
  std::stable_sort(newestFirst.begin(), newestFirst.end(), [](const json& a, const json& b) {
    return a.value("createTime", 0LL) > b.value("createTime", 0LL);
  });
  return newestFirst;
}

json CourseComments::add(const std::string& courseId, const Author& author, const std::string& content) {
  std::lock_guard lock(mutex_);
  json comment = newComment(courseId, author, content, nowMillis(), "/");
  comments_[courseId].push_back(comment);
  return comment;
}

std::optional<json> CourseComments::reply(const std::string& courseId, const std::string& commentIdPath,
                                          const Author& author, const std::string& content) {
  std::lock_guard lock(mutex_);
  auto& comments = comments_[courseId];
  const auto it = std::find_if(comments.begin(), comments.end(),
                               [&](const json& c) { return demo_json::text(c, "idPath") == commentIdPath; });
  if (it == comments.end()) return std::nullopt;
  json reply = newComment(courseId, author, content, nowMillis(), commentIdPath);
  addReply(*it, reply);
  return reply;
}

json CourseComments::newComment(const std::string& courseId, const Author& author, const std::string& content,
                                long long createTime, const std::string& parentPath) {
  const std::string id = "DSC-" + std::to_string(++issued_);
  return json{{"discussId", id},
              {"content", content},
              {"creator", {{"userId", author.userId}, {"userName", author.userName}}},
              {"createTime", createTime},
              {"objectId", courseId},
              {"objectType", "COURSE"},
              {"appCode", "lcms"},
              {"idPath", parentPath + id + "/"},
              {"discussList", json::array()},
              {"replyCount", 0}};
}

long long CourseComments::nowMillis() const {
  return static_cast<long long>(clock_() * 1000.0);
}

}  // namespace devserver
