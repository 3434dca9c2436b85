#include "core/db/VelkDBHelper.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <vector>

#include "core/db/EntityMapperValidator.h"
#include "core/db/EntityRelationWriter.h"
#include "core/db/SqlBuilder.h"
#include "core/db/SqlDatabaseKivExtensions.h"
#include "core/db/VelkDBConnection.h"
#include "core/db/VelkSerializer.h"
#include "core/db/VelkSetting.h"
#include "core/reflect/ReflectionUtil.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlDatabaseQueue.h"
#include "core/sqlite/SqlResultSet.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"

namespace {

// Keeps a connection's prepared statements for the scope, then drops them unless they were kept before.
class StatementCaching {
 public:
  explicit StatementCaching(SqlDatabase& db) : db_(db), wasOn_(db.shouldCacheStatements()) {
    db_.setShouldCacheStatements(true);
  }
  ~StatementCaching() {
    if (!wasOn_) db_.setShouldCacheStatements(false);
  }
  StatementCaching(const StatementCaching&) = delete;
  StatementCaching& operator=(const StatementCaching&) = delete;

 private:
  SqlDatabase& db_;
  bool wasOn_;
};

std::mutex& instanceMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<VelkDBHelper>& sharedInstance() {
  static std::shared_ptr<VelkDBHelper> instance;
  return instance;
}

std::shared_ptr<EntityMapperContext> loadContext(const std::string& configPath) {
  VelkSerializer serializer;
  serializer.loadFromFile(configPath);
  std::shared_ptr<EntityMapperContext> context = serializer.loadEntitiesMapperContext();
  if (context) EntityMapperValidator::checkAndInitEntityDicWithContext(*context);
  return context;
}

using KeyGroups = std::vector<std::pair<const EntityRowMapper*, pf::Array>>;

void addKey(KeyGroups& groups, const EntityRowMapper& mapper, pf::Value key) {
  auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == &mapper; });
  if (group == groups.end()) group = groups.insert(groups.end(), {&mapper, {}});
  group->second.push_back(std::move(key));
}

// DELETE ... IN statements of at most `chunk` keys each; false at the first that fails.
bool deleteKeys(SqlDatabase& db, const EntityRowMapper& mapper, const pf::Array& keys, size_t chunk) {
  for (size_t first = 0; first < keys.size(); first += chunk) {
    const size_t count = std::min(chunk, keys.size() - first);
    SqlBuilder builder(mapper.entity(), SqlBuilder::DeleteAll);
    builder.appendInWithColumnName(*mapper.entity().pkProp->columnName, static_cast<unsigned>(count));
    const pf::Array values(keys.begin() + first, keys.begin() + first + count);
    if (!SqlDatabaseKivExtensions::executeUpdate(db, *builder.content(), nullptr, values)) return false;
  }
  return true;
}

}  // namespace

VelkDBHelper::VelkDBHelper(std::string configPath, std::string dbPath)
    : configPath_(std::move(configPath)), dbPath_(std::move(dbPath)) {
  pf::registerClass<VelkSetting>();
  context_ = loadContext(configPath_);
  if (!context_) return;
  for (const auto& [className, entity] : context_->entityDic) mappers_.try_emplace(className, entity);
}

void VelkDBHelper::initWithConfigPath(const std::string& configPath, const std::string& andDBPath) {
  std::lock_guard lock(instanceMutex());
  if (sharedInstance()) return;
  sharedInstance() = std::make_shared<VelkDBHelper>(configPath, andDBPath);
}

std::shared_ptr<VelkDBHelper> VelkDBHelper::instance() {
  std::lock_guard lock(instanceMutex());
  if (!sharedInstance()) throw pf::ContractViolation(" Init failed, please init with config path first !");
  return sharedInstance();
}

void VelkDBHelper::resetInstance() {
  std::lock_guard lock(instanceMutex());
  sharedInstance().reset();
}

