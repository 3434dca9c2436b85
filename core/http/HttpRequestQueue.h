#pragma once
// An operation queue of HTTP requests. It is the queue of every request it holds, so it hears their
// events on the main thread: it relays them to one delegate through the selectors set here, adds the
// byte counts of all requests into one upload and one download progress, and, while
// shouldCancelAllRequestsOnFailure is on (the default), cancels the rest when one request fails.
//
// A new queue is suspended with width 4: add the requests, then go(). While it is suspended, a GET
// added with showAccurateProgress first runs a HEAD twin that sizes the download.
//
// Thread rules: the request events and counter changes arrive on the main thread; addOperation, go and
// reset belong to the owner's thread; the counters, flags and selectors may be read from any thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "core/http/AtomicProperty.h"
#include "core/http/HttpProgressDelegate.h"
#include "core/http/HttpRequest.h"
#include "core/http/HttpRequestDelegate.h"
#include "platform/foundation/OperationQueue.h"

class HttpRequestQueue : public pf::OperationQueue, public HttpRequestDelegate, public HttpProgressDelegate {
 public:
  using Ptr = std::shared_ptr<HttpRequestQueue>;
  // The delegate operations the queue sends; a null selector sends nothing.
  using RequestSelector = HttpRequest::RequestSelector;
  using HeadersSelector = HttpRequest::HeadersSelector;
  using RedirectSelector = HttpRequest::RedirectSelector;
  using QueueSelector = void (HttpRequestDelegate::*)(const Ptr&);

  // Width 4, suspended.
  HttpRequestQueue();
  static Ptr queue();
  // The delegate, selectors, progress delegates, switches and user info; not the requests, counters
  // or width.
  Ptr copy() const;

  void go();
  // Cancels everything, forgets the delegates and selectors (not the redirect one) and suspends.
  void reset();
  // Clears the byte counters, then cancels every request.
  void cancelAllOperations() override;
  // Throws ContractViolation "AttemptToAddInvalidRequest" for anything but an HttpRequest.
  void addOperation(const std::shared_ptr<pf::Operation>& operation) override;
  // A HEAD request that sizes another one: not counted, and ignored when not an HttpRequest.
  void addHEADOperation(const std::shared_ptr<pf::Operation>& operation);

  std::weak_ptr<HttpRequestDelegate> delegate() const;
  void setDelegate(std::weak_ptr<HttpRequestDelegate> newDelegate);
  std::weak_ptr<HttpProgressDelegate> uploadProgressDelegate() const;
  // Also sets the new delegate's progress to 0.
  void setUploadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate);
  std::weak_ptr<HttpProgressDelegate> downloadProgressDelegate() const;
  void setDownloadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate);

  // ---- events of the requests (main thread) ----

  // Requests ask this before handing the queue a redirect or a credential question.
  bool implements(Optional operation) const override;
  using HttpRequestDelegate::request;
  void requestStarted(const HttpRequest::Ptr& request) override;
  void request(const HttpRequest::Ptr& request, const pf::Dictionary& didReceiveResponseHeaders) override;
  void request(const HttpRequest::Ptr& request, const pf::Url& willRedirectToURL) override;
  void requestFinished(const HttpRequest::Ptr& request) override;
  void requestFailed(const HttpRequest::Ptr& request) override;
  void authenticationNeededForRequest(const HttpRequest::Ptr& request) override;
  void proxyAuthenticationNeededForRequest(const HttpRequest::Ptr& request) override;
  void requestDidReceiveBytes(const HttpRequest::Ptr& request, long long bytes) override;
  void requestDidSendBytes(const HttpRequest::Ptr& request, long long bytes) override;
  void requestIncrementDownloadSizeBy(const HttpRequest::Ptr& request, long long newLength) override;
  void requestIncrementUploadSizeBy(const HttpRequest::Ptr& request, long long newLength) override;

  // ---- properties ----

  AtomicProperty<RequestSelector> requestDidStartSelector;
  AtomicProperty<HeadersSelector> requestDidReceiveResponseHeadersSelector;
  AtomicProperty<RedirectSelector> requestWillRedirectSelector;
  AtomicProperty<RequestSelector> requestDidFinishSelector;
  AtomicProperty<RequestSelector> requestDidFailSelector;
  AtomicProperty<QueueSelector> queueDidFinishSelector;

  // Never below 0: a negative amount larger than a counter empties it.
  std::atomic<std::uint64_t> bytesUploadedSoFar{0};
  std::atomic<std::uint64_t> totalBytesToUpload{0};
  std::atomic<std::uint64_t> bytesDownloadedSoFar{0};
  std::atomic<std::uint64_t> totalBytesToDownload{0};

  std::atomic<bool> shouldCancelAllRequestsOnFailure{true};
  // Requests added and not yet ended.
  std::atomic<int> requestsCount{0};
  // Byte-accurate progress instead of one unit per request.
  std::atomic<bool> showAccurateProgress{false};
  AtomicProperty<std::optional<pf::Dictionary>> userInfo;

 private:
  Ptr self();
  void send(RequestSelector selector, const HttpRequest::Ptr& request);
  void requestEnded(RequestSelector selector, const HttpRequest::Ptr& request);
  // Progress 0 on the delegate, on the main thread.
  static void resetProgressDelegate(const std::weak_ptr<HttpProgressDelegate>& indicator);
  // The engine's progress hand-off, never past the total.
  static void updateProgressIndicator(const std::weak_ptr<HttpProgressDelegate>& indicator,
                                      std::uint64_t progress, std::uint64_t total);

  mutable std::mutex delegatesMutex_;
  std::weak_ptr<HttpRequestDelegate> delegate_;
  std::weak_ptr<HttpProgressDelegate> uploadProgressDelegate_;
  std::weak_ptr<HttpProgressDelegate> downloadProgressDelegate_;
};
