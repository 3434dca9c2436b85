#include "app/journey/LearnerJourney.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/ans/AnsDistributeView.h"
#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/blg/BlgBlogRows.h"
#include "app/controller/blg/BlgDetailTableViewCell.h"
#include "app/controller/blg/BlgDetailTableViewController.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgEditorText.h"
#include "app/controller/blg/BlgMainCell.h"
#include "app/controller/blg/BlgMainTableViewController.h"
#include "app/controller/blg/WriteBlogViewController.h"
#include "app/controller/cms/CmsDetailDownloadCell.h"
#include "app/controller/cms/CmsStudySelCosCell.h"
#include "app/controller/lgn/LoginViewController.h"
#include "app/controller/stg/ModifyViewController.h"
#include "app/controller/stg/SettingViewController.h"
#include "app/journey/JourneyScreen.h"
#include "app/model/blg/Blog.h"
#include "app/model/cmn/MobileApp.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "ui/base/BaseTextView.h"
#include "ui/base/BaseUIImageView.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/webimage/ImageCache.h"

namespace {

// The unit the learner studies: the third of the course, a video the stand-in lets download.
constexpr long kJourneyUnitRow = 3;

// A course of the catalogue the learner does not hold, on its last page.
constexpr char kJourneyCatalogueCourse[] = "预算编制基础";
constexpr char kJourneyQuestion[] = "离线学习的进度什么时候同步？";
constexpr char kJourneyAnswer[] = "每天固定一个小时，先看视频再做练习。";
constexpr char kJourneyBlog[] = "今天学完了高效沟通的第三节";
constexpr char kJourneyRepost[] = "一起来学";
constexpr char kJourneyComment[] = "讲得很清楚";

// The module rows of the demo learner's menu, in order, and what each root shows.
struct LearnerJourneyModule {
  const char* key;
  const char* row;
  const char* shows;
};
constexpr LearnerJourneyModule kLearnerJourneyModules[] = {
    {"exams", "我的考试", "安全生产基础"}, {"surveys", "问卷调查", "新员工入职培训满意度调查"},
    {"questions", "问答", "问题"},         {"blog", "微博", "微博"},
    {"square", "应用广场", "应用广场"},    {"courses", "我的课程", "我的课程"}};

}  // namespace

