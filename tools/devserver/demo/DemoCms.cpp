#include "tools/devserver/demo/DemoCms.h"

#include <chrono>
#include <initializer_list>
#include <nlohmann/json.hpp>

#include "tools/devserver/Answers.h"
#include "tools/devserver/demo/CourseCatalogue.h"
#include "tools/devserver/demo/CourseComments.h"
#include "tools/devserver/demo/CourseRecords.h"
#include "tools/devserver/demo/DemoPicture.h"
#include "tools/devserver/demo/DemoVideo.h"

namespace devserver {

namespace {

using nlohmann::json;

struct Courses {
  Courses(CourseCatalogue catalogue, const std::function<double()>& clock)
      : catalogue(std::move(catalogue)), records(this->catalogue, clock), comments(this->catalogue, clock) {}

  const CourseCatalogue catalogue;
  CourseRecords records;
  CourseComments comments;
};

using Handler = std::function<OpenAnswer(const OpenCall& call, const OpenUser& user)>;

// A parameter's JSON text decoded; null for an absent or broken one.
json parameter(const OpenCall& call, const std::string& name) {
  const auto it = call.parameters.find(name);
  return it == call.parameters.end() ? json() : json::parse(it->second, nullptr, false);
}

std::optional<long long> millis(const OpenCall& call, const std::string& name) {
  const json value = parameter(call, name);
  if (!value.is_number()) return std::nullopt;
  return value.get<long long>();
}

bool flag(const OpenCall& call, const std::string& name) {
  const json value = parameter(call, name);
  return value.is_boolean() ? value.get<bool>() : value.is_number() && value.get<double>() != 0;
}

struct PageRequest {
  long long pageNo = 1;
  long long pageSize = 20;
};

PageRequest pageRequest(const OpenCall& call) {
  const json page = parameter(call, "page");
  PageRequest request;
  if (!page.is_object()) return request;
  request.pageNo = std::max(1LL, page.value("pageNo", 1LL));
  request.pageSize = std::max(1LL, page.value("pageSize", 20LL));
  return request;
}

// The rows of the requested page with the total, as Page reads them.
OpenAnswer pageAnswer(const PageRequest& request, const std::vector<json>& all) {
  json rows = json::array();
  const auto first = static_cast<std::size_t>((request.pageNo - 1) * request.pageSize);
  for (std::size_t i = first; i < all.size() && i < first + static_cast<std::size_t>(request.pageSize); ++i) {
    rows.push_back(all[i]);
  }
  return OpenAnswer::json(json{
      {"pageNo", request.pageNo},
      {"pageSize", request.pageSize},
      {"autoCount", true},
      {"autoPaging", true},
      {"total", all.size()},
      {"rows",
       std::move(rows)}}.dump());
}

OpenAnswer noSuchCourse(const std::optional<std::string>& courseId) {
  return OpenAnswer::error("lcms.course.notfound", "课程不存在！", courseId.value_or("null"));
}

constexpr char kMissingLecturePage[] =
    "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1></body></html>\n";

std::string lecturePage(const std::string& title) {
  std::string escaped;
  for (char c : title) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      default:
        escaped += c;
    }
  }
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + escaped +
         "</title></head>\n<body><h1>" + escaped + "</h1>\n<p>本讲义为演示内容。</p></body></html>\n";
}

// "/media/cms/video/SCO-1.mp4" with prefix and suffix gives "SCO-1"; nothing for another shape.
std::optional<std::string> fileId(const std::string& path, const std::string& prefix,
                                  const std::string& suffix) {
  if (!path.starts_with(prefix) || !path.ends_with(suffix) || path.size() <= prefix.size() + suffix.size())
    return std::nullopt;
  return path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
}

class Installer {
 public:
  Installer(OpenServer& server, std::shared_ptr<Courses> courses)
      : server_(server), courses_(std::move(courses)) {}

  void install() {
    installCatalogue();
    installSelection();
    installSync();
    installComments();
    installMedia();
  }

 private:
  // Registers a method that refuses calls lacking any of the named parameters.
  void add(const std::string& path, std::initializer_list<const char*> names, Handler handler) {
    std::vector<std::string> required(names.begin(), names.end());
    server_.method(path, [required, handler](const OpenCall& call) {
      for (const std::string& name : required) {
        if (!call.has(name)) return OpenAnswer::error("open.param.missing", "缺少参数：" + name, call.path);
      }
      return handler(call, *call.user);
    });
  }

