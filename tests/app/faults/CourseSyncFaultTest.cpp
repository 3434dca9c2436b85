// The course sync over the HTTP engine against the stand-in when the server fails in the middle of it:
// in phase 1 (the courses) or phase 2 (the study records) it stalls past the client's time-out, resets
// the connection, answers 5xx, garbage JSON, JSON of the wrong shape, a truncated gzip body or an
// exception, or the session has lapsed and its renewal is refused. Each sync ends within the time-out with
// the failure reported to the caller for the failing call, and loses nothing: progress studied offline stays
// on the device and the next sync with a healthy server delivers it.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "app/service/cms/OpenPhoneCourseStudyRecordService.h"
#include "core/open/OpenError.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/DemoServerSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

constexpr char kCourses[] = "/v1/lcms/courseinfo/syncCourse";
constexpr char kRecords[] = "/v1/els/phonecoursestudyrecord/sync";
constexpr char kLogin[] = "/v1/uc/login/ologin";
// The client's time-out in these tests; a sync must end well within a few of them.
constexpr unsigned kTimeoutSeconds = 1;

struct FaultCase {
  const char* name;
  // The method path whose next calls fail, and how.
  const char* path;
  std::vector<devserver::Handler> faults;
  // The session has lapsed at the server and the client knows it is due for renewal.
  bool sessionLapsed = false;
  // The reports the caller hears, in order, and the error code of the last.
  std::vector<std::string> reported;
  std::string errorCode;
  // The offline progress reaches the server in this sync already (phase 2 runs whatever phase 1 did).
  bool deliveredAtOnce = false;
};

devserver::Handler exception(const std::string& code) {
  return devserver::answers::text(
      200, R"([{"errorCode": ")" + code + R"(", "cause": "服务暂停", "description": "maintenance"}])",
      {{"Content-Type", "application/json;charset=UTF-8"}, {"hasException", "true"}});
}

std::vector<FaultCase> faultCases() {
  using namespace devserver::answers;
  const devserver::Headers json{{"Content-Type", "application/json;charset=UTF-8"}};
  std::vector<FaultCase> cases;
  for (const char* path : {kCourses, kRecords}) {
    const bool phase1 = path == kCourses;
    const auto failing = [&](const char* name, devserver::Handler fault, const char* code) {
      cases.push_back({name, path, {std::move(fault)}, false, {path}, code, phase1});
    };
    failing("stall", stall(10 * kTimeoutSeconds), "error.requestTimeoutError");
    failing("reset", resetMidBody(R"([{"courseId": "CRS-001", "studyRate": 100}])", 12),
            "error.networkStatusError");
    failing("5xx", text(503, "<html>busy</html>", {{"Content-Type", "text/html"}}),
            "error.responseStatusCodeError");
    failing("garbageJson", text(200, R"({"addList": [{"id": "CRS-001", "courseTitle": )", json),
            "error.jsonParseError");
    failing("truncatedGzip", truncatedGzip(R"([{"courseId": "CRS-001", "studyRate": 100,
        "scoStudyRecordList": [{"scoId": "SCO-001-05", "currentPosition": 0}]}])"),
            "error.jsonParseError");
    failing("exception", exception("open.system.error"), "open.system.error");
    // Well-formed, but a list where one object belongs, or the reverse.
    failing(
        "wrongShapeJson",
        text(200, phase1 ? R"([{"id": "CRS-001"}])" : R"({"courseId": "CRS-001", "studyRate": 100})", json),
        "error.jsonParseError");
  }
  // Both renewals of the sync are refused: each phase goes out with the lapsed session.
  cases.push_back({"lapsedSessionRenewalRefused",
                   kLogin,
                   {devserver::answers::text(503, "busy"), devserver::answers::text(503, "busy")},
                   true,
                   {kLogin, kCourses, kLogin, kRecords},
                   "open.session.expired",
                   false});
  return cases;
}

