// The class-level services of HttpRequest: session cookies, the default User-Agent, the default cache
// and time-out, and the MIME, date, Content-Type and Base64 helpers.

#include <sys/utsname.h>

#include <cstdlib>
#include <filesystem>

#include "core/http/HttpDate.h"
#include "core/http/HttpDownloadCache.h"
#include "core/http/HttpRequest.h"
#include "core/http/MimeTypeTable.h"
#include "platform/foundation/Base64.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/net/HttpCookieStorage.h"

namespace {

struct ClassState {
  // The class monitor: default User-Agent and default cache.
  std::mutex monitor;
  std::optional<std::string> defaultUserAgent;
  std::shared_ptr<HttpDownloadCache> defaultCache;
  std::atomic<double> defaultTimeOut{10.0};
  std::recursive_mutex cookieGuard;
  std::optional<HttpRequest::Cookies> sessionCookies;
};

ClassState& state() {
  static ClassState s;
  return s;
}

std::optional<std::string> infoString(const pf::Bundle& bundle, const char* key) {
  const pf::Value value = bundle.objectForInfoDictionaryKey(key);
  if (!value.string() || value.string()->empty()) return std::nullopt;
  return *value.string();
}

// "en_US" from LC_ALL, LC_MESSAGES or LANG ("en_US.UTF-8@euro"); "en_US" when none names a locale.
std::string localeIdentifier() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") break;
    return locale;
  }
  return "en_US";
}

std::optional<std::string> buildUserAgent() {
  const std::shared_ptr<pf::Bundle> bundle = pf::Bundle::mainBundle();
  std::optional<std::string> name = infoString(*bundle, "CFBundleDisplayName");
  if (!name) name = infoString(*bundle, "CFBundleName");
  if (!name) return std::nullopt;
  // The original re-read the name's UTF-8 bytes as ISO Latin 1 so that those bytes went out as they
  // are; headers here are written byte for byte, so the name goes unchanged.
  const std::optional<std::string> shortVersion = infoString(*bundle, "CFBundleShortVersionString");
  const std::optional<std::string> build = infoString(*bundle, "CFBundleVersion");
  std::string version = shortVersion.value_or(build.value_or(""));
  if (shortVersion && build && *shortVersion != *build)
    version = pf::format("%@ rv:%@", *shortVersion, *build);
  utsname system{};
  uname(&system);
  return pf::format("%@ %@ (%@; %@ %@; %@)", *name, version, system.machine, system.sysname, system.release,
                    localeIdentifier());
}

std::optional<std::string> headerValue(const pf::Dictionary& headers, std::string_view name) {
  for (const auto& [key, value] : headers) {
    if (pf::text::equalsIgnoringCase(key, name) && value.string()) return *value.string();
  }
  return std::nullopt;
}

// The number after "max-age" and "=" in a lower-cased Cache-Control value; 0 when there is none.
double maxAgeOf(const std::string& cacheControl) {
  const std::size_t at = cacheControl.find("max-age");
  if (at == std::string::npos) return 0;
  std::size_t pos = cacheControl.find_first_not_of(" \t", at + 7);
  if (pos == std::string::npos || cacheControl[pos] != '=') return 0;
  const char* start = cacheControl.c_str() + pos + 1;
  char* end = nullptr;
  const double age = std::strtod(start, &end);
  return end == start ? 0 : age;
}

pf::ErrorPtr sharedError(HttpRequestErrorCode code, const char* description) {
  return pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(code), description);
}

}  // namespace

HttpRequest::Cookies HttpRequest::sessionCookies() {
  ClassState& s = state();
  std::lock_guard lock(s.cookieGuard);
  if (!s.sessionCookies) s.sessionCookies.emplace();
  return *s.sessionCookies;
}

void HttpRequest::setSessionCookies(std::optional<Cookies> newSessionCookies) {
  ClassState& s = state();
  std::lock_guard lock(s.cookieGuard);
  if (s.sessionCookies) {
    const auto storage = pf::HttpCookieStorage::sharedHTTPCookieStorage();
    for (const pf::HttpCookiePtr& cookie : *s.sessionCookies) storage->deleteCookie(cookie);
  }
  s.sessionCookies = std::move(newSessionCookies);
}

void HttpRequest::addSessionCookie(const pf::HttpCookiePtr& newCookie) {
  if (!newCookie) return;
  ClassState& s = state();
  std::lock_guard lock(s.cookieGuard);
  if (!s.sessionCookies) s.sessionCookies.emplace();
  Cookies& cookies = *s.sessionCookies;
  auto same = std::find_if(cookies.begin(), cookies.end(),
                           [&](const pf::HttpCookiePtr& c) { return c->isSameCookie(*newCookie); });
  if (same != cookies.end()) cookies.erase(same);
  cookies.push_back(newCookie);
}

