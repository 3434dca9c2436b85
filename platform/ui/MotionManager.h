#pragma once
// The device-motion service's stand-in. The machine has no motion sensor: tests and hosts play one
// with setSimulatedAttitude (none by default, so isDeviceMotionAvailable answers false). A manager
// started with startDeviceMotionUpdatesUsingReferenceFrame reads the simulated attitude as its
// deviceMotion until it is stopped.
// Thread rules: a manager is used on one thread; the simulated sensor may be set from any thread.

#include <optional>

namespace pf {

struct Quaternion {
  double x = 0, y = 0, z = 0, w = 0;
};

struct DeviceMotion {
  struct Attitude {
    Quaternion quaternion;
  } attitude;
};

class MotionManager {
 public:
  // The platform's reference-frame numbers.
  enum ReferenceFrame : unsigned {
    kXArbitraryZVertical = 1,
    kXArbitraryCorrectedZVertical = 2,
    kXMagneticNorthZVertical = 4,
    kXTrueNorthZVertical = 8,
  };

  // The sensor every manager reads; nullopt takes it away.
  static void setSimulatedAttitude(std::optional<Quaternion> attitude);

  double deviceMotionUpdateInterval() const { return interval_; }
  void setDeviceMotionUpdateInterval(double seconds) { interval_ = seconds; }
  bool isDeviceMotionAvailable() const;
  // Starts the updates when the sensor is there.
  void startDeviceMotionUpdatesUsingReferenceFrame(unsigned referenceFrame);
  void stopDeviceMotionUpdates() { active_ = false; }
  bool isDeviceMotionActive() const { return active_; }
  unsigned attitudeReferenceFrame() const { return referenceFrame_; }
  // The latest reading while active, else nothing.
  std::optional<DeviceMotion> deviceMotion() const;

 private:
  double interval_ = 0.01;
  unsigned referenceFrame_ = kXArbitraryZVertical;
  bool active_ = false;
};

}  // namespace pf
