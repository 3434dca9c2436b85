#include "app/journey/JourneyScreen.h"

#include <algorithm>

#include "app/components/richlabel/RichLabel.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/Label.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "ui/hud/ProgressHUD.h"

namespace {

std::optional<std::string> journeyScreenTextOf(const pf::View& view) {
  if (auto label = dynamic_cast<const pf::Label*>(&view)) return label->text();
  if (auto button = dynamic_cast<const pf::Button*>(&view)) return button->currentTitle();
  if (auto field = dynamic_cast<const pf::TextField*>(&view))
    return field->text().empty() ? field->placeholder() : std::optional<std::string>(field->text());
  if (auto area = dynamic_cast<const pf::TextView*>(&view)) return area->text();
  if (auto rich = dynamic_cast<const RichLabel*>(&view)) return rich->plainText() ? rich->plainText() : rich->text();
  return std::nullopt;
}

// Walks the views that show: not hidden, not transparent, inside every clipping ancestor.
void journeyScreenCollect(const std::shared_ptr<pf::View>& view, const pf::Rect& visible,
                          std::vector<JourneyScreen::ShownText>& texts) {
  if (view->isHidden() || view->alpha() <= 0.01) return;
  const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr);
  const pf::Rect shown = frame.intersection(visible);
  if (shown.isNull() || shown.isEmpty()) {
    if (view->clipsToBounds()) return;
  } else if (auto text = journeyScreenTextOf(*view); text && !text->empty()) {
    texts.push_back({*text, shown, view});
  }
  if (auto bar = std::dynamic_pointer_cast<pf::TabBar>(view)) {
    for (size_t i = 0; i < bar->items().size(); ++i) {
      const auto& title = bar->items()[i]->title();
      if (title && !title->empty())
        texts.push_back({*title, bar->convertRectToView(bar->rectForItemAtIndex(i), nullptr), view});
    }
  }
  const pf::Rect inner = view->clipsToBounds() ? shown : visible;
  for (const auto& sub : view->subviews()) journeyScreenCollect(sub, inner, texts);
}

void journeyScreenBoxes(const std::shared_ptr<pf::View>& view, std::vector<std::shared_ptr<ProgressHUD>>& boxes) {
  for (const auto& sub : view->subviews()) {
    if (auto hud = std::dynamic_pointer_cast<ProgressHUD>(sub); hud && hud->isShowing() && !hud->isHidden())
      boxes.push_back(hud);
    journeyScreenBoxes(sub, boxes);
  }
}

}  // namespace

JourneyScreen::JourneyScreen(std::shared_ptr<pf::Window> window)
    : window_(std::move(window)), alertAnswer_([](const std::string&) { return 0L; }) {
  watcher_ = pf::Timer::scheduled(0.1, true, [this](pf::Timer&) { look(); });
}

JourneyScreen::~JourneyScreen() {
  if (watcher_) watcher_->invalidate();
}

std::vector<JourneyScreen::ShownText> JourneyScreen::shownTexts() const {
  std::vector<ShownText> texts;
  if (!window_) return texts;
  journeyScreenCollect(window_, window_->bounds(), texts);
  for (const auto& alert : pf::AlertView::visibleAlerts()) {
    if (alert->title()) texts.push_back({*alert->title(), {}, {}});
    if (alert->message()) texts.push_back({*alert->message(), {}, {}});
  }
  return texts;
}

bool JourneyScreen::shows(const std::string& piece) const {
  const auto texts = shownTexts();
  return std::any_of(texts.begin(), texts.end(),
                     [&](const ShownText& shown) { return shown.text.find(piece) != std::string::npos; });
}

std::string JourneyScreen::describe() const {
  std::string line;
  for (const auto& shown : shownTexts()) {
    if (!line.empty()) line += " | ";
    line += shown.text;
  }
  return line;
}

bool JourneyScreen::tap(const std::shared_ptr<pf::View>& view) {
  if (!view || !view->window()) return false;
  const pf::Rect frame = view->convertRectToView(view->bounds(), nullptr).intersection(window_->bounds());
  if (frame.isNull() || frame.isEmpty()) return false;
  pf::HeadlessHost(window_).tap({frame.midX(), frame.midY()});
  wait(0.3);
  return true;
}