  void installCatalogue() {
    auto courses = courses_;
    add("/v1/lcms/category/getCourseCategory", {}, [courses](const OpenCall&, const OpenUser&) {
      return OpenAnswer::json(courses->catalogue.categoryTree().dump());
    });
    add("/v1/lcms/courseinfo/loadCourseInfoList", {"page", "keywords", "categoryId", "supportMobile"},
        [server = &server_, courses](const OpenCall& call, const OpenUser&) {
          std::vector<json> rows;
          for (const json* course : courses->catalogue.findCourses(
                   call.text("categoryId"), call.text("keywords"), flag(call, "supportMobile"))) {
            rows.push_back(courses->catalogue.courseJson(*course, server->host()));
          }
          return pageAnswer(pageRequest(call), rows);
        });
    add("/v1/lcms/courseinfo/loadPopularizeCourse", {},
        [server = &server_, courses](const OpenCall&, const OpenUser&) {
          return OpenAnswer::json(courses->catalogue.promotionsJson(server->host()).dump());
        });
    add("/v1/lcms/courseinfo/getCourseById", {"courseId"},
        [server = &server_, courses](const OpenCall& call, const OpenUser&) {
          const json* course = courses->catalogue.course(call.text("courseId").value_or(""));
          if (!course) return noSuchCourse(call.text("courseId"));
          return OpenAnswer::json(courses->catalogue.courseJson(*course, server->host()).dump());
        });
    add("/v1/lcms/courseinfo/getByCode", {"courseCode"},
        [server = &server_, courses](const OpenCall& call, const OpenUser&) {
          const json* course = courses->catalogue.courseByCode(call.text("courseCode").value_or(""));
          if (!course) return noSuchCourse(call.text("courseCode"));
          return OpenAnswer::json(courses->catalogue.courseJson(*course, server->host()).dump());
        });
    add("/v1/lcms/courseinfo/getCourseScoList", {"courseId"},
        [server = &server_, courses](const OpenCall& call, const OpenUser&) {
          const json* course = courses->catalogue.course(call.text("courseId").value_or(""));
          if (!course) return noSuchCourse(call.text("courseId"));
          return OpenAnswer::json(courses->catalogue.unitsJson(*course, server->host()).dump());
        });
    add("/v1/lcms/courseinfo/getCourseInfoByCourseIds", {"courseIds"},
        [server = &server_, courses](const OpenCall& call, const OpenUser&) {
          json found = json::object();
          const json ids = parameter(call, "courseIds");
          for (const json& id : ids.is_array() ? ids : json::array()) {
            const json* course = id.is_string() ? courses->catalogue.course(id.get<std::string>()) : nullptr;
            if (course) found[id.get<std::string>()] = courses->catalogue.courseJson(*course, server->host());
          }
          return OpenAnswer::json(found.dump());
        });
    add("/v1/lcms/courseinfo/getCourseRate", {}, [courses](const OpenCall&, const OpenUser&) {
      return OpenAnswer::json(json(courses->catalogue.passRate()).dump());
    });
    add("/v1/lcms/courseinfo/hasPurview", {"courseId"}, [courses](const OpenCall& call, const OpenUser&) {
      // A course marked "purview": false is refused to everybody.
      const json* course = courses->catalogue.course(call.text("courseId").value_or(""));
      return OpenAnswer::json(course && course->value("purview", true) ? "true" : "false");
    });
  }

  void installSelection() {
    auto courses = courses_;
    add("/v1/lcms/courseinfo/selectCourse", {"courseId", "startTime", "endTime"},
        [courses](const OpenCall& call, const OpenUser& user) {
          const std::optional<json> record =
              courses->records.select(user.userId, call.text("courseId").value_or(""));
          if (!record) return noSuchCourse(call.text("courseId"));
          return OpenAnswer::json(record->dump());
        });
    add("/v1/lcms/courseinfo/removeSelectedCourse", {"courseId"},
        [courses](const OpenCall& call, const OpenUser& user) {
          return OpenAnswer::json(
              courses->records.remove(user.userId, call.text("courseId").value_or("")) ? "true" : "false");
        });
    add("/v1/lcms/courseinfo/myCourseReminder", {}, [courses](const OpenCall&, const OpenUser& user) {
      return OpenAnswer::json(std::to_string(courses->records.unfinishedCount(user.userId)));
    });
  }

