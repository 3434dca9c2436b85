#pragma once
// The process-wide update prompt. It asks the store's public lookup service for the newest published
// version of this application and, when it is newer than the running one, offers it in an alert with
// three buttons: ignore (0), download (1) and remind later (2). Switched on at start-up, it checks one
// loop pass after launch and on every return from the background, unless the user asked to be reminded
// later less than remindPeriod days ago; a manual check (settings) ignores that and says
// "已经是最新版本" when nothing newer exists. What it remembers lives in VersionCheckRecord.
//
// Threads: the lookup runs on a thread of its own, one at a time; every change of the prompt's state
// after it is made on the main thread. Everything else on the main thread, except sharedInstance and
// applicationVersion, which any thread may call. A lookup still running when the application
// terminates is cancelled and waited for.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/version/VersionCheckRecord.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/AlertView.h"

class HttpRequest;

class VersionPrompt : public pf::AlertViewDelegate, public std::enable_shared_from_this<VersionPrompt> {
 public:
  using VersionNotes = std::map<std::string, std::string>;

  static constexpr double kLookupTimeoutSeconds = 60;
  // The store's lookup service on the server host, by country; then "?id=%u" or "?bundleId=%@".
  static constexpr char kLookupAddressFormat[] = "http://%@/store/%@/lookup";
  static constexpr char kStorePageFormat[] = "itms-apps://store.marlune.com/app/id%u";
  static constexpr char kOldStorePageFormat[] =
      "itms-apps://store.marlune.com/WebObjects/MZStore.woa/wa/viewSoftwareUpdate?id=%u";
  static constexpr char kAlreadyLatestKey[] = "已经是最新版本";
  static constexpr long kRemindButtonIndex = 2;

  // The single instance, made on first use; it checks after launch (when switched on) one main-loop
  // pass later.
  static std::shared_ptr<VersionPrompt> sharedInstance();
  // Forgets the instance, cancelling its lookup (tests that launch more than once).
  static void resetSharedInstance();

  ~VersionPrompt() override;

  // nullopt when the bundle names no version.
  const std::optional<std::string>& applicationVersion() const { return applicationVersion_; }

  // Fields; the values are those of this application.
  unsigned appStoreID = 0;
  std::string appStoreCountry;
  std::string applicationBundleID;
  double checkPeriod = 0;   // days
  double remindPeriod = 1;  // days
  bool disableAlertViewResizing = false;
  bool checkFromEnterForeground = false;
  std::string updateAvailableTitle;
  std::string versionLabelFormat;
  std::string okButtonLabel;
  std::string ignoreButtonLabel;
  std::string remindButtonLabel;
  std::string downloadButtonLabel;
  std::string inThisVersionTitle;
  std::optional<VersionNotes> remoteVersionsDict;
  pf::ErrorPtr downloadError;
  std::optional<std::string> updateURL;
  std::shared_ptr<pf::AlertView> visibleRemoteAlert;

  bool checkAtLaunch() const { return checkAtLaunch_; }
  void setCheckAtLaunch(bool check) { checkAtLaunch_ = check; }
  bool currentlyChecking() const { return currentlyChecking_; }

  // Runs a lookup unless one runs already.
  void checkForNewVersion();
  // The automatic checks.
  void applicationLaunched();
  void applicationWillEnterForeground();
  bool shouldCheckForNewVersion() const;
  // Marks the first launch of the running version, or forgets the reminder after an upgrade.
  void checkIfNewVersion();

  // The text of a key in the prompt's resource bundle, the key itself when it has none.
  static std::string localizedStringForKey(const std::string& key);
  // The store page of the application.
  std::string storePageAddress() const;

  void willPresentAlertView(pf::AlertView& alertView) override;
  void didDismissWithButtonIndex(pf::AlertView& alertView, long buttonIndex) override;
  // Fits a long message into a phone's landscape window; elsewhere changes nothing.
  void resizeAlertView(pf::AlertView& alertView) const;

 private:
  struct LookupInput {
    std::string address;
    std::string bundleID;
    std::string runningVersion;
    bool manual = false;
    bool knowsStoreID = false;
  };

  VersionPrompt();
  void observeApplication();
  LookupInput lookupInput() const;
  // On the lookup thread.
  void checkForNewVersionInBackground(const LookupInput& input);
  void downloadedVersionsData();
  void showErrorView(const std::string& message);
  void didRotate();
  std::string mostRecentVersion() const;
  std::optional<std::string> versionDetails() const;
  void cancelLookup();
  // Over the standard user defaults of the moment.
  static VersionCheckRecord record();

  std::optional<std::string> applicationVersion_;
  bool checkAtLaunch_ = false;
  bool currentlyChecking_ = false;
  std::vector<pf::NotificationCenter::Observation> observations_;
  // The lookup thread and the request it waits on; the mutex is held by a lookup for its whole run.
  std::mutex lookupMutex_;
  std::mutex requestMutex_;
  std::shared_ptr<HttpRequest> lookupRequest_;
  bool lookupCancelled_ = false;
  std::thread lookupThread_;
};
