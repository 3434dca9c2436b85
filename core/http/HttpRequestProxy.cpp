// Which proxy a request goes through: the environment's proxy settings for its URL, or a proxy
// auto-configuration script fetched over HTTP or read from a file. A script that cannot be fetched, read
// or evaluated leaves the request on a direct connection. Scripts run on a pool thread, never on the
// thread that runs requests: a script may wait on slow name lookups, and the other requests must not.

#include "core/http/HttpRequest.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/foundation/ThreadPool.h"
#include "platform/foundation/Utf8.h"
#include "platform/net/FileInputStream.h"
#include "platform/net/HttpReadStream.h"
#include "platform/net/PacScript.h"
#include "platform/net/ProxySettings.h"

namespace {

// Proxy scripts are read in pieces of this size.
constexpr std::size_t kScriptChunkSize = 16384;
// A larger "script" is not one: the request goes direct rather than hold it in memory.
constexpr std::size_t kMaxScriptBytes = 1024 * 1024;

std::mutex& queueWidthGuard() {
  static std::mutex guard;
  return guard;
}

// The script download must not wait behind the requests that wait for it.
void widenSharedQueue(int by) {
  std::lock_guard lock(queueWidthGuard());
  const std::shared_ptr<pf::OperationQueue> queue = HttpRequest::sharedQueue();
  queue->setMaxConcurrentOperationCount(queue->maxConcurrentOperationCount() + by);
}

bool isUtf8(const pf::Data& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  for (std::size_t at = 0; at < text.size();) {
    const pf::utf8::Character c = pf::utf8::decode(text, at);
    if (c.codePoint == pf::utf8::kReplacementCharacter && c.size == 1) return false;
    at += c.size;
  }
  return true;
}

// UTF-8 when the bytes are UTF-8, else ISO Latin 1 (which every byte string is).
std::string decodeScript(const pf::Data& bytes) {
  if (isUtf8(bytes)) return std::string(bytes.begin(), bytes.end());
  std::string text;
  for (std::uint8_t byte : bytes) pf::utf8::append(text, byte);
  return text;
}

// The first proxy the script names for the URL; nullopt when it names none or cannot be evaluated.
std::optional<pf::ProxyEntry> firstProxyFromScript(const std::string& source, const std::string& url,
                                                   const std::string& host) {
  pf::ErrorPtr error;
  const std::shared_ptr<const pf::PacScript> compiled = pf::PacScript::compile(source, &error);
  std::optional<std::vector<pf::ProxyEntry>> proxies;
  if (compiled) proxies = compiled->proxiesFor(url, host, &error);
  if (error) pf::logf("%@; connecting directly", error->localizedDescription());
  if (!proxies || proxies->empty()) return std::nullopt;
  return proxies->front();
}

const char* proxyTypeOf(pf::ProxyEntry::Type type) {
  switch (type) {
    case pf::ProxyEntry::Type::Https:
      return HttpRequest::kProxyTypeHTTPS;
    case pf::ProxyEntry::Type::Socks:
      return HttpRequest::kProxyTypeSOCKS;
    default:
      return HttpRequest::kProxyTypeHTTP;
  }
}

}  // namespace

bool HttpRequest::configureProxies() {
  if (isPACFileRequest || proxyHost.get() || proxyPort != 0) return true;
  if (PACurl.get()) {
    fetchPACFile();
    return false;
  }
  const std::optional<pf::Url> target = url();
  const std::optional<std::vector<pf::ProxyEntry>> proxies =
      pf::ProxySettings::current()->proxiesFor(target->scheme(), target->host(), target->portOrDefault());
  if (!proxies) {
    destroyReadStream();
    failWithError(pf::Error::make(NetworkRequestErrorDomain,
                                  static_cast<long>(HttpRequestErrorCode::InternalErrorWhileBuildingRequest),
                                  "Unable to obtain information on proxy servers needed for request"));
    return false;
  }
  if (proxies->empty()) return true;
  const pf::ProxyEntry& first = proxies->front();
  if (first.type == pf::ProxyEntry::Type::AutoConfigurationUrl) {
    // A script address that is no URL leaves nothing to fetch: the request goes directly.
    PACurl.set(pf::Url::parse(first.autoConfigurationUrl));
    if (!PACurl.get()) return true;
    fetchPACFile();
    return false;
  }
  useProxy(first);
  return true;
}

void HttpRequest::useProxy(const pf::ProxyEntry& entry) {
  if (entry.type == pf::ProxyEntry::Type::None || entry.type == pf::ProxyEntry::Type::AutoConfigurationUrl) {
    return;
  }
  proxyHost.set(entry.host);
  proxyPort = entry.port;
  proxyType.set(std::string(proxyTypeOf(entry.type)));
  // Credentials written into the proxy's address answer its challenge unless the caller gave some.
  if (entry.user && entry.password && !proxyUsername.get() && !proxyPassword.get()) {
    proxyUsername.set(entry.user);
    proxyPassword.set(entry.password);
  }
}

