#include "core/util/ArrayExtension.h"

#include "platform/foundation/Error.h"

bool ArrayExtension::isNullOrEmpty(const pf::ArrayPtr& array) {
  return !array || array->empty();
}

bool ArrayExtension::isNullOrEmpty(const pf::Value& value) {
  return !value.isArray() || isNullOrEmpty(value.array());
}

pf::ArrayPtr ArrayExtension::select(const pf::Array& array,
                                    const std::function<pf::Value(const pf::Value&)>& block) {
  auto result = std::make_shared<pf::Array>();
  result->reserve(array.size());
  for (const pf::Value& element : array) {
    pf::Value mapped = block(element);
    if (mapped.isNil())
      throw pf::ContractViolation("select: the block answered nil", "NSInvalidArgumentException");
    result->push_back(std::move(mapped));
  }
  return result;
}
