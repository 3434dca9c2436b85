#pragma once
// An object in the chain that touches, keys and actions travel along: a view, its controller, the
// superview, the window, the application. A responder that does not handle a touch hands it to its
// next responder. At most one responder is first responder (the one that takes typed text).
// Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

namespace pf {

class Event;
class Touch;

using TouchSet = std::vector<std::shared_ptr<Touch>>;

class Responder : public Object {
  PF_OBJECT(Responder, Object)

  ~Responder() override;

  virtual std::shared_ptr<Responder> nextResponder() const { return nullptr; }
  // Sent by the interface-file loader once every object of the file is made and connected.
  virtual void awakeFromNib() {}

  virtual bool canBecomeFirstResponder() const { return false; }
  virtual bool canResignFirstResponder() const { return true; }
  // Takes the first-responder place when allowed, asking the current holder to give it up first.
  virtual bool becomeFirstResponder();
  virtual bool resignFirstResponder();
  bool isFirstResponder() const;
  static std::shared_ptr<Responder> firstResponder();

  // Default: hand the touches on to the next responder.
  virtual void touchesBegan(const TouchSet& touches, const Event* event);
  virtual void touchesMoved(const TouchSet& touches, const Event* event);
  virtual void touchesEnded(const TouchSet& touches, const Event* event);
  virtual void touchesCancelled(const TouchSet& touches, const Event* event);

  // The responder itself as the derived type it is known to be.
  template <typename T>
  std::shared_ptr<T> sharedAs() {
    return std::static_pointer_cast<T>(shared_from_this());
  }
  template <typename T>
  std::shared_ptr<const T> sharedAs() const {
    return std::static_pointer_cast<const T>(shared_from_this());
  }
};

// A responder that takes typed text (text fields and views). Hosts send keys to the first responder
// when it is one.
class TextInput {
 public:
  virtual ~TextInput() = default;
  virtual bool hasText() const = 0;
  // Text as typed, UTF-8; return arrives as "\n".
  virtual void insertText(const std::string& text) = 0;
  virtual void deleteBackward() = 0;
};

}  // namespace pf
