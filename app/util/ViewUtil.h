#pragma once
// Making screens by class name. Screen classes are registered explicitly at start-up with a factory
// that makes a screen from its interface-file name; the module menu then builds every module's root
// screen by name. An unknown name is a build fault (ContractViolation naming it).
//
// Threads: register at start-up; make screens on the main thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

class ViewUtil {
 public:
  // Makes a new screen loaded from the named interface file.
  using ScreenFactory = std::function<pf::ObjectPtr(const std::string& nibName)>;
  // Makes a new navigation container whose root is the given screen.
  using NavigationFactory = std::function<pf::ObjectPtr(const pf::ObjectPtr& rootViewController)>;

  // Replaces an earlier factory of the same name.
  static void registerScreenClass(const std::string& className, ScreenFactory factory);
  static bool isScreenClassRegistered(const std::string& className);
  // The navigation container modules that need one are wrapped in; replaces an earlier one.
  static void registerNavigationController(NavigationFactory factory);
  // Forgets every registration (tests).
  static void resetScreenClasses();

  // The interface file of a screen class: for now the class's own name.
  static std::string nibNameOfClass(const std::string& className);
  // A new screen of that class, made from the interface file nibNameOfClass chooses.
  static pf::ObjectPtr viewControllerFromNibOfClass(const std::string& className);
  // A new navigation container around the screen; a build fault when none is registered.
  static pf::ObjectPtr navigationControllerWithRoot(const pf::ObjectPtr& rootViewController);
};
