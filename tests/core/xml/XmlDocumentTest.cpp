#include "core/xml/XmlDocument.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const std::string kFixtures = std::string(MARLUNE_FIXTURES) + "/core/xml/";

pf::Data readFixture(const std::string& name) {
  std::ifstream in(kFixtures + name, std::ios::binary);
  return pf::Data(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::shared_ptr<XmlDocument> parse(const std::string& text) {
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithXMLString(text, 0, &error);
  EXPECT_TRUE(document) << (error ? error->description() : "");
  return document;
}

std::vector<std::string> stringValues(const std::vector<XmlNodePtr>& nodes) {
  std::vector<std::string> values;
  for (const XmlNodePtr& node : nodes) values.push_back(node->stringValue().value_or("<nil>"));
  return values;
}

TEST(XmlDocumentTest, BlankTextBetweenElementsIsDropped) {
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithData(readFixture("blank_text.xml"), 0, &error);
  ASSERT_TRUE(document);
  EXPECT_EQ(error, nullptr);
  XmlElementPtr root = document->rootElement();
  ASSERT_EQ(root->childCount(), 2u);
  for (const XmlNodePtr& child : root->children()) EXPECT_EQ(child->kind(), XmlNodeKind::Element);
  EXPECT_EQ(root->childAtIndex(0)->childCount(), 1u);
}

TEST(XmlDocumentTest, CdataReadsAsText) {
  auto document = parse("<a><![CDATA[x < y && z]]></a>");
  XmlNodePtr text = document->rootElement()->childAtIndex(0);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->kind(), XmlNodeKind::Text);
  EXPECT_EQ(text->stringValue(), "x < y && z");
}

TEST(XmlDocumentTest, MalformedTextAnswersNilWithCodeMinusOne) {
  const std::vector<std::string> malformed = {
      "", "not xml", "<a>", "<a></b>", "<a x='1' x='2'/>", "<a>&undefined;</a>", "<a/><b/>"};
  for (const std::string& text : malformed) {
    pf::ErrorPtr error;
    EXPECT_EQ(XmlDocument::initWithXMLString(text, 0, &error), nullptr) << text;
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->domain(), kXmlErrorDomain);
    EXPECT_EQ(error->code(), -1);
    EXPECT_NE(error->localizedDescription().find("not well-formed"), std::string::npos) << text;
  }
}

TEST(XmlDocumentTest, MissingFileGivesEmptyDataAndTheSameFailure) {
  pf::ErrorPtr error;
  EXPECT_EQ(XmlDocument::initWithData(readFixture("no_such_file.xml"), 0, &error), nullptr);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->code(), -1);
}

TEST(XmlDocumentTest, ExternalEntityIsNeverRead) {
  const std::string text = "<!DOCTYPE r [<!ENTITY secret SYSTEM \"file://" + kFixtures +
                           "secret.txt\">]><r>before&secret;after</r>";
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithXMLString(text, 0, &error);
  if (!document) return;  // refusing the document is as safe as not reading the file
  std::string value = document->rootElement()->stringValue().value_or("");
  EXPECT_EQ(value.find("top secret"), std::string::npos);
  const pf::Data written = document->XMLData().value_or(pf::Data{});
  EXPECT_EQ(std::string(written.begin(), written.end()).find("top secret"), std::string::npos);
}

TEST(XmlDocumentTest, ExternalDtdIsNotLoaded) {
  // The DTD gives <r> a default attribute; it must be neither read nor applied.
  const std::string dtd = kFixtures + "defaults.dtd";
  for (const std::string& reference : {dtd, "file://" + dtd}) {
    SCOPED_TRACE(reference);
    const std::string text = "<!DOCTYPE r SYSTEM \"" + reference + "\"><r/>";
    // The fixture is real: a parser told to load DTDs and apply their defaults finds the attribute.
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> loaded(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                      XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    ASSERT_TRUE(loaded);
    ASSERT_NE(xmlHasProp(xmlDocGetRootElement(loaded.get()), BAD_CAST "origin"), nullptr);

    auto document = parse(text);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->rootElement()->attributes().size(), 0u);
    EXPECT_EQ(document->rootElement()->attributeForName("origin"), nullptr);
    const pf::Data written = document->XMLData().value_or(pf::Data{});
    EXPECT_EQ(std::string(written.begin(), written.end()).find("from the dtd"), std::string::npos);
  }
}

