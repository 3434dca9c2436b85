#include "core/open/RequestUtil.h"

#include <mutex>

#include "core/http/HttpRequestError.h"
#include "core/http/RequestLogRedactor.h"
#include "core/json/JsonUtil.h"
#include "core/open/HttpRemoteTransport.h"
#include "core/open/OpenError.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/JsonSerialization.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextReading.h"

namespace {

constexpr char kNetworkStatusError[] = "error.networkStatusError";
constexpr char kRequestTimeoutError[] = "error.requestTimeoutError";
constexpr char kResponseStatusCodeError[] = "error.responseStatusCodeError";
constexpr char kJsonParseError[] = "error.jsonParseError";
constexpr char kResponseTooLargeError[] = "error.responseTooLargeError";
constexpr char kSystemError[] = "open.system.error";

constexpr char kNetworkStatusCause[] = "当前网络不可用！";
constexpr char kRequestTimeoutCause[] = "网络请求超时！";
constexpr char kResponseStatusCodeCause[] = "服务器响应错误！";
constexpr char kJsonParseCause[] = "请求数据出错！";
constexpr char kSystemErrorCause[] = "服务内部出错！";

std::mutex transportMutex;
std::shared_ptr<RemoteTransport> installedTransport;

pf::ErrorPtr openError(long code, std::optional<std::string> errorCode, std::optional<std::string> cause,
                       std::string description) {
  return OpenError::errorWithDomain(
      kOpenErrorDomain, code,
      ErrorInfo::errorInfoWithErrorCode(std::move(errorCode), std::move(cause), std::move(description)));
}

std::string userInfoText(const pf::Error& error) {
  return pf::format("%@", pf::Value(error.userInfo()));
}

pf::Value fail(pf::ErrorPtr* error, pf::ErrorPtr failure) {
  if (error) *error = std::move(failure);
  return {};
}

}  // namespace

pf::Value RequestUtil::performRemoteMethod(const std::string& requestUri, const pf::Data& postData,
                                           const std::string& returnType, pf::ErrorPtr* error) {
  const std::shared_ptr<const ServiceConfiguration> configuration = ServiceManager::requireConfiguration();
  const RemoteTransport::Answer answer =
      transport()->send(createRequest(requestUri, *configuration, postData));
  if (answer.error) return fail(error, parseOpenErrorFromRequestError(*answer.error));
  if (answer.statusCode != 200) return fail(error, statusCodeError(answer));

  // The login answer is the session id itself. A long answer is logged with one copy of it, masked in
  // place (the text before it holds no secret).
  std::string received = pf::format("Received json string of response status code %d : ", answer.statusCode);
  if (requestUri == ServiceManager::kLoginUri) {
    received += RequestLogRedactor::kMask;
  } else {
    received.append(answer.body.begin(), answer.body.end());
  }
  pf::Log::write(RequestLogRedactor::redact(std::move(received)));
  if (hasException(answer)) return fail(error, serverError(answer.body));
  if (requestUri == ServiceManager::kLoginUri) return loginAnswer(answer.body, *configuration, error);

  if (configuration->autoresetSession) ServiceManager::refreshSessionCacheTime();
  pf::ErrorPtr decodeError;
  pf::Value decoded;
  try {
    decoded = JsonUtil::objectFromJsonData(answer.body, returnType, &decodeError);
  } catch (const pf::ContractViolation& unreadable) {
    // A list in the answer whose element type was never registered: the answer cannot be read.
    decodeError = pf::Error::make(kOpenErrorDomain, kOpenResponseErrorCode, unreadable.what());
  }
  if (decodeError) {
    return fail(error, openError(kOpenResponseErrorCode, kJsonParseError, kJsonParseCause,
                                 userInfoText(*decodeError)));
  }
  return decoded;
}

