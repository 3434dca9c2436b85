// Bandwidth accounting and throttling as requests see it, and the throttle that holds the mobile
// network to a modest rate while it is the only way out.

#include "core/http/BandwidthMeter.h"
#include "core/http/HttpRequest.h"
#include "core/reachability/Reachability.h"
#include "platform/foundation/NotificationCenter.h"

namespace {

// The watch on the internet connection while the mobile-network throttle is on.
struct WWANWatch {
  std::mutex mutex;
  std::shared_ptr<Reachability> reachability;
  pf::NotificationCenter::Observation observation;
};

WWANWatch& wwanWatch() {
  static WWANWatch watch;
  return watch;
}

void reachabilityChanged() {
  BandwidthMeter::shared().setThrottledNow(HttpRequest::isNetworkReachableViaWWAN());
}

void registerForNetworkReachabilityNotifications() {
  WWANWatch& watch = wwanWatch();
  std::lock_guard lock(watch.mutex);
  if (watch.reachability) return;
  watch.reachability = Reachability::reachabilityForInternetConnection();
  if (!watch.reachability) return;
  watch.reachability->startNotifier();
  watch.observation = pf::NotificationCenter::defaultCenter().addObserver(
      kReachabilityChangedNotification, nullptr, [](const pf::Notification&) { reachabilityChanged(); });
}

void unsubscribeFromNetworkReachabilityNotifications() {
  WWANWatch& watch = wwanWatch();
  std::lock_guard lock(watch.mutex);
  watch.observation.remove();
  if (watch.reachability) watch.reachability->stopNotifier();
  watch.reachability.reset();
}

}  // namespace

bool HttpRequest::isBandwidthThrottled() {
  return BandwidthMeter::shared().isBandwidthThrottled();
}

unsigned long HttpRequest::maxBandwidthPerSecond() {
  return BandwidthMeter::shared().maxBandwidthPerSecond();
}

void HttpRequest::setMaxBandwidthPerSecond(unsigned long bytes) {
  BandwidthMeter::shared().setMaxBandwidthPerSecond(bytes);
}

void HttpRequest::incrementBandwidthUsedInLastSecond(unsigned long bytes) {
  BandwidthMeter::shared().incrementBandwidthUsedInLastSecond(bytes);
}

void HttpRequest::recordBandwidthUsage() {
  BandwidthMeter::shared().recordBandwidthUsage();
}

void HttpRequest::measureBandwidthUsage() {
  BandwidthMeter::shared().measureBandwidthUsage();
}

unsigned long HttpRequest::averageBandwidthUsedPerSecond() {
  return BandwidthMeter::shared().averageBandwidthUsedPerSecond();
}

unsigned long HttpRequest::maxUploadReadLength() {
  return BandwidthMeter::shared().maxUploadReadLength();
}

void HttpRequest::setShouldThrottleBandwidthForWWAN(bool throttle) {
  if (throttle) return throttleBandwidthForWWANUsingLimit(BandwidthMeter::kWWANLimit);
  unsubscribeFromNetworkReachabilityNotifications();
  BandwidthMeter::shared().setWWANOnly(false, 0);
}

void HttpRequest::throttleBandwidthForWWANUsingLimit(unsigned long limit) {
  BandwidthMeter::shared().setWWANOnly(true, limit);
  registerForNetworkReachabilityNotifications();
  reachabilityChanged();
}

bool HttpRequest::isNetworkReachableViaWWAN() {
  const std::shared_ptr<Reachability> internet = Reachability::reachabilityForInternetConnection();
  return internet && internet->currentReachabilityStatus() == NetworkStatus::ReachableViaWWAN;
}

// Runs on the request's thread with its lock held (or inside its body stream's read).
void HttpRequest::performThrottling() {
  if (!readStream) return;
  BandwidthMeter& meter = BandwidthMeter::shared();
  const std::optional<double> resume = meter.throttleResumeDate();
  if (!meter.isBandwidthThrottled()) return scheduleReadStream();
  if (!resume) return;
  if (*resume > pf::Date::now().seconds) {
    unscheduleReadStream();
  } else {
    scheduleReadStream();
  }
}
