#include "platform/foundation/Error.h"

namespace pf {

Error::Error(std::string domain, long code, Dictionary userInfo)
    : domain_(std::move(domain)), code_(code), userInfo_(std::move(userInfo)) {}

std::shared_ptr<Error> Error::make(std::string domain, long code, std::string description) {
  return std::make_shared<Error>(std::move(domain), code,
                                 Dictionary{{kLocalizedDescriptionKey, Value(std::move(description))}});
}

std::string Error::localizedDescription() const {
  auto it = userInfo_.find(kLocalizedDescriptionKey);
  if (it != userInfo_.end() && it->second.isString()) return *it->second.string();
  return "The operation couldn't be completed. (" + domain_ + " error " + std::to_string(code_) + ".)";
}

std::optional<std::string> Error::failureReason() const {
  auto it = userInfo_.find(kLocalizedFailureReasonKey);
  if (it != userInfo_.end() && it->second.isString()) return *it->second.string();
  return std::nullopt;
}

std::shared_ptr<Error> Error::underlyingError() const {
  auto it = userInfo_.find(kUnderlyingErrorKey);
  return it == userInfo_.end() ? nullptr : it->second.objectAs<Error>();
}

std::string Error::description() const {
  return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" + localizedDescription() + "\"";
}

ContractViolation::ContractViolation(const std::string& message, std::string name)
    : std::logic_error(message), name_(std::move(name)) {}

}  // namespace pf
