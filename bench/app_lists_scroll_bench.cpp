// Two more lists of the app's real screens on the phone window at scale 2, scrolled 9 points a frame
// through the headless host, each against Cairo and Pango drawing the same rows and bars directly
// (bench/support/ListScroll.h): my courses with 500 courses held (the course module's root in a
// side-panel deck, synced from the loopback stand-in serving a generated catalogue), and the Q&A
// module's question list with every page of the demo's questions loaded. Prints the cells each list
// made. The third list of the set, the blog feed, is blog_feed_scroll_bench.
//   app_lists_scroll_bench 2>/dev/null

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/controller/ans/AnsDetailViewClasses.h"
#include "app/controller/ans/AnsListViewClasses.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cms/CmsBrowseViewClasses.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsMainViewController.h"
#include "app/controller/cms/CmsMyTableViewController.h"
#include "app/controller/cms/CmsMyViewController.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/util/ViewUtil.h"
#include "bench/support/AppBench.h"
#include "bench/support/ListScroll.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"
#include "ui/deck/PanelDeckController.h"

namespace {

constexpr int kCourses = 500;
constexpr double kStep = 9;
constexpr char kUser[] = "U0001";

bench::ListScroll* myCourses = nullptr;
bench::ListScroll* questions = nullptr;

void scrollFrames(benchmark::State& state, bench::ListScroll& list, bool raw) {
  const double end = list.end();
  double y = 0;
  for (auto _ : state) {
    y = y + kStep > end ? 0 : y + kStep;
    if (raw) {
      list.rawFrame(y);
    } else {
      list.frame(y);
    }
  }
  if (!raw) state.counters["cells_made"] = double(list.cellsMade());
}

void BM_MyCoursesScrollFrame(benchmark::State& state) { scrollFrames(state, *myCourses, false); }
void BM_CairoMyCoursesFrame(benchmark::State& state) { scrollFrames(state, *myCourses, true); }
void BM_QuestionsScrollFrame(benchmark::State& state) { scrollFrames(state, *questions, false); }
void BM_CairoQuestionsFrame(benchmark::State& state) { scrollFrames(state, *questions, true); }

BENCHMARK(BM_MyCoursesScrollFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoMyCoursesFrame)->Apply(bench::configure);
BENCHMARK(BM_QuestionsScrollFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoQuestionsFrame)->Apply(bench::configure);

template <typename List>
void settle(List& list) {
  auto loop = pf::RunLoop::main();
  loop->runUntil(pf::Clock::now() + 0.2);
  loop->runUntilTrue([&] { return !list.isRefreshing() && !list.isLoadingMore(); }, 60);
  loop->runUntil(pf::Clock::now() + 0.5);
}

// A window of its own with the screen as the centre of a side-panel deck, as the app shows a module.
std::shared_ptr<pf::Window> showInDeck(const std::shared_ptr<pf::ViewController>& screen) {
  auto window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  auto deck = PanelDeckController::create(screen, std::make_shared<pf::ViewController>());
  deck->setLeftSize(pf::Screen::mainScreen().bounds().size.width / 320 * 50);
  window->setRootViewController(std::make_shared<pf::NavigationController>(deck));
  pf::RunLoop::main()->runUntil(pf::Clock::now() + 1);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-app-lists-bench");
  if (folder.path().empty()) return 1;
  const auto data = bench::AppBench::copyDemoData(folder.path());
  devserver::writeBrowsingCatalogue(data, kCourses, kCourses, "我的课程", kUser);
  bench::AppBench app;
  if (!app.start(data.string(), (folder.path() / "home").string(), kUser)) return 1;
  pf::Clock::install(std::make_shared<pf::VirtualClock>(pf::Clock::current()->wall()));
  pf::Screen::configure(pf::Screen::Profile::Phone);
  registerCmnViewClasses();
  registerCmsBrowseViewClasses();
  registerCmsDetailViewClasses();
  registerCmsPlayerViewClasses();
  registerAnsListViewClasses();
  registerAnsDetailViewClasses();

  auto cms = std::dynamic_pointer_cast<CmsMainViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsMainViewController::kClassName));
  if (!cms) return 1;
  auto cmsWindow = showInDeck(cms);
  auto mine = cms->myCourseViewController->myTabelViewController.lock();
  if (!mine) return 1;
  settle(*mine);
  bench::ListScroll myList(cmsWindow, mine->tableView());
  myList.prepare();

  auto ask = std::dynamic_pointer_cast<AnsQuesViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
  if (!ask) return 1;
  ask->setViewType(AnsQuesViewController::kSearchAll);
  auto askWindow = showInDeck(ask);
  settle(*ask);
  while (ask->canLoadMore() && ask->loadMore()) settle(*ask);
  askWindow->makeKeyAndVisible();
  bench::ListScroll questionList(askWindow, ask->tableView());
  questionList.prepare();

  std::printf("my courses: %ld rows (%ld taken); questions: %ld rows (%ld taken)\n", myList.rows(),
              myList.rowsTaken(), questionList.rows(), questionList.rowsTaken());
  myCourses = &myList;
  questions = &questionList;
  bench::RatioReporter reporter("app lists");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("my courses, 500 courses scrolled 9 points a frame (" + std::to_string(myList.cellsMade()) +
                          " cells made)",
                      "BM_MyCoursesScrollFrame", "Cairo+Pango", "BM_CairoMyCoursesFrame");
  reporter.printRatio("question list, " + std::to_string(questionList.rows()) + " questions scrolled 9 points a frame (" +
                          std::to_string(questionList.cellsMade()) + " cells made)",
                      "BM_QuestionsScrollFrame", "Cairo+Pango", "BM_CairoQuestionsFrame");
  benchmark::Shutdown();
  myCourses = questions = nullptr;
  pf::RunLoop::main()->runUntil(pf::Clock::now() + 1);
  pf::Clock::install(nullptr);
  app.stop();
  return 0;
}
