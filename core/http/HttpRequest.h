#pragma once
// One HTTP exchange of the application's own engine: what to send (URL, method, headers, cookies, body
// in memory or in a file, optionally gzip-compressed), how (time-out, persistent connections, redirects,
// certificate checks, credentials, proxy, cache), what came back, and who hears of it (delegates, the
// owning queue, handler blocks). An operation, so queues can run it.
//
// This part holds the request's set-up, its properties with their defaults, the building of the body
// and headers, copying, and the class-level services (session cookies, default User-Agent, default
// cache, MIME types, HTTP dates, Content-Type parsing, Base64).
//
// Thread rules: properties that are std::atomic or AtomicProperty may be read and written from any
// thread (the request's thread writes them while the main thread reads them in reports); the plain
// members belong to the thread that runs the request. The method, URL, delegates and queue are kept
// under cancelledLock(), which building also holds. Class state has its own locks.

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/http/AtomicProperty.h"
#include "core/http/BackgroundTaskHost.h"
#include "core/http/HttpProgressDelegate.h"
#include "core/http/HttpRequestDelegate.h"
#include "core/http/HttpRequestError.h"
#include "core/http/HttpSessionCredential.h"
#include "core/http/ResponseSizeLimit.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Operation.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/Value.h"
#include "platform/net/HttpCookie.h"
#include "platform/net/StringEncoding.h"
#include "platform/net/Url.h"
#include "platform/net/UrlCredential.h"

namespace pf {
class HttpMessage;
class HttpReadStream;
class InputStream;
class OperationQueue;
struct ProxyEntry;
}  // namespace pf

class GzipDecompressor;
class HttpDownloadCache;
class HttpRequestQueue;
// A record of the persistent-connection pool.
struct ConnectionRecord;

class HttpRequest : public pf::Operation {
 public:
  using Ptr = std::shared_ptr<HttpRequest>;
  using Cookies = std::vector<pf::HttpCookiePtr>;

  // Delegate operations a caller may route events to (the defaults name the usual ones).
  using RequestSelector = void (HttpRequestDelegate::*)(const Ptr&);
  using HeadersSelector = void (HttpRequestDelegate::*)(const Ptr&, const pf::Dictionary&);
  using RedirectSelector = void (HttpRequestDelegate::*)(const Ptr&, const pf::Url&);
  using DataSelector = void (HttpRequestDelegate::*)(const Ptr&, const pf::Data&);

  // Handler blocks, run on the main thread beside the delegate.
  using BasicBlock = std::function<void()>;
  using HeadersBlock = std::function<void(const pf::Dictionary& responseHeaders)>;
  using SizeBlock = std::function<void(long long size)>;
  using ProgressBlock = std::function<void(unsigned long long size, unsigned long long total)>;
  using DataBlock = std::function<void(const pf::Data& data)>;
  struct HandlerBlocks {
    BasicBlock started;
    HeadersBlock headersReceived;
    BasicBlock completion;
    BasicBlock failure;
    ProgressBlock bytesReceived;
    ProgressBlock bytesSent;
    SizeBlock downloadSizeIncremented;
    SizeBlock uploadSizeIncremented;
    DataBlock dataReceived;
    BasicBlock authenticationNeeded;
    BasicBlock proxyAuthenticationNeeded;
    BasicBlock requestRedirected;
  };

  // Files are copied into a streamed body in pieces of this size.
  static constexpr std::size_t kFileCopyChunkSize = 262144;

  // ---- creation ----

  // A request with the defaults listed beside the properties below. Requests live in shared_ptr (the
  // engine hands them to queues and links HEAD requests back to them): make them with requestWithURL.
  explicit HttpRequest(std::optional<pf::Url> url);
  ~HttpRequest() override;
  static Ptr requestWithURL(std::optional<pf::Url> url);
  static Ptr requestWithURL(std::optional<pf::Url> url, const std::shared_ptr<HttpDownloadCache>& usingCache);
  static Ptr requestWithURL(std::optional<pf::Url> url, const std::shared_ptr<HttpDownloadCache>& usingCache,
                            int andCachePolicy);
  // A request of the same class for the same URL carrying over the caller's settings (not the queue,
  // blocks, response state or the other selectors).
  virtual Ptr copy() const;
  // A HEAD request of the same class for the same URL that stands in for this one (accurate progress).
  Ptr HEADRequest();

