#include "platform/ui/Responder.h"

#include "platform/runtime/AssociatedObjects.h"

namespace pf {

namespace {

std::weak_ptr<Responder>& current() {
  static std::weak_ptr<Responder> responder;
  return responder;
}

}  // namespace

// Views and controllers drop their associated slots as they go, not at the next purge.
Responder::~Responder() {
  AssociatedObjects::ownerGone(this);
}

std::shared_ptr<Responder> Responder::firstResponder() {
  return current().lock();
}

bool Responder::isFirstResponder() const {
  return current().lock().get() == this;
}

bool Responder::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!canBecomeFirstResponder()) return false;
  if (auto holder = current().lock()) {
    if (!holder->resignFirstResponder()) return false;
  }
  current() = sharedAs<Responder>();
  return true;
}

bool Responder::resignFirstResponder() {
  if (!isFirstResponder()) return true;
  if (!canResignFirstResponder()) return false;
  current().reset();
  return true;
}

void Responder::touchesBegan(const TouchSet& touches, const Event* event) {
  if (auto next = nextResponder()) next->touchesBegan(touches, event);
}

void Responder::touchesMoved(const TouchSet& touches, const Event* event) {
  if (auto next = nextResponder()) next->touchesMoved(touches, event);
}

void Responder::touchesEnded(const TouchSet& touches, const Event* event) {
  if (auto next = nextResponder()) next->touchesEnded(touches, event);
}

void Responder::touchesCancelled(const TouchSet& touches, const Event* event) {
  if (auto next = nextResponder()) next->touchesCancelled(touches, event);
}

}  // namespace pf
