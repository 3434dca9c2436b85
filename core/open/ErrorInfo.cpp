#include "core/open/ErrorInfo.h"

std::shared_ptr<ErrorInfo> ErrorInfo::errorInfoWithErrorCode(std::optional<std::string> errorCode,
                                                             std::optional<std::string> cause,
                                                             std::optional<std::string> description) {
  auto info = std::make_shared<ErrorInfo>();
  info->errorCode = std::move(errorCode);
  info->cause = std::move(cause);
  info->description_ = std::move(description);
  return info;
}

std::string ErrorInfo::description() const {
  return description_.value_or("");
}

void ErrorInfo::declareProperties(pf::ClassBuilder<ErrorInfo>& b) {
  PF_PROPERTY(b, errorCode);
  PF_PROPERTY(b, cause);
  b.property("description", &ErrorInfo::description_);
}