  // ---- building ----

  // Adds or replaces a header; false (logged) for a name or value a message cannot carry (CR, LF, ...).
  bool addRequestHeader(const std::string& header, const std::string& value);
  // POST and PUT never keep their connection; other methods not once a body is attached.
  void setRequestMethod(const std::string& newRequestMethod);
  std::string requestMethod() const;
  void setURL(std::optional<pf::Url> newURL);
  std::optional<pf::Url> url() const;
  // Appends to the body file when streaming from disk, else to postBody; a failed write fails the
  // request (code 8).
  void appendPostData(const pf::Data& data);
  // Copies a file into the body in pieces; false (the request failed, code 8) when it cannot be read.
  bool appendPostDataFromFile(const std::string& file);
  // Both run once per request; a failure ends the request with the error.
  virtual void buildPostBody();
  void buildRequestHeaders();
  void applyCookieHeader();

  // Ends the request with this error (nothing for a cancelled request or one that failed before).
  void failWithError(const pf::ErrorPtr& theError);

  // ---- running ----

  // Runs the request on the calling thread, in a private run-loop mode so nothing else of the caller's
  // loop runs meanwhile; returns once the request is complete. Reports still go to the main thread.
  void startSynchronous();
  // Queues the request on the class's own operation queue (four at a time).
  void startAsynchronous();
  // Queued requests go on after the queue's start returns, until markAsFinished.
  bool isAsynchronous() const override { return true; }
  // Prepares and starts the exchange; a queued request hands this to the request thread first.
  void main() override;
  // Fails the request with code 4 on the request thread (not waiting).
  void cancel() override;
  // Forgets the delegates, queue and blocks, then cancels.
  void clearDelegatesAndCancel();
  // Opens the stream (reusing a kept-alive connection when allowed) and starts the status timer.
  void startRequest();
  // Tears down the streams; a resumable download keeps its temporary file.
  void cancelLoad();
  // A delegate's answer to request:willRedirectToURL:.
  void redirectToURL(const pf::Url& newURL);
  // Ends the operation without reports; later calls change nothing.
  void markAsFinished();
  // Runs the block on the thread that runs this request (not waiting).
  void performOnRequestThread(std::function<void()> block);
  // Where requests that continue in the background hold their task (none: they hold none).
  static void setBackgroundTaskHost(std::shared_ptr<BackgroundTaskHost> host);
  // Holds the stream back while the bandwidth of this second is used up; runs on the request's thread.
  void performThrottling();

  // ---- response ----

  // The body, inflated when it came gzip-compressed and inflating waited for the end.
  std::optional<pf::Data> responseData() const;
  // responseData moved out of the request, which keeps none: for a caller done with the request.
  std::optional<pf::Data> takeResponseData();
  // responseData decoded with responseEncoding; nullopt without data.
  std::optional<std::string> responseString() const;
  bool isResponseCompressed() const;
  // The "id" of the kept-alive connection in use.
  std::optional<int> connectionID() const;

  // Deletes the file when there is one; false with a code-8 error when it stays.
  static bool removeFileAtPath(const std::string& path, pf::ErrorPtr* err);
  bool removeTemporaryDownloadFile();
  bool removeTemporaryUncompressedDownloadFile();
  bool removeTemporaryUploadFile();
  bool removeTemporaryCompressedUploadFile();

  // ---- authentication, proxies and cache: the engine calls these at the points it names ----

  // Adds credentials known before any challenge to the message's "Authorization" header.
  void applyAuthorizationHeader();
  // The server (401) or proxy (407) asked for credentials at the end of the answer.
  void attemptToApplyCredentialsAndResume();
  void attemptToApplyProxyCredentialsAndResume();
  // true: go on with startRequest now; false: proxy discovery goes on and starts the request later,
  // or the request failed.
  bool configureProxies();
  // Before sending: true when the download cache answered the request (it is then complete); otherwise
  // conditional headers may have been added.
  bool answerFromCacheBeforeSending();
  // Once the response head is in: true when the cache's copy answers instead (a 304, say).
  bool answerFromCacheAfterHeaders();
  // On failure: true when the cache's copy answers instead of the error.
  bool answerFromCacheOnFailure();
  // After a successful answer: store it in the download cache when there is one.
  void storeResponseInCache();
  // Completes the request from the download cache.
  void useDataFromCache();

