#pragma once
// The device the program runs on: its idiom (phone or tablet, following the screen profile), system
// version, name and model, and its physical orientation. Hosts and tests set the orientation; while
// someone asked for orientation notifications, a change posts kOrientationDidChangeNotification.
// Main thread only.

#include <string>

namespace pf {

class Device {
 public:
  // The platform's idiom numbers: the Parts compare against 1 for the tablet.
  enum class Idiom { Phone = 0, Pad = 1 };
  // The platform's device orientations.
  enum class Orientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeLeft = 3,
    LandscapeRight = 4,
    FaceUp = 5,
    FaceDown = 6
  };

  static constexpr char kOrientationDidChangeNotification[] = "UIDeviceOrientationDidChangeNotification";

  static Device& currentDevice();

  // Pad when the main screen uses the tablet profile.
  Idiom userInterfaceIdiom() const;
  const std::string& systemName() const { return systemName_; }
  const std::string& systemVersion() const { return systemVersion_; }
  const std::string& name() const { return name_; }
  // "iPhone" or "iPad" style model text after the idiom.
  std::string model() const;

  Orientation orientation() const { return orientation_; }
  // Moves the device; posts the change notification when it changed and notifications are on.
  void setOrientation(Orientation orientation);
  void beginGeneratingDeviceOrientationNotifications();
  void endGeneratingDeviceOrientationNotifications();
  bool isGeneratingDeviceOrientationNotifications() const { return orientationListeners_ > 0; }

  void setSystemVersion(std::string version) { systemVersion_ = std::move(version); }
  void setName(std::string name) { name_ = std::move(name); }
  bool isMultitaskingSupported() const { return true; }

  static bool isPortrait(Orientation orientation);
  static bool isLandscape(Orientation orientation);

 private:
  Device();

  std::string systemName_ = "Linux";
  std::string systemVersion_ = "7.0";
  std::string name_;
  Orientation orientation_ = Orientation::Portrait;
  int orientationListeners_ = 0;
};

}  // namespace pf