unsigned VelkDBHelper::typeCodeFromDBTypeText(const std::optional<std::string>& dbType) {
  return EntityMapperValidator::typeCodeFromDBTypeText(dbType);
}

// ---- Mapping

const EntityRowMapper& VelkDBHelper::mapperFor(const std::string& className) const {
  const auto found = mappers_.find(className);
  if (found == mappers_.end())
    throw pf::ContractViolation(pf::format("Can not found class with name: %@", className));
  return found->second;
}

const EntityRowMapper& VelkDBHelper::mapperOf(const pf::Value& object, const char* nilMessage) const {
  if (!object.isObject()) throw pf::ContractViolation(nilMessage);
  return mapperFor(object.object()->className());
}

pf::Array VelkDBHelper::readResultSet(SqlResultSet& rs, const std::string& forClass) const {
  const unsigned typeCode = ReflectionUtil::typeCodeForTypeName(forClass);
  if (typeCode != TypeCode::Object) return EntityRowMapper::readValues(rs, typeCode);
  return mapperFor(forClass).readObjects(rs);
}

// ---- Database file

bool VelkDBHelper::createDatabase() {
  VelkDBConnection connection(*this);
  for (const auto& [className, mapper] : mappers_) {
    if (mapper.entity().resultMapOnly) continue;
    if (!connection.db().executeUpdate(mapper.sql(SqlBuilder::CreateTable))) {
      throw pf::ContractViolation(pf::format("Table %@ create failed with error: %@! ",
                                             *mapper.entity().tableName, connection.db().lastErrorMessage()));
    }
  }
  forEachIndex([&](const DataEntity& entity, const DataIndex& index) {
    if (!connection.db().executeUpdate(SqlBuilder::createIndex(entity, index))) {
      throw pf::ContractViolation(pf::format("Index %@ create failed with error: %@! ", *index.name,
                                             connection.db().lastErrorMessage()));
    }
  });
  return true;
}

bool VelkDBHelper::createIndexes() {
  VelkDBConnection connection(*this);
  bool made = true;
  forEachIndex([&](const DataEntity& entity, const DataIndex& index) {
    made = connection.db().executeUpdate(SqlBuilder::createIndex(entity, index)) && made;
  });
  return made;
}

void VelkDBHelper::forEachIndex(const std::function<void(const DataEntity&, const DataIndex&)>& visit) const {
  for (const auto& [className, mapper] : mappers_) {
    if (mapper.entity().resultMapOnly) continue;
    for (const auto& index : mapper.entity().indexes) visit(mapper.entity(), *index);
  }
}

bool VelkDBHelper::isDatabaseExist() const {
  std::error_code error;
  return std::filesystem::is_regular_file(dbPath_, error);
}

bool VelkDBHelper::removeDatabase() {
  std::error_code error;
  const bool removed = std::filesystem::remove(dbPath_, error);
  for (const char* suffix : {"-wal", "-shm", "-journal"}) std::filesystem::remove(dbPath_ + suffix, error);
  return removed;
}

float VelkDBHelper::dbVersion() const {
  return context_ ? context_->version : 0;
}

bool VelkDBHelper::updateSchema() {
  return false;
}

// ---- Single objects

bool VelkDBHelper::insertObject(const pf::ObjectPtr& object) {
  const EntityRowMapper& mapper = mapperOf(pf::Value(object), "Can not insert nil object!");
  return executeUpdate(mapper.sql(SqlBuilder::Insert), mapper.arguments(*object));
}

bool VelkDBHelper::saveObject(const pf::ObjectPtr& object) {
  const EntityRowMapper& mapper = mapperOf(pf::Value(object), "Can not insert nil object!");
  mapper.fillGeneratedKey(*object);
  return insertObject(object);
}

bool VelkDBHelper::saveOrUpdateObject(const pf::ObjectPtr& object) {
  const EntityRowMapper& mapper = mapperOf(pf::Value(object), "Can not saveOrUpdate nil object!");
  mapper.fillGeneratedKey(*object);
  return executeUpdate(mapper.sql(SqlBuilder::InsertOrReplace), mapper.arguments(*object));
}

