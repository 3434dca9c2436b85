#include "core/xml/XmlNode.h"

#include <gtest/gtest.h>

#include "core/xml/XmlDocument.h"
#include "tests/core/xml/XmlTestRoot.h"

namespace {

using xmltest::rootOf;

TEST(XmlNodeTest, StringValueOfAnElementConcatenatesAllDescendantText) {
  EXPECT_EQ(rootOf("<a>one<b>two<c>three</c></b>four</a>")->stringValue(), "onetwothreefour");
}

TEST(XmlNodeTest, EmptyElementHasNoChildren) {
  XmlElementPtr root = rootOf("<a></a>");
  EXPECT_TRUE(root->children().empty());
  EXPECT_EQ(root->childCount(), 0u);
  EXPECT_EQ(root->childAtIndex(0), nullptr);
  EXPECT_EQ(root->stringValue(), "");
}

TEST(XmlNodeTest, XMLStringIsTrimmed) {
  XmlElementPtr root = rootOf("<a>\n   padded text \n<b/></a>");
  EXPECT_EQ(root->childAtIndex(0)->XMLString(), "padded text");
  EXPECT_EQ(root->childAtIndex(1)->XMLString(), "<b/>");
}

TEST(XmlNodeTest, NameSplitting) {
  struct Case {
    std::string name;
    std::string local;
    std::optional<std::string> prefix;
  };
  const std::vector<Case> cases = {
      {"a:b:c", "b:c", "a"},
      {"ab:", "ab:", "ab"},
      {"plain", "plain", std::nullopt},
      {":x", "x", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XmlNode::localNameForName(c.name), c.local) << c.name;
    EXPECT_EQ(XmlNode::prefixForName(c.name), c.prefix) << c.name;
  }
}

TEST(XmlNodeTest, KindsOfParsedNodes) {
  XmlElementPtr root = rootOf("<a x='1'><!--note--><?go now?>text<b/></a>");
  EXPECT_EQ(root->kind(), XmlNodeKind::Element);
  EXPECT_EQ(root->attributes().at(0)->kind(), XmlNodeKind::Attribute);
  const std::vector<XmlNodeKind> expected = {XmlNodeKind::Comment, XmlNodeKind::ProcessingInstruction,
                                             XmlNodeKind::Text, XmlNodeKind::Element};
  std::vector<XmlNodeKind> kinds;
  for (const XmlNodePtr& child : root->children()) kinds.push_back(child->kind());
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(XmlNode::namespaceWithName("p", "urn:p")->kind(), XmlNodeKind::Namespace);
}

TEST(XmlNodeTest, NamesPrefixesAndURIs) {
  XmlElementPtr root = rootOf("<p:a xmlns:p='urn:p' xmlns='urn:d'><b p:x='1'/></p:a>");
  EXPECT_EQ(root->name(), "p:a");
  EXPECT_EQ(root->localName(), "a");
  EXPECT_EQ(root->prefix(), "p");
  EXPECT_EQ(root->URI(), "urn:p");

  XmlElementPtr b = std::static_pointer_cast<XmlElement>(root->childAtIndex(0));
  EXPECT_EQ(b->name(), "b");
  EXPECT_EQ(b->prefix(), "");
  EXPECT_EQ(b->URI(), "urn:d");
  EXPECT_EQ(b->attributes().at(0)->name(), "p:x");

  std::vector<XmlNodePtr> namespaces = root->namespaces();
  ASSERT_EQ(namespaces.size(), 2u);
  EXPECT_EQ(namespaces[0]->name(), "p");
  EXPECT_EQ(namespaces[1]->name(), "");
  EXPECT_EQ(namespaces[1]->stringValue(), "urn:d");
  EXPECT_EQ(namespaces[1]->XMLString(), "xmlns=\"urn:d\"");
}

TEST(XmlNodeTest, SetStringValueTakesTheTextLiterally) {
  XmlElementPtr root = rootOf("<a x='old'><b>gone</b></a>");
  XmlNodePtr child = root->childAtIndex(0);
  root->setStringValue("a & <b> &amp;");
  EXPECT_EQ(root->stringValue(), "a & <b> &amp;");
  EXPECT_EQ(root->childCount(), 1u);
  EXPECT_EQ(child->stringValue(), "gone");  // a wrapper of a replaced child stays usable

  XmlNodePtr attribute = root->attributeForName("x");
  attribute->setStringValue("1 & 2");
  EXPECT_EQ(root->attributeForName("x")->stringValue(), "1 & 2");
}

TEST(XmlNodeTest, SettingAnEntityReferenceLeavesTheDocumentsEntityWhole) {
  pf::ErrorPtr error;
  auto document =
      XmlDocument::initWithXMLString("<!DOCTYPE r [<!ENTITY e \"shared\">]><r>a&e;b<s>&e;</s></r>", 0, &error);
  ASSERT_TRUE(document);
  XmlElementPtr root = document->rootElement();
  XmlNodePtr reference = root->childAtIndex(1);
  ASSERT_TRUE(reference);
  reference->setStringValue("changed");
  EXPECT_EQ(root->stringValue(), "asharedbshared");
  const pf::Data written = document->XMLData().value_or(pf::Data{});
  EXPECT_NE(std::string(written.begin(), written.end()).find("<!ENTITY e \"shared\">"), std::string::npos);
}

TEST(XmlNodeTest, EqualityByNodeOrByKindNameAndChildCount) {
  XmlElementPtr root = rootOf("<r><a><x/></a><a><y/></a><a/><b><x/></b></r>");
  std::vector<XmlNodePtr> children = root->children();
  EXPECT_TRUE(children[0]->isEqual(*root->childAtIndex(0)));
  EXPECT_TRUE(children[0]->isEqual(*children[1]));
  EXPECT_FALSE(children[0]->isEqual(*children[2]));
  EXPECT_FALSE(children[0]->isEqual(*children[3]));
  EXPECT_EQ(children[0]->hash(), children[3]->hash());
}

TEST(XmlNodeTest, CopyOwnsAnIndependentTree) {
  XmlElementPtr root = rootOf("<a><b>text</b></a>");
  XmlNodePtr copy = root->copy();
  root->setStringValue("changed");
  EXPECT_TRUE(copy->shouldFreeXMLNode());
  EXPECT_EQ(copy->XMLString(), "<a><b>text</b></a>");
}

TEST(XmlNodeTest, Description) {
  XmlElementPtr element = XmlNode::elementWithName("a", "x");
  const std::string text = element->description();
  EXPECT_EQ(text.rfind("XmlElement 0x", 0), 0u) << text;
  EXPECT_NE(text.find(": {type:1 name:a xml:\"<a>x</a>\"}"), std::string::npos) << text;
}

TEST(XmlNodeTest, XPathFromADetachedElement) {
  XmlElementPtr root = rootOf("<a><b>1</b><c><b>2</b></c></a>");
  auto nodes = root->nodesForXPath("//b", nullptr);
  ASSERT_TRUE(nodes);
  ASSERT_EQ(nodes->size(), 2u);
  EXPECT_EQ((*nodes)[1]->stringValue(), "2");
  EXPECT_EQ(root->XMLString(), "<a><b>1</b><c><b>2</b></c></a>");  // back out of the temporary document
}

// A node without a document is searched as the top of its own tree: there is no document node above it
// to hand out, and the search leaves the node and its wrapper whole.
TEST(XmlNodeTest, XPathFromANodeWithoutADocumentHandsOutOnlyItsOwnTree) {
  struct Case {
    const char* xpath;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"..", {}}, {"/", {}}, {"//.", {"d", "e"}}, {".", {"d"}}, {"e", {"e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xpath);
    std::vector<XmlNodePtr> nodes;
    {
      XmlElementPtr element = XmlNode::elementWithName("d");
      element->addChild(*XmlNode::elementWithName("e"));
      pf::ErrorPtr error;
      auto found = element->nodesForXPath(c.xpath, &error);
      ASSERT_TRUE(found) << (error ? error->description() : "");
      nodes = std::move(*found);
      EXPECT_EQ(element->XMLString(), "<d><e/></d>");
    }
    std::vector<std::string> names;
    for (const XmlNodePtr& node : nodes) names.push_back(node->name().value_or("<nil>"));
    EXPECT_EQ(names, c.names);
  }
}

TEST(XmlNodeTest, XPathFromAStandaloneAttributeLeavesItWhole) {
  for (const char* xpath : {".", "..", "/", "//."}) {
    SCOPED_TRACE(xpath);
    XmlNodePtr attribute = XmlNode::attributeWithName("a", "1");
    auto found = attribute->nodesForXPath(xpath, nullptr);
    ASSERT_TRUE(found);
    for (const XmlNodePtr& node : *found) EXPECT_EQ(node->XMLNode(), attribute->XMLNode());
    EXPECT_EQ(attribute->stringValue(), "1");
    EXPECT_EQ(attribute->XMLString(), "a=\"1\"");
  }
}

TEST(XmlNodeTest, CopyOfAParsedAttributeOutlivesItsSource) {
  for (const char* text : {"<r a='1'/>", "<r xmlns:p='urn:p' p:a='1'/>"}) {
    SCOPED_TRACE(text);
    XmlNodePtr copy;
    {
      pf::ErrorPtr error;
      auto document = XmlDocument::initWithXMLString(text, 0, &error);
      ASSERT_TRUE(document);
      copy = document->rootElement()->attributes().at(0)->copy();
    }
    EXPECT_EQ(copy->localName(), "a");
    EXPECT_EQ(copy->stringValue(), "1");
    copy->setStringValue("2");
    XmlElementPtr holder = XmlNode::elementWithName("h");
    holder->addAttribute(*copy);
    EXPECT_EQ(holder->attributes().at(0)->stringValue(), "2");
  }
}

TEST(XmlNodeTest, XPathOnANamespaceNodeIsAnInvalidNode) {
  pf::ErrorPtr error;
  EXPECT_FALSE(XmlNode::namespaceWithName("p", "urn:p")->nodesForXPath("*", &error));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->code(), -1);
  EXPECT_EQ(error->userInfo().at("error"), pf::Value("invalid node"));
}

}  // namespace