TEST(XmlDocumentTest, EntityExpansionBombIsRefusedOrBounded) {
  std::string text = "<!DOCTYPE r [<!ENTITY a0 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\">";
  for (int i = 1; i <= 12; ++i) {
    const std::string previous = "&a" + std::to_string(i - 1) + ";";
    std::string value;
    for (int k = 0; k < 10; ++k) value += previous;
    text += "<!ENTITY a" + std::to_string(i) + " \"" + value + "\">";
  }
  text += "]><r>&a12;</r>";
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithXMLString(text, 0, &error);
  if (!document) {
    EXPECT_EQ(error->code(), -1);
    return;
  }
  EXPECT_LT(document->rootElement()->stringValue().value_or("").size(), 1000000u);
}

TEST(XmlDocumentTest, XPathFindsItemsInTheDefaultNamespace) {
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithData(readFixture("default_namespace.xml"), 0, &error);
  ASSERT_TRUE(document);
  auto items = document->nodesForXPath("/_def_ns:feed/_def_ns:item", &error);
  ASSERT_TRUE(items);
  EXPECT_EQ(stringValues(*items), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(error, nullptr);
}

TEST(XmlDocumentTest, XPathWithAnExplicitNamespaceMap) {
  auto document = XmlDocument::initWithData(readFixture("default_namespace.xml"), 0, nullptr);
  ASSERT_TRUE(document);
  const std::map<std::string, std::string> namespaces{{"f", "urn:marlune:feed"},
                                                      {"meta", "urn:marlune:meta"}};
  auto ranks = document->nodesForXPath("//f:item/@meta:rank", namespaces, nullptr);
  ASSERT_TRUE(ranks);
  EXPECT_EQ(stringValues(*ranks), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ((*ranks)[0]->kind(), XmlNodeKind::Attribute);
}

TEST(XmlDocumentTest, XPathAnswersAnEmptyListForAnEmptyNodeSet) {
  auto document = parse("<a><b/></a>");
  auto nodes = document->nodesForXPath("//c", nullptr);
  ASSERT_TRUE(nodes);
  EXPECT_TRUE(nodes->empty());
}

TEST(XmlDocumentTest, XPathFailureAnswersNilWithTheXPathError) {
  auto document = parse("<a/>");
  const std::vector<std::string> broken = {"//a[", "unknown:a", "//a[@]"};
  for (const std::string& xpath : broken) {
    pf::ErrorPtr error;
    EXPECT_FALSE(document->nodesForXPath(xpath, &error)) << xpath;
    ASSERT_TRUE(error) << xpath;
    EXPECT_EQ(error->domain(), kXmlErrorDomain);
    EXPECT_GT(error->code(), 0) << xpath;
    EXPECT_TRUE(error->userInfo().count("error")) << xpath;
  }
}

TEST(XmlDocumentTest, XPathNamespaceNodesOutliveTheSearch) {
  auto document = parse("<a xmlns:p='urn:p'><b/></a>");
  auto nodes = document->nodesForXPath("/a/namespace::p", nullptr);
  ASSERT_TRUE(nodes);
  ASSERT_EQ(nodes->size(), 1u);
  EXPECT_EQ((*nodes)[0]->kind(), XmlNodeKind::Namespace);
  EXPECT_EQ((*nodes)[0]->name(), "p");
  EXPECT_EQ((*nodes)[0]->stringValue(), "urn:p");
}

TEST(XmlDocumentTest, HandedOutNodesOutliveTheDocument) {
  XmlElementPtr root;
  std::vector<XmlNodePtr> found;
  {
    auto document = parse("<a><b x='1'>text</b></a>");
    root = document->rootElement();
    found = *document->nodesForXPath("//b", nullptr);
  }
  EXPECT_EQ(root->name(), "a");
  EXPECT_EQ(root->stringValue(), "text");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(std::static_pointer_cast<XmlElement>(found[0])->attributeForName("x")->stringValue(), "1");
}

TEST(XmlDocumentTest, DocumentBuiltFromAnElementWritesItsDeclaration) {
  XmlElementPtr root = XmlNode::elementWithName("course", "Fire & <safety>");
  root->addAttribute(*XmlNode::attributeWithName("id", "c\"1"));
  auto document = XmlDocument::initWithRootElement(*root);
  ASSERT_TRUE(document);
  auto data = document->XMLData();
  ASSERT_TRUE(data);
  const std::string text(data->begin(), data->end());
  EXPECT_EQ(text, "<?xml version=\"1.0\"?>\n<course id=\"c&quot;1\">Fire &amp; &lt;safety&gt;</course>\n");

  auto reread = parse(text);
  EXPECT_EQ(reread->rootElement()->stringValue(), "Fire & <safety>");
}

TEST(XmlDocumentTest, VersionAndEncodingAreWritten) {
  auto document = parse("<a/>");
  document->setVersion("1.1");
  document->setCharacterEncoding("UTF-8");
  auto data = document->XMLData();
  EXPECT_EQ(std::string(data->begin(), data->end()), "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n<a/>\n");
}

}  // namespace
