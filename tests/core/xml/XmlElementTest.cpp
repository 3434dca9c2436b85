#include "core/xml/XmlElement.h"

#include <gtest/gtest.h>

#include "core/xml/XmlDocument.h"
#include "tests/core/xml/XmlTestRoot.h"

namespace {

using xmltest::rootOf;

std::vector<std::string> names(const std::vector<XmlElementPtr>& elements) {
  std::vector<std::string> result;
  for (const XmlElementPtr& element : elements) result.push_back(element->XMLString());
  return result;
}

TEST(XmlElementTest, InitWithXMLStringFailsOnMalformedText) {
  pf::ErrorPtr error;
  EXPECT_EQ(XmlElement::initWithXMLString("<a><b></a>", &error), nullptr);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->domain(), kXmlErrorDomain);
  EXPECT_EQ(error->code(), -1);
}

TEST(XmlElementTest, AttributeLookups) {
  XmlElementPtr root = rootOf("<a xmlns:p='urn:p' id='1' p:id='2' p:rank='3' other='4'/>");
  struct Case {
    std::string name;
    std::optional<std::string> value;
  };
  const std::vector<Case> cases = {
      {"id", "1"},
      {"rank", "3"},              // exact name, whatever the namespace
      {"p:rank", "3"},            // resolved prefix
      {"q:other", "4"},           // unresolved prefix: local name in no namespace
      {"p:other", std::nullopt},  // other is in no namespace
      {"missing", std::nullopt},
  };
  for (const Case& c : cases) {
    XmlNodePtr attribute = root->attributeForName(c.name);
    EXPECT_EQ(attribute ? attribute->stringValue() : std::nullopt, c.value) << c.name;
  }
  EXPECT_EQ(root->attributeForLocalName("id", "urn:p")->stringValue(), "2");
  EXPECT_EQ(root->attributeForLocalName("id", "urn:none"), nullptr);
}

TEST(XmlElementTest, ElementsForName) {
  XmlElementPtr root = rootOf("<a xmlns:p='urn:p' xmlns:q='urn:p'><p:b>1</p:b><b>2</b><q:b>3</q:b><c/></a>");
  EXPECT_EQ(names(root->elementsForName("b")), (std::vector<std::string>{"<b>2</b>"}));
  EXPECT_EQ(root->elementsForName("p:b").size(), 1u);  // the prefix resolves, so the search is by URI
  EXPECT_EQ(names(root->elementsForLocalName("b", "urn:p")), (std::vector<std::string>{"<p:b>1</p:b>"}));
  EXPECT_TRUE(root->elementsForName("d").empty());
  EXPECT_TRUE(root->elementsForName("x:b").empty());
}

TEST(XmlElementTest, NamespacesLeaveOutTheXmlPrefixAndResolveInScope) {
  XmlElementPtr root = rootOf("<a xmlns='urn:d' xmlns:p='urn:p'><b xmlns:q='urn:q'/></a>");
  XmlElementPtr b = std::static_pointer_cast<XmlElement>(root->childAtIndex(0));
  EXPECT_EQ(b->namespaces().size(), 1u);
  EXPECT_EQ(b->resolvePrefixForNamespaceURI("urn:p"), "p");
  EXPECT_EQ(b->resolvePrefixForNamespaceURI("urn:d"), "");
  EXPECT_EQ(b->resolvePrefixForNamespaceURI("urn:x"), std::nullopt);
}

TEST(XmlElementTest, AddChildAppendsACopy) {
  XmlElementPtr root = rootOf("<list><item>1</item></list>");
  XmlElementPtr item = XmlNode::elementWithName("item", "2");
  root->addChild(*item);
  item->setStringValue("changed later");
  EXPECT_EQ(root->XMLString(), "<list><item>1</item><item>2</item></list>");
  EXPECT_EQ(root->childCount(), 2u);
}

TEST(XmlElementTest, AddedTextMayMergeWithTheLastText) {
  XmlElementPtr root = XmlNode::elementWithName("a", "one");
  root->addChild(*XmlNode::textWithStringValue("two"));
  EXPECT_EQ(root->stringValue(), "onetwo");
}

TEST(XmlElementTest, GraftedNamesTakeTheNamespaceInScope) {
  XmlElementPtr root = rootOf("<feed xmlns='urn:feed' xmlns:m='urn:meta'/>");
  root->addChild(*XmlNode::elementWithNameURI("x:entry", "urn:meta"));
  root->addChild(*XmlNode::elementWithName("m:note"));
  root->addChild(*XmlNode::elementWithName("plain"));
  std::vector<XmlNodePtr> children = root->children();
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0]->name(), "m:entry");
  EXPECT_EQ(children[0]->URI(), "urn:meta");
  EXPECT_EQ(children[1]->name(), "m:note");
  EXPECT_EQ(children[2]->URI(), "urn:feed");
}

TEST(XmlElementTest, GraftedDuplicateDeclarationsAreDropped) {
  XmlElementPtr root = rootOf("<a xmlns:p='urn:p'/>");
  XmlElementPtr child = rootOf("<p:b xmlns:p='urn:p' p:x='1'><p:c/></p:b>");
  root->addChild(*child);
  EXPECT_EQ(root->XMLString(), "<a xmlns:p=\"urn:p\"><p:b p:x=\"1\"><p:c/></p:b></a>");
  auto found = root->nodesForXPath("/a/p:b/p:c", {{"p", "urn:p"}}, nullptr);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->size(), 1u);
}