  // ---- credentials (HttpRequestAuthentication.cpp) ----

  // The credentials to answer a server challenge with: the URL's, the main request's, the request's
  // own, then (with useKeychainPersistence) the credential storage's; nullopt without a complete pair.
  std::optional<pf::Dictionary> findCredentials();
  // The main request's or the request's proxy credentials, its own for an NTLM proxy, then the storage's.
  std::optional<pf::Dictionary> findProxyCredentials();
  // The session entry that may answer for this request's server or proxy.
  std::optional<HttpSessionCredential> findSessionAuthenticationCredentials();
  std::optional<HttpSessionCredential> findSessionProxyAuthenticationCredentials();
  // Puts the credentials on the message with this exchange's authentication object and remembers them
  // (session store, credential storage); false when they cannot be applied.
  bool applyCredentials(const pf::Dictionary& newCredentials);
  bool applyProxyCredentials(const pf::Dictionary& newCredentials);
  void addBasicAuthenticationHeaderWithUsername(const std::string& theUsername,
                                                const std::string& andPassword);
  // Hands the question to the delegate (else the queue, else the block) on the main thread; false for a
  // synchronous request or when nobody answers it.
  bool willAskDelegateForCredentials();
  bool willAskDelegateForProxyCredentials();
  void askDelegateForCredentials();
  void askDelegateForProxyCredentials();
  // Shows the credential prompt when one is installed and the request allows it.
  bool showAuthenticationDialog();
  bool showProxyAuthenticationDialog();
  // The answer of a delegate or the prompt, from any thread: the credentials now set on the request are
  // tried (and the requests waiting on the same question try the session store), or the request and
  // those waiting fail with code 3.
  void retryUsingSuppliedCredentials();
  void cancelAuthentication();

  // The credential prompt, run on the main thread; the UI layer installs it. Without one, no prompt.
  using CredentialPrompt = std::function<void(const Ptr& request)>;
  static void setCredentialPrompt(CredentialPrompt prompt);

  // Session credential stores, process-wide. Storing replaces an entry with the same credentials for
  // the same server or proxy; removing drops the first entry with those credentials.
  static std::vector<HttpSessionCredential> sessionCredentialsStore();
  static std::vector<HttpSessionCredential> sessionProxyCredentialsStore();
  static void storeAuthenticationCredentialsInSessionStore(const HttpSessionCredential& entry);
  static void storeProxyAuthenticationCredentialsInSessionStore(const HttpSessionCredential& entry);
  static void removeAuthenticationCredentialsFromSessionStore(const pf::Dictionary& credentials);
  static void removeProxyAuthenticationCredentialsFromSessionStore(const pf::Dictionary& credentials);

  // Permanent credentials, kept as the default credential of their protection space.
  void saveCredentialsToKeychain(const pf::Dictionary& newCredentials);
  void saveProxyCredentialsToKeychain(const pf::Dictionary& newCredentials);
  static void saveCredentials(const pf::UrlCredential& credentials, const std::string& forHost, int port,
                              const std::string& protocol, const std::optional<std::string>& realm);
  static void saveCredentials(const pf::UrlCredential& credentials, const std::string& forProxy, int port,
                              const std::optional<std::string>& realm);
  static std::optional<pf::UrlCredential> savedCredentialsForHost(const std::string& host, int port,
                                                                  const std::string& protocol,
                                                                  const std::optional<std::string>& realm);
  static std::optional<pf::UrlCredential> savedCredentialsForProxy(const std::string& proxy, int port,
                                                                   const std::string& protocol,
                                                                   const std::optional<std::string>& realm);
  static void removeCredentialsForHost(const std::string& host, int port, const std::string& protocol,
                                       const std::optional<std::string>& realm);
  static void removeCredentialsForProxy(const std::string& proxy, int port,
                                        const std::optional<std::string>& realm);

  // ---- proxies (HttpRequestProxy.cpp) ----

  // proxyType values.
  static constexpr char kProxyTypeHTTP[] = "HTTP";
  static constexpr char kProxyTypeHTTPS[] = "HTTPS";
  static constexpr char kProxyTypeSOCKS[] = "SOCKS";

