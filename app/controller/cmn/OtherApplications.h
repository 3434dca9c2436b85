#pragma once
// Launching the platform's other applications from the menu and the square: through the URL
// "<scheme>:open" when something on the device handles the scheme, else the offer of the
// application's store page.
//
// Main thread only.

#include <optional>
#include <string>

class MobileApp;

class OtherApplications {
 public:
  static constexpr char kNotInstalledMessage[] = "您未安装该应用，是否下载安装？";
  static constexpr char kStoreHost[] = "store.marlune.com";

  // "%@:open" of the entry's scheme; none when the entry has no scheme.
  static std::optional<std::string> launchUrl(const MobileApp& app);
  // Opens the application when it can be opened; answers whether it did.
  static bool launch(const MobileApp& app);
  // The store page of a store id: itms-apps://<host>/WebObjects/MZStore.woa/wa/viewSoftware?id=<id>.
  static std::string storePageUrl(const std::string& appId);
  // Switches to the store page; nothing without an id.
  static bool openStorePage(const std::optional<std::string>& appId);
};