bool VelkDBHelper::updateObject(const pf::ObjectPtr& object) {
  const EntityRowMapper& mapper = mapperOf(pf::Value(object), "Can not update nil object!");
  return executeUpdate(mapper.sql(SqlBuilder::UpdateByKey), mapper.updateArguments(*object));
}

bool VelkDBHelper::deleteObject(const pf::ObjectPtr& object) {
  const EntityRowMapper& mapper = mapperOf(pf::Value(object), "Can not delete nil object!");
  return deleteObject(object->className(), mapper.keyValue(*object));
}

bool VelkDBHelper::deleteObject(const std::string& className, const pf::Value& withId) {
  if (withId.isNil()) throw pf::ContractViolation("Delete id can not be nil object!");
  return executeUpdate(mapperFor(className).sql(SqlBuilder::DeleteByKey), {withId});
}

// ---- Queries and statements

pf::ObjectPtr VelkDBHelper::queryForObject(const std::string& className, const pf::Value& withId) {
  return queryForObject(className, mapperFor(className).sql(SqlBuilder::QueryByKey), {withId}).object();
}

pf::Array VelkDBHelper::queryForList(const std::string& className, const std::string& sql,
                                     const pf::Array& args) {
  // An unmapped class is a fault of the caller, told before any SQL runs.
  if (ReflectionUtil::typeCodeForTypeName(className) == TypeCode::Object) mapperFor(className);
  VelkDBConnection connection(*this);
  std::shared_ptr<SqlResultSet> rs = SqlDatabaseKivExtensions::executeQuery(connection.db(), sql, args);
  return rs ? readResultSet(*rs, className) : pf::Array{};
}

pf::Value VelkDBHelper::queryForObject(const std::string& className, const std::string& sql,
                                       const pf::Array& args) {
  pf::Array list = queryForList(className, sql, args);
  return list.empty() ? pf::Value() : std::move(list.front());
}

pf::Value VelkDBHelper::queryForSingleResult(unsigned typeCode, const std::string& sql,
                                             const pf::Array& args) {
  if (typeCode >= TypeCode::Dictionary)
    throw pf::ContractViolation("Expected typeCode must be foundation TypeCode");
  VelkDBConnection connection(*this);
  std::shared_ptr<SqlResultSet> rs = SqlDatabaseKivExtensions::executeQuery(connection.db(), sql, args);
  if (!rs) return {};
  if (rs->columnCount() > 1) throw pf::ContractViolation("Query for too much fields!");
  const pf::Array values = EntityRowMapper::readValues(*rs, typeCode);
  if (values.size() > 1) throw pf::ContractViolation("Fetch record count more than one!");
  if (values.empty() || values.front().isNull()) return {};
  return values.front();
}

pf::Array VelkDBHelper::queryForAll(const std::string& className) {
  return queryForList(className, mapperFor(className).sql(SqlBuilder::QueryAll));
}

bool VelkDBHelper::deleteForAll(const std::string& className) {
  return executeUpdate(mapperFor(className).sql(SqlBuilder::DeleteAll));
}

bool VelkDBHelper::executeUpdate(const std::string& sql, const pf::Array& args) {
  VelkDBConnection connection(*this);
  return SqlDatabaseKivExtensions::executeUpdate(connection.db(), sql, nullptr, args);
}

// ---- Batches

bool VelkDBHelper::insertObjectsUseBatch(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not insert batch objects with nil array obj!");
  return writeEach(*objects, SqlBuilder::Insert, "Can not insert nil object!");
}

bool VelkDBHelper::updateObjectsUseBatch(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not update batch objects with nil or empty array!");
  return writeEach(*objects, SqlBuilder::UpdateByKey, "Can not update nil object!");
}