  // Fetches the proxy script at PACurl (over HTTP or from a file), then starts the request.
  void fetchPACFile();
  // Evaluates the script on a pool thread, then, back on the request's thread, takes the first proxy it
  // names for the URL (none for nullopt or a script that cannot be evaluated: the request then goes
  // directly) and starts the request unless it was cancelled or failed meanwhile.
  void runPACScript(const std::optional<std::string>& script);
  void startUnlessStopped();
  void finishedDownloadingPACFile(const Ptr& download);

  // ---- class-wide running state ----

  // The one long-lived thread that runs queued and asynchronous requests (its run loop).
  static std::shared_ptr<pf::RunLoop> threadForRequest(const Ptr& request);
  // The queue of startAsynchronous.
  static std::shared_ptr<pf::OperationQueue> sharedQueue();
  // Drops idle kept-alive connections whose time is up.
  static void expirePersistentConnections();
  static bool isNetworkInUse();
  static void setShouldUpdateNetworkActivityIndicator(bool shouldUpdate);
  static bool isNetworkActivityIndicatorVisible();
  static void showNetworkActivityIndicator();
  static void hideNetworkActivityIndicator();
  static void hideNetworkActivityIndicatorAfterDelay();
  static void hideNetworkActivityIndicatorIfNeeeded();

  // Bandwidth, counted over one-second windows for every request of the process.
  static bool isBandwidthThrottled();
  static unsigned long maxBandwidthPerSecond();
  static void setMaxBandwidthPerSecond(unsigned long bytes);
  static void incrementBandwidthUsedInLastSecond(unsigned long bytes);
  static void recordBandwidthUsage();
  static void measureBandwidthUsage();
  static unsigned long averageBandwidthUsedPerSecond();
  static unsigned long maxUploadReadLength();
  // Limits the mobile network to 14,800 bytes a second while it is the only way out.
  static void setShouldThrottleBandwidthForWWAN(bool throttle);
  static void throttleBandwidthForWWANUsingLimit(unsigned long limit);
  static bool isNetworkReachableViaWWAN();

  // setProgress(progress / total) under the progress lock.
  static void updateProgressIndicator(const std::weak_ptr<HttpProgressDelegate>& indicator,
                                      unsigned long long withProgress, unsigned long long ofTotal);

  // ---- callbacks ----

