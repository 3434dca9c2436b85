#include "ui/extension/AlertViewKivExtension.h"

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/AlertView.h"

namespace {

// Longer than any wait a user makes; the wait ends when the alert goes.
constexpr double kModalWaitTimeout = 1e9;

// The answer of one modal alert.
class ModalAlertAnswer : public pf::AlertViewDelegate {
 public:
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override {
    (void)alertView;
    index = buttonIndex;
  }
  void didDismissWithButtonIndex(pf::AlertView& alertView, long buttonIndex) override {
    (void)alertView;
    (void)buttonIndex;
    gone = true;
    pf::RunLoop::current()->wake();
  }
  long index = -1;
  bool gone = false;
};

}  // namespace

std::shared_ptr<pf::AlertView> AlertViewKivExtension::initWithMsg(const std::string& msg) {
  return initWithMsg(msg, kDefaultTitle, 0, {});
}

std::shared_ptr<pf::AlertView> AlertViewKivExtension::initWithMsg(const std::string& msg, unsigned buttonsType,
                                                                  std::weak_ptr<pf::AlertViewDelegate> delegate) {
  return initWithMsg(msg, kDefaultTitle, buttonsType, std::move(delegate));
}

std::shared_ptr<pf::AlertView> AlertViewKivExtension::initWithMsg(const std::string& msg,
                                                                  std::optional<std::string> title,
                                                                  unsigned buttonsType,
                                                                  std::weak_ptr<pf::AlertViewDelegate> delegate) {
  std::vector<std::string> titles = buttonTitlesForButtonsType(buttonsType);
  std::optional<std::string> cancel;
  if (!titles.empty()) {
    cancel = titles.front();
    titles.erase(titles.begin());
  }
  return std::make_shared<pf::AlertView>(std::move(title), msg, std::move(delegate), std::move(cancel),
                                         std::move(titles));
}

std::vector<std::string> AlertViewKivExtension::buttonTitlesForButtonsType(unsigned buttonsType) {
  switch (buttonsType) {
    case 1: return {"确定"};
    case 2: return {"确定", "取消"};
    case 4: return {"是", "否"};
    default: return {};
  }
}

long AlertViewKivExtension::showModal(const std::shared_ptr<pf::AlertView>& alert) {
  if (!alert || alert->numberOfButtons() == 0) return -1;
  auto answer = std::make_shared<ModalAlertAnswer>();
  alert->setDelegate(answer);
  alert->show();
  const auto loop = pf::RunLoop::current();
  // A stop meant for an outer run does not end this wait; only this alert's going does.
  const auto waiting = [&answer, &alert] { return !answer->gone && alert->isVisible(); };
  while (waiting()) {
    loop->runUntilTrue([&waiting] { return !waiting(); }, kModalWaitTimeout);
  }
  return answer->index;
}

void AlertViewKivExtension::showAndDismissWithInterval(const std::shared_ptr<pf::AlertView>& alert,
                                                       double interval) {
  if (!alert) return;
  alert->show();
  pf::Timer::scheduled(interval, false, [alert](pf::Timer&) { alert->dismissByCode(-1, true); });
}