bool VelkDBHelper::writeEach(const pf::Array& objects, unsigned sqlCode, const char* nilMessage) {
  if (objects.empty()) return true;
  struct Row {
    const EntityRowMapper* mapper;
    const pf::Object* object;
    const std::string* sql;
  };
  std::vector<Row> pending;
  pending.reserve(objects.size());
  for (const pf::Value& object : objects) {
    const EntityRowMapper& mapper = mapperOf(object, nilMessage);
    pending.push_back({&mapper, object.object().get(), &mapper.sql(sqlCode)});
  }
  VelkDBConnection connection(*this);
  SqlDatabase& db = connection.db();
  // The statement of a class is prepared once and reused for each of its rows.
  const StatementCaching caching(db);
  bool written = true;
  const bool ended = connection.inTransaction([&](bool& rollback) {
    for (const Row& row : pending) {
      const pf::Array args = sqlCode == SqlBuilder::UpdateByKey ? row.mapper->updateArguments(*row.object)
                                                                : row.mapper->arguments(*row.object);
      written = SqlDatabaseKivExtensions::executeUpdate(db, *row.sql, nullptr, args);
      if (!written) break;
    }
    rollback = !written;
  });
  return written && ended;
}

bool VelkDBHelper::deleteObjectsUseBatch(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not delete batch objects with nil or empty array!");
  if (objects->empty()) return true;
  KeyGroups groups;
  for (const pf::Value& object : *objects) {
    const EntityRowMapper& mapper = mapperOf(object, "Can not delete nil object!");
    pf::Value key = mapper.keyValue(*object.object());
    if (key.isNil()) throw pf::ContractViolation("Delete id can not be nil object!");
    addKey(groups, mapper, std::move(key));
  }
  VelkDBConnection connection(*this);
  const size_t chunk = static_cast<size_t>(std::max(1, connection.maxArguments()));
  bool deleted = true;
  const bool ended = connection.inTransaction([&](bool& rollback) {
    for (const auto& [mapper, keys] : groups) {
      deleted = deleteKeys(connection.db(), *mapper, keys, chunk);
      if (!deleted) break;
    }
    rollback = !deleted;
  });
  return deleted && ended;
}

// ---- Transactions and queue mode

bool VelkDBHelper::onQueueConnection(bool (SqlDatabase::*operation)()) {
  if (!VelkDBConnection::inQueueMode(*this)) return false;
  VelkDBConnection connection(*this);
  return (connection.db().*operation)();
}

bool VelkDBHelper::beginTransaction() {
  return onQueueConnection(&SqlDatabase::beginTransaction);
}

bool VelkDBHelper::commit() {
  return onQueueConnection(&SqlDatabase::commit);
}

bool VelkDBHelper::rollback() {
  return onQueueConnection(&SqlDatabase::rollback);
}

bool VelkDBHelper::queueInDatabase(const QueueBlock& block) {
  if (VelkDBConnection::inQueueMode(*this)) {
    block(*this);
    return true;
  }
  std::shared_ptr<SqlDatabaseQueue> queue = SqlDatabaseQueue::databaseQueueWithPath(dbPath_);
  if (!queue) return false;
  queue->inDatabase([&](const std::shared_ptr<SqlDatabase>& db) {
    if (db) VelkDBConnection::prepare(*db, *this);
    VelkDBConnection::QueueMode queueMode(*this, db);
    block(*this);
  });
  queue->close();
  return true;
}

bool VelkDBHelper::queueInTransaction(const TransactionBlock& block) {
  bool ended = false;
  const bool ran = queueInDatabase([&](VelkDBHelper& db) {
    VelkDBConnection connection(db);
    // A transaction repeats its statements row after row: each is prepared once for all of them.
    const StatementCaching caching(connection.db());
    ended = connection.inTransaction([&](bool& rollback) { block(db, rollback); });
  });
  return ran && ended;
}