struct LearnerJourney::Walk {
  Walk(std::shared_ptr<pf::Window> shownOn, Account who)
      : screen(std::move(shownOn)), account(std::move(who)) {
    reachability->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);
    previousReachability = pf::ReachabilityProvider::install(reachability);
  }
  ~Walk() { pf::ReachabilityProvider::install(previousReachability); }

  JourneyScreen screen;
  Account account;
  Observer observer;
  std::shared_ptr<pf::ManualReachabilityProvider> reachability = std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previousReachability;
  std::vector<std::string> problems;

  // --- Reading the screen.
  void expect(bool holds, const std::string& what) {
    if (!holds) problems.push_back(what + " [on screen: " + screen.describe() + "]");
  }
  void expectShows(const std::string& text) { expect(screen.shows(text), "\"" + text + "\" not shown"); }
  std::shared_ptr<pf::NavigationController> rootStack() const {
    return std::dynamic_pointer_cast<pf::NavigationController>(screen.window()->rootViewController());
  }
  std::shared_ptr<PanelDeckController> deck() const {
    auto stack = rootStack();
    return stack ? std::dynamic_pointer_cast<PanelDeckController>(stack->topViewController()) : nullptr;
  }
  std::shared_ptr<LoginViewController> login() const {
    auto stack = rootStack();
    return stack && !stack->viewControllers().empty()
               ? std::dynamic_pointer_cast<LoginViewController>(stack->viewControllers().front())
               : nullptr;
  }
  std::shared_ptr<pf::ViewController> top() const {
    auto shown = screen.window()->rootViewController();
    while (shown) {
      if (auto presented = shown->presentedViewController()) {
        shown = presented;
      } else if (auto side = std::dynamic_pointer_cast<PanelDeckController>(shown); side && side->centerController()) {
        shown = side->isSideOpen(DeckSideLeft) && side->leftController() ? side->leftController()
                                                                          : side->centerController();
      } else if (auto tabs = std::dynamic_pointer_cast<pf::TabBarController>(shown);
                 tabs && tabs->selectedViewController()) {
        shown = tabs->selectedViewController();
      } else if (auto stack = std::dynamic_pointer_cast<pf::NavigationController>(shown);
                 stack && stack->topViewController()) {
        shown = stack->topViewController();
      } else if (auto container = containerChild(*shown)) {
        shown = container;
      } else {
        break;
      }
    }
    return shown;
  }
  // A tab or navigation container a screen holds as its child (a module root around its tabs).
  static std::shared_ptr<pf::ViewController> containerChild(const pf::ViewController& screen) {
    for (const auto& child : screen.childViewControllers())
      if (std::dynamic_pointer_cast<pf::TabBarController>(child) ||
          std::dynamic_pointer_cast<pf::NavigationController>(child))
        return child;
    return nullptr;
  }
  std::string topClass() const {
    auto shown = top();
    return shown ? shown->className() : "nothing";
  }
  // The first table showing in the view with at least that many rows.
  static std::shared_ptr<pf::TableView> tableIn(const std::shared_ptr<pf::View>& view, long minRows = 1) {
    if (!view || view->isHidden()) return nullptr;
    if (auto table = std::dynamic_pointer_cast<pf::TableView>(view);
        table && table->numberOfRowsInSection(0) >= minRows)
      return table;
    for (const auto& sub : view->subviews())
      if (auto table = tableIn(sub, minRows)) return table;
    return nullptr;
  }

  // --- Acting.
  // Runs the loop until nothing is under way elsewhere and a moment has passed.
  void settle(double timeout = 5) {
    for (int round = 0; round < 3; ++round) {
      screen.waitFor([] { return pf::RunLoop::pendingWorkCount() == 0; }, timeout);
      screen.wait(0.5);
      if (pf::RunLoop::pendingWorkCount() == 0) return;
    }
  }
  void setOnline(bool online) {
    reachability->setFlags(online ? pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect : 0);
    reachability->fireChange();
    settle();
  }
  // The screen whose items the navigation bar shows: a tab's container on top of its stack.
  std::shared_ptr<pf::ViewController> barOwner() const {
    auto shown = top();
    auto stack = shown ? shown->navigationController() : nullptr;
    return stack && stack->topViewController() ? stack->topViewController() : shown;
  }
  bool tapBarButton(bool left) {
    auto shown = barOwner();
    if (!shown) return false;
    // A hidden bar keeps its items out of the window's top edge: nothing a finger reaches.
    if (auto stack = shown->navigationController(); stack && stack->isNavigationBarHidden()) return false;
    auto item = left ? shown->navigationItem()->leftBarButtonItem() : shown->navigationItem()->rightBarButtonItem();
    return item && screen.tap(item->customView());
  }
  void fillField(const std::weak_ptr<pf::TextField>& weak, const std::string& text) {
    auto field = weak.lock();
    if (!field) return;
    field->setText("");
    screen.type(field, text);
  }

  // --- Steps.
  void signIn(const std::string& password) {
    auto screenAtLogin = login();
    expect(screenAtLogin && top() == screenAtLogin, "the login screen is not showing");
    if (!screenAtLogin) return;
    fillField(screenAtLogin->corpCode, account.corpCode);
    fillField(screenAtLogin->userName, account.loginName);
    fillField(screenAtLogin->passWord, password);
    screen.tap(screenAtLogin->loginBtn.lock());
    screen.waitFor([&] { return !screenAtLogin->isSigningIn(); });
    settle();
    expect(deck() != nullptr, "signing in did not reach the module screen");
  }
  // A module's first screen draws its own header with the menu button in its top-left corner.
  bool tapHeaderMenuButton() {
    auto shown = barOwner();
    auto button = shown ? headerButtonIn(shown->view()) : nullptr;
    return button && screen.tap(button);
  }
  std::shared_ptr<pf::Button> headerButtonIn(const std::shared_ptr<pf::View>& view) const {
    if (!view || view->isHidden()) return nullptr;
    if (auto button = std::dynamic_pointer_cast<pf::Button>(view)) {
      const pf::Rect frame = button->convertRectToView(button->bounds(), nullptr);
      const auto hit = screen.window()->hitTest({frame.midX(), frame.midY()}, nullptr);
      const bool corner = frame.minX() < 40 && frame.minY() >= 0 && frame.maxY() <= 120;
      return corner && hit && (hit == view || hit->isDescendantOfView(view.get())) ? button : nullptr;
    }
    for (const auto& sub : view->subviews())
      if (auto button = headerButtonIn(sub)) return button;
    return nullptr;
  }
  void openMenu() {
    auto side = deck();
    if (!side) return;
    // An opened screen locks the menu: back to the module's first screen.
    for (int back = 0; back < 5 && !side->isSideOpen(DeckSideLeft); ++back) {
      auto stack = top() ? top()->navigationController() : nullptr;
      if (!stack || stack == rootStack() || stack->viewControllers().size() < 2) break;
      if (!goBack()) break;
    }
    const bool tapped = !side->isSideOpen(DeckSideLeft) && (tapBarButton(true) || tapHeaderMenuButton());
    settle();
    if (!side->isSideOpen(DeckSideLeft)) {
      screen.drag({2, screen.window()->bounds().midY()}, {220, screen.window()->bounds().midY()});
      settle();
    }
    expect(side->isSideOpen(DeckSideLeft), std::string("the menu did not open (") +
                                               (tapped ? "its button tapped" : "no button to tap") + " on " +
                                               topClass() + ")");
  }
  void chooseModule(const std::string& row) {
    openMenu();
    auto side = deck();
    auto menu = side ? std::dynamic_pointer_cast<AppNavigatorViewController>(side->leftController()) : nullptr;
    if (!menu) return;
    const long at = menuRow(*menu, row);
    expect(at >= 0, "the menu has no row " + row);
    if (at < 0) return;
    screen.tapRow(*menu->tableView, at);
    settle();
    expect(!side->isSideOpen(DeckSideLeft), "the menu stayed open after choosing " + row);
  }

  // The first controller of the class in the window's hierarchy, presented ones included.
  std::shared_ptr<pf::ViewController> find(const std::string& className) const {
    return findFrom(screen.window()->rootViewController(), className);
  }
  static std::shared_ptr<pf::ViewController> findFrom(const std::shared_ptr<pf::ViewController>& from,
                                                      const std::string& className) {
    if (!from) return nullptr;
    if (from->className() == className) return from;
    std::vector<std::shared_ptr<pf::ViewController>> next = from->childViewControllers();
    if (auto side = std::dynamic_pointer_cast<PanelDeckController>(from)) {
      next.push_back(side->centerController());
      next.push_back(side->leftController());
    }
    if (auto stack = std::dynamic_pointer_cast<pf::NavigationController>(from))
      next.insert(next.end(), stack->viewControllers().begin(), stack->viewControllers().end());
    if (auto tabs = std::dynamic_pointer_cast<pf::TabBarController>(from))
      next.insert(next.end(), tabs->viewControllers().begin(), tabs->viewControllers().end());
    next.push_back(from->presentedViewController());
    for (const auto& child : next)
      if (auto found = findFrom(child, className)) return found;
    return nullptr;
  }
  long rows(const std::shared_ptr<pf::TableView>& table) const {
    return table && table->numberOfSections() > 0 ? table->numberOfRowsInSection(0) : 0;
  }
  std::shared_ptr<pf::TableView> shownTable() const {
    auto shown = top();
    return shown ? tableIn(shown->view()) : nullptr;
  }
  // Drags the list up until it has grown (a page more came in) or ends.
  void scrollToEnd(const std::shared_ptr<pf::TableView>& table) {
    if (!table) return;
    const pf::Rect frame = table->convertRectToView(table->bounds(), nullptr);
    for (int drag = 0; drag < 12; ++drag) {
      const long before = rows(table);
      // At the very end (a load-more failed there) the list asks again only when the footer comes
      // back into view: the learner scrolls back a little first.
      if (table->contentOffset().y >= table->contentSize().height - table->frame().height() - 1)
        screen.drag({frame.midX(), frame.minY() + frame.height() * 0.4}, {frame.midX(), frame.minY() + frame.height() * 0.6});
      screen.drag({frame.midX(), frame.minY() + frame.height() * 0.8}, {frame.midX(), frame.minY() + frame.height() * 0.2});
      settle();
      if (rows(table) > before) return;
    }
  }
  // A box still up (a "done" notice) keeps the finger off the screen a moment: the learner waits.
  bool tapTextWhenReachable(const std::string& text) {
    for (int tries = 0; tries < 8; ++tries) {
      if (screen.tapText(text)) return true;
      screen.wait(0.5);
    }
    return false;
  }
  void tapTextOrSay(const std::string& text) {
    expect(tapTextWhenReachable(text), "nothing shows \"" + text + "\" to tap");
    settle();
  }
  // True when the stack got shallower; otherwise the problem is noted.
  bool goBack() {
    auto stack = top() ? top()->navigationController() : nullptr;
    const size_t depth = stack ? stack->viewControllers().size() : 0;
    if (depth < 2 || (!screen.tapText("返回", stack->view()) && !tapBarButton(true))) {
      expect(false, "no way back from " + topClass());
      return false;
    }
    settle();
    const bool wentBack = stack->viewControllers().size() < depth;
    expect(wentBack, "back left " + topClass() + " on top");
    return wentBack;
  }
  size_t stackDepth() const {
    auto stack = top() ? top()->navigationController() : nullptr;
    return stack ? stack->viewControllers().size() : 0;
  }
  // Back to the first screen of the innermost stack; stops at the first back that does not go back.
  void backToStackRoot() {
    for (int back = 0; back < 8 && stackDepth() > 1; ++back)
      if (!goBack()) return;
    expect(stackDepth() <= 1, "still " + std::to_string(stackDepth()) + " screens deep after going back");
  }
  void pickTab(const std::string& title) {
    tapTextOrSay(title);
  }

  // The table of the shown screen's answering area: option rows after the question's title row.
  void tapOption(long option) {
    auto table = shownTable();
    expect(table && screen.tapRow(*table, option + 1), "no option " + std::to_string(option) + " to tap");
  }
  // Types into the text area of the shown question's last row.
  void typeAnswer(const std::string& text) {
    auto table = shownTable();
    const long last = rows(table) - 1;
    if (last < 0) return expect(false, "no answer row to type in");
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(last, 0), pf::TableView::ScrollPosition::Bottom, false);
    screen.wait(0.1);
    auto area = textAreaIn(table->cellForRowAtIndexPath(pf::IndexPath::forRow(last, 0)));
    expect(area && screen.type(area, text), "no text area to type the answer in");
  }
  static std::shared_ptr<pf::View> textAreaIn(const std::shared_ptr<pf::View>& view) {
    if (!view) return nullptr;
    if (std::dynamic_pointer_cast<pf::TextView>(view) || std::dynamic_pointer_cast<pf::TextField>(view)) return view;
    for (const auto& sub : view->subviews())
      if (auto area = textAreaIn(sub)) return area;
    return nullptr;
  }

  void stepExam() {
    chooseModule("我的考试");
    tapTextOrSay("安全生产基础");
    expect(topClass() == "EmsDescViewController", "the exam row opened " + topClass());
    tapTextOrSay("进入考试");
    expect(topClass() == "EmsProcessViewController", "entering the exam opened " + topClass());
    expectShows("考试进度：1/4");
    const long rightOptions[] = {2, 0, 1, 0};
    for (long option : rightOptions) {
      tapOption(option);
      tapTextOrSay(screen.shows("下一题") ? "下一题" : "提交");
    }
    settle();
    expect(topClass() == "EmsSubmitResultViewController", "submitting the exam showed " + topClass());
    if (observer) observer("exam-result", top());
    tapTextOrSay("返回列表");
    expect(topClass() == "EmsAllViewController", "the result returned to " + topClass());
  }
  void stepSurvey() {
    chooseModule("问卷调查");
    tapTextOrSay("新员工入职培训满意度调查");
    expect(topClass() == "QsmDescViewController", "the survey row opened " + topClass());
    tapTextOrSay("开始答卷");
    expect(topClass() == "QsmProcessViewController", "starting the survey opened " + topClass());
    expectShows("回答进度：1/4");
    tapOption(1);
    tapTextOrSay("下一题");
    tapOption(0);
    tapOption(2);
    tapTextOrSay("下一题");
    typeAnswer("多安排实操");
    tapTextOrSay("下一题");
    typeAnswer("45");
    tapTextOrSay("提交");
    settle();
    expect(topClass() == "QsmSubmitResultViewController", "submitting the survey showed " + topClass());
    if (observer) observer("survey-result", top());
    tapTextOrSay("返回调查列表");
    expect(topClass() == "QsmAllViewController", "the result returned to " + topClass());
  }
  bool told(const std::string& message) {
    const auto& seen = screen.messages();
    return std::find(seen.begin(), seen.end(), message) != seen.end();
  }
  void expectTold(const std::string& message) { expect(told(message), "not told \"" + message + "\""); }
  void tapTabItem(const std::shared_ptr<pf::TabBar>& bar, size_t index) {
    expect(bar && index < bar->items().size(), "no bar item " + std::to_string(index));
    if (!bar || index >= bar->items().size()) return;
    const pf::Rect slot = bar->convertRectToView(bar->rectForItemAtIndex(index), nullptr);
    pf::HeadlessHost(screen.window()).tap({slot.midX(), slot.midY()});
    settle();
  }

  void stepAskAndAnswer() {
    chooseModule("问答");
    tapBarButton(false);
    auto ask = std::dynamic_pointer_cast<AnsQuesQuizViewController>(top());
    expect(ask != nullptr, "the ask button opened " + topClass());
    if (!ask) return;
    screen.type(ask->questionView.lock(), kJourneyQuestion);
    tapTextOrSay("发布");
    expect(topClass() == "AnsQuesViewController", "publishing left " + topClass());
    expectShows(kJourneyQuestion);
    tapTextOrSay("如何安排每天的学习时间？");
    auto detail = std::dynamic_pointer_cast<AnsQuesDetailViewController>(top());
    expect(detail != nullptr, "the question row opened " + topClass());
    if (!detail) return;
    tapTextOrSay("回答");
    auto editor = detail->disV;
    expect(editor && editor->superview(), "no answer editor");
    if (!editor) return;
    screen.type(editor->editView.lock(), kJourneyAnswer);
    tapTextOrSay("保存");
    expectTold("添加答案成功！");
    expectShows(kJourneyAnswer);
    if (observer) observer("answered", top());
    goBack();
  }
  // Pulls the shown list down past its refresh control, as a learner does to load it again; a box
  // still up keeps the finger off the list a moment.
  void pullToRefresh() {
    auto shown = top();
    auto table = shown ? tableIn(shown->view(), 0) : nullptr;
    expect(table != nullptr, "no list to pull down on " + topClass());
    if (!table) return;
    const pf::Rect frame = table->convertRectToView(table->bounds(), nullptr);
    const pf::Point from{frame.midX(), frame.minY() + 10};
    screen.waitFor([&] {
      auto hit = screen.window()->hitTest(from, nullptr);
      return hit && (hit == table || hit->isDescendantOfView(table.get()));
    }, 5);
    screen.drag(from, {frame.midX(), frame.minY() + std::min(300.0, frame.height() - 10)});
    settle();
  }
  void stepFollowTopic() {
    pickTab("话题");
    // Picking the tab again keeps a list that failed to load: the learner pulls it down.
    if (!screen.shows("安全生产")) pullToRefresh();
    tapTextOrSay("安全生产");
    expect(topClass() == "AnsTopicDetailViewController", "the topic row opened " + topClass());
    tapTextOrSay("加关注");
    expectTold("添加关注成功");
    expectShows("取消关注");
    goBack();
  }
  void stepBlog() {
    chooseModule("微博");
    pickTab("微博首页");
    backToStackRoot();
    tapBarButton(false);
    auto composer = std::dynamic_pointer_cast<WriteBlogViewController>(top());
    expect(composer != nullptr, "the write button opened " + topClass());
    if (!composer) return;
    screen.type(composer->blogText.lock(), kJourneyBlog);
    tapTabItem(composer->toolBar.lock(), WriteBlogViewController::kPhotoTag);
    const auto sheets = pf::ActionSheet::visibleSheets();
    expect(sheets.size() == 1, "no sheet to pick the photo's source");
    if (sheets.size() != 1) return;
    sheets.front()->dismissWithClickedButtonIndex(sheets.front()->firstOtherButtonIndex(), false);
    settle();
    auto picker = composer->popover
                      ? std::dynamic_pointer_cast<pf::ImagePickerController>(composer->popover->contentViewController())
                      : std::dynamic_pointer_cast<pf::ImagePickerController>(composer->presentedViewController());
    expect(picker && picker->pickPictureAtIndex(0), "no album picture to pick");
    settle();
    expect(composer->sendImage != nullptr, "the picked picture does not show in the text");
    tapBarButton(false);
    // The composer goes once its notice has gone.
    screen.waitFor([&] { return topClass() != "WriteBlogViewController"; }, 5);
    settle();
    expectTold(BlgEditorText::kPostedMessage);
    expect(topClass() == "BlgAllViewController", "sending left " + topClass());
    expectShows(kJourneyBlog);
    expect(feedRowHasPicture(kJourneyBlog), "the new blog's row shows no picture");
  }
  // Whether the feed's row of the blog with this text shows a loaded picture.
  bool feedRowHasPicture(const std::string& content) {
    auto list = find("BlgAllTableViewController");
    auto feed = std::dynamic_pointer_cast<BlgMainTableViewController>(list);
    if (!feed || !feed->resourceArr) return false;
    const auto& blogs = *feed->resourceArr;
    const auto at = std::find_if(blogs.begin(), blogs.end(), [&](const auto& blog) { return blog->content == content; });
    if (at == blogs.end()) return false;
    const pf::IndexPath path = pf::IndexPath::forRow(at - blogs.begin(), 0);
    feed->tableView()->scrollToRowAtIndexPath(path, pf::TableView::ScrollPosition::Middle, false);
    screen.waitFor([&] { return pictureLoaded(feed->tableView()->cellForRowAtIndexPath(path)); }, 10);
    return pictureLoaded(feed->tableView()->cellForRowAtIndexPath(path));
  }
  static bool pictureLoaded(const std::shared_ptr<pf::TableViewCell>& row) {
    auto cell = std::dynamic_pointer_cast<BlgMainCell>(row);
    auto picture = cell ? cell->contentImageView.lock() : nullptr;
    return picture && !picture->isHidden() && picture->currentImageUrl() && picture->image() &&
           picture->image() != pf::Image::named(BlgBlogRows::kPicturePlaceholder, pf::Screen::mainScreen().scale());
  }
  std::shared_ptr<BlgDetailViewController> blogDetail() const {
    return std::dynamic_pointer_cast<BlgDetailViewController>(top());
  }
  std::shared_ptr<pf::TabBar> detailBar() const {
    auto detail = blogDetail();
    return detail ? detail->actionBar.lock() : nullptr;
  }
  std::shared_ptr<BlgDetailTableViewCell> detailRow() const {
    auto detail = blogDetail();
    auto list = detail ? detail->detailTableViewController.lock() : nullptr;
    return list ? std::dynamic_pointer_cast<BlgDetailTableViewCell>(
                      list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)))
                : nullptr;
  }
  // The count the detail's row shows beside its repost or comment button.
  std::string detailCount(bool comments) const {
    auto row = detailRow();
    auto label = row ? (comments ? row->commentsLabel.lock() : row->broadcastLabel.lock()) : nullptr;
    return label ? label->text().value_or("") : "";
  }
  void openJourneyBlog() {
    tapTextOrSay(kJourneyBlog);
    expect(topClass() == "BlgDetailViewController", "the blog row opened " + topClass());
  }
  // Types into the editor on top and sends it; the editor goes once its notice has gone.
  void sendFromEditor(const std::string& editorClass, const std::string& text) {
    expect(topClass() == editorClass, "expected " + editorClass + ", " + topClass() + " opened");
    if (topClass() != editorClass) return;
    screen.type(textAreaIn(top()->view()), text);
    tapBarButton(false);
    screen.waitFor([&] { return topClass() != editorClass; }, 5);
    settle();
    expectTold(BlgEditorText::kPostedMessage);
  }
  void stepRepost() {
    openJourneyBlog();
    const std::string before = detailCount(false);
    tapTabItem(detailBar(), BlgDetailViewController::kRepostTag);
    sendFromEditor("BlgForwardEditViewController", kJourneyRepost);
    expect(topClass() == "BlgDetailViewController", "sending the repost left " + topClass());
    expect(detailCount(false) == "1", "the repost count went from " + before + " to " + detailCount(false));
    backToStackRoot();
    expectShows(kJourneyRepost);
  }
  void stepComment() {
    openJourneyBlog();
    tapTabItem(detailBar(), BlgDetailViewController::kCommentTag);
    sendFromEditor("BlgCommentEditViewController", kJourneyComment);
    expect(topClass() == "BlgDetailViewController", "sending the comment left " + topClass());
    expect(detailCount(true) == "1", "the comment count shows " + detailCount(true));
    auto row = detailRow();
    expect(row && screen.tap(row->commentsBtn.lock()), "no comment button on the blog");
    settle();
    expect(topClass() == "BlgCommentViewController", "the comment button opened " + topClass());
    expectShows(kJourneyComment);
    if (observer) observer("comments", top());
    backToStackRoot();
  }
  void stepSquare() {
    chooseModule("应用广场");
    expect(topClass() == "AppPlazaViewController", "the square row opened " + topClass());
    for (const char* app : {"企业邮箱", "公司新闻"}) expectShows(app);
  }

  void openSettings() {
    openMenu();
    auto side = deck();
    auto menu = side ? side->leftController() : nullptr;
    expect(menu && screen.tapText("设置", menu->view()), "no settings button in the menu");
    settle();
    expect(topClass() == "SettingViewController", "settings opened " + topClass());
  }
  void stepSync() {
    openSettings();
    tapTextOrSay("同步");
    screen.waitFor([&] { return !screen.shows(SettingViewController::kSyncing); }, 30);
    settle();
    expectTold(SettingViewController::kSyncing);
    expect(!screen.shows(SettingViewController::kSyncing), "the sync never ended");
  }
  void stepClearCache() {
    const auto before = pictureCacheBytes();
    tapTextOrSay("清空");
    expectTold(SettingViewController::kCacheCleared);
    expect(pictureCacheBytes() < before || before == 0,
           "the picture cache kept " + std::to_string(pictureCacheBytes()) + " bytes");
  }
  static std::uintmax_t pictureCacheBytes() {
    std::uintmax_t bytes = 0;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(ImageCache::defaultDiskCachePath(), error), end;
         !error && it != end; it.increment(error))
      if (it->is_regular_file(error)) bytes += it->file_size(error);
    return bytes;
  }
  void stepChangePassword() {
    tapTextOrSay("修改");
    auto form = std::dynamic_pointer_cast<ModifyViewController>(top());
    expect(form != nullptr, "the password row opened " + topClass());
    if (!form) return;
    fillField(form->oldPassword, account.password);
    fillField(form->firstNewPW, account.newPassword);
    fillField(form->secondNewPW, account.newPassword);
    screen.tap(form->btn);
    settle();
    expectTold(ModifyViewController::kChanged);
    // The notice covers the screen until it goes.
    screen.waitFor([&] { return !screen.shows(ModifyViewController::kChanged); }, 5);
    goBack();
  }
  void stepLogOut() {
    tapTextOrSay("退出");
    expect(login() && top() == login(), "logging out showed " + topClass());
  }
  void stepOfflineSignIn() {
    setOnline(false);
    signIn(account.newPassword);
    expect(topClass() == "CmsMyViewController", "signing in offline opened " + topClass());
    setOnline(true);
  }

  void stepSignIn() { signIn(account.password); }
  void stepMyCourses() {
    expect(topClass() == "CmsMyViewController", "the course module opens on " + topClass());
    expectShows("我的课程(3)");
    for (const char* title : {"团队领导力", "高效沟通的艺术", "信息安全意识"}) expectShows(title);
  }
  void stepCatalogue() {
    pickTab("全部课程");
    expectShows("全部课程(23)");
    auto table = shownTable();
    expect(rows(table) == 20, "the catalogue's first page has " + std::to_string(rows(table)) + " rows");
    scrollToEnd(table);
    expect(rows(table) == 23, "the catalogue paged to " + std::to_string(rows(table)) + " rows");
  }
  void stepCategory() {
    tapBarButton(false);
    settle();
    expect(topClass() == "CmsCategoryViewController", "the categories button opened " + topClass());
    expectShows("管理技能");
    expect(screen.tapText("全部课程", top()->view()), "no category row 全部课程 to tap");
    settle();
    expect(topClass() == "CmsCategoryResultViewController", "a category opened " + topClass());
    expectShows("管理技能");
    expect(rows(shownTable()) >= 10, "the category lists " + std::to_string(rows(shownTable())) + " courses");
    if (observer) observer("category-courses", top());
    goBack();
    goBack();
  }
  void stepSearch() {
    pickTab("课程搜索");
    auto search = find("CmsSearchViewController");
    expect(topClass() == "CmsSearchViewController", "the search tab shows " + topClass());
    auto field = search ? tableFieldIn(search->view()) : nullptr;
    expect(field != nullptr, "no search field");
    if (!field) return;
    // A search walked again starts from an empty field.
    field->setText("");
    screen.type(field, "沟通");
    pf::HeadlessHost(screen.window()).pressReturn();
    settle();
    expectShows("高效沟通的艺术");
  }
  static std::shared_ptr<pf::TextField> tableFieldIn(const std::shared_ptr<pf::View>& view) {
    if (!view || view->isHidden()) return nullptr;
    if (auto field = std::dynamic_pointer_cast<pf::TextField>(view)) return field;
    for (const auto& sub : view->subviews())
      if (auto field = tableFieldIn(sub)) return field;
    return nullptr;
  }
  void openCatalogueCourse() {
    pickTab("全部课程");
    scrollToEnd(shownTable());
    tapTextOrSay(kJourneyCatalogueCourse);
    expect(find("CmsDetailViewController") != nullptr, "no course detail opened");
  }
  void stepCourseDetail() {
    openCatalogueCourse();
    for (const char* tab : {"简介", "评论", "下载", "学习"}) {
      pickTab(tab);
      if (observer) observer(std::string("course-detail-") + tab, top());
    }
    expectShows(kJourneyCatalogueCourse);
  }
  void stepSelectCourse() {
    // A failed try went back to the list: the learner opens the course again.
    if (!find("CmsDetailViewController")) {
      backToStackRoot();
      openCatalogueCourse();
    }
    expectShows("选择");
    tapBarButton(false);
    settle();
    expectShows("移除");
    goBack();
  }
  // The progress text of the unit's row in the shown study tab.
  std::string unitProgress(long row) {
    auto table = shownTable();
    if (!table || rows(table) <= row) return "";
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle, false);
    screen.wait(0.1);
    auto cell = std::dynamic_pointer_cast<CmsStudySelCosCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
    auto label = cell ? cell->progressValueLable.lock() : nullptr;
    return label ? label->text().value_or("") : "";
  }
  void openOwnCourse(const std::string& title) {
    // A course left open (a failed try) hides the tabs: back to the list first.
    backToStackRoot();
    pickTab("我的课程");
    backToStackRoot();
    tapTextOrSay(title);
    expect(find("CmsDetailViewController") != nullptr, "no course detail opened for " + title);
  }
  void playUnit(long row, double seconds) {
    auto table = shownTable();
    expect(table && screen.tapRow(*table, row), "no unit row to tap");
    settle();
    expect(topClass() == "CmsMediaPlayerViewController" || topClass() == "CmsMainMediaPlayerViewController",
           "a unit opened " + topClass());
    screen.wait(seconds);
    if (observer) observer("playing", top());
    screen.tap(top() ? top()->view() : nullptr);
    goBack();
  }
  void stepPlayUnit() {
    openOwnCourse("高效沟通的艺术");
    pickTab("学习");
    const std::string before = unitProgress(kJourneyUnitRow);
    playUnit(kJourneyUnitRow, 20);
    const std::string after = unitProgress(kJourneyUnitRow);
    expect(after != before, "the unit's progress stayed " + before);
  }
  void stepDownloadUnit() {
    pickTab("下载");
    auto table = shownTable();
    expect(rows(table) > kJourneyUnitRow - 1, "the download tab lists no units");
    if (rows(table) <= kJourneyUnitRow - 1) return;
    auto cell = std::dynamic_pointer_cast<CmsDetailDownloadCell>(
        table->cellForRowAtIndexPath(pf::IndexPath::forRow(kJourneyUnitRow - 1, 0)));
    expect(cell && screen.tap(cell->downloadStateBgBtn.lock()), "no download button");
    screen.waitFor([&] { return screen.shows(CmsDetailDownloadCell::kDownloaded); }, 30);
    expectShows(CmsDetailDownloadCell::kDownloaded);
  }
  void stepOfflinePlay() {
    setOnline(false);
    pickTab("学习");
    const std::string before = unitProgress(kJourneyUnitRow);
    playUnit(kJourneyUnitRow, 20);
    expect(unitProgress(kJourneyUnitRow) != before, "offline study left the progress at " + before);
    setOnline(true);
  }
  void stepMenu() {
    openMenu();
    auto side = deck();
    auto menu = side ? std::dynamic_pointer_cast<AppNavigatorViewController>(side->leftController()) : nullptr;
    expect(menu != nullptr, "no menu beside the module");
    if (!menu) return;
    expectShows("设置");
    for (const auto& module : kLearnerJourneyModules) {
      const long row = menuRow(*menu, module.row);
      expect(row >= 0, std::string("the menu has no row ") + module.row);
      if (row < 0) continue;
      menu->tableView->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::None, false);
      screen.wait(0.1);
      expectShows(module.row);
    }
  }
  static long menuRow(AppNavigatorViewController& menu, const std::string& name) {
    const auto& rows = menu.resourceArr();
    const auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& app) { return app->appName == name; });
    return at == rows.end() ? -1 : static_cast<long>(at - rows.begin());
  }
  void stepModuleRoots() {
    for (const auto& module : kLearnerJourneyModules) {
      chooseModule(module.row);
      expectShows(module.shows);
      if (observer) observer(std::string("module-") + module.key, top());
    }
  }
};

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window)
    : LearnerJourney(std::move(window), Account()) {}