// The session id is a JSON string. Anything else (a proxy's HTML page, null, an empty body, an object)
// is a failed sign-in, never a session to keep.
pf::Value RequestUtil::loginAnswer(const pf::Data& body, const ServiceConfiguration& configuration,
                                   pf::ErrorPtr* error) {
  const pf::Value parsed =
      pf::JsonSerialization::JSONObjectWithData(body, pf::JsonSerialization::ReadingAllowFragments);
  const std::string* sessionId = parsed.string();
  if (!sessionId || sessionId->empty()) {
    return fail(error, openError(kOpenResponseErrorCode, kJsonParseError, kJsonParseCause,
                                 "The login answer holds no session id"));
  }
  if (configuration.autoresetSession) ServiceManager::refreshSessionCacheTime();
  return parsed;
}

std::shared_ptr<RemoteTransport> RequestUtil::transport() {
  std::lock_guard lock(transportMutex);
  if (!installedTransport) installedTransport = std::make_shared<HttpRemoteTransport>();
  return installedTransport;
}

void RequestUtil::setTransport(std::shared_ptr<RemoteTransport> transport) {
  std::lock_guard lock(transportMutex);
  installedTransport = std::move(transport);
}

RemoteTransport::Request RequestUtil::createRequest(const std::string& requestUri,
                                                    const ServiceConfiguration& configuration,
                                                    const pf::Data& postData) {
  return RemoteTransport::Request{
      .url = pf::format("http://%@/open%@.html", configuration.baseUrl, requestUri),
      .method = "POST",
      .headers = {{"Content-Type", "application/json"}},
      .body = postData,
      .timeoutSeconds = static_cast<double>(configuration.timeoutInSeconds),
  };
}

pf::ErrorPtr RequestUtil::parseOpenErrorFromRequestError(const pf::Error& requestError) {
  const long code = requestError.code();
  if (code == static_cast<long>(HttpRequestErrorCode::ConnectionFailure)) {
    return openError(code, kNetworkStatusError, kNetworkStatusCause, userInfoText(requestError));
  }
  if (code == static_cast<long>(HttpRequestErrorCode::TimedOut)) {
    return openError(code, kRequestTimeoutError, kRequestTimeoutCause, userInfoText(requestError));
  }
  // An answer too large to read is the server's fault as far as the user can tell.
  if (code == static_cast<long>(HttpRequestErrorCode::ResponseTooLarge)) {
    return openError(code, kResponseTooLargeError, kResponseStatusCodeCause, userInfoText(requestError));
  }
  return openError(code, std::nullopt, std::nullopt, userInfoText(requestError));
}

pf::ErrorPtr RequestUtil::statusCodeError(const RemoteTransport::Answer& answer) {
  return openError(kOpenResponseErrorCode, kResponseStatusCodeError, kResponseStatusCodeCause,
                   pf::format("%d : %@", answer.statusCode, answer.statusLine));
}

bool RequestUtil::hasException(const RemoteTransport::Answer& answer) {
  const std::optional<std::string> flag = answer.header("hasException");
  return flag && pf::text::boolValue(*flag);
}

// The body should be a list of error records. Anything else still fails the call, with one record
// saying the answer could not be read, so the user sees a message rather than nothing.
pf::ErrorPtr RequestUtil::serverError(const pf::Data& body) {
  const pf::Value decoded = JsonUtil::objectFromJsonData(body, ErrorInfo::kClassName);
  OpenError::ErrorInfos records;
  if (decoded.isArray()) {
    for (const pf::Value& item : *decoded.array()) {
      if (auto record = item.objectAs<ErrorInfo>()) records.push_back(std::move(record));
    }
  } else if (auto record = decoded.objectAs<ErrorInfo>()) {
    records.push_back(std::move(record));
  }
  for (const auto& record : records) customOpenErrorHandler(*record);
  if (records.empty()) {
    records.push_back(ErrorInfo::errorInfoWithErrorCode(kJsonParseError, kJsonParseCause,
                                                        std::string(body.begin(), body.end())));
  }
  return OpenError::errorWithDomain(kOpenErrorDomain, kOpenServerErrorCode, records);
}

// The server's own text for an internal error is no message for a user: keep it as the detail.
void RequestUtil::customOpenErrorHandler(ErrorInfo& errorInfo) {
  if (errorInfo.errorCode != kSystemError) return;
  errorInfo.setDescription(errorInfo.cause);
  errorInfo.cause = kSystemErrorCause;
}
