#pragma once
// A list item the user can tick: any value with a selected flag. Removal of courses and downloads
// takes lists of these.

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class SelectedObject : public pf::Object {
  PF_OBJECT(SelectedObject, pf::Object)

  SelectedObject() = default;
  // Not selected until the user ticks it.
  explicit SelectedObject(pf::Value obj) : value(std::move(obj)) {}

  pf::Value value;
  bool selected = false;

  static void declareProperties(pf::ClassBuilder<SelectedObject>& b) {
    PF_PROPERTY(b, value);
    PF_PROPERTY(b, selected);
  }
};
