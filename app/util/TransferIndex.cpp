#include "app/util/TransferIndex.h"

#include <algorithm>
#include <iterator>

void TransferIndex::add(const std::string& id, const HttpRequest::Ptr& request) {
  requests_[id].push_back(request);
  // Each sweep waits until the ids have doubled, so its cost spreads over the adds since the last one.
  if (requests_.size() < sweepAt_) return;
  sweep();
  sweepAt_ = std::max(kFirstSweep, 2 * requests_.size());
}

std::vector<HttpRequest::Ptr> TransferIndex::unfinished(const std::string& id) {
  std::vector<HttpRequest::Ptr> found;
  const auto entry = requests_.find(id);
  if (entry == requests_.end()) return found;
  if (prune(entry->second)) {
    requests_.erase(entry);
    return found;
  }
  for (const auto& held : entry->second)
    if (HttpRequest::Ptr request = held.lock()) found.push_back(std::move(request));
  return found;
}

bool TransferIndex::prune(Held& held) {
  std::erase_if(held, [](const std::weak_ptr<HttpRequest>& weak) {
    const HttpRequest::Ptr request = weak.lock();
    return !request || request->isFinished();
  });
  return held.empty();
}

void TransferIndex::sweep() {
  for (auto entry = requests_.begin(); entry != requests_.end();)
    entry = prune(entry->second) ? requests_.erase(entry) : std::next(entry);
}
