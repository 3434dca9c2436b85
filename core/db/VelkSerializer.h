#pragma once
// Reads the mapping file into the mapping model of the object store: loadFromFile parses the file and
// keeps the document, loadEntitiesMapperContext maps its root element onto a new EntityMapperContext.
// A file that cannot be read or parsed leaves no document and so no model.

#include <memory>
#include <string>

#include "core/db/EntityMapperContext.h"

class XmlDocument;

class VelkSerializer {
 public:
  // Read and parse failures are not reported: they only leave no document.
  void loadFromFile(const std::string& path);
  // The model of the loaded document, or null without one.
  std::shared_ptr<EntityMapperContext> loadEntitiesMapperContext() const;

 private:
  std::shared_ptr<XmlDocument> document_;
};
