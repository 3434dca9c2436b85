#pragma once
// Warms the picture cache for a list of URLs, a few at a time (3 by default, at low priority), logging
// each one and a summary, and reports (finished, skipped) when the whole list has ended. A URL that
// fails or is refused (one that failed before) counts as finished and skipped, and the next one starts
// in its place. A new list or cancelPrefetching ends the list before: its loads are cancelled and
// its callback never runs.
// Threads: every member works from any thread; the completion runs on the thread of the last load's end.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/net/Url.h"
#include "ui/webimage/WebImageManager.h"

class WebImagePrefetcher : public std::enable_shared_from_this<WebImagePrefetcher> {
 public:
  using CompletionBlock = std::function<void(unsigned finishedCount, unsigned skippedCount)>;

  static std::shared_ptr<WebImagePrefetcher> sharedImagePrefetcher();
  // A manager of its own: the shared picture cache and its own downloader.
  static std::shared_ptr<WebImagePrefetcher> create();

  void prefetchURLs(std::vector<pf::Url> urls, CompletionBlock completion = nullptr);
  void cancelPrefetching();

  int options() const;
  void setOptions(int options);
  unsigned maxConcurrentDownloads() const;
  void setMaxConcurrentDownloads(unsigned count);
  const std::shared_ptr<WebImageManager>& manager() const { return manager_; }
  unsigned requestedCount() const;
  unsigned finishedCount() const;
  unsigned skippedCount() const;

 private:
  WebImagePrefetcher();
  // Starts the next URL of that list, when there is one.
  void startNext(std::uint64_t generation);
  void loadEnded(std::uint64_t generation, bool gotImage);

  const std::shared_ptr<WebImageManager> manager_;
  mutable std::mutex mutex_;
  int options_ = WebImageLowPriority;
  std::vector<pf::Url> prefetchURLs_;
  unsigned requestedCount_ = 0;
  unsigned finishedCount_ = 0;
  unsigned skippedCount_ = 0;
  double startedTime_ = 0;
  std::uint64_t generation_ = 0;
  CompletionBlock completionBlock_;
};
