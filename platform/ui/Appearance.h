#pragma once
// Appearance proxies: a setter called on a class's proxy is recorded and replayed on every view of
// that class or a subclass when the view first moves into a window, after its own initialisation
// (made in code or loaded from an interface file) and before it is first drawn. A superclass's values
// are replayed before a subclass's, so the nearer class wins; calling the same setter again on a
// proxy replaces its value. Views already in a window keep what they have. Main thread only.
//
//   pf::Appearance::of<ShapeMeterView>().set(&ShapeMeterView::setTrackTintColor, pf::Color::lightGray());

#include <cstring>
#include <functional>
#include <string>
#include <type_traits>

#include "platform/runtime/ClassBuilder.h"

namespace pf {

class View;

class Appearance {
 public:
  // Records one setter call for the views of class T.
  template <typename T>
  class Proxy {
   public:
    template <typename R, typename C, typename A, typename V>
    Proxy& set(R (C::*setter)(A), V&& value) {
      static_assert(std::is_base_of_v<C, T>, "a setter of the class or a superclass");
      std::string key(sizeof(setter), '\0');
      std::memcpy(key.data(), &setter, sizeof(setter));
      Appearance::record(classOf<T>(), key,
                         [setter, stored = std::decay_t<A>(std::forward<V>(value))](View& view) {
                           if (auto* target = dynamic_cast<T*>(&view)) (target->*setter)(stored);
                         });
      return *this;
    }
  };

  template <typename T>
  static Proxy<T> of() {
    static_assert(std::is_base_of_v<View, T>, "appearance proxies are for views");
    return Proxy<T>{};
  }

  // Replays the recorded settings of the view's class and its superclasses, outermost first.
  static void applyTo(View& view);
  // Forgets every recorded setting (tests, a new start).
  static void reset();

 private:
  static void record(const Class& cls, const std::string& key, std::function<void(View&)> apply);
};

}  // namespace pf
