#include "app/Walkthrough.h"

#include <cstdio>
#include <filesystem>

#include "app/service/cmn/DbDataMigrationService.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "app/service/lgn/LoginService.h"
#include "core/open/ErrorInfo.h"
#include "core/open/OpenError.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/RunLoop.h"

namespace {

constexpr double kTransferTimeout = 120;
constexpr double kSyncTimeout = 120;
// The stretch of a unit the walk plays, in seconds.
constexpr double kStretchSeconds = 20;

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Prints what a service reports as it arrives on the main queue.
class PrintingDelegate : public ServiceDelegate {
 public:
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override {
    const auto record = error ? OpenError::firstOrDefaultErrorInfo(*error) : nullptr;
    const std::string cause =
        record && record->cause ? *record->cause : (error ? error->localizedDescription() : "unknown");
    say(pf::format("  ! %@: %@", requestUri, cause));
  }
};

// Lets the reports queued on the main queue so far be printed.
void drainMainQueue() {
  bool drained = false;
  pf::DispatchQueue::main()->async([&] { drained = true; });
  pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5);
}

std::string text(const std::optional<std::string>& value) {
  return value.value_or("-");
}

}  // namespace

Walkthrough::Walkthrough(std::string loginName, std::string password, std::string corpCode)
    : loginName_(std::move(loginName)),
      password_(std::move(password)),
      corpCode_(std::move(corpCode)),
      delegate_(std::make_shared<PrintingDelegate>()) {}

int Walkthrough::run() {
  say(pf::format("- server: %@", ServiceManager::requireConfiguration()->baseUrl));
  const bool walked = migrate() && signIn() && showMenu() && sync("first load of my courses") &&
                      browseCatalogue() && selectCourse() && downloadUnit() && studyStretch() &&
                      sync("sending the study stretch");
  drainMainQueue();
  signOut();
  say(walked ? "- walk-through complete" : "- walk-through stopped at the step above");
  return walked ? 0 : 1;
}

bool Walkthrough::migrate() {
  DbDataMigrationService migration;
  const bool earlier = std::filesystem::exists(migration.dbPath);
  migration.beginMigrations();
  say(earlier ? "- migration: carried the previous release's database into the current tables"
              : "- migration: no previous release's data; resource folders emptied");
  return true;
}

bool Walkthrough::signIn() {
  LoginService login(delegate_);
  const bool online = CommonService().isOnline();
  const bool signedIn = login.login(loginName_, password_, corpCode_);
  drainMainQueue();
  const auto user = CommonService().getCurrentUser();
  if (!signedIn || !user) {
    say(pf::format("- sign-in as %@ / %@ (%@): refused", corpCode_, loginName_,
                   online ? "online" : "offline"));
    return false;
  }
  say(pf::format("- sign-in (%@) as %@: %@ of %@, pass rate %.1f%%",
                 online ? "online" : "offline from the stored profile", loginName_, text(user->userName),
                 text(user->corpName), CourseService(delegate_).getCorpStudyRate()));
  return true;
}

bool Walkthrough::showMenu() {
  UserMobileAppService menu(delegate_);
  const auto entries = menu.reminderService().getMobileAppsAddreminderWithApps(menu.getLeftMenuApps());
  std::string line = "- side menu:";
  for (const auto& entry : entries) {
    line += pf::format(" %@", text(entry->appName));
    if (entry->reminder > 0) line += pf::format("(%d)", entry->reminder);
  }
  say(line);
  std::string square = "- app square:";
  for (const auto& entry : menu.getSquareApps()) square += " " + text(entry->appName);
  say(square);
  return !entries.empty();
}

bool Walkthrough::browseCatalogue() {
  CourseService courses(delegate_);
  auto page = std::make_shared<Page>();
  page->pageSize = 20;
  const auto catalogue = courses.getAllCourseWithPage(page);
  if (!catalogue || !catalogue->rows) {
    say("- catalogue: not loaded");
    return false;
  }
  say(pf::format("- catalogue: %lu courses on page 1 (%lu held already)", catalogue->rows->size(),
                 courses.getMyCourse().size()));
  // The first course the learner does not hold yet that has a video to download.
  for (const pf::Value& row : *catalogue->rows) {
    auto course = row.objectAs<CourseViewInfo>();
    if (!course || courses.hasSelectedCourse(course->id)) continue;
    const auto units = courses.getScoViewInfosWithCourseViewInfo(course, false);
    if (!units) continue;
    for (const auto& unit : *units) {
      if (unit->videoUrl && !unit->videoUrl->empty()) {
        course_ = course;
        say(pf::format("  %@ \"%@\" (%@, %lu units)", text(course->id), text(course->courseTitle),
                       text(course->courseStandard), units->size()));
        return true;
      }
    }
  }
  say("- catalogue: no course left to select with a video unit");
  return false;
}