bool VelkDBHelper::tableExists(const std::string& tableName) {
  VelkDBConnection connection(*this);
  return connection.db().tableExists(tableName);
}

bool VelkDBHelper::columnExists(const std::string& columnName, const std::string& inTableWithName) {
  VelkDBConnection connection(*this);
  return connection.db().columnExists(columnName, inTableWithName);
}

// ---- Relations

bool VelkDBHelper::writeGraphs(const pf::Array& objects,
                               bool (EntityRelationWriter::*write)(const pf::ObjectPtr&),
                               const char* nilMessage) {
  // Faults of the caller are told before any SQL runs.
  for (const pf::Value& object : objects) mapperOf(object, nilMessage);
  if (objects.empty()) return true;
  bool written = true;
  const bool ended = queueInTransaction([&](VelkDBHelper& db, bool& rollback) {
    EntityRelationWriter writer(db);
    for (const pf::Value& object : objects) {
      written = (writer.*write)(object.object());
      if (!written) break;
    }
    rollback = !written;
  });
  return written && ended;
}

bool VelkDBHelper::insertObjectWithRelations(const pf::ObjectPtr& object) {
  return writeGraphs({pf::Value(object)}, &EntityRelationWriter::insert, "Can not insert nil object!");
}

bool VelkDBHelper::insertObjectsWithRelations(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not insert batch objects with nil array obj!");
  return writeGraphs(*objects, &EntityRelationWriter::insert, "Can not insert nil object!");
}

bool VelkDBHelper::updateObjectWithRelations(const pf::ObjectPtr& object) {
  return writeGraphs({pf::Value(object)}, &EntityRelationWriter::update, "Can not update nil object!");
}

bool VelkDBHelper::updateObjectsWithRelations(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not update batch objects with nil or empty array!");
  return writeGraphs(*objects, &EntityRelationWriter::update, "Can not update nil object!");
}

bool VelkDBHelper::deleteObjectWithRelations(const pf::ObjectPtr& object) {
  return writeGraphs({pf::Value(object)}, &EntityRelationWriter::remove, "Can not delete nil object!");
}

bool VelkDBHelper::deleteObjectsWithRelations(const pf::ArrayPtr& objects) {
  if (!objects) throw pf::ContractViolation("Can not delete batch objects with nil or empty array!");
  return writeGraphs(*objects, &EntityRelationWriter::remove, "Can not delete nil object!");
}

bool VelkDBHelper::executeUpdateWithReleation(const pf::Value& objectOrArray) {
  if (objectOrArray.isArray()) return updateObjectsWithRelations(objectOrArray.array());
  return updateObjectWithRelations(objectOrArray.object());
}

// ---- Schema

std::optional<pf::Array> VelkDBHelper::readRows(
    const std::function<std::shared_ptr<SqlResultSet>(SqlDatabase&)>& query) {
  VelkDBConnection connection(*this);
  std::shared_ptr<SqlResultSet> rs = query(connection.db());
  if (!rs) return std::nullopt;
  pf::Array rows;
  while (rs->next()) rows.push_back(pf::Value(rs->resultDictionary()));
  rs->close();
  return rows;
}

std::optional<pf::Array> VelkDBHelper::getSchema() {
  return readRows([](SqlDatabase& db) { return db.getSchema(); });
}

std::optional<pf::Array> VelkDBHelper::getTableSchema(const std::string& tableName) {
  return readRows([&](SqlDatabase& db) { return db.getTableSchema(tableName); });
}

// ---- Settings

bool VelkDBHelper::setValue(const std::optional<std::string>& value, const std::string& forSettingKey) {
  return saveOrUpdateObject(VelkSetting::settingWithKey(forSettingKey, value));
}

std::optional<std::string> VelkDBHelper::valueForSettingKey(const std::string& key) {
  const auto setting = std::dynamic_pointer_cast<VelkSetting>(queryForObject(VelkSetting::kClassName, key));
  return setting ? setting->value : std::nullopt;
}
