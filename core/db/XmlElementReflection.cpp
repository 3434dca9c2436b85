#include "core/db/XmlElementReflection.h"

#include <map>

#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/Error.h"
#include "platform/runtime/Class.h"

namespace {

constexpr char kElementType[] = "elementType";

std::vector<XmlElementPtr> childElements(const XmlElement& element) {
  std::vector<XmlElementPtr> elements;
  for (const XmlNodePtr& child : element.children()) {
    if (child->kind() == XmlNodeKind::Element)
      elements.push_back(std::static_pointer_cast<XmlElement>(child));
  }
  return elements;
}

// The container element fills the array property named like itself, and nothing else.
void setArrayValue(const XmlElement& container, pf::Object& object, const std::string& elementType) {
  const std::optional<std::string> name = container.name();
  if (!name) return;
  const PropertyDictionaryPtr propDic = ReflectionUtil::propDictionary(object);
  if (ReflectionUtil::typeCodeForPropName(*name, propDic.get()) != TypeCode::Array) return;
  object.setValueForKey(*name,
                        pf::Value(XmlElementReflection::readObjectsWithClassName(container, elementType)));
}

}  // namespace

pf::ObjectPtr XmlElementReflection::readObjectWithClassName(const XmlElement& element,
                                                            const std::string& className) {
  const pf::Class* cls = pf::ClassRegistry::find(className);
  pf::ObjectPtr object = cls != nullptr ? cls->make() : nullptr;
  if (!object) throw pf::ContractViolation("Can not found class named " + className + " !");
  setObjectValues(element, *object);
  return object;
}

pf::ArrayPtr XmlElementReflection::readObjectsWithClassName(const XmlElement& element,
                                                            const std::string& className) {
  auto objects = std::make_shared<pf::Array>();
  for (const XmlElementPtr& child : childElements(element)) {
    objects->push_back(pf::Value(readObjectWithClassName(*child, className)));
  }
  return objects;
}

void XmlElementReflection::setObjectValues(const XmlElement& element, pf::Object& object) {
  if (XmlNodePtr elementType = element.attributeForName(kElementType)) {
    setArrayValue(element, object, elementType->stringValue().value_or(""));
    return;
  }
  const std::vector<XmlNodePtr> attributes = element.attributes();
  if (!attributes.empty()) setObjectValues(element, object, attributes);
  for (const XmlElementPtr& child : childElements(element)) setObjectValues(*child, object);
}

void XmlElementReflection::setObjectValues(const XmlElement& /*element*/, pf::Object& object,
                                           const std::vector<XmlNodePtr>& attributes) {
  std::map<std::string, std::string> texts;
  for (const XmlNodePtr& attribute : attributes) {
    if (std::optional<std::string> name = attribute->name())
      texts[*name] = attribute->stringValue().value_or("");
  }
  ReflectionUtil::setValuesForKeysWithTextDictionary(object, texts);
}