class CourseSyncFaultTest : public DemoServerSandbox, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    DemoServerSandbox::SetUp();
    requestTimeout = kTimeoutSeconds;
    startServer([](devserver::OpenServer& standIn) {
      std::string problem;
      ASSERT_TRUE(devserver::installDemoCms(standIn, MARLUNE_DEMO_DATA, &problem)) << problem;
    });
    if (HasFatalFailure()) return;
    openSession();
    becomeCurrentUser("U0001");
  }

  // The learner completes the last unit of CRS-001 on the device, without the server.
  void studyOffline() {
    CourseService courses(delegate);
    const auto course = courses.getCourseViewInfoWithCourseID("CRS-001");
    ASSERT_TRUE(course);
    ASSERT_EQ(course->scoInfoList.size(), 5u);
    const auto unit = course->scoInfoList[4];
    ASSERT_EQ(unit->scoId, "SCO-001-05");
    unit->currentPosition = 40000;
    CoursePlayerService(delegate).saveStudyRecordWithCourse(course, unit, 40, 40);
    ASSERT_TRUE(unit->studyComplete);
  }

  // The server ends the session, and the client's last refresh lies beyond the renewal age: the app
  // was left alone for a quarter of an hour.
  void lapseSession() {
    server->expireSessions();
    ServiceManager::sessionCache().setLastRefreshTime(
        pf::Date{pf::Date::now().seconds - ServiceManager::kSessionRenewalSeconds - 20});
  }

  // Seconds the sync took.
  double sync() {
    const auto start = std::chrono::steady_clock::now();
    CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  // The paths of the failures reported since the last look, and the error code of the last one.
  std::vector<std::string> reportedPaths(std::string* lastCode = nullptr) {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
    std::vector<std::string> paths;
    for (const auto& report : *delegate->reports) {
      paths.push_back(report.requestUri);
      if (lastCode) {
        const auto info = OpenError::firstOrDefaultErrorInfo(*report.error);
        *lastCode = info && info->errorCode ? *info->errorCode : "(none)";
      }
    }
    delegate->reports->clear();
    return paths;
  }

  // The server's record of the unit, asked with an empty sync that changes nothing.
  bool completedAtServer() {
    const pf::ArrayPtr records =
        OpenPhoneCourseStudyRecordService(delegate).sync(std::make_shared<pf::Array>());
    if (!records) return false;
    for (const pf::Value& value : *records)
      for (const auto& unit : value.objectAs<CourseStudyRecord>()->scoStudyRecordList)
        if (unit->scoId == "SCO-001-05") return unit->studyComplete;
    return false;
  }

  static int count(const std::string& sql) {
    return VelkDBHelper::instance()->queryForSingleResult(TypeCode::Int, sql).intValue();
  }
  static bool completedOnDevice() {
    return count(
               "select study_complete from sco_study_record where sco_id = 'SCO-001-05' and "
               "user_id = 'U0001'") == 1 &&
           count(
               "select current_position from sco_study_record where sco_id = 'SCO-001-05' and "
               "user_id = 'U0001'") == 40000;
  }

};

TEST_P(CourseSyncFaultTest, TheSyncFailsClearlyAndLosesNothing) {
  const FaultCase& c = GetParam();
  sync();
  ASSERT_TRUE(reportedPaths().empty());
  ASSERT_EQ(count("select count(*) from course_study_record where user_id = 'U0001'"), 3);
  studyOffline();
  const int courses = count("select count(*) from course_info");
  const int units = count("select count(*) from sco_study_record where user_id = 'U0001'");
  ASSERT_FALSE(completedAtServer());

  server->planFaults(c.path, c.faults);
  if (c.sessionLapsed) lapseSession();
  const double seconds = sync();

  EXPECT_LT(seconds, 4.0 * kTimeoutSeconds) << "no hang beyond the time-out";
  EXPECT_FALSE(CourseSyncService::isSyncCourse());
  std::string code;
  EXPECT_EQ(reportedPaths(&code), c.reported);
  EXPECT_EQ(code, c.errorCode);
  EXPECT_EQ(count("select count(*) from course_info"), courses) << "no course lost";
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U0001'"), 3);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U0001'"), units);
  EXPECT_TRUE(completedOnDevice()) << "the offline progress stays";
  EXPECT_EQ(completedAtServer(), c.deliveredAtOnce);

  // The server is healthy again.
  sync();
  EXPECT_TRUE(reportedPaths().empty());
  EXPECT_TRUE(completedOnDevice());
  EXPECT_TRUE(completedAtServer());
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U0001'"), 3);
}

INSTANTIATE_TEST_SUITE_P(Faults, CourseSyncFaultTest, ::testing::ValuesIn(faultCases()),
                         [](const auto& info) {
                           const std::string phase = info.param.path == std::string(kCourses)   ? "Courses"
                                                     : info.param.path == std::string(kRecords) ? "Records"
                                                                                                : "Session";
                           return phase + "_" + info.param.name;
                         });

// A lapsed session is renewed before the sync's calls, which then go through as if nothing happened.
using CourseSyncSessionTest = CourseSyncFaultTest;

TEST_F(CourseSyncSessionTest, ALapsedSessionIsRenewedAndTheSyncDelivers) {
  sync();
  studyOffline();
  lapseSession();
  sync();
  EXPECT_TRUE(reportedPaths().empty());
  EXPECT_EQ(server->calls(kLogin).size(), 2u) << "the sign-in and one renewal";
  EXPECT_TRUE(completedAtServer());
  EXPECT_TRUE(completedOnDevice());
}

}  // namespace
