#pragma once
// Fetches pictures by URL, two at a time on its own operation queue. Requests for a URL already being
// fetched join that fetch: each requester gets its own handle, and all of them hear its progress and
// completion in the order they asked. Cancelling a handle drops that requester only; the fetch stops
// when no requester is left. Every request asks with "Accept: image/*" (changeable), a 15 s time-out
// and no cookies; with the URL-cache option it goes through a download cache of the picture loader's
// own, so a stored answer is revalidated (ETag, Last-Modified) instead of fetched again.
//
// Threads: every member works from any thread. The lists of requesters are kept by a concurrent
// queue: read with sync tasks, changed only by barrier tasks; a fetch's end takes its list and removes
// it in one barrier step. Callbacks run without any lock held: progress and final completions on the
// fetch's thread, partial pictures on the main queue.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/net/Url.h"
#include "ui/webimage/WebImageDownloaderOperation.h"
#include "ui/webimage/WebImageOperation.h"

class HttpDownloadCache;

class WebImageDownloader : public std::enable_shared_from_this<WebImageDownloader> {
 public:
  using ProgressBlock = WebImageDownloaderOperation::ProgressBlock;
  using CompletedBlock = WebImageDownloaderOperation::CompletedBlock;

  enum class ExecutionOrder : std::int32_t { FIFO = 0, LIFO = 1 };

  static constexpr char kBarrierQueueLabel[] = "com.tessavorn.WebImageDownloaderBarrierQueue";
  static constexpr char kURLCacheFolder[] = "com.tessavorn.WebImageDownloader.URLCache";

  // One requester of a fetch.
  class Handle : public WebImageOperation {
   public:
    Handle(std::weak_ptr<WebImageDownloader> downloader, std::string url, std::uint64_t id,
           std::shared_ptr<WebImageDownloaderOperation> operation, bool startedFetch);
    void cancel() override;
    // The fetch this requester belongs to.
    const std::shared_ptr<WebImageDownloaderOperation>& operation() const { return operation_; }
    // False when the requester joined a fetch already under way.
    bool startedFetch() const { return startedFetch_; }

   private:
    std::weak_ptr<WebImageDownloader> downloader_;
    std::string url_;
    std::uint64_t id_;
    std::shared_ptr<WebImageDownloaderOperation> operation_;
    bool startedFetch_;
  };

  static std::shared_ptr<WebImageDownloader> sharedDownloader();
  static std::shared_ptr<WebImageDownloader> create();
  ~WebImageDownloader();
  WebImageDownloader(const WebImageDownloader&) = delete;
  WebImageDownloader& operator=(const WebImageDownloader&) = delete;

  // nullopt removes the field.
  void setValue(const std::optional<std::string>& value, const std::string& forHTTPHeaderField);
  std::optional<std::string> valueForHTTPHeaderField(const std::string& field) const;
  void setMaxConcurrentDownloads(int count);
  int maxConcurrentDownloads() const;
  ExecutionOrder executionOrder() const;
  void setExecutionOrder(ExecutionOrder order);

  // A requester's handle, or nullptr for no URL (the completion then runs at once with finished false).
  std::shared_ptr<Handle> downloadImageWithURL(const std::optional<pf::Url>& url, int options,
                                               ProgressBlock progress, CompletedBlock completed);
  // How many requesters wait on the URL's fetch (0 when none runs).
  std::size_t requesterCountForURL(const pf::Url& url);

  const std::shared_ptr<pf::OperationQueue>& downloadQueue() const { return downloadQueue_; }
  // The URL cache of the picture loader in the Caches folder of the moment (Caches/<kURLCacheFolder>),
  // kept for the session; null when its folder cannot be made.
  static std::shared_ptr<HttpDownloadCache> urlCache();

 private:
  struct Requester {
    std::uint64_t id;
    ProgressBlock progress;
    CompletedBlock completed;
  };
  struct Fetch {
    std::uint64_t id = 0;
    std::weak_ptr<WebImageDownloaderOperation> operation;
    std::vector<Requester> requesters;
  };

  WebImageDownloader();
  std::shared_ptr<WebImageDownloaderOperation> makeOperation(const pf::Url& url, int options,
                                                            std::uint64_t fetchId);
  void enqueue(const std::shared_ptr<WebImageDownloaderOperation>& operation);
  // The requesters of that fetch of the URL (none once it has ended or another replaced it).
  std::vector<Requester> requestersOf(const std::string& url, std::uint64_t fetchId);
  // Takes the fetch's requesters and ends its list, in one barrier step.
  std::vector<Requester> takeRequesters(const std::string& url, std::uint64_t fetchId);
  void removeRequester(const std::string& url, std::uint64_t id);

  std::shared_ptr<pf::OperationQueue> downloadQueue_;
  std::shared_ptr<pf::DispatchQueue> barrierQueue_;
  // Guarded by barrierQueue_.
  std::map<std::string, Fetch> URLCallbacks_;
  std::uint64_t nextId_ = 1;
  mutable std::mutex settingsMutex_;
  std::map<std::string, std::string> HTTPHeaders_;
  ExecutionOrder executionOrder_ = ExecutionOrder::FIFO;
  std::weak_ptr<WebImageDownloaderOperation> lastAddedOperation_;
};