  std::weak_ptr<HttpRequestDelegate> delegate() const;
  void setDelegate(std::weak_ptr<HttpRequestDelegate> newDelegate);
  std::shared_ptr<HttpRequestQueue> queue() const;
  void setQueue(std::shared_ptr<HttpRequestQueue> newQueue);
  std::weak_ptr<HttpProgressDelegate> uploadProgressDelegate() const;
  void setUploadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate);
  std::weak_ptr<HttpProgressDelegate> downloadProgressDelegate() const;
  void setDownloadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate);

  // Each setter replaces the block it had; blocks are released on the main thread.
  void setStartedBlock(BasicBlock block);
  void setHeadersReceivedBlock(HeadersBlock block);
  // Hides the operation's own completion block: this one runs only when the request succeeds.
  void setCompletionBlock(BasicBlock block);
  void setFailureBlock(BasicBlock block);
  void setBytesReceivedBlock(ProgressBlock block);
  void setBytesSentBlock(ProgressBlock block);
  void setDownloadSizeIncrementedBlock(SizeBlock block);
  void setUploadSizeIncrementedBlock(SizeBlock block);
  void setDataReceivedBlock(DataBlock block);
  void setAuthenticationNeededBlock(BasicBlock block);
  void setProxyAuthenticationNeededBlock(BasicBlock block);
  void setRequestRedirectedBlock(BasicBlock block);
  HandlerBlocks blocks() const;

  std::recursive_mutex& cancelledLock() const { return cancelledLock_; }
  std::shared_ptr<pf::Timer> statusTimer() const { return statusTimer_; }
  // Invalidates the timer it replaces.
  void setStatusTimer(std::shared_ptr<pf::Timer> timer);

  // ---- class services ----

  static Cookies sessionCookies();
  // Deletes the cookies of the old list from the shared cookie storage first.
  static void setSessionCookies(std::optional<Cookies> newSessionCookies);
  // Replaces a session cookie of the same domain, path and name.
  static void addSessionCookie(const pf::HttpCookiePtr& newCookie);
  // Forgets the session cookies (also in the shared storage) and the session's cached responses.
  static void clearSession();

  // "<name> <version> (<model>; <system> <version>; <locale>)" from the main bundle; nullopt without a
  // bundle name. Built once and kept until set.
  static std::optional<std::string> defaultUserAgentString();
  static void setDefaultUserAgentString(std::optional<std::string> agent);

  static std::shared_ptr<HttpDownloadCache> defaultCache();
  static void setDefaultCache(std::shared_ptr<HttpDownloadCache> cache);
  static double defaultTimeOutSeconds();
  static void setDefaultTimeOutSeconds(double newTimeOutSeconds);

  // nullopt when no file exists there; "application/octet-stream" for an unknown extension.
  static std::optional<std::string> mimeTypeForFileAtPath(const std::string& path);
  static std::optional<pf::Date> dateFromRFC1123String(const std::string& string);
  // now + maxAge; with maxAge 0 the response's "Cache-Control" max-age, else its "Expires".
  static std::optional<pf::Date> expiryDateForRequest(const HttpRequest& request, double maxAge);
  // The MIME type and, when the charset is one the platform knows, the encoding; outputs may be null.
  static void parseMimeType(std::optional<std::string>* mimeType, pf::StringEncoding* andResponseEncoding,
                            const std::optional<std::string>& fromContentType);
  static std::string base64forData(const pf::Data& theData);

  // The shared errors of codes 2, 3, 4, 5 and 9.
  static const pf::ErrorPtr& requestTimedOutError();
  static const pf::ErrorPtr& authenticationError();
  static const pf::ErrorPtr& requestCancelledError();
  static const pf::ErrorPtr& unableToCreateRequestError();
  static const pf::ErrorPtr& tooMuchRedirectionError();

  // ---- properties (defaults as initWithURL sets them) ----

  // target
  AtomicProperty<std::optional<pf::Url>> originalURL;
  std::optional<pf::Url> redirectURL;
  std::atomic<bool> useHTTPVersionOne{false};

  // headers
  AtomicProperty<std::optional<pf::Dictionary>> requestHeaders;
  AtomicProperty<std::optional<std::string>> userAgentString;
  AtomicProperty<Cookies> requestCookies;
  std::atomic<bool> useCookiePersistence{true};
  std::atomic<bool> haveBuiltRequestHeaders{false};

  // body
  AtomicProperty<std::optional<pf::Data>> postBody;
  AtomicProperty<std::optional<std::string>> postBodyFilePath;
  std::atomic<bool> shouldStreamPostDataFromDisk{false};
  std::shared_ptr<std::ofstream> postBodyWriteStream;
  std::shared_ptr<pf::InputStream> postBodyReadStream;
  std::atomic<bool> didCreateTemporaryPostDataFile{false};
  std::atomic<std::uint64_t> postLength{0};
  std::atomic<bool> shouldCompressRequestBody{false};
  std::optional<pf::Data> compressedPostBody;
  std::optional<std::string> compressedPostBodyFilePath;
  bool haveBuiltPostBody = false;

  // time
  std::atomic<double> timeOutSeconds;
  std::atomic<int> numberOfTimesToRetryOnTimeout{0};
  std::atomic<int> retryCount{0};

  // connection
  std::atomic<bool> shouldAttemptPersistentConnection{true};
  std::atomic<double> persistentConnectionTimeoutSeconds{60.0};
  std::atomic<bool> connectionCanBeReused{false};
  std::shared_ptr<ConnectionRecord> connectionInfo;
  AtomicProperty<std::optional<unsigned>> requestID;
  std::atomic<bool> validatesSecureCertificate{true};

  // redirects
  std::atomic<bool> shouldRedirect{true};
  std::atomic<bool> shouldUseRFC2616RedirectBehaviour{false};
  int redirectCount = 0;
  bool needsRedirect = false;

  // response
  AtomicProperty<std::optional<pf::Dictionary>> responseHeaders;
  std::atomic<int> responseStatusCode{0};
  AtomicProperty<std::optional<std::string>> responseStatusMessage;
  AtomicProperty<Cookies> responseCookies;
  AtomicProperty<std::optional<pf::Data>> rawResponseData;
  // The largest body kept in memory, and the most a compressed one may inflate to there; past it the
  // request fails with code 12. Bodies written to a file have no limit.
  std::atomic<std::uint64_t> maxResponseDataSize{ResponseSizeLimit::kDefaultBytes};
  std::atomic<std::uint64_t> contentLength{0};
  std::atomic<std::uint64_t> totalBytesRead{0};
  std::atomic<pf::StringEncoding> responseEncoding{pf::StringEncoding::ISOLatin1};
  std::atomic<pf::StringEncoding> defaultResponseEncoding{pf::StringEncoding::ISOLatin1};
  std::atomic<bool> allowCompressedResponse{true};
  std::atomic<bool> shouldWaitToInflateCompressedResponses{true};
  AtomicProperty<std::shared_ptr<GzipDecompressor>> dataDecompressor;

  // file download
  AtomicProperty<std::optional<std::string>> downloadDestinationPath;
  AtomicProperty<std::optional<std::string>> temporaryFileDownloadPath;
  AtomicProperty<std::optional<std::string>> temporaryUncompressedDataDownloadPath;
  std::atomic<bool> allowResumeForFileDownloads{false};
  std::atomic<std::uint64_t> partialDownloadSize{0};
  std::shared_ptr<std::ofstream> fileDownloadOutputStream;
  std::shared_ptr<std::ofstream> inflatedFileDownloadOutputStream;

  // progress
  std::atomic<bool> showAccurateProgress{true};
  std::atomic<bool> shouldResetUploadProgress{true};
  std::atomic<bool> shouldResetDownloadProgress{true};
  std::atomic<std::uint64_t> totalBytesSent{0};
  std::uint64_t lastBytesRead = 0;
  std::uint64_t lastBytesSent = 0;
  std::uint64_t uploadBufferSize = 0;
  bool updatedProgress = false;

  // callbacks: the six selectors
  AtomicProperty<RequestSelector> didStartSelector{&HttpRequestDelegate::requestStarted};
  AtomicProperty<HeadersSelector> didReceiveResponseHeadersSelector{
      static_cast<HeadersSelector>(&HttpRequestDelegate::request)};
  AtomicProperty<RedirectSelector> willRedirectSelector{
      static_cast<RedirectSelector>(&HttpRequestDelegate::request)};
  AtomicProperty<RequestSelector> didFinishSelector{&HttpRequestDelegate::requestFinished};
  AtomicProperty<RequestSelector> didFailSelector{&HttpRequestDelegate::requestFailed};
  AtomicProperty<DataSelector> didReceiveDataSelector{
      static_cast<DataSelector>(&HttpRequestDelegate::request)};

  // credentials
  AtomicProperty<std::optional<std::string>> username;
  AtomicProperty<std::optional<std::string>> password;
  AtomicProperty<std::optional<std::string>> domain;
  AtomicProperty<std::optional<std::string>> proxyUsername;
  AtomicProperty<std::optional<std::string>> proxyPassword;
  AtomicProperty<std::optional<std::string>> proxyDomain;
  std::atomic<bool> useKeychainPersistence{false};
  std::atomic<bool> useSessionPersistence{true};
  std::atomic<bool> shouldPresentCredentialsBeforeChallenge{true};
  std::atomic<bool> shouldPresentAuthenticationDialog{false};
  std::atomic<bool> shouldPresentProxyAuthenticationDialog{true};
  AtomicProperty<std::optional<std::string>> authenticationScheme;
  AtomicProperty<std::optional<std::string>> authenticationRealm;
  AtomicProperty<std::optional<std::string>> proxyAuthenticationScheme;
  AtomicProperty<std::optional<std::string>> proxyAuthenticationRealm;
  AtomicProperty<std::optional<pf::Dictionary>> requestCredentials;
  AtomicProperty<std::optional<pf::Dictionary>> proxyCredentials;
  std::atomic<int> authenticationRetryCount{0};
  std::atomic<int> proxyAuthenticationRetryCount{0};
  // 0 none, 1 the server asked (401), 2 the proxy asked (407).
  std::atomic<int> authenticationNeeded{0};

  // proxy
  AtomicProperty<std::optional<std::string>> proxyHost;
  std::atomic<int> proxyPort{0};
  AtomicProperty<std::optional<std::string>> proxyType;
  AtomicProperty<std::optional<pf::Url>> PACurl;
  std::shared_ptr<HttpRequest> PACFileRequest;
  std::shared_ptr<pf::InputStream> PACFileReadStream;
  std::optional<pf::Data> PACFileData;
  bool isPACFileRequest = false;
  // The challenge objects of this exchange; released when it finishes or redirects.
  std::shared_ptr<pf::HttpAuthentication> requestAuthentication;
  std::shared_ptr<pf::HttpAuthentication> proxyAuthentication;

  // cache
  AtomicProperty<std::weak_ptr<HttpDownloadCache>> downloadCache;
  // 0: the cache's default policy.
  std::atomic<int> cachePolicy{0};
  std::atomic<int> cacheStoragePolicy{0};
  std::atomic<double> secondsToCache{0};
  std::atomic<bool> didUseCachedResponse{false};

  // state
  AtomicProperty<pf::ErrorPtr> error;
  std::atomic<bool> complete{false};
  std::atomic<bool> inProgress{false};
  bool isSynchronous = false;
  std::shared_ptr<pf::HttpReadStream> readStream;
  bool readStreamIsScheduled = false;
  bool downloadComplete = false;
  std::string runLoopMode = pf::RunLoop::kDefaultMode;
  std::optional<pf::Date> lastActivityTime;
  std::atomic<bool> willRetryRequest{false};
  // The message of the current attempt (method, URL, headers) the stream sends.
  std::shared_ptr<pf::HttpMessage> requestMessage;

  // misc
  AtomicProperty<std::optional<pf::Dictionary>> userInfo;
  std::atomic<int> tag{0};
  std::atomic<bool> shouldContinueWhenAppEntersBackground{false};
  // Set only on a HEAD request made for another request.
  AtomicProperty<std::weak_ptr<HttpRequest>> mainRequest;

 protected:
  // A new request of this request's class (subclasses answer their own).
  virtual Ptr makeRequestOfSameClass(const std::optional<pf::Url>& url) const;
  // The file to stream a body through: made in the temporary folder when there is none yet.
  void setupPostBody();

 private:
  bool hasBody() const;
  // Fails the request (code 8) when the file's size cannot be read; nullopt then.
  std::optional<std::uint64_t> fileSize(const std::string& path);
  // The body file's length after compressing it when asked; nullopt when the request failed.
  std::optional<std::uint64_t> buildFileBody(const std::string& path);
  std::optional<std::uint64_t> buildMemoryBody();
  void updatePartialDownloadSize();
  void releaseBlocksOnMainThread();

  // Running (engine).
  Ptr selfPtr();
  // A request that continues in the background holds one task from its start until it ends; when the
  // task expires first, the request is cancelled. Both steps run on the main thread, in order.
  void beginBackgroundTask();
  void endBackgroundTask();
  void endBackgroundTaskOnMainThread();
  void expireBackgroundTask();
  void prepare();
  std::shared_ptr<pf::InputStream> makeBodyStream();
  void startStatusTimer();
  void checkRequestStatus();
  bool shouldTimeOut();
  void retryAfterTimeOut();
  // Asks again only for the bytes a resumable file still lacks.
  void refreshRangeForRetry();
  void performRedirect();
  void cancelOnRequestThread();
  void wakeRequestRunLoop();
  // Connections (engine). attachConnection answers the stream last opened on the chosen connection,
  // to be closed once the new stream has taken its socket.
  std::shared_ptr<pf::HttpReadStream> attachConnection();
  void decideConnectionReuse(const pf::HttpMessage& response);
  void releaseConnection();
  void dropConnection();
  void scheduleReadStream();
  void unscheduleReadStream();
  void destroyReadStream();
  // Response (engine).
  void handleEventOfStream(unsigned event, const std::weak_ptr<pf::HttpReadStream>& stream);
  void handleNetworkEvent(unsigned type);
  void readResponseHeaders();
  void parseStringEncodingFromHeaders();
  void storeResponseCookies(const pf::Dictionary& headers);
  void takeContentLength();
  bool willRedirect();
  void dropBodyForRedirect();
  bool willAskDelegateToConfirmRedirect();
  bool isSuccessfulStatus() const;
  std::size_t readSize() const;
  void handleBytesAvailable();
  // Appends to the body in memory; false when that would pass maxResponseDataSize.
  bool appendToMemory(const std::uint8_t* bytes, std::size_t length, const std::optional<pf::Data>& inflated);
  std::uint64_t roomInMemory();
  // Inflates a compressed body kept in memory once it is complete; the error when it inflates past
  // maxResponseDataSize.
  pf::ErrorPtr inflateResponseInMemory();
  void handleStreamComplete();
  void handleStreamError();
  bool retryUsingNewConnection();
  // Download files (engine).
  void writeDownloadChunk(const std::uint8_t* bytes, std::size_t length,
                          const std::optional<pf::Data>& inflated);
  bool openDownloadFiles();
  void failWithWriteError(const std::string& path);
  pf::ErrorPtr closeDownloadStreams();
  pf::ErrorPtr finishDownloadFile();
  pf::ErrorPtr statusError() const;
  bool removeTemporaryFile(std::optional<std::string> path, const std::function<void()>& forget);
  // Reporting (engine): the report operations run on the main thread.
  static std::recursive_mutex& progressGuard();
  bool isHEADRequestForAnother() const;
  std::shared_ptr<HttpRequestDelegate> queueDelegate() const;
  std::shared_ptr<HttpProgressDelegate> queueProgressDelegate() const;
  // The delegate, else the queue, when it confirms redirects itself.
  std::shared_ptr<HttpRequestDelegate> redirectConfirmer() const;
  bool hasDataHandler() const;
  void requestStarted();
  void requestReceivedResponseHeaders(const pf::Dictionary& newResponseHeaders);
  void requestWillRedirectToURL(const pf::Url& newURL);
  void requestRedirected();
  void requestFinished();
  void reportFinished();
  void reportFailure();
  void passOnReceivedData(const pf::Data& data);
  void updateProgressIndicators();
  void updateUploadProgress();
  void updateDownloadProgress();
  void incrementUploadSizeBy(long long length);
  void incrementDownloadSizeBy(long long length);
  void removeUploadProgressSoFar();
  // Runs the block on the main thread, waiting only when already there.
  void performBlockOnMainThread(std::function<void()> block);

  // Credentials (HttpRequestAuthentication.cpp).
  void answerChallenge(bool proxy);
  void answerRefusal(bool proxy, const pf::ErrorPtr& refusal);
  void reapplyCredentials(bool proxy);
  void presentCredentialPrompt();
  void failAuthentication();
  // A request that ends leaves its open credential question to the requests waiting on it.
  void abandonCredentialQuestion();
  // Basic credentials sent before any challenge and accepted go into the session store.
  void storeAcceptedBasicCredentials();
  // Proxies (HttpRequestProxy.cpp).
  void useProxy(const pf::ProxyEntry& entry);
  void applyProxyToStream();
  void downloadPACFile(const pf::Url& script);
  void readPACFile(const std::shared_ptr<pf::InputStream>& stream);
  void timeOutPACRead(const std::shared_ptr<pf::InputStream>& stream);
  void finishPACRead(bool atEnd);
  void cancelPACFileLoad();
  // Cache (HttpRequestCaching.cpp).
  bool useCachedResponse(HttpRequest& target);

  // The loop the request runs on (the caller's for a synchronous request), woken when it completes.
  std::weak_ptr<pf::RunLoop> requestRunLoop_;
  // Held while the stream is scheduled, so a virtual clock does not jump past a transfer under way.
  std::optional<pf::RunLoop::PendingWork> transferUnderWay_;
  // Set once each: the task was asked for, its end was asked for.
  std::atomic<bool> backgroundTaskAsked_{false};
  std::atomic<bool> backgroundTaskEndAsked_{false};
  // Main thread only: the task held and the host that gave it.
  BackgroundTaskHost::Identifier backgroundTask_ = BackgroundTaskHost::kInvalid;
  std::shared_ptr<BackgroundTaskHost> backgroundTaskHost_;

  mutable std::recursive_mutex cancelledLock_;
  std::string requestMethod_ = "GET";
  std::optional<pf::Url> url_;
  std::weak_ptr<HttpRequestDelegate> delegate_;
  std::shared_ptr<HttpRequestQueue> queue_;
  std::weak_ptr<HttpProgressDelegate> uploadProgressDelegate_;
  std::weak_ptr<HttpProgressDelegate> downloadProgressDelegate_;
  std::shared_ptr<pf::Timer> statusTimer_;
  mutable std::mutex blocksMutex_;
  HandlerBlocks blocks_;
  // A compressed body in memory, inflated once it was complete.
  AtomicProperty<std::optional<pf::Data>> inflatedResponseData_;
};
