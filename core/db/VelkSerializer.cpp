#include "core/db/VelkSerializer.h"

#include <fstream>
#include <iterator>

#include "core/db/XmlElementReflection.h"
#include "core/xml/XmlDocument.h"

void VelkSerializer::loadFromFile(const std::string& path) {
  document_.reset();
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  const pf::Data data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return;
  document_ = XmlDocument::initWithData(data, 0, nullptr);
}

std::shared_ptr<EntityMapperContext> VelkSerializer::loadEntitiesMapperContext() const {
  if (!document_) return nullptr;
  XmlElementPtr root = document_->rootElement();
  if (!root) return nullptr;
  EntityMapperContext::registerClasses();
  return std::dynamic_pointer_cast<EntityMapperContext>(
      XmlElementReflection::readObjectWithClassName(*root, "EntityMapperContext"));
}
