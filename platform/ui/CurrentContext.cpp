#include "platform/ui/CurrentContext.h"

#include <vector>

namespace pf {

namespace {

std::vector<GraphicsContext*>& stack() {
  static std::vector<GraphicsContext*> contexts;
  return contexts;
}

}  // namespace

GraphicsContext* CurrentContext::get() {
  return stack().empty() ? nullptr : stack().back();
}

void CurrentContext::push(GraphicsContext& context) {
  stack().push_back(&context);
}

void CurrentContext::pop() {
  if (!stack().empty()) stack().pop_back();
}

}  // namespace pf
