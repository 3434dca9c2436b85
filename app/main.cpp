// Until the screens exist, the program runs the start-up, then walks headlessly through what the
// system can already do and says what it did: the sandbox home, user defaults, the network, the local
// database and JSON mapping; then it opens the window with a card to drag and tap (--headless skips
// the window).

#include <cstdio>
#include <string>

#include "app/Walkthrough.h"
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
#include "platform/host/window/WindowHost.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/Window.h"

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

// A card on the window: drag it around, tap it to change its colour.
std::shared_ptr<pf::Window> makeDemoWindow() {
  auto window = std::make_shared<pf::Window>();
  window->setBackgroundColor(pf::Color::fromRgba(0.93, 0.94, 0.96));
  auto card = std::make_shared<pf::View>(pf::Rect(60, 140, 200, 140));
  card->setBackgroundColor(pf::Color::fromRgba(0.16, 0.5, 0.73));
  card->layer()->setCornerRadius(12);
  card->layer()->setShadowOpacity(0.35);
  card->layer()->setShadowRadius(8);
  card->layer()->setShadowOffset({0, 4});
  window->addSubview(card);
  auto pan = std::make_shared<pf::PanGestureRecognizer>();
  pan->addTarget(card, [weak = std::weak_ptr<pf::View>(card)](pf::GestureRecognizer& r) {
    auto view = weak.lock();
    auto& drag = static_cast<pf::PanGestureRecognizer&>(r);
    const pf::Point moved = drag.translationInView(view->superview().get());
    view->setCenter({view->center().x + moved.x, view->center().y + moved.y});
    drag.setTranslation({0, 0}, view->superview().get());
  });
  card->addGestureRecognizer(pan);
  auto tap = std::make_shared<pf::TapGestureRecognizer>();
  tap->addTarget(card, [weak = std::weak_ptr<pf::View>(card), warm = false](pf::GestureRecognizer&) mutable {
    warm = !warm;
    auto view = weak.lock();
    pf::View::animateWithDuration(0.3, [&] {
      view->setBackgroundColor(warm ? pf::Color::fromRgba(0.9, 0.49, 0.13)
                                    : pf::Color::fromRgba(0.16, 0.5, 0.73));
    });
  });
  card->addGestureRecognizer(tap);
  window->makeKeyAndVisible();
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  pf::RunLoop::setMainThread();
  say("Marlune: no screens yet; a headless walk through what exists:");
  startUp();
  walkDefaults();
  walkNetwork();
  walkDatabase();
  walkJson();
  if (argc > 1 && std::string(argv[1]) == "--walkthrough") {
    say("A learner's day against the server:");
    return Walkthrough("learner", "learner123", "demo").run();
  }
  if (argc > 1 && std::string(argv[1]) == "--headless") return 0;
  auto window = makeDemoWindow();
  pf::WindowHost host;
  std::string error;
  if (!host.open("Marlune", &error)) {
    say("- window: " + error + " (run with a display, or pass --headless)");
    return 0;
  }
  pf::Application::sharedApplication().launch();
  host.run();
  return 0;
}
