#include "app/controller/blg/BlgSentWatcher.h"

#include <utility>

void BlgSentWatcher::announce() { pf::NotificationCenter::defaultCenter().post(kSentNotification); }

// The flag is shared with the callback so a late delivery never reaches a destroyed watcher.
BlgSentWatcher::BlgSentWatcher()
    : observation_(pf::NotificationCenter::defaultCenter().addObserver(
          kSentNotification, nullptr, [sent = sent_](const pf::Notification&) { *sent = true; })) {}

bool BlgSentWatcher::takeSent() { return std::exchange(*sent_, false); }