// An HTTP proxy carries http requests itself and tunnels https ones; a SOCKS proxy carries both.
void HttpRequest::applyProxyToStream() {
  const std::optional<std::string> host = proxyHost.get();
  if (!host || proxyPort == 0 || !readStream) return;
  if (proxyType.get() == kProxyTypeSOCKS) {
    readStream->setSocksProxy(
        pf::HttpReadStream::SocksProxy{*host, proxyPort.load(), proxyUsername.get(), proxyPassword.get()});
    return;
  }
  readStream->setHttpProxy(std::make_pair(*host, proxyPort.load()));
}

void HttpRequest::cancelPACFileLoad() {
  if (PACFileReadStream) {
    PACFileReadStream->close();
    PACFileReadStream = nullptr;
    PACFileData.reset();
  }
  if (const Ptr download = std::move(PACFileRequest)) {
    download->clearDelegatesAndCancel();
    widenSharedQueue(-1);
  }
}

void HttpRequest::fetchPACFile() {
  const pf::Url script = *PACurl.get();
  if (script.scheme() == "http" || script.scheme() == "https") return downloadPACFile(script);
  if (script.scheme() != "file") return startRequest();
  PACFileReadStream = std::make_shared<pf::FileInputStream>(script.path());
  PACFileData.emplace();
  if (!PACFileReadStream->open()) return finishPACRead(false);
  const std::weak_ptr<HttpRequest> weakSelf = selfPtr();
  const std::shared_ptr<pf::InputStream> stream = PACFileReadStream;
  pf::RunLoop::current()->performAfter(
      timeOutSeconds,
      [weakSelf, stream] {
        if (const Ptr self = weakSelf.lock()) self->timeOutPACRead(stream);
      },
      runLoopMode);
  pf::RunLoop::current()->post([self = selfPtr(), stream] { self->readPACFile(stream); }, runLoopMode);
}

void HttpRequest::downloadPACFile(const pf::Url& script) {
  const Ptr download = requestWithURL(script);
  download->isPACFileRequest = true;
  download->maxResponseDataSize = kMaxScriptBytes;
  download->timeOutSeconds = timeOutSeconds.load();
  if (isSynchronous) {
    download->startSynchronous();
    return runPACScript(download->error.get() ? std::nullopt : download->responseString());
  }
  PACFileRequest = download;
  const std::weak_ptr<HttpRequest> parent = selfPtr();
  const std::weak_ptr<HttpRequest> weakDownload = download;
  const auto finished = [parent, weakDownload] {
    const Ptr self = parent.lock();
    const Ptr script = weakDownload.lock();
    if (self && script) self->finishedDownloadingPACFile(script);
  };
  download->setCompletionBlock(finished);
  download->setFailureBlock(finished);
  widenSharedQueue(1);
  download->startAsynchronous();
}

void HttpRequest::finishedDownloadingPACFile(const Ptr& download) {
  std::lock_guard lock(cancelledLock());
  // A request cancelled meanwhile has let its script download go.
  if (PACFileRequest != download) return;
  PACFileRequest = nullptr;
  widenSharedQueue(-1);
  runPACScript(download->error.get() ? std::nullopt : download->responseString());
}

// One "bytes available" step of the script file.
void HttpRequest::readPACFile(const std::shared_ptr<pf::InputStream>& stream) {
  std::lock_guard lock(cancelledLock());
  if (PACFileReadStream != stream) return;
  std::uint8_t buffer[kScriptChunkSize];
  const long long count = stream->read(buffer, sizeof buffer);
  if (count <= 0) return finishPACRead(count == 0);
  if (PACFileData->size() + static_cast<std::size_t>(count) > kMaxScriptBytes) {
    pf::logf("The proxy script is larger than %zu bytes; connecting directly", kMaxScriptBytes);
    return finishPACRead(false);
  }
  PACFileData->insert(PACFileData->end(), buffer, buffer + count);
  pf::RunLoop::current()->post([self = selfPtr(), stream] { self->readPACFile(stream); }, runLoopMode);
}

void HttpRequest::timeOutPACRead(const std::shared_ptr<pf::InputStream>& stream) {
  std::lock_guard lock(cancelledLock());
  if (PACFileReadStream == stream) finishPACRead(false);
}

void HttpRequest::finishPACRead(bool atEnd) {
  PACFileReadStream->close();
  PACFileReadStream = nullptr;
  std::optional<std::string> script;
  if (atEnd) script = decodeScript(*PACFileData);
  PACFileData.reset();
  runPACScript(script);
}

void HttpRequest::runPACScript(const std::optional<std::string>& script) {
  const std::optional<pf::Url> target = url();
  if (!script || !target) return startUnlessStopped();
  const std::weak_ptr<HttpRequest> weakSelf = selfPtr();
  pf::ThreadPool::shared().submit(
      pf::ThreadPool::Priority::Default,
      [weakSelf, source = *script, address = target->absoluteString(), host = target->host()] {
        const std::optional<pf::ProxyEntry> proxy = firstProxyFromScript(source, address, host);
        const Ptr self = weakSelf.lock();
        if (!self) return;
        self->performOnRequestThread([self, proxy] {
          std::lock_guard lock(self->cancelledLock());
          if (proxy) self->useProxy(*proxy);
          self->startUnlessStopped();
        });
      });
}

void HttpRequest::startUnlessStopped() {
  if (!isCancelled() && !error.get()) startRequest();
}