bool Walkthrough::selectCourse() {
  CourseService courses(delegate_);
  const double now = pf::Date::now().seconds;
  const auto selected = courses.addSelectCourse(course_, pf::Date{now}, pf::Date{now + 30 * 86400.0});
  if (!selected || !courses.hasSelectedCourse(course_->id)) {
    say(pf::format("- selection of %@: refused", text(course_->id)));
    return false;
  }
  course_ = selected;
  const auto units = courses.getScoViewInfosWithCourseViewInfo(course_, true);
  if (units) {
    for (const auto& unit : *units) {
      if (unit->videoUrl && !unit->videoUrl->empty()) {
        unit_ = unit;
        break;
      }
    }
  }
  say(pf::format("- selected %@ for 30 days; my courses now %lu", text(course_->id),
                 courses.getMyCourse().size()));
  return unit_ != nullptr;
}

bool Walkthrough::downloadUnit() {
  const auto downloads = DownloadService::instance();
  if (!downloads->startDownloadingSco(unit_)) {
    say(pf::format("- download of %@: refused", text(unit_->scoId)));
    return false;
  }
  const auto finished = [&] {
    const auto record = downloads->sdiWithScoId(unit_->scoId);
    return record && (record->isComplete() || record->downloadState >= DownloadInfo::kFailed);
  };
  pf::RunLoop::main()->runUntilTrue(finished, kTransferTimeout);
  const auto record = downloads->sdiWithScoId(unit_->scoId);
  const auto file = downloads->vedioPathWithScoID(unit_->scoId);
  if (!record || !record->isComplete() || !file) {
    say(pf::format("- download of %@ \"%@\": did not finish", text(unit_->scoId), text(unit_->scoName)));
    return false;
  }
  say(pf::format("- downloaded %@ \"%@\": %llu bytes to %@", text(unit_->scoId), text(unit_->scoName),
                 record->totalSize, *file));
  return true;
}

bool Walkthrough::studyStretch() {
  CoursePlayerService player(delegate_);
  const double length = unit_->totalTime > 0 ? unit_->totalTime / 1000.0 : kStretchSeconds * 2;
  unit_->currentPosition = static_cast<int>(std::min(kStretchSeconds, length) * 1000);
  player.saveStudyRecordWithCourse(course_, unit_, kStretchSeconds, length);
  const auto record = CourseService(delegate_).courseStudyRecordOfCourse(course_->id);
  say(pf::format("- studied %@ for %.0f s from the downloaded file: unit at %.1f%%, course at %.1f%%",
                 text(unit_->scoId), kStretchSeconds, unit_->studyRate, record ? record->studyRate : 0.0f));
  return record != nullptr;
}

bool Walkthrough::sync(const char* label) {
  auto done = std::make_shared<bool>(false);
  auto delegate = delegate_;
  pf::DispatchQueue::global()->async([done, delegate] {
    CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    pf::DispatchQueue::main()->async([done] { *done = true; });
  });
  pf::RunLoop::main()->runUntilTrue([&] { return *done; }, kSyncTimeout);
  if (!*done) {
    say(pf::format("- sync (%s): did not end in time", label));
    return false;
  }
  CourseService courses(delegate_);
  std::string held;
  for (const auto& course : courses.getMyCourse()) {
    held += pf::format(" %@ %.1f%%", text(course->id), course->studyRate);
  }
  say(pf::format("- sync (%s) of courses and study records with the server; held:%@", label, held));
  return true;
}

void Walkthrough::signOut() {
  if (!CommonService().getCurrentUser()) return;
  LoginService::signOut();
  say("- signed out: no current user, no session, download lists dropped");
}
