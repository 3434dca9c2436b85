// Until the screens exist, the program runs the start-up, then walks headlessly through what the
// system can already do and says what it did: the sandbox home, user defaults, the network, the local
// database and JSON mapping.

#include <cstdio>
#include <string>

#include "app/service/cmn/InitService.h"
#include "core/json/JsonUtil.h"
#include "core/reachability/DeviceReachability.h"
#include "core/reflect/ReflectionUtil.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class DemoCourse : public pf::Object {
  PF_OBJECT(DemoCourse, pf::Object)
  std::optional<std::string> courseTitle;
  int studyHours = 0;
  std::optional<pf::Date> createTime;
  std::vector<std::string> tags;

  static void declareProperties(pf::ClassBuilder<DemoCourse>& b) {
    PF_PROPERTY(b, courseTitle);
    PF_PROPERTY(b, studyHours);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, tags);
  }
};

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
}

void startUp() {
  const char* database = "";
  switch (InitService().initAll()) {
    case InitService::DatabaseStart::Created:
      database = "created";
      break;
    case InitService::DatabaseStart::Current:
      database = "current";
      break;
    case InitService::DatabaseStart::SchemaUpdated:
      database = "of another mapping version: schema update ran";
      break;
    case InitService::DatabaseStart::Unavailable:
      database = "unavailable";
      break;
  }
  say(pf::format("- start-up: local database %s", database));
}

void walkDefaults() {
  auto defaults = pf::UserDefaults::standardUserDefaults();
  long launches = defaults->integerForKey("demoLaunchCount") + 1;
  defaults->setInteger(launches, "demoLaunchCount");
  defaults->synchronize();
  say(pf::format("- home %@ (launch %ld recorded in user defaults)", pf::Sandbox::home(), launches));
}

void walkNetwork() {
  const char* status = DeviceReachability::activeWLAN()   ? "reachable through Wi-Fi or the local network"
                       : DeviceReachability::activeWWAN() ? "reachable through the mobile network"
                                                          : "not reachable";
  say(pf::format("- network: %s", status));
}

void walkDatabase() {
  std::string path = pf::Sandbox::documentsPath() + "/walk.db";
  auto db = SqlDatabase::databaseWithPath(path);
  if (!db->open()) {
    say("- database: could not open " + path);
    return;
  }
  db->executeUpdate("CREATE TABLE IF NOT EXISTS walk_course (title TEXT, hours INTEGER)");
  db->executeUpdate("INSERT INTO walk_course (title, hours) VALUES (?, ?)", std::string("安全生产"), 12);
  int count = db->intForQuery("SELECT COUNT(*) FROM walk_course");
  say(pf::format("- database: SQLite %@ at %@ holds %d course rows", SqlDatabase::sqliteLibVersion(), path,
                 count));
  db->close();
}

void walkJson() {
  pf::registerClass<DemoCourse>();
  ReflectionUtil::setArrayType("NSString", "tags", "DemoCourse");
  std::string answer = R"({"courseTitle": "Fire safety \"basics\"", "studyHours": 3,
                           "createTime": 1700000000000, "tags": ["safety", "必修"]})";
  auto course = JsonUtil::objectFromJsonString(answer, "DemoCourse").objectAs<DemoCourse>();
  say(pf::format("- JSON: read course \"%@\" (%d hours, %lu tags); written back:", *course->courseTitle,
                 course->studyHours, course->tags.size()));
  say(JsonUtil::jsonStringWithObject(pf::Value(course)).value_or("(failed)"));
}

}  // namespace

int main() {
  pf::RunLoop::setMainThread();
  say("Marlune: no screens yet; a headless walk through what exists:");
  startUp();
  walkDefaults();
  walkNetwork();
  walkDatabase();
  walkJson();
  return 0;
}
