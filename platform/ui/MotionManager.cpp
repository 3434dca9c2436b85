#include "platform/ui/MotionManager.h"

#include <mutex>

namespace pf {

namespace {

std::mutex& simulatedSensorLock() {
  static std::mutex lock;
  return lock;
}

std::optional<Quaternion>& simulatedSensor() {
  static std::optional<Quaternion> attitude;
  return attitude;
}

}  // namespace

void MotionManager::setSimulatedAttitude(std::optional<Quaternion> attitude) {
  std::lock_guard lock(simulatedSensorLock());
  simulatedSensor() = attitude;
}

bool MotionManager::isDeviceMotionAvailable() const {
  std::lock_guard lock(simulatedSensorLock());
  return simulatedSensor().has_value();
}

void MotionManager::startDeviceMotionUpdatesUsingReferenceFrame(unsigned referenceFrame) {
  if (!isDeviceMotionAvailable()) return;
  referenceFrame_ = referenceFrame;
  active_ = true;
}

std::optional<DeviceMotion> MotionManager::deviceMotion() const {
  if (!active_) return std::nullopt;
  std::lock_guard lock(simulatedSensorLock());
  if (!simulatedSensor()) return std::nullopt;
  DeviceMotion motion;
  motion.attitude.quaternion = *simulatedSensor();
  return motion;
}

}  // namespace pf
