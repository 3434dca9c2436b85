#include "tools/devserver/open/OpenServer.h"

#include <openssl/evp.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <random>
#include <string_view>

namespace devserver {

namespace {

constexpr std::string_view kPathPrefix = "/open";
constexpr std::string_view kPathSuffix = ".html";

std::string md5Upper(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  char pair[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", digest[i]);
    hex += pair;
  }
  return hex;
}

// "/open/v1/a/b.html" gives "/v1/a/b"; anything else gives nothing.
std::optional<std::string> methodPath(std::string_view requestPath) {
  if (requestPath.size() <= kPathPrefix.size() + kPathSuffix.size()) return std::nullopt;
  if (!requestPath.starts_with(kPathPrefix) || !requestPath.ends_with(kPathSuffix)) return std::nullopt;
  requestPath.remove_prefix(kPathPrefix.size());
  requestPath.remove_suffix(kPathSuffix.size());
  if (!requestPath.starts_with('/')) return std::nullopt;
  return std::string(requestPath);
}

// The body as parameter name to text; nothing unless it is a JSON object of strings.
std::optional<std::map<std::string, std::string>> bodyParameters(const std::string& body) {
  const nlohmann::json parsed = nlohmann::json::parse(body, nullptr, false);
  if (!parsed.is_object()) return std::nullopt;
  std::map<std::string, std::string> parameters;
  for (const auto& [name, value] : parsed.items()) {
    if (!value.is_string()) return std::nullopt;
    parameters.emplace(name, value.get<std::string>());
  }
  return parameters;
}

std::string take(std::map<std::string, std::string>& parameters, const std::string& name) {
  const auto it = parameters.find(name);
  if (it == parameters.end()) return {};
  std::string value = std::move(it->second);
  parameters.erase(it);
  return value;
}

bool isJsonText(const std::string& text) {
  return nlohmann::json::accept(text);
}

bool isWholeNumber(const std::string& text) {
  return !text.empty() && text.size() < 19 && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

OpenServer::OpenServer(Settings settings) : settings_(std::move(settings)) {
  http_.route("/open/*", [this](Exchange& exchange) { serve(exchange); });
  publicMethod(kLoginPath, [this](const OpenCall& call) { return login(call); });
}

OpenServer::~OpenServer() {
  stop();
}

void OpenServer::addUser(OpenUser user) {
  std::lock_guard lock(mutex_);
  users_.push_back(std::move(user));
}

std::optional<OpenUser> OpenServer::user(const std::string& userId) const {
  std::lock_guard lock(mutex_);
  for (const OpenUser& known : users_) {
    if (known.userId == userId) return known;
  }
  return std::nullopt;
}

bool OpenServer::changePassword(const std::string& userId, const std::string& oldPassword,
                                const std::string& newPassword) {
  std::lock_guard lock(mutex_);
  for (OpenUser& known : users_) {
    if (known.userId != userId) continue;
    if (known.password != oldPassword) return false;
    known.password = newPassword;
    return true;
  }
  return false;
}

void OpenServer::method(std::string path, Method handler) {
  std::lock_guard lock(mutex_);
  methods_[std::move(path)] = Entry{std::move(handler), true};
}

void OpenServer::publicMethod(std::string path, Method handler) {
  std::lock_guard lock(mutex_);
  methods_[std::move(path)] = Entry{std::move(handler), false};
}

void OpenServer::rawMethod(std::string path, Handler handler) {
  std::lock_guard lock(mutex_);
  rawMethods_[std::move(path)] = std::move(handler);
}

void OpenServer::route(std::string path, Handler handler) {
  http_.route(std::move(path), std::move(handler));
}

void OpenServer::planFaults(const std::string& path, std::vector<Handler> faults) {
  http_.planFaults(std::string(kPathPrefix) + path + std::string(kPathSuffix), std::move(faults));
}

void OpenServer::planFaultsOnAnyMethod(std::vector<Handler> faults) {
  http_.planFaults(std::string(kPathPrefix) + "/*", std::move(faults));
}

void OpenServer::expireSessions() {
  std::lock_guard lock(mutex_);
  sessions_.clear();
}

bool OpenServer::start(int port) {
  return http_.start(port);
}

void OpenServer::stop() {
  http_.stop();
}

std::string OpenServer::host() const {
  return "127.0.0.1:" + std::to_string(http_.port());
}

std::vector<OpenCall> OpenServer::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<OpenCall> OpenServer::calls(const std::string& path) const {
  std::vector<OpenCall> matching;
  for (OpenCall& call : calls()) {
    if (call.path == path) matching.push_back(std::move(call));
  }
  return matching;
}

void OpenServer::serve(Exchange& exchange) {
  const std::optional<std::string> path = methodPath(exchange.request().path);
  if (!path || exchange.request().method != "POST") return exchange.respond(404, "no such method\n");
  Handler raw;
  {
    std::lock_guard lock(mutex_);
    if (const auto it = rawMethods_.find(*path); it != rawMethods_.end()) raw = it->second;
  }
  if (raw) return raw(exchange);

  const OpenAnswer reply = answer(*path, exchange.request().body);
  Headers headers{{"Content-Type", "application/json;charset=UTF-8"}};
  if (reply.hasException) headers.emplace_back("hasException", "true");
  exchange.respond(reply.statusCode, reply.body, headers);
}

OpenAnswer OpenServer::answer(const std::string& path, const std::string& body) {
  std::optional<std::map<std::string, std::string>> parameters = bodyParameters(body);
  if (!parameters) {
    return OpenAnswer::error("open.param.invalid", "请求参数格式错误！",
                             "the body is no JSON object of texts");
  }
  OpenCall call{path, std::move(*parameters), {}, {}};
  if (auto refused = refusal(path, call.parameters, call.sessionId)) return *refused;

  std::optional<Entry> entry;
  {
    std::lock_guard lock(mutex_);
    if (const auto it = methods_.find(path); it != methods_.end()) entry = it->second;
  }
  if (entry && entry->needsSession) call.user = sessionUser(call.sessionId);
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }
  if (!entry) return OpenAnswer::error("open.method.notfound", "服务不存在！", path);
  if (entry->needsSession && !call.user) {
    return OpenAnswer::error("open.session.expired", "会话已过期，请重新登录！", call.sessionId);
  }
  try {
    return entry->handler(call);
  } catch (const std::exception& e) {
    return OpenAnswer::error("open.system.error", e.what());
  }
}

// Takes the signing keys out of the parameters; a reason to refuse the call, or nothing.
std::optional<OpenAnswer> OpenServer::refusal(const std::string& path,
                                              std::map<std::string, std::string>& parameters,
                                              std::string& sessionId) const {
  const std::string appKey = take(parameters, "appKey_");
  const std::string sign = take(parameters, "sign_");
  const std::string timestamp = take(parameters, "timestamp_");
  sessionId = take(parameters, "session_");
  if (appKey != settings_.appKey) return OpenAnswer::error("open.appkey.invalid", "应用未授权！", appKey);
  if (sign != md5Upper(settings_.secret + "|" + path + "|" + settings_.secret)) {
    return OpenAnswer::error("open.sign.invalid", "请求签名错误！", sign);
  }
  if (!isWholeNumber(timestamp) ||
      std::fabs(std::stod(timestamp) / 1000.0 - now()) > settings_.timestampTolerance) {
    return OpenAnswer::error("open.timestamp.invalid", "请求时间无效，请校准设备时间！", timestamp);
  }
  for (const auto& [name, text] : parameters) {
    if (!isJsonText(text)) return OpenAnswer::error("open.param.invalid", "请求参数格式错误！", name);
  }
  return std::nullopt;
}

OpenAnswer OpenServer::login(const OpenCall& call) {
  const auto loginName = call.text("loginName");
  const auto password = call.text("password");
  const auto corpCode = call.text("corpCode");
  std::lock_guard lock(mutex_);
  for (const OpenUser& user : users_) {
    if (user.loginName == loginName && user.password == password && user.corpCode == corpCode) {
      const std::string sessionId = newSessionId();
      sessions_[sessionId] = Session{user, now()};
      return OpenAnswer::string(sessionId);
    }
  }
  return OpenAnswer::error("open.login.failed", "用户名或密码错误！", loginName.value_or(""));
}

// The session's user when the session is alive; using it keeps it alive.
std::optional<OpenUser> OpenServer::sessionUser(const std::string& sessionId) {
  std::lock_guard lock(mutex_);
  const auto it = sessions_.find(sessionId);
  if (it == sessions_.end()) return std::nullopt;
  if (now() - it->second.lastUse >= settings_.sessionLifetime) {
    sessions_.erase(it);
    return std::nullopt;
  }
  it->second.lastUse = now();
  return it->second.user;
}

// Random, with a counter so two sessions never share an id. Called with mutex_ held.
std::string OpenServer::newSessionId() {
  std::random_device random;
  char text[33];
  std::snprintf(text, sizeof text, "%08X%08X%016llX", random(), random(), ++issued_);
  return text;
}

double OpenServer::now() const {
  if (settings_.clock) return settings_.clock();
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace devserver
