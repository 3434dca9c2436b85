#pragma once
// Keeps secrets out of the log: the values of the sign-in parameters ("password", "loginName"), of the
// password change ("psw", "oldPsw") and of the session ("session_") are masked in JSON bodies, form
// and query texts, and a URL loses the user and password it may carry. Everything else passes unchanged.

#include <optional>
#include <string>
#include <string_view>

#include "platform/net/Url.h"

class RequestLogRedactor {
 public:
  static constexpr char kMask[] = "***";

  // Takes the text to mask it in place: a long body is not copied again.
  static std::string redact(std::string text);
  static std::string redactedURL(const std::optional<pf::Url>& url);
};
