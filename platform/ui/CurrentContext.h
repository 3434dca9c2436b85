#pragma once
// The drawing context that drawing code without a context argument draws into (drawRect, text and
// picture drawing in views). The renderer makes a view's backing context current while its drawRect
// runs; code that draws into a picture of its own pushes that one. Main thread only.

namespace pf {

class GraphicsContext;

class CurrentContext {
 public:
  // The innermost pushed context, or null outside any drawing.
  static GraphicsContext* get();
  static void push(GraphicsContext& context);
  // Extra pops are ignored.
  static void pop();

  // Keeps a context current for a scope.
  class Scope {
   public:
    explicit Scope(GraphicsContext& context) { push(context); }
    ~Scope() { pop(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
  };
};

}  // namespace pf
