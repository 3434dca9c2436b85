#pragma once
// A picture attached to a question ("ITEM") or to one of its options ("OPTION"); objectId names the
// question or the option it belongs to.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class EmsAttachment : public pf::Object {
  PF_OBJECT(EmsAttachment, pf::Object)

  static constexpr char kOfQuestion[] = "ITEM";
  static constexpr char kOfOption[] = "OPTION";

  std::optional<std::string> id;
  std::optional<std::string> url;
  bool download = false;
  std::optional<std::string> objectId;
  std::optional<std::string> objectType;
  std::optional<std::string> fileName;

  static void declareProperties(pf::ClassBuilder<EmsAttachment>& b);
};
