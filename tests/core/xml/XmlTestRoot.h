#pragma once
// The root element of a test document; a document that does not parse fails the test, naming why.

#include <gtest/gtest.h>

#include <string>

#include "core/xml/XmlDocument.h"
#include "core/xml/XmlElement.h"

namespace xmltest {

inline XmlElementPtr rootOf(const std::string& text) {
  pf::ErrorPtr error;
  XmlElementPtr root = XmlElement::initWithXMLString(text, &error);
  EXPECT_TRUE(root) << (error ? error->description() : "");
  return root;
}

}  // namespace xmltest