TEST(XmlElementTest, AddAttributeKeepsAnExistingOne) {
  XmlElementPtr root = rootOf("<a id='1'/>");
  root->addAttribute(*XmlNode::attributeWithName("id", "2"));
  root->addChild(*XmlNode::attributeWithName("name", "n"));
  EXPECT_EQ(root->XMLString(), "<a id=\"1\" name=\"n\"/>");
  root->addAttribute(*XmlNode::attributeWithName("rank", "urn:r", "3"));
  EXPECT_EQ(root->attributeForLocalName("rank", "urn:r")->stringValue(), "3");
}

TEST(XmlElementTest, RemovedChildStaysUsable) {
  XmlElementPtr root = rootOf("<a x='1'><b><c>deep</c></b><d/></a>");
  XmlNodePtr b = root->childAtIndex(0);
  XmlNodePtr c = b->childAtIndex(0);
  root->removeChild(*b);
  root->removeChild(*root->attributeForName("x"));
  EXPECT_EQ(root->XMLString(), "<a><d/></a>");
  EXPECT_EQ(b->XMLString(), "<b><c>deep</c></b>");
  EXPECT_EQ(c->stringValue(), "deep");
  root->removeChild(*c);  // not a child of root: nothing happens
  EXPECT_EQ(b->childCount(), 1u);
}

TEST(XmlElementTest, AddNamespaceResolvesThePlaceholderName) {
  XmlElementPtr element = XmlNode::elementWithNameURI("entry", "urn:e");
  element->addNamespace(*XmlNode::namespaceWithName("e", "urn:e"));
  EXPECT_EQ(element->name(), "e:entry");
  EXPECT_EQ(element->XMLString(), "<e:entry xmlns:e=\"urn:e\"/>");
}

TEST(XmlElementTest, SetNamespacesKeepsNodesThatUsedDroppedDeclarations) {
  XmlElementPtr root = rootOf("<p:a xmlns:p='urn:p' xmlns:q='urn:q'><q:b q:x='1'/></p:a>");
  XmlNodePtr b = root->childAtIndex(0);
  root->setNamespaces({XmlNode::namespaceWithName("p", "urn:p")});
  EXPECT_EQ(root->URI(), "urn:p");
  EXPECT_EQ(b->URI(), "urn:q");
  auto reparsed = rootOf(root->XMLString());
  ASSERT_TRUE(reparsed);
  auto found = reparsed->nodesForXPath("/p:a/q:b/@q:x", {{"p", "urn:p"}, {"q", "urn:q"}}, nullptr);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->size(), 1u);
}

TEST(XmlElementTest, SetNamespacesKeepsRemovedChildrenAndNamespaceWrappersValid) {
  XmlElementPtr root = rootOf("<a xmlns:p=\"urn:p\"><p:b/></a>");
  XmlNodePtr b = root->childAtIndex(0);
  XmlNodePtr declaration = root->namespaces().at(0);
  root->removeChild(*b);
  root->setNamespaces({});
  EXPECT_EQ(b->XMLString(), "<p:b/>");
  EXPECT_EQ(b->URI(), "urn:p");
  EXPECT_EQ(declaration->name(), "p");
  EXPECT_EQ(declaration->stringValue(), "urn:p");
  EXPECT_EQ(root->XMLString(), "<a/>");
}

// A copy outside any document declares the XML namespace itself (libxml2 does so for xml:lang and
// the like). Replacing or fixing up the declarations must neither lose track of that declaration
// (a leak) nor bind the XML namespace to another prefix, which no parser would take back.
TEST(XmlElementTest, DetachedCopiesKeepTheXmlNamespace) {
  XmlElementPtr root = rootOf("<a xmlns:p='urn:p' xml:lang='en'><p:b xml:space='preserve'/></a>");
  auto copy = std::dynamic_pointer_cast<XmlElement>(root->copy());
  ASSERT_TRUE(copy);
  copy->setNamespaces(copy->namespaces());
  copy->addNamespace(*XmlNode::namespaceWithName("q", "urn:q"));
  copy->setNamespaces({XmlNode::namespaceWithName("p", "urn:p")});
  const std::string expected = "<a xmlns:p=\"urn:p\" xml:lang=\"en\"><p:b xml:space=\"preserve\"/></a>";
  EXPECT_EQ(copy->XMLString(), expected);
  auto document = XmlDocument::initWithRootElement(*copy);
  auto data = document->XMLData();
  ASSERT_TRUE(data);
  pf::ErrorPtr error;
  auto reparsed = XmlDocument::initWithData(*data, 0, &error);
  ASSERT_TRUE(reparsed) << (error ? error->description() : "");
  EXPECT_EQ(reparsed->rootElement()->XMLString(), expected);
}

TEST(XmlElementTest, GraftingKeepsDeclarationsThatRemovedNodesStillUse) {
  XmlElementPtr root = rootOf("<a><x xmlns:p=\"urn:p\"><p:y/></x></a>");
  XmlElementPtr x = std::static_pointer_cast<XmlElement>(root->childAtIndex(0));
  XmlNodePtr y = x->childAtIndex(0);
  XmlNodePtr declaration = x->namespaces().at(0);
  x->removeChild(*y);
  // The same declaration on the root makes the one on x a duplicate, which the fix-up drops.
  root->addNamespace(*XmlNode::namespaceWithName("p", "urn:p"));
  EXPECT_EQ(y->XMLString(), "<p:y/>");
  EXPECT_EQ(y->URI(), "urn:p");
  EXPECT_EQ(declaration->stringValue(), "urn:p");
}

}  // namespace