void HttpRequest::clearSession() {
  for (const HttpSessionCredential& entry : sessionCredentialsStore()) {
    removeAuthenticationCredentialsFromSessionStore(entry.credentials);
  }
  setSessionCookies(std::nullopt);
  if (const std::shared_ptr<HttpDownloadCache> cache = defaultCache()) {
    // Signing out must not stop at a cache folder someone removed or locked.
    try {
      cache->clearCachedResponsesForStoragePolicy(HttpDownloadCache::kSessionStorage);
    } catch (const HttpDownloadCache::FolderError& e) {
      pf::logf("%@: %@", e.name(), e.what());
    }
  }
}

std::optional<std::string> HttpRequest::defaultUserAgentString() {
  ClassState& s = state();
  std::lock_guard lock(s.monitor);
  if (!s.defaultUserAgent) s.defaultUserAgent = buildUserAgent();
  return s.defaultUserAgent;
}

void HttpRequest::setDefaultUserAgentString(std::optional<std::string> agent) {
  ClassState& s = state();
  std::lock_guard lock(s.monitor);
  s.defaultUserAgent = std::move(agent);
}

std::shared_ptr<HttpDownloadCache> HttpRequest::defaultCache() {
  ClassState& s = state();
  std::lock_guard lock(s.monitor);
  return s.defaultCache;
}

void HttpRequest::setDefaultCache(std::shared_ptr<HttpDownloadCache> cache) {
  ClassState& s = state();
  std::lock_guard lock(s.monitor);
  s.defaultCache = std::move(cache);
}

double HttpRequest::defaultTimeOutSeconds() {
  return state().defaultTimeOut;
}

void HttpRequest::setDefaultTimeOutSeconds(double newTimeOutSeconds) {
  state().defaultTimeOut = newTimeOutSeconds;
}

std::optional<std::string> HttpRequest::mimeTypeForFileAtPath(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return std::nullopt;
  return MimeTypeTable::mimeTypeForExtension(pf::path::pathExtension(path))
      .value_or("application/octet-stream");
}

std::optional<pf::Date> HttpRequest::dateFromRFC1123String(const std::string& string) {
  return HttpDate::parseRfc1123(string);
}

std::optional<pf::Date> HttpRequest::expiryDateForRequest(const HttpRequest& request, double maxAge) {
  const pf::Dictionary headers = request.responseHeaders.get().value_or(pf::Dictionary{});
  if (maxAge == 0) {
    if (const std::optional<std::string> cacheControl = headerValue(headers, "Cache-Control")) {
      maxAge = maxAgeOf(pf::text::lowercase(*cacheControl));
    }
  }
  if (maxAge != 0) return pf::Date{pf::Date::now().seconds + maxAge};
  const std::optional<std::string> expires = headerValue(headers, "Expires");
  return expires ? dateFromRFC1123String(*expires) : std::nullopt;
}

void HttpRequest::parseMimeType(std::optional<std::string>* mimeType, pf::StringEncoding* andResponseEncoding,
                                const std::optional<std::string>& fromContentType) {
  if (!fromContentType) return;
  const std::string& contentType = *fromContentType;
  const std::size_t semicolon = contentType.find(';');
  if (mimeType) *mimeType = pf::text::trimWhitespace(contentType.substr(0, semicolon));
  if (semicolon == std::string::npos) return;
  const std::string parameters = contentType.substr(semicolon + 1);
  const std::size_t at = pf::text::findIgnoringCase(parameters, "charset=");
  if (at == std::string::npos) return;
  std::string charset = parameters.substr(at + 8);
  charset = pf::text::trimWhitespace(charset.substr(0, charset.find(';')));
  // A quoted name ("utf-8") is the same name.
  if (charset.size() >= 2 && charset.front() == '"' && charset.back() == '"') {
    charset = charset.substr(1, charset.size() - 2);
  }
  const std::optional<pf::StringEncoding> encoding = pf::stringEncodingForIanaCharsetName(charset);
  if (encoding && andResponseEncoding) *andResponseEncoding = *encoding;
}

std::string HttpRequest::base64forData(const pf::Data& theData) {
  return pf::base64::encode(theData);
}

const pf::ErrorPtr& HttpRequest::requestTimedOutError() {
  static const pf::ErrorPtr e = sharedError(HttpRequestErrorCode::TimedOut, "The request timed out");
  return e;
}

const pf::ErrorPtr& HttpRequest::authenticationError() {
  static const pf::ErrorPtr e = sharedError(HttpRequestErrorCode::Authentication, "Authentication needed");
  return e;
}

const pf::ErrorPtr& HttpRequest::requestCancelledError() {
  static const pf::ErrorPtr e = sharedError(HttpRequestErrorCode::Cancelled, "The request was cancelled");
  return e;
}

const pf::ErrorPtr& HttpRequest::unableToCreateRequestError() {
  static const pf::ErrorPtr e =
      sharedError(HttpRequestErrorCode::UnableToCreateRequest, "Unable to create request (bad url?)");
  return e;
}

const pf::ErrorPtr& HttpRequest::tooMuchRedirectionError() {
  static const pf::ErrorPtr e = sharedError(HttpRequestErrorCode::TooManyRedirects,
                                            "The request failed because it redirected too many times");
  return e;
}
