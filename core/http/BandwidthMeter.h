#pragma once
// The process-wide account of bytes sent and received, in one-second windows, and the throttle built on
// it: with a limit set (always, or only while the mobile network is the way out), a stream that used
// up its second is held back until a resume date. One lock (not recursive) guards all of it.
// Thread-safe; dates are seconds since 1970 on the installed clock.

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

class BandwidthMeter {
 public:
  static constexpr unsigned long kWWANLimit = 14800;

  static BandwidthMeter& shared();

  bool isBandwidthThrottled();
  unsigned long maxBandwidthPerSecond();
  void setMaxBandwidthPerSecond(unsigned long bytes);
  // Throttling that applies only while throttledNow says so (the mobile network is the way out).
  void setWWANOnly(bool wwanOnly, unsigned long limit);
  void setThrottledNow(bool throttled);

  void incrementBandwidthUsedInLastSecond(unsigned long bytes);
  void recordBandwidthUsage();
  void measureBandwidthUsage();
  unsigned long averageBandwidthUsedPerSecond();
  // How much a body read may take now; may set the resume date.
  unsigned long maxUploadReadLength();
  // A read of `size` bytes lowered to what the current second still allows; never below 1.
  std::size_t throttledReadSize(std::size_t size);
  // Measures, then answers the date until which throttled streams stay unscheduled (nullopt: none).
  std::optional<double> throttleResumeDate();

 private:
  bool throttledLocked() const;
  void recordLocked(double now);
  void measureLocked(double now);

  std::mutex throttleGuard_;
  unsigned long limit_ = 0;
  bool throttled_ = false;
  bool wwanOnly_ = false;
  unsigned long bytesInWindow_ = 0;
  std::optional<double> measurementWindowEnd_;
  std::deque<unsigned long> usageHistory_;
  unsigned long average_ = 0;
  std::optional<double> throttleResumeDate_;
};
