#include "ui/auth/AuthenticationDialog.h"

#include <algorithm>

#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

namespace {

constexpr double kFieldInset = 10;
constexpr double kTabletHeaderHeight = 54;
constexpr double kPhoneHeaderHeight = 30;
constexpr double kFooterHeight = 30;
constexpr double kRotationDuration = 0.3;

// Process-wide, main thread only: the prompt on screen, the requests waiting for one, the presenter.
struct PromptState {
  std::shared_ptr<AuthenticationDialog> current;
  std::vector<HttpRequest::Ptr> waiting;
  std::shared_ptr<AutorotatingViewController> presenter;
};

PromptState& promptState() {
  static PromptState state;
  return state;
}

bool onTabletDevice() { return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad; }

bool isPortraitInterface() {
  const auto orientation = pf::Application::sharedApplication().statusBarOrientation();
  return orientation == pf::Application::InterfaceOrientation::Portrait ||
         orientation == pf::Application::InterfaceOrientation::PortraitUpsideDown;
}

// Same question: kind of challenge, host, port, scheme and realm.
bool asksTheSame(const HttpRequest& a, const HttpRequest& b) {
  if (a.authenticationNeeded != b.authenticationNeeded) return false;
  const auto urlA = a.url();
  const auto urlB = b.url();
  if (!urlA || !urlB) return false;
  return urlA->host() == urlB->host() && urlA->port() == urlB->port() && urlA->scheme() == urlB->scheme() &&
         a.authenticationRealm.get() == b.authenticationRealm.get();
}

}  // namespace

AuthenticationDialog::AuthenticationDialog() = default;

AuthenticationDialog::~AuthenticationDialog() {
  if (didEnableRotationNotifications_) pf::Device::currentDevice().endGeneratingDeviceOrientationNotifications();
}

void AuthenticationDialog::install() { HttpRequest::setCredentialPrompt(&presentAuthenticationDialogForRequest); }

void AuthenticationDialog::presentAuthenticationDialogForRequest(const HttpRequest::Ptr& request) {
  if (!request) return;
  PromptState& state = promptState();
  if (state.current) {
    state.waiting.push_back(request);
    return;
  }
  auto prompt = std::make_shared<AuthenticationDialog>();
  prompt->request_ = request;
  prompt->type_ = request->authenticationNeeded == 2 ? kProxyType : kServerType;
  state.current = prompt;
  prompt->observeNotifications();
  prompt->show();
}

std::shared_ptr<AuthenticationDialog> AuthenticationDialog::currentPrompt() { return promptState().current; }

std::vector<HttpRequest::Ptr> AuthenticationDialog::waitingRequests() { return promptState().waiting; }

void AuthenticationDialog::reset() {
  PromptState& state = promptState();
  if (state.current) {
    if (auto presenter = state.current->presentingViewController()) presenter->dismissViewControllerAnimated(false);
  }
  state.current.reset();
  state.waiting.clear();
  if (state.presenter && state.presenter->isViewLoaded()) state.presenter->view()->removeFromSuperview();
  state.presenter.reset();
}

void AuthenticationDialog::dismiss() {
  if (auto prompt = promptState().current) prompt->dismissPrompt();
}

void AuthenticationDialog::dismissPrompt() {
  auto presenter = presentingViewController();
  if (!presenter) presenter = parentViewController();
  if (presenter) presenter->dismissViewControllerAnimated(true);
}

void AuthenticationDialog::observeNotifications() {
  if (onTabletDevice()) return;
  auto& center = pf::NotificationCenter::defaultCenter();
  std::weak_ptr<AuthenticationDialog> weak = std::static_pointer_cast<AuthenticationDialog>(shared_from_this());
  observations_.push_back(center.addObserver(pf::Keyboard::kWillShowNotification, nullptr,
                                             [weak](const pf::Notification& note) {
                                               if (auto self = weak.lock()) self->keyboardWillShow(note);
                                             }));
  auto& device = pf::Device::currentDevice();
  if (!device.isGeneratingDeviceOrientationNotifications()) {
    device.beginGeneratingDeviceOrientationNotifications();
    didEnableRotationNotifications_ = true;
  }
  observations_.push_back(center.addObserver(pf::Device::kOrientationDidChangeNotification, nullptr,
                                             [weak](const pf::Notification&) {
                                               if (auto self = weak.lock()) self->orientationChanged();
                                             }));
}