bool JourneyScreen::reachable(const ShownText& shown) const {
  auto view = shown.view.lock();
  if (!view || shown.frame.isEmpty()) return false;
  auto hit = window_->hitTest({shown.frame.midX(), shown.frame.midY()}, nullptr);
  if (!hit) return false;
  if (hit == view || view->isDescendantOfView(hit.get()) || hit->isDescendantOfView(view.get())) return true;
  // A bar draws its titles on views that take no touches under a clear button of the same bar: the
  // finger lands on that button.
  auto bar = hit->superview();
  return std::dynamic_pointer_cast<pf::Button>(hit) && bar && view->isDescendantOfView(bar.get()) &&
         !takesTouches(*view, *bar);
}

bool JourneyScreen::takesTouches(const pf::View& view, const pf::View& upTo) {
  for (const pf::View* at = &view; at && at != &upTo; at = at->superview().get())
    if (!at->isUserInteractionEnabled()) return false;
  return true;
}

bool JourneyScreen::tapText(const std::string& text, const std::shared_ptr<pf::View>& within) {
  auto texts = shownTexts();
  if (within) {
    std::erase_if(texts, [&](const ShownText& shown) {
      auto view = shown.view.lock();
      return !view || !view->isDescendantOfView(within.get());
    });
  }
  const ShownText* chosen = nullptr;
  for (const auto& shown : texts)
    if (shown.text == text && reachable(shown)) chosen = &shown;
  if (!chosen)
    for (const auto& shown : texts)
      if (shown.text.find(text) != std::string::npos && reachable(shown)) chosen = &shown;
  if (!chosen) return false;
  pf::HeadlessHost(window_).tap({chosen->frame.midX(), chosen->frame.midY()});
  wait(0.3);
  return true;
}

bool JourneyScreen::tapRow(pf::TableView& table, long row, long section) {
  if (row < 0 || row >= table.numberOfRowsInSection(section)) return false;
  const auto path = pf::IndexPath::forRow(row, section);
  table.scrollToRowAtIndexPath(path, pf::TableView::ScrollPosition::Middle, false);
  wait(0.1);
  const pf::Rect rect = table.convertRectToView(table.rectForRowAtIndexPath(path), nullptr)
                            .intersection(window_->bounds());
  if (rect.isNull() || rect.isEmpty()) return false;
  pf::HeadlessHost(window_).tap({rect.midX(), rect.midY()});
  wait(0.3);
  return true;
}

bool JourneyScreen::type(const std::shared_ptr<pf::View>& field, const std::string& text) {
  if (!field) return false;
  tap(field);
  if (!field->isFirstResponder()) field->becomeFirstResponder();
  const bool typed = pf::HeadlessHost(window_).typeText(text);
  wait(0.1);
  return typed;
}

void JourneyScreen::drag(pf::Point from, pf::Point to) {
  pf::HeadlessHost(window_).drag({from, to}, 0.3);
  wait(0.5);
}

void JourneyScreen::wait(double seconds) {
  auto loop = pf::RunLoop::main();
  loop->runUntil(pf::Clock::now() + seconds);
  look();
}

bool JourneyScreen::waitFor(const std::function<bool()>& done, double timeout) {
  auto loop = pf::RunLoop::main();
  const bool held = loop->runUntilTrue(done, timeout);
  wait(0.3);
  return held || done();
}

void JourneyScreen::setAlertAnswer(AlertAnswer answer) {
  alertAnswer_ = answer ? std::move(answer) : [](const std::string&) { return 0L; };
}

std::vector<std::string> JourneyScreen::takeMessages() {
  look();
  return std::exchange(messages_, {});
}

void JourneyScreen::note(const std::string& text) {
  if (!text.empty() && std::find(messages_.begin(), messages_.end(), text) == messages_.end())
    messages_.push_back(text);
}

void JourneyScreen::look() {
  if (window_) {
    std::vector<std::shared_ptr<ProgressHUD>> boxes;
    journeyScreenBoxes(window_, boxes);
    for (const auto& hud : boxes) {
      note(hud->labelText().value_or(""));
      note(hud->detailsLabelText().value_or(""));
    }
  }
  for (const auto& alert : pf::AlertView::visibleAlerts()) {
    const std::string message = alert->message().value_or(alert->title().value_or(""));
    note(message);
    alert->dismissWithClickedButtonIndex(alertAnswer_(message), false);
  }
}