  void installSync() {
    auto courses = courses_;
    // The device's course list against the user's: courses to add, to refresh and to drop.
    add("/v1/lcms/courseinfo/syncCourse", {"clientCourses"},
        [server = &server_, courses](const OpenCall& call, const OpenUser& user) {
          const std::vector<std::string> held = courses->records.courseIdsOf(user.userId);
          std::vector<std::string> onDevice;
          const json client = parameter(call, "clientCourses");
          for (const json& course : client.is_array() ? client : json::array()) {
            if (course.is_object() && course.contains("id") && course.at("id").is_string())
              onDevice.push_back(course.at("id").get<std::string>());
          }
          json detail{
              {"addList", json::array()}, {"updateList", json::array()}, {"deleteList", json::array()}};
          for (const std::string& id : held) {
            const json* course = courses->catalogue.course(id);
            if (!course) continue;
            const bool known = std::find(onDevice.begin(), onDevice.end(), id) != onDevice.end();
            detail[known ? "updateList" : "addList"].push_back(
                courses->catalogue.courseJson(*course, server->host()));
          }
          for (const std::string& id : onDevice) {
            if (std::find(held.begin(), held.end(), id) == held.end())
              detail["deleteList"].push_back({{"id", id}});
          }
          return OpenAnswer::json(detail.dump());
        });
    add("/v1/els/phonecoursestudyrecord/sync", {"clientRecords"},
        [courses](const OpenCall& call, const OpenUser& user) {
          return OpenAnswer::json(
              courses->records.merge(user.userId, parameter(call, "clientRecords")).dump());
        });
    add("/v1/els/coursestudyrecord/getCourseStudyRecordByTime", {"beginDate", "endDate", "page"},
        [courses](const OpenCall& call, const OpenUser& user) {
          const json found = courses->records.recordsStudiedBetween(user.userId, millis(call, "beginDate"),
                                                                    millis(call, "endDate"));
          return pageAnswer(pageRequest(call), std::vector<json>(found.begin(), found.end()));
        });
  }

  void installComments() {
    auto courses = courses_;
    add("/v1/dsc/discuss/loadDiscuss", {"page", "courseId"},
        [courses](const OpenCall& call, const OpenUser&) {
          const std::optional<std::string> courseId = call.text("courseId");
          if (!courses->catalogue.course(courseId.value_or(""))) return noSuchCourse(courseId);
          return pageAnswer(pageRequest(call), courses->comments.commentsOf(*courseId));
        });
    add("/v1/dsc/discuss/commentCourse", {"content", "courseId"},
        [courses](const OpenCall& call, const OpenUser& user) {
          const std::optional<std::string> courseId = call.text("courseId");
          if (!courses->catalogue.course(courseId.value_or(""))) return noSuchCourse(courseId);
          const std::optional<std::string> content = call.text("content");
          if (!content || content->empty())
            return OpenAnswer::error("dsc.content.empty", "评论内容不能为空！");
          return OpenAnswer::json(
              courses->comments.add(*courseId, {user.userId, user.loginName}, *content).dump());
        });
    add("/v1/dsc/discuss/replyCourse", {"content", "commentIdPath", "courseId"},
        [courses](const OpenCall& call, const OpenUser& user) {
          const std::optional<std::string> courseId = call.text("courseId");
          if (!courses->catalogue.course(courseId.value_or(""))) return noSuchCourse(courseId);
          const std::optional<std::string> content = call.text("content");
          if (!content || content->empty())
            return OpenAnswer::error("dsc.content.empty", "回复内容不能为空！");
          const std::optional<json> reply = courses->comments.reply(
              *courseId, call.text("commentIdPath").value_or(""), {user.userId, user.loginName}, *content);
          if (!reply)
            return OpenAnswer::error("dsc.discuss.notfound", "评论不存在！",
                                     call.text("commentIdPath").value_or("null"));
          return OpenAnswer::json(reply->dump());
        });
  }

  void installMedia() {
    auto courses = courses_;
    server_.route("/media/cms/*", [courses](Exchange& exchange) {
      const std::string& path = exchange.request().path;
      if (const auto id = fileId(path, CourseCatalogue::kVideoPath, ".mp4")) {
        if (const auto seconds = courses->catalogue.videoSeconds(*id))
          return answers::ranged(DemoVideo::mp4(*seconds))(exchange);
      } else if (const auto scoId = fileId(path, CourseCatalogue::kLecturePath, ".html")) {
        if (courses->catalogue.lectureMissing(*scoId)) {
          return exchange.respond(200, kMissingLecturePage, {{"Content-Type", "text/html"}});
        }
        if (const auto title = courses->catalogue.lectureTitle(*scoId)) {
          return exchange.respond(200, lecturePage(*title), {{"Content-Type", "text/html; charset=utf-8"}});
        }
      } else if (const auto courseId = fileId(path, CourseCatalogue::kCoverPath, ".png")) {
        if (courses->catalogue.course(*courseId)) return DemoPicture::answer(exchange, *courseId);
      }
      exchange.respond(404, "no such file\n");
    });
  }

  OpenServer& server_;
  const std::shared_ptr<Courses> courses_;
};

double systemNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

bool installDemoCms(OpenServer& server, const std::string& dataFolder, std::string* problem,
                    std::function<double()> clock) {
  std::optional<CourseCatalogue> catalogue =
      CourseCatalogue::read(dataFolder + "/cms/catalogue.json", problem);
  if (!catalogue) return false;
  if (!clock) clock = systemNow;
  Installer(server, std::make_shared<Courses>(std::move(*catalogue), clock)).install();
  return true;
}

}  // namespace devserver