std::shared_ptr<AutorotatingViewController> AuthenticationDialog::presentingController() {
  PromptState& state = promptState();
  if (state.presenter) return state.presenter;
  const auto windows = pf::Application::sharedApplication().windows();
  if (windows.empty()) return nullptr;
  state.presenter = std::make_shared<AutorotatingViewController>();
  auto invisible = state.presenter->view();
  invisible->setFrame(pf::Rect());
  invisible->setUserInteractionEnabled(false);
  windows.front()->addSubview(invisible);
  return state.presenter;
}

void AuthenticationDialog::show() {
  for (const auto& old : std::vector(view()->subviews())) old->removeFromSuperview();
  const auto self = std::static_pointer_cast<AuthenticationDialog>(shared_from_this());
  const std::weak_ptr<AuthenticationDialog> weak = self;

  bar_ = std::make_shared<pf::NavigationBar>(pf::Rect(0, 0, view()->bounds().width(), 44));
  bar_->setAutoresizingMask(pf::View::kFlexibleWidth);
  item_ = std::make_shared<pf::NavigationItem>();
  const auto url = request_->url();
  item_->setTitle(type_ == kProxyType ? request_->proxyHost.get() : (url ? std::optional(url->host()) : std::nullopt));
  item_->setLeftBarButtonItem(std::make_shared<pf::BarButtonItem>(
      pf::BarButtonItem::SystemItem::Cancel, weak, [weak](pf::BarButtonItem&) {
        if (auto prompt = weak.lock()) prompt->cancelAuthenticationFromDialog();
      }));
  item_->setRightBarButtonItem(std::make_shared<pf::BarButtonItem>(
      std::string(kLoginTitle), pf::BarButtonItem::Style::Done, weak, [weak](pf::BarButtonItem&) {
        if (auto prompt = weak.lock()) prompt->loginWithCredentialsFromDialog();
      }));
  bar_->setItems({item_});
  view()->addSubview(bar_);

  tableView_ = std::make_shared<pf::TableView>(pf::Rect(), pf::TableView::Style::Grouped);
  tableView_->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  tableView_->setDelegate(std::static_pointer_cast<pf::TableViewDelegate>(self));
  tableView_->setDataSource(std::static_pointer_cast<pf::TableViewDataSource>(self));
  view()->addSubview(tableView_);
  showTitle();
  tableView_->reloadData();

  if (onTabletDevice()) setModalPresentationStyle(ModalPresentationStyle::FormSheet);
  if (auto presenter = presentingController()) {
    presenter->presentViewController(self, true, [weak] {
      if (auto prompt = weak.lock(); prompt && prompt->usernameField()) prompt->usernameField()->becomeFirstResponder();
    });
  }
}

void AuthenticationDialog::showTitle() {
  item_->setPrompt(isPortraitInterface() ? std::optional<std::string>(type_ == kProxyType ? kProxyPrompt : kServerPrompt)
                                         : std::nullopt);
  const pf::Size fitted = bar_->sizeThatFits(pf::Size(view()->bounds().width(), 0));
  bar_->setFrame(pf::Rect(0, 0, view()->bounds().width(), fitted.height));
  layOutTable();
}

void AuthenticationDialog::layOutTable() {
  const double top = bar_->frame().height();
  tableView_->setFrame(pf::Rect(0, top, view()->bounds().width(), view()->bounds().height() - top));
}

