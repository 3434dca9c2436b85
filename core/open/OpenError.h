#pragma once
// The error conventions of remote and local services: an Error whose user info holds, under
// "OPEN_ERRORS", the list of ErrorInfo records that explain it. Callers tell failures apart by the
// first record's errorCode and show its cause.

#include <memory>
#include <string>
#include <vector>

#include "core/open/ErrorInfo.h"
#include "platform/foundation/Error.h"

inline constexpr char kOpenErrorDomain[] = "OpenErrorDomain";
inline constexpr char kServiceErrorDomain[] = "ErrorDomainService";
inline constexpr char kOpenErrorsKey[] = "OPEN_ERRORS";
inline constexpr long kServiceErrorCode = 100;
// The remote call client's own codes in "OpenErrorDomain"; transport failures keep the HTTP engine's
// code (1 connection, 2 time-out, ...), so callers go by the first record's errorCode instead.
inline constexpr long kOpenResponseErrorCode = 3;
inline constexpr long kOpenPostDataErrorCode = 4;
inline constexpr long kOpenServerErrorCode = 5;

class OpenError {
 public:
  using ErrorInfos = std::vector<std::shared_ptr<ErrorInfo>>;

  // The records of the error; empty when it carries none (an error made by the platform).
  static ErrorInfos errorInfos(const pf::Error& error);
  static std::shared_ptr<ErrorInfo> firstOrDefaultErrorInfo(const pf::Error& error);

  // A local service failure: "ErrorDomainService", code 100, one record ("error.service", msg).
  static pf::ErrorPtr serviceErrorWithMsg(const std::string& msg);
  // A null record gives an error without records.
  static pf::ErrorPtr errorWithDomain(const std::string& domain, long code,
                                      const std::shared_ptr<ErrorInfo>& errorInfo);
  static pf::ErrorPtr errorWithDomain(const std::string& domain, long code, const ErrorInfos& errorInfos);
  static pf::Dictionary errorUserInfoWithErrorInfos(const ErrorInfos& errorInfos);
};
