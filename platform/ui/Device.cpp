#include "platform/ui/Device.h"

#include <unistd.h>

#include <array>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Screen.h"

namespace pf {

namespace {

std::string hostName() {
  std::array<char, 256> buffer{};
  if (gethostname(buffer.data(), buffer.size() - 1) != 0 || buffer[0] == '\0') return "Marlune";
  return buffer.data();
}

}  // namespace

Device::Device() : name_(hostName()) {}

Device& Device::currentDevice() {
  static Device device;
  return device;
}

Device::Idiom Device::userInterfaceIdiom() const {
  return Screen::mainScreen().profile() == Screen::Profile::Tablet ? Idiom::Pad : Idiom::Phone;
}

std::string Device::model() const {
  return userInterfaceIdiom() == Idiom::Pad ? "iPad" : "iPhone";
}

void Device::setOrientation(Orientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  if (orientationListeners_ > 0)
    NotificationCenter::defaultCenter().post(kOrientationDidChangeNotification,
                                             std::shared_ptr<void>(std::shared_ptr<void>(), this));
}

void Device::beginGeneratingDeviceOrientationNotifications() {
  ++orientationListeners_;
}

void Device::endGeneratingDeviceOrientationNotifications() {
  if (orientationListeners_ > 0) --orientationListeners_;
}

bool Device::isPortrait(Orientation orientation) {
  return orientation == Orientation::Portrait || orientation == Orientation::PortraitUpsideDown;
}

bool Device::isLandscape(Orientation orientation) {
  return orientation == Orientation::LandscapeLeft || orientation == Orientation::LandscapeRight;
}

}  // namespace pf