// The interface turned: the prompt text shows in portrait only, and the form turns with it.
void AuthenticationDialog::orientationChanged() {
  showTitle();
  const auto orientation = pf::Application::sharedApplication().statusBarOrientation();
  double angle = 0;
  if (orientation == pf::Application::InterfaceOrientation::PortraitUpsideDown) angle = 3.14159265358979323846;
  if (orientation == pf::Application::InterfaceOrientation::LandscapeLeft) angle = -3.14159265358979323846 / 2;
  if (orientation == pf::Application::InterfaceOrientation::LandscapeRight) angle = 3.14159265358979323846 / 2;
  const pf::Rect application = pf::Screen::mainScreen().applicationFrame();
  const bool landscape = angle != 0 && angle != 3.14159265358979323846;
  const pf::Size size = landscape ? pf::Size(application.height(), application.width()) : application.size;
  const pf::AffineTransform old = view()->transform();
  view()->setTransform(pf::AffineTransform::identity());
  view()->setFrame(pf::Rect(pf::Point(0, 0), size));
  view()->setTransform(old);
  const auto turned = view();
  pf::View::animateWithDuration(kRotationDuration, [turned, angle, application] {
    turned->setTransform(pf::AffineTransform::makeRotation(angle));
    turned->setFrame(pf::Rect(application.origin, turned->frame().size));
  });
}

void AuthenticationDialog::keyboardWillShow(const pf::Notification& notification) {
  const auto it = notification.userInfo.find(pf::Keyboard::kFrameEndUserInfoKey);
  if (it == notification.userInfo.end()) return;
  const std::optional<pf::Rect> end = pf::Keyboard::rectFromValue(it->second);
  if (!end || !tableView_) return;
  pf::EdgeInsets insets = tableView_->contentInset();
  insets.bottom = end->height();
  tableView_->setContentInset(insets);
  pf::EdgeInsets indicators = tableView_->scrollIndicatorInsets();
  indicators.bottom = end->height();
  tableView_->setScrollIndicatorInsets(indicators);
}

std::optional<std::string> AuthenticationDialog::relevantScheme() const {
  return type_ == kProxyType ? request_->proxyAuthenticationScheme.get() : request_->authenticationScheme.get();
}

bool AuthenticationDialog::isNtlm() const { return relevantScheme() == std::optional<std::string>("NTLM"); }

long AuthenticationDialog::numberOfSectionsInTableView(pf::TableView&) { return isNtlm() ? 2 : 1; }

long AuthenticationDialog::numberOfRowsInSection(pf::TableView&, long section) { return section == 0 ? 2 : 1; }

std::optional<std::string> AuthenticationDialog::titleForHeaderInSection(pf::TableView&, long section) {
  return section == 0 ? request_->authenticationRealm.get() : std::nullopt;
}

// The footer reads the scheme of the challenge the prompt answers: a proxy's Basic challenge sends the
// password in the clear whatever the scheme of the address.
std::optional<std::string> AuthenticationDialog::titleForFooterInSection(pf::TableView& table, long section) {
  if (section != numberOfSectionsInTableView(table) - 1) return std::nullopt;
  const auto url = request_->url();
  const bool basic = relevantScheme() == std::optional<std::string>("Basic");
  const bool overTls = type_ == kServerType && url && url->scheme() == "https";
  return std::string(basic && !overTls ? kInTheClear : kSecurely);
}

std::optional<double> AuthenticationDialog::heightForHeaderInSection(pf::TableView&, long section) {
  if (section != 0) return 0;
  return onTabletDevice() ? kTabletHeaderHeight : kPhoneHeaderHeight;
}

std::optional<double> AuthenticationDialog::heightForFooterInSection(pf::TableView& table, long section) {
  return section == numberOfSectionsInTableView(table) - 1 ? kFooterHeight : 0;
}

