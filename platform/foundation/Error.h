#pragma once
// Runtime failures travel as Error values (domain, code, user info); programming faults (missing
// configuration, unknown class, bad mapping) throw ContractViolation carrying the exact message.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace pf {

inline constexpr char kLocalizedDescriptionKey[] = "NSLocalizedDescription";
inline constexpr char kLocalizedFailureReasonKey[] = "NSLocalizedFailureReason";
inline constexpr char kUnderlyingErrorKey[] = "NSUnderlyingError";

class Error : public Object {
  PF_OBJECT(Error, Object)

  Error(std::string domain, long code, Dictionary userInfo = {});
  // An error whose user info holds only a description.
  static std::shared_ptr<Error> make(std::string domain, long code, std::string description);

  const std::string& domain() const { return domain_; }
  long code() const { return code_; }
  const Dictionary& userInfo() const { return userInfo_; }

  // The description in the user info, or a generic text naming the domain and code.
  std::string localizedDescription() const;
  std::optional<std::string> failureReason() const;
  std::shared_ptr<Error> underlyingError() const;
  std::string description() const override;

 private:
  std::string domain_;
  long code_;
  Dictionary userInfo_;
};

using ErrorPtr = std::shared_ptr<Error>;

// A broken contract between parts of the program. name() is the exception's kind, by default
// "NSInternalInconsistencyException"; what() is the fixed message.
class ContractViolation : public std::logic_error {
 public:
  explicit ContractViolation(const std::string& message,
                             std::string name = "NSInternalInconsistencyException");
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace pf
