#pragma once
// One error record of a failed call: a dotted machine key ("open.session.expired"), the text meant for
// the user, and technical detail. Servers answer lists of them; the client makes one per local failure.

#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class ErrorInfo : public pf::Object {
  PF_OBJECT(ErrorInfo, pf::Object)

  std::optional<std::string> errorCode;
  std::optional<std::string> cause;

  static std::shared_ptr<ErrorInfo> errorInfoWithErrorCode(std::optional<std::string> errorCode,
                                                           std::optional<std::string> cause,
                                                           std::optional<std::string> description);

  // The technical detail (empty when there is none); it is also how a record prints in logs.
  std::string description() const override;
  bool hasDescription() const { return description_.has_value(); }
  void setDescription(std::optional<std::string> description) { description_ = std::move(description); }

  static void declareProperties(pf::ClassBuilder<ErrorInfo>& b);

 private:
  // Named apart from description(), which every object answers; the property is still "description".
  std::optional<std::string> description_;
};