std::shared_ptr<pf::TableViewCell> AuthenticationDialog::cellForRowAtIndexPath(pf::TableView&,
                                                                               const pf::IndexPath& indexPath) {
  const size_t slot = static_cast<size_t>(indexPath.section * 2 + indexPath.row);
  if (cells_.size() <= slot) cells_.resize(slot + 1);
  if (cells_[slot]) return cells_[slot];
  auto cell = std::make_shared<pf::TableViewCell>(pf::TableViewCell::CellStyle::Default, std::nullopt);
  cell->setSelectionStyle(pf::TableViewCell::SelectionStyle::None);
  const pf::Rect content = cell->contentView()->bounds();
  auto field = std::make_shared<pf::TextField>(content.insetBy(kFieldInset, kFieldInset));
  field->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  if (indexPath.section == 1) {
    field->setPlaceholder(std::string(kDomainPlaceholder));
  } else if (indexPath.row == 0) {
    field->setPlaceholder(std::string(kUserPlaceholder));
  } else {
    field->setPlaceholder(std::string(kPasswordPlaceholder));
    field->setSecureTextEntry(true);
  }
  cell->contentView()->addSubview(field);
  cells_[slot] = cell;
  return cell;
}

std::shared_ptr<pf::TextField> AuthenticationDialog::textFieldInRow(long row, long section) const {
  const size_t slot = static_cast<size_t>(section * 2 + row);
  if (slot >= cells_.size() || !cells_[slot] || cells_[slot]->contentView()->subviews().empty()) return nullptr;
  return std::dynamic_pointer_cast<pf::TextField>(cells_[slot]->contentView()->subviews().front());
}

std::shared_ptr<pf::TextField> AuthenticationDialog::usernameField() const { return textFieldInRow(0, 0); }
std::shared_ptr<pf::TextField> AuthenticationDialog::passwordField() const { return textFieldInRow(1, 0); }
std::shared_ptr<pf::TextField> AuthenticationDialog::domainField() const { return textFieldInRow(0, 1); }

std::vector<HttpRequest::Ptr> AuthenticationDialog::requestsRequiringTheseCredentials() const {
  std::vector<HttpRequest::Ptr> answered;
  for (const auto& waiting : promptState().waiting) {
    if (waiting != request_ && asksTheSame(*waiting, *request_)) answered.push_back(waiting);
  }
  answered.push_back(request_);
  return answered;
}

void AuthenticationDialog::loginWithCredentialsFromDialog() {
  const auto textOf = [](const std::shared_ptr<pf::TextField>& field) { return field ? field->text() : std::string(); };
  const std::string user = textOf(usernameField());
  const std::string password = textOf(passwordField());
  const bool ntlm = isNtlm();
  const std::string domain = textOf(domainField());
  for (const auto& answered : requestsRequiringTheseCredentials()) {
    if (type_ == kProxyType) {
      answered->proxyUsername.set(user);
      answered->proxyPassword.set(password);
      if (ntlm) answered->proxyDomain.set(domain);
    } else {
      answered->username.set(user);
      answered->password.set(password);
      if (ntlm) answered->domain.set(domain);
    }
    answered->retryUsingSuppliedCredentials();
    std::erase(promptState().waiting, answered);
  }
  dismissPrompt();
}

void AuthenticationDialog::cancelAuthenticationFromDialog() {
  for (const auto& answered : requestsRequiringTheseCredentials()) {
    answered->cancelAuthentication();
    std::erase(promptState().waiting, answered);
  }
  dismissPrompt();
}

void AuthenticationDialog::viewDidDisappear(bool animated) {
  AutorotatingViewController::viewDidDisappear(animated);
  if (promptState().current.get() == this) promptState().current.reset();
  observations_.clear();
  pf::DispatchQueue::main()->async([] { presentNextDialog(); });
}

void AuthenticationDialog::presentNextDialog() {
  PromptState& state = promptState();
  if (state.current || state.waiting.empty()) return;
  const HttpRequest::Ptr next = state.waiting.front();
  state.waiting.erase(state.waiting.begin());
  presentAuthenticationDialogForRequest(next);
}
