#include "platform/net/HttpCookieStorage.h"

#include <algorithm>
#include <filesystem>

#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"

namespace pf {
namespace {

std::mutex sharedMutex;
std::shared_ptr<HttpCookieStorage> sharedStorage;

Value cookieToValue(const HttpCookie& cookie) {
  return Dictionary{
      {"Name", cookie.name()},          {"Value", cookie.value()},          {"Domain", cookie.domain()},
      {"Path", cookie.path()},          {"Expires", *cookie.expiresDate()}, {"Secure", cookie.isSecure()},
      {"HttpOnly", cookie.isHTTPOnly()}};
}

HttpCookiePtr cookieFromValue(const Value& value) {
  const Value name = value["Name"], text = value["Value"], domain = value["Domain"], path = value["Path"];
  const Value expires = value["Expires"];
  if (!name.isString() || !text.isString() || !domain.isString() || !path.isString() || !expires.isDate()) {
    return nullptr;
  }
  HttpCookie::Properties p{*name.string(),
                           *text.string(),
                           *domain.string(),
                           *path.string(),
                           *expires.date(),
                           value["Secure"].boolValue(),
                           value["HttpOnly"].boolValue()};
  return std::make_shared<HttpCookie>(std::move(p));
}

}  // namespace

std::shared_ptr<HttpCookieStorage> HttpCookieStorage::sharedHTTPCookieStorage() {
  std::lock_guard lock(sharedMutex);
  if (!sharedStorage) {
    sharedStorage = std::make_shared<HttpCookieStorage>(
        path::appendingPathComponent(Sandbox::libraryPath(), "Cookies/Cookies.plist"));
  }
  return sharedStorage;
}

void HttpCookieStorage::resetSharedHTTPCookieStorage() {
  std::lock_guard lock(sharedMutex);
  sharedStorage.reset();
}

HttpCookieStorage::HttpCookieStorage(std::optional<std::string> path) : path_(std::move(path)) {
  load();
}

std::vector<HttpCookiePtr> HttpCookieStorage::cookies() const {
  const Date now = Date::now();
  std::lock_guard lock(mutex_);
  std::vector<HttpCookiePtr> live;
  std::copy_if(cookies_.begin(), cookies_.end(), std::back_inserter(live),
               [&](const HttpCookiePtr& c) { return !c->isExpired(now); });
  return live;
}

std::vector<HttpCookiePtr> HttpCookieStorage::cookiesForURL(const Url& url) const {
  const Date now = Date::now();
  std::vector<HttpCookiePtr> found;
  {
    std::lock_guard lock(mutex_);
    std::copy_if(cookies_.begin(), cookies_.end(), std::back_inserter(found),
                 [&](const HttpCookiePtr& c) { return c->matches(url, now); });
  }
  std::stable_sort(found.begin(), found.end(), [](const HttpCookiePtr& a, const HttpCookiePtr& b) {
    return a->path().size() > b->path().size();
  });
  return found;
}

void HttpCookieStorage::setCookie(const HttpCookiePtr& cookie) {
  setCookies({cookie});
}

void HttpCookieStorage::setCookies(const std::vector<HttpCookiePtr>& cookies) {
  std::lock_guard lock(mutex_);
  bool persistentChange = false;
  for (const HttpCookiePtr& cookie : cookies) {
    if (!cookie) continue;
    storeLocked(cookie);
    persistentChange = persistentChange || !cookie->isSessionOnly();
  }
  if (persistentChange) saveLocked();
}

void HttpCookieStorage::deleteCookie(const HttpCookiePtr& cookie) {
  if (!cookie) return;
  std::lock_guard lock(mutex_);
  const std::size_t removed =
      std::erase_if(cookies_, [&](const HttpCookiePtr& c) { return c->isSameCookie(*cookie); });
  if (removed > 0 && !cookie->isSessionOnly()) saveLocked();
}

void HttpCookieStorage::storeLocked(const HttpCookiePtr& cookie) {
  const Date now = Date::now();
  std::erase_if(cookies_,
                [&](const HttpCookiePtr& c) { return c->isSameCookie(*cookie) || c->isExpired(now); });
  if (!cookie->isExpired(now)) cookies_.push_back(cookie);
}

void HttpCookieStorage::load() {
  if (!path_ || !std::filesystem::exists(*path_)) return;
  ErrorPtr error;
  const Value list = PropertyList::propertyListWithContentsOfFile(*path_, &error);
  if (!list.isArray()) {
    logf("Cookies at %@ are unreadable, starting without them: %@", *path_,
         error ? error->description() : "");
    return;
  }
  const Date now = Date::now();
  for (const Value& item : *list.array()) {
    HttpCookiePtr cookie = cookieFromValue(item);
    if (cookie && !cookie->isExpired(now)) cookies_.push_back(cookie);
  }
}

void HttpCookieStorage::saveLocked() const {
  if (!path_) return;
  Array persistent;
  for (const HttpCookiePtr& cookie : cookies_) {
    if (!cookie->isSessionOnly()) persistent.push_back(cookieToValue(*cookie));
  }
  std::error_code ignored;
  std::filesystem::create_directories(path::deletingLastPathComponent(*path_), ignored);
  ErrorPtr error;
  if (!PropertyList::writeToFile(Value(persistent), *path_, PropertyList::Format::Binary, &error)) {
    logf("Cookies could not be saved to %@: %@", *path_, error ? error->description() : "");
  }
}

}  // namespace pf
