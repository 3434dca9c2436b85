#pragma once
// The course services on a launched device with a scripted server: answers are set per method path
// (a path without one fails as a lost connection), learners sign in by id, and rows of the course
// tables are written and counted directly.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/DownloadService.h"
#include "core/reflect/TypeCode.h"
#include "tests/app/support/RemoteServiceSandbox.h"

class CourseStoreFixture : public RemoteServiceSandbox {
 protected:
  void SetUp() override {
    RemoteServiceSandbox::SetUp();
    transport->setScript([answers = answers_, mutex = mutex_](const RemoteTransport::Request& request) {
      std::lock_guard lock(*mutex);
      const auto found = answers->find(FakeTransport::methodPath(request));
      if (found == answers->end()) return FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure);
      return FakeTransport::ok(found->second);
    });
    // The download service of an earlier test holds that test's store.
    DownloadService::unload();
    signIn("U1");
  }
  void TearDown() override {
    DownloadService::unload();
    RemoteServiceSandbox::TearDown();
  }

  // The server answers the method with this JSON body from now on.
  void serve(const std::string& path, const std::string& body) {
    std::lock_guard lock(*mutex_);
    (*answers_)[path] = body;
  }
  void stopServing(const std::string& path) {
    std::lock_guard lock(*mutex_);
    answers_->erase(path);
  }

  static void signIn(const std::string& userId, const std::string& corpCode = "corp") {
    auto user = std::make_shared<User>();
    user->userId = userId;
    user->corpCode = corpCode;
    CommonService().updateCurrentUser(user);
  }

  static std::shared_ptr<VelkDBHelper> store() { return VelkDBHelper::instance(); }

  static void storeCourse(const std::string& id, const std::string& standard,
                          const std::string& title = "课程") {
    auto course = std::make_shared<CourseInfo>();
    course->id = id;
    course->courseStandard = standard;
    course->courseTitle = title;
    ASSERT_TRUE(store()->insertObject(course));
  }
  static void storeUnit(const std::string& courseId, const std::string& scoId, const std::string& showOrder,
                        bool chapter = false) {
    auto sco = std::make_shared<CourseSco>();
    sco->courseId = courseId;
    sco->scoId = scoId;
    sco->scoName = scoId;
    sco->showOrder = showOrder;
    sco->isChapter = chapter;
    ASSERT_TRUE(store()->insertObject(sco));
  }
  static void storeRecord(const std::string& userId, const std::string& courseId, float rate = 0,
                          double modified = 0) {
    auto record = std::make_shared<CourseStudyRecord>();
    record->userId = userId;
    record->courseId = courseId;
    record->studyRate = rate;
    if (modified > 0) record->lastModifyTime = pf::Date{modified};
    ASSERT_TRUE(store()->saveObject(record));
  }
  static void storeUnitRecord(const std::string& userId, const std::string& courseId,
                              const std::string& scoId, int position = 0, bool complete = false,
                              float rate = 0) {
    auto record = std::make_shared<ScoStudyRecord>();
    record->userId = userId;
    record->courseId = courseId;
    record->scoId = scoId;
    record->currentPosition = position;
    record->studyComplete = complete;
    record->studyRate = rate;
    ASSERT_TRUE(store()->saveObject(record));
  }

  // A finished download of the unit by the learner.
  static void storeDownload(const std::string& userId, const std::string& courseId,
                            const std::string& scoId) {
    auto record = std::make_shared<ScoDownloadInfo>();
    record->userId = userId;
    record->courseId = courseId;
    record->scoId = scoId;
    record->downloadId = scoId;
    record->downloadState = DownloadInfo::kFinished;
    record->hasDownloaded = true;
    ASSERT_TRUE(store()->saveObject(record));
  }

  static int count(const std::string& sql, const pf::Array& args = {}) {
    return store()->queryForSingleResult(TypeCode::Int, sql, args).intValue();
  }

  // A unit as the server sends it.
  static std::string unitJson(const std::string& courseId, const std::string& scoId, const std::string& order,
                              const std::string& name, long long minStudyTime = 0) {
    return R"({"courseId": ")" + courseId + R"(", "scoId": ")" + scoId + R"(", "showOrder": ")" + order +
           R"(", "scoName": ")" + name + R"(", "videoUrl": "http://media/)" + scoId +
           R"(.mp4", "minStudyTime": )" + std::to_string(minStudyTime) + "}";
  }

 private:
  std::shared_ptr<std::map<std::string, std::string>> answers_ =
      std::make_shared<std::map<std::string, std::string>>();
  std::shared_ptr<std::mutex> mutex_ = std::make_shared<std::mutex>();
};