LearnerJourney::LearnerJourney(std::shared_ptr<pf::Window> window, Account account)
    : walk_(std::make_unique<Walk>(std::move(window), std::move(account))) {}

LearnerJourney::~LearnerJourney() = default;

void LearnerJourney::setObserver(Observer observer) { walk_->observer = std::move(observer); }

std::vector<std::string> LearnerJourney::stepNames() {
  std::vector<std::string> names;
  for (const auto& step : steps()) names.push_back(step.first);
  return names;
}

LearnerJourney::StepResult LearnerJourney::runStep(size_t index) {
  StepResult result;
  const auto all = steps();
  if (index >= all.size()) {
    result.name = "?";
    result.problems.push_back("no step " + std::to_string(index));
    return result;
  }
  result.name = all[index].first;
  walk_->problems.clear();
  walk_->screen.takeMessages();
  all[index].second(*walk_);
  walk_->settle();
  result.problems = std::exchange(walk_->problems, {});
  result.messages = walk_->screen.takeMessages();
  if (walk_->observer) walk_->observer(result.name, topScreen());
  return result;
}

std::vector<LearnerJourney::StepResult> LearnerJourney::run() {
  std::vector<StepResult> results;
  for (size_t i = 0; i < steps().size(); ++i) results.push_back(runStep(i));
  return results;
}

