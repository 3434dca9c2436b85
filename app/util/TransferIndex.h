#pragma once
// The file downloader's transfers by download id, so that finding a record's transfers is one lookup
// instead of a walk over the whole queue: a burst of starts asks once per record, and with hundreds
// of records queued the walks grew with the square of the burst. The queue owns the transfers; the
// index holds them weakly and forgets them once finished (they have then left the queue).
//
// Main thread only, like the file downloader.

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/http/HttpRequest.h"

class TransferIndex {
 public:
  // Below this many ids the index is not swept for finished transfers.
  static constexpr std::size_t kFirstSweep = 64;

  void add(const std::string& id, const HttpRequest::Ptr& request);
  // The id's transfers not finished yet, in the order they were added.
  std::vector<HttpRequest::Ptr> unfinished(const std::string& id);
  // Ids held, some of them perhaps only with transfers finished since.
  std::size_t size() const { return requests_.size(); }

 private:
  using Held = std::vector<std::weak_ptr<HttpRequest>>;
  // Drops the finished transfers of one id; true when none is left.
  static bool prune(Held& held);
  // Drops every finished transfer, so that ids never asked for again do not pile up.
  void sweep();

  std::unordered_map<std::string, Held> requests_;
  std::size_t sweepAt_ = kFirstSweep;
};
