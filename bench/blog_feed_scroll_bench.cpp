// The micro-blog home feed (BlgAllTableViewController in the module's root, on the phone window at
// scale 2) with 1,000 generated blogs paged in from the loopback stand-in, every third with a picture,
// the pictures loaded and cached by a first pass through the list. Scrolled 9 points a frame through
// the headless host, against Cairo and Pango drawing the same rows (taken once from the cells: fills,
// pictures, text) and the screen's bars straight into a bitmap. Also one reload of the whole list (every
// row's height measured again), against Pango measuring the rows' texts at their widths. Prints the
// cells the list made (BlgMainCell interface loads).
//   blog_feed_scroll_bench 2>/dev/null

#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "app/controller/blg/BlgAllTableViewController.h"
#include "app/controller/blg/BlgAllViewController.h"
#include "app/controller/blg/BlgDetailViewClasses.h"
#include "app/controller/blg/BlgFeedViewClasses.h"
#include "app/controller/blg/BlgMainViewController.h"
#include "app/controller/cmn/CmnViewClasses.h"
#include "app/model/blg/Blog.h"
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
#include "ui/deck/PanelDeckController.h"

namespace {

constexpr int kBlogs = 1000;
constexpr double kStep = 9;
constexpr char kUser[] = "U0001";

struct Feed {
  std::shared_ptr<pf::Window> window;
  std::shared_ptr<BlgMainViewController> root;
  std::shared_ptr<BlgAllTableViewController> list;
  std::unique_ptr<bench::ListScroll> scroll;
  std::vector<std::string> texts;  // each row's text, for the raw heights
  double textWidth = 0;
};
Feed* feed = nullptr;

void BM_BlogFeedScrollFrame(benchmark::State& state) {
  const double end = feed->scroll->end();
  double y = 0;
  for (auto _ : state) {
    y = y + kStep > end ? 0 : y + kStep;
    feed->scroll->frame(y);
  }
  state.counters["cells_made"] = double(feed->scroll->cellsMade());
}

void BM_CairoBlogFeedFrame(benchmark::State& state) {
  const double end = feed->scroll->end();
  double y = 0;
  for (auto _ : state) {
    y = y + kStep > end ? 0 : y + kStep;
    feed->scroll->rawFrame(y);
  }
}

void BM_BlogFeedReload(benchmark::State& state) {
  auto table = feed->list->tableView();
  for (auto _ : state) table->reloadData();
}

void BM_PangoBlogFeedHeights(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei");
  pango_font_description_set_absolute_size(font, 15 * PANGO_SCALE);
  for (auto _ : state) {
    double total = 0;
    for (const std::string& text : feed->texts) {
      PangoLayout* layout = pango_cairo_create_layout(cr);
      pango_layout_set_font_description(layout, font);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      pango_layout_set_width(layout, int(feed->textWidth * PANGO_SCALE));
      pango_layout_set_text(layout, text.c_str(), -1);
      int width = 0, height = 0;
      pango_layout_get_pixel_size(layout, &width, &height);
      total += height;
      g_object_unref(layout);
    }
    benchmark::DoNotOptimize(total);
  }
  pango_font_description_free(font);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_BlogFeedScrollFrame)->Apply(bench::configure);
BENCHMARK(BM_CairoBlogFeedFrame)->Apply(bench::configure);
BENCHMARK(BM_BlogFeedReload)->Apply(bench::configure);
BENCHMARK(BM_PangoBlogFeedHeights)->Apply(bench::configure);

// The demo's blogs with kBlogs generated ones.
void generateBlogs(const std::filesystem::path& data) {
  const auto path = data / "blg" / "blogs.json";
  nlohmann::json blogs = nlohmann::json::parse(std::ifstream(path));
  blogs["generated"]["count"] = kBlogs;
  std::ofstream(path) << blogs.dump();
}

// The module's root in a side-panel deck on the key window, as the app shows it, every page loaded.
bool openFeed(Feed& into) {
  auto loop = pf::RunLoop::main();
  into.window = std::make_shared<pf::Window>();
  into.window->makeKeyAndVisible();
  into.root = std::dynamic_pointer_cast<BlgMainViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgMainViewController::kClassName));
  if (!into.root) return false;
  auto deck = PanelDeckController::create(into.root, std::make_shared<pf::ViewController>());
  deck->setLeftSize(pf::Screen::mainScreen().bounds().size.width / 320 * 50);
  into.window->setRootViewController(std::make_shared<pf::NavigationController>(deck));
  const auto settle = [&](BaseTableViewController& list) {
    loop->runUntil(pf::Clock::now() + 0.2);
    loop->runUntilTrue([&] { return !list.isRefreshing() && !list.isLoadingMore(); }, 30);
    loop->runUntil(pf::Clock::now() + 0.5);
  };
  loop->runUntil(pf::Clock::now() + 1);
  into.list = into.root->blgAllViewController->allTableViewController.lock();
  if (!into.list) return false;
  settle(*into.list);
  while (into.list->canLoadMore() && into.list->loadMore()) settle(*into.list);
  if (into.list->resourceArr)
    for (const auto& blog : *into.list->resourceArr) into.texts.push_back(blog->content.value_or(""));
  into.scroll = std::make_unique<bench::ListScroll>(into.window, into.list->tableView());
  into.textWidth = into.list->tableView()->bounds().size.width - 70;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-blog-feed-bench");
  if (folder.path().empty()) return 1;
  const auto data = bench::AppBench::copyDemoData(folder.path());
  generateBlogs(data);
  bench::AppBench app;
  if (!app.start(data.string(), (folder.path() / "home").string(), kUser)) return 1;
  pf::Clock::install(std::make_shared<pf::VirtualClock>(pf::Clock::current()->wall()));
  pf::Screen::configure(pf::Screen::Profile::Phone);
  registerCmnViewClasses();
  registerBlgFeedViewClasses();
  registerBlgDetailViewClasses();
  Feed shown;
  if (!openFeed(shown)) {
    std::fprintf(stderr, "the feed did not open\n");
    return 1;
  }
  shown.scroll->prepare();
  std::printf("feed rows %ld (rows taken for drawing directly %ld), list %.0f points long\n", shown.scroll->rows(),
              shown.scroll->rowsTaken(), shown.scroll->end());
  feed = &shown;

  bench::RatioReporter reporter("blog feed");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("blog feed: cells made %ld\n", shown.scroll->cellsMade());
  reporter.printRatio("1,000-blog feed with pictures scrolled 9 points a frame (" +
                          std::to_string(shown.scroll->cellsMade()) + " cells made)",
                      "BM_BlogFeedScrollFrame", "Cairo+Pango", "BM_CairoBlogFeedFrame");
  reporter.printRatio("1,000-blog feed, one reload (every row's height)", "BM_BlogFeedReload",
                      "Pango text heights", "BM_PangoBlogFeedHeights");
  benchmark::Shutdown();
  feed = nullptr;
  shown = Feed();
  pf::RunLoop::main()->runUntil(pf::Clock::now() + 1);
  pf::Clock::install(nullptr);
  app.stop();
  return 0;
}