std::shared_ptr<pf::ViewController> LearnerJourney::topScreen() const { return walk_->top(); }

std::vector<std::pair<std::string, std::function<void(LearnerJourney::Walk&)>>> LearnerJourney::steps() {
  return {
      {"sign-in", [](Walk& walk) { walk.stepSignIn(); }},
      {"menu", [](Walk& walk) { walk.stepMenu(); }},
      {"module-roots", [](Walk& walk) { walk.stepModuleRoots(); }},
      {"my-courses", [](Walk& walk) { walk.stepMyCourses(); }},
      {"catalogue", [](Walk& walk) { walk.stepCatalogue(); }},
      {"category", [](Walk& walk) { walk.stepCategory(); }},
      {"search", [](Walk& walk) { walk.stepSearch(); }},
      {"course-detail", [](Walk& walk) { walk.stepCourseDetail(); }},
      {"select-course", [](Walk& walk) { walk.stepSelectCourse(); }},
      {"play-unit", [](Walk& walk) { walk.stepPlayUnit(); }},
      {"download-unit", [](Walk& walk) { walk.stepDownloadUnit(); }},
      {"offline-play", [](Walk& walk) { walk.stepOfflinePlay(); }},
      {"exam", [](Walk& walk) { walk.stepExam(); }},
      {"survey", [](Walk& walk) { walk.stepSurvey(); }},
      {"ask-answer", [](Walk& walk) { walk.stepAskAndAnswer(); }},
      {"follow-topic", [](Walk& walk) { walk.stepFollowTopic(); }},
      {"blog", [](Walk& walk) { walk.stepBlog(); }},
      {"repost", [](Walk& walk) { walk.stepRepost(); }},
      {"comment", [](Walk& walk) { walk.stepComment(); }},
      {"app-square", [](Walk& walk) { walk.stepSquare(); }},
      {"settings-sync", [](Walk& walk) { walk.stepSync(); }},
      {"clear-cache", [](Walk& walk) { walk.stepClearCache(); }},
      {"change-password", [](Walk& walk) { walk.stepChangePassword(); }},
      {"log-out", [](Walk& walk) { walk.stepLogOut(); }},
      {"offline-sign-in", [](Walk& walk) { walk.stepOfflineSignIn(); }},
  };
}
