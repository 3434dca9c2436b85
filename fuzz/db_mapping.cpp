// The mapping file: reading it into the mapping model (VelkSerializer over the XML layer and the
// reflection that fills objects from elements), validating the model and writing each entity's SQL.
// A faulty mapping must stop with its ContractViolation, never crash. Input: the mapping file.

#include <sys/mman.h>
#include <libxml/xmlerror.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "core/db/EntityMapperValidator.h"
#include "core/db/SqlBuilder.h"
#include "core/db/VelkSerializer.h"
#include "platform/foundation/Error.h"
#include "tests/core/db/MappingTestClasses.h"

namespace {

// The mapping file as the serializer reads it: a path, here of an in-memory file.
class MemoryFile {
 public:
  MemoryFile(const std::uint8_t* bytes, std::size_t size) : fd_(memfd_create("mapping", 0)) {
    if (fd_ >= 0 && write(fd_, bytes, size) != static_cast<ssize_t>(size)) {
      close(fd_);
      fd_ = -1;
    }
  }
  ~MemoryFile() {
    if (fd_ >= 0) close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

void buildStatements(const DataEntity& entity) {
  for (unsigned code = SqlBuilder::CreateTable; code <= SqlBuilder::QueryByKey; ++code) {
    try {
      std::vector<std::string> args;
      SqlBuilder builder(entity, code, &args);
      builder.appendInWithColumnName("sid", 3);
      (void)builder.content();
    } catch (const pf::ContractViolation&) {
    }
  }
}

void ignoreMessage(void*, const char*, ...) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  xmlSetGenericErrorFunc(nullptr, ignoreMessage);
  registerMappingTestClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  MemoryFile file(bytes, size);
  if (!file.isOpen()) return 0;
  VelkSerializer serializer;
  serializer.loadFromFile(file.path());
  std::shared_ptr<EntityMapperContext> context;
  try {
    context = serializer.loadEntitiesMapperContext();
    if (!context) return 0;
    EntityMapperValidator::checkAndInitEntityDicWithContext(*context);
  } catch (const pf::ContractViolation&) {
    return 0;
  }
  for (const auto& [name, entity] : context->entityDic) {
    (void)context->entityWithClassName(name);
    for (const auto& [column, prop] : entity->propDic) (void)entity->propertyWithColumnName(column);
    buildStatements(*entity);
  }
  return 0;
}
