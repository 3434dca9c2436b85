#include "core/version/VersionPrompt.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/http/HttpDownloadCache.h"
#include "core/http/HttpRequest.h"
#include "core/open/ServiceManager.h"
#include "core/version/StoreLookupScanner.h"
#include "core/version/VersionText.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/Url.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

namespace {

std::mutex& promptInstanceMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<VersionPrompt>& promptInstance() {
  static std::shared_ptr<VersionPrompt> prompt;
  return prompt;
}

std::optional<std::string> promptRunningVersion() {
  const auto bundle = pf::Bundle::mainBundle();
  const pf::Value version = bundle->objectForInfoDictionaryKey("CFBundleShortVersionString");
  if (const std::string* text = version.string(); text && !text->empty()) return *text;
  // Without a short version the build version stands in.
  const pf::Value build = bundle->objectForInfoDictionaryKey("CFBundleVersion");
  if (const std::string* text = build.string()) return *text;
  return std::nullopt;
}

std::string promptInfoText(const char* key) {
  const pf::Value value = pf::Bundle::mainBundle()->objectForInfoDictionaryKey(key);
  const std::string* text = value.string();
  return text ? *text : std::string();
}

// The texts' bundle: "VersionPrompt.bundle" inside the application bundle, else the application bundle.
pf::Bundle promptTextBundle() {
  const auto main = pf::Bundle::mainBundle();
  return pf::Bundle(main->pathForResource("VersionPrompt", "bundle").value_or(main->bundlePath()));
}

std::string promptTrimmedLineBreaks(std::string text) {
  const auto first = text.find_first_not_of("\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of("\r\n") - first + 1);
}

bool promptIsLandscape(pf::Application::InterfaceOrientation orientation) {
  return orientation == pf::Application::InterfaceOrientation::LandscapeLeft ||
         orientation == pf::Application::InterfaceOrientation::LandscapeRight;
}

}  // namespace

std::shared_ptr<VersionPrompt> VersionPrompt::sharedInstance() {
  std::shared_ptr<VersionPrompt> made;
  {
    std::lock_guard lock(promptInstanceMutex());
    if (promptInstance()) return promptInstance();
    promptInstance().reset(new VersionPrompt());
    made = promptInstance();
  }
  // After the instance is published, so the launch check finds it.
  made->observeApplication();
  pf::DispatchQueue::main()->async([weak = std::weak_ptr<VersionPrompt>(made)] {
    if (auto prompt = weak.lock()) prompt->applicationLaunched();
  });
  return made;
}

void VersionPrompt::resetSharedInstance() {
  std::shared_ptr<VersionPrompt> old;
  {
    std::lock_guard lock(promptInstanceMutex());
    old = std::move(promptInstance());
  }
  if (old) old->cancelLookup();
}

VersionPrompt::VersionPrompt()
    : applicationVersion_(promptRunningVersion()) {
  appStoreCountry = pf::Locale::countryCode();
  applicationBundleID = promptInfoText("CFBundleIdentifier");
  updateAvailableTitle = localizedStringForKey("New version available");
  versionLabelFormat = localizedStringForKey("Version %@");
  okButtonLabel = localizedStringForKey("确定");
  ignoreButtonLabel = localizedStringForKey("Ignore");
  remindButtonLabel = localizedStringForKey("Remind Me Later");
  downloadButtonLabel = localizedStringForKey("Download");
  inThisVersionTitle = promptInfoText("CFBundleDisplayName");
}

VersionPrompt::~VersionPrompt() {
  cancelLookup();
}

void VersionPrompt::observeApplication() {
  std::weak_ptr<VersionPrompt> weak = weak_from_this();
  auto& center = pf::NotificationCenter::defaultCenter();
  observations_.push_back(center.addObserver(pf::Application::kWillEnterForegroundNotification, nullptr,
                                             [weak](const pf::Notification&) {
                                               if (auto prompt = weak.lock()) prompt->applicationWillEnterForeground();
                                             }));
  observations_.push_back(center.addObserver(pf::Device::kOrientationDidChangeNotification, nullptr,
                                             [weak](const pf::Notification&) {
                                               if (auto prompt = weak.lock()) prompt->didRotate();
                                             }));
  // A lookup never outlives the application.
  observations_.push_back(center.addObserver(pf::Application::kWillTerminateNotification, nullptr,
                                             [weak](const pf::Notification&) {
                                               if (auto prompt = weak.lock()) prompt->cancelLookup();
                                             }));
}

std::string VersionPrompt::localizedStringForKey(const std::string& key) {
  return promptTextBundle().localizedStringForKey(key);
}

void VersionPrompt::applicationLaunched() {
  if (!checkAtLaunch_) return;
  checkFromEnterForeground = true;
  checkIfNewVersion();
  if (shouldCheckForNewVersion()) checkForNewVersion();
}

void VersionPrompt::applicationWillEnterForeground() {
  if (pf::Application::sharedApplication().applicationState() != pf::Application::State::Background) return;
  checkFromEnterForeground = true;
  if (checkAtLaunch_ && shouldCheckForNewVersion()) checkForNewVersion();
}

bool VersionPrompt::shouldCheckForNewVersion() const {
  return record().shouldCheck(pf::Date::now(), checkPeriod, remindPeriod);
}

void VersionPrompt::checkIfNewVersion() {
  if (applicationVersion_) record().noteLaunchOfVersion(*applicationVersion_);
}

VersionPrompt::LookupInput VersionPrompt::lookupInput() const {
  LookupInput input;
  const auto configuration = ServiceManager::configuration();
  const std::string host = configuration ? configuration->baseUrl : std::string();
  std::string country = appStoreCountry.empty() ? std::string("us") : appStoreCountry;
  std::transform(country.begin(), country.end(), country.begin(), [](unsigned char c) { return std::tolower(c); });
  input.address = pf::format(kLookupAddressFormat, host, country);
  if (appStoreID != 0) {
    input.address += pf::format("?id=%u", appStoreID);
  } else {
    input.address += "?bundleId=" + pf::Url::percentEncode(applicationBundleID);
  }
  input.bundleID = applicationBundleID;
  input.runningVersion = applicationVersion_.value_or("");
  input.manual = !checkFromEnterForeground;
  input.knowsStoreID = appStoreID != 0;
  return input;
}

void VersionPrompt::checkForNewVersion() {
  if (currentlyChecking_) return;
  currentlyChecking_ = true;
  const LookupInput input = lookupInput();
  if (lookupThread_.joinable()) lookupThread_.join();  // the last lookup has ended its work
  {
    std::lock_guard lock(requestMutex_);
    lookupCancelled_ = false;
  }
  lookupThread_ = std::thread([self = shared_from_this(), input] { self->checkForNewVersionInBackground(input); });
}

void VersionPrompt::checkForNewVersionInBackground(const LookupInput& input) {
  std::lock_guard running(lookupMutex_);
  auto request = HttpRequest::requestWithURL(pf::Url::parse(input.address));
  request->timeOutSeconds = kLookupTimeoutSeconds;
  request->cachePolicy = HttpDownloadCache::kNeverReadFromCache | HttpDownloadCache::kNeverWriteToCache;
  {
    std::lock_guard lock(requestMutex_);
    if (lookupCancelled_) request->cancel();
    lookupRequest_ = request;
  }
  request->startSynchronous();
  {
    std::lock_guard lock(requestMutex_);
    lookupRequest_.reset();
  }

  const pf::ErrorPtr error = request->error.get();
  std::optional<VersionNotes> versions;
  std::optional<unsigned> trackId;
  bool showLatest = false;
  const auto data = error ? std::nullopt : request->responseData();
  if (data) {
    const std::string json(data->begin(), data->end());
    if (StoreLookupScanner::valueForKey("bundleId", json) == input.bundleID) {
      const auto version = StoreLookupScanner::valueForKey("version", json);
      if (version) versions = VersionNotes{{*version, StoreLookupScanner::valueForKey("releaseNotes", json).value_or("")}};
      const bool newer = version && VersionText::compareVersion(*version, input.runningVersion) > 0;
      if (!input.knowsStoreID) {
        const auto track = StoreLookupScanner::valueForKey("trackId", json);
        if (track) trackId = static_cast<unsigned>(std::strtoul(track->c_str(), nullptr, 10));
      }
      showLatest = !newer && input.manual;
    }
  }
  // In the order the main thread applies them: the store id, the notice, then the results.
  pf::DispatchQueue::main()->async([self = shared_from_this(), error, versions, trackId, showLatest] {
    if (trackId) self->appStoreID = *trackId;
    if (showLatest) self->showErrorView(localizedStringForKey(kAlreadyLatestKey));
    self->checkFromEnterForeground = false;
    self->downloadError = error;
    self->remoteVersionsDict = versions;
    self->record().checkedAt(pf::Date::now());
    self->downloadedVersionsData();
  });
}

std::string VersionPrompt::mostRecentVersion() const {
  std::string newest;
  for (const auto& [version, notes] : remoteVersionsDict.value_or(VersionNotes{})) {
    if (newest.empty() || VersionText::compareVersion(version, newest) > 0) newest = version;
  }
  return newest;
}

std::optional<std::string> VersionPrompt::versionDetails() const {
  std::vector<std::pair<std::string, std::string>> newer;
  for (const auto& entry : remoteVersionsDict.value_or(VersionNotes{})) {
    if (VersionText::compareVersion(entry.first, applicationVersion_.value_or("")) > 0) newer.push_back(entry);
  }
  if (newer.empty()) return std::nullopt;
  std::sort(newer.begin(), newer.end(),
            [](const auto& a, const auto& b) { return VersionText::compareVersionDescending(a.first, b.first) < 0; });
  std::string details;
  for (const auto& [version, notes] : newer) details += notes + "\n";
  return promptTrimmedLineBreaks(details);
}

void VersionPrompt::downloadedVersionsData() {
  currentlyChecking_ = false;
  if (!remoteVersionsDict) return;
  const auto details = versionDetails();
  if (!details) return;
  const std::string newest = mostRecentVersion();
  if (record().ignoredVersion() == newest) return;
  if (visibleRemoteAlert) return;
  auto alert = std::make_shared<pf::AlertView>(updateAvailableTitle + pf::format(" (%@)", newest), *details,
                                               weak_from_this(), ignoreButtonLabel,
                                               std::vector<std::string>{downloadButtonLabel});
  alert->addButtonWithTitle(remindButtonLabel);
  visibleRemoteAlert = alert;
  alert->show();
}

void VersionPrompt::showErrorView(const std::string& message) {
  std::make_shared<pf::AlertView>(std::nullopt, message, weak_from_this(), okButtonLabel)->show();
}

std::string VersionPrompt::storePageAddress() const {
  if (updateURL) return *updateURL;
  const bool sixOrLater = VersionText::compareVersion(pf::Device::currentDevice().systemVersion(), "6.0") >= 0;
  return pf::format(sixOrLater ? kStorePageFormat : kOldStorePageFormat, appStoreID);
}

void VersionPrompt::didDismissWithButtonIndex(pf::AlertView& alertView, long buttonIndex) {
  if (visibleRemoteAlert.get() != &alertView) return;
  if (buttonIndex == alertView.cancelButtonIndex()) {
    record().ignoreVersion(mostRecentVersion());
  } else if (buttonIndex == kRemindButtonIndex) {
    record().remindLaterFrom(pf::Date::now());
  } else {
    record().forgetReminder();
    pf::Application::sharedApplication().openURL(storePageAddress());
  }
  visibleRemoteAlert.reset();
}

void VersionPrompt::willPresentAlertView(pf::AlertView& alertView) {
  resizeAlertView(alertView);
}

void VersionPrompt::didRotate() {
  if (visibleRemoteAlert) resizeAlertView(*visibleRemoteAlert);
}

void VersionPrompt::resizeAlertView(pf::AlertView& alertView) const {
  if (disableAlertViewResizing) return;
  if (pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Phone) return;
  const auto& application = pf::Application::sharedApplication();
  if (!promptIsLandscape(application.statusBarOrientation())) return;
  const auto window = application.keyWindow();
  if (!window) return;
  const double room = window->frame().height() - alertView.frame().height() - 10;
  double growth = 0;
  for (const auto& view : alertView.subviews()) {
    pf::Rect frame = view->frame();
    if (auto label = std::dynamic_pointer_cast<pf::Label>(view); label && label->text() == alertView.message()) {
      label->setAlpha(1);
      label->setLineBreakMode(pf::LineBreakMode::wordWrap);
      label->setNumberOfLines(0);
      label->sizeToFit();
      frame.size.height = label->frame().height();
      growth = frame.height() - view->frame().height();
      if (growth > room) {
        frame.size.height -= growth - room;
        growth = room;
      }
      if (growth > room - 10) {
        frame.size.height -= growth - room - 10;
        frame.origin.y += (growth - room - 10) / 2;
      }
    } else if (std::dynamic_pointer_cast<pf::TextView>(view)) {
      view->setAlpha(0);
    } else if (std::dynamic_pointer_cast<pf::Control>(view)) {
      frame.origin.y += growth;
    }
    view->setFrame(frame);
  }
  pf::Rect alertFrame = alertView.frame();
  alertFrame.size.height += growth;
  alertFrame.origin.y -= std::round(growth / 2);
  alertView.setFrame(alertFrame);
}

void VersionPrompt::cancelLookup() {
  {
    std::lock_guard lock(requestMutex_);
    lookupCancelled_ = true;
    if (lookupRequest_) lookupRequest_->cancel();
  }
  if (!lookupThread_.joinable()) return;
  if (lookupThread_.get_id() == std::this_thread::get_id()) {
    lookupThread_.detach();
  } else {
    lookupThread_.join();
  }
}

VersionCheckRecord VersionPrompt::record() {
  return VersionCheckRecord(pf::UserDefaults::standardUserDefaults());
}
