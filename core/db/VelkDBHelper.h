#pragma once
// The object store: the application's only way to its local SQLite database. It maps objects of the
// classes named in the mapping file to table rows, runs the application's own SQL with "?" arguments
// (one value per mark, a nil value binds NULL) and turns result rows back into objects or plain values.
// Classes are named by their runtime class name; Foundation value names ("NSString", "NSNumber",
// "NSDate") make queries answer column 0 as plain values. Contract faults (an unmapped class, a nil
// object, a store used before initialisation) throw ContractViolation with their fixed message; SQL
// failures answer false, nil or an empty list.
//
// Threads: any thread may call any operation. Outside queue mode each operation opens, uses and closes a
// connection of its own. queueInDatabase puts only the calling thread into queue mode, in which that
// thread's operations share the block's connection; other threads keep their own meanwhile. Writers on
// different connections wait for each other through SQLite's busy handling.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/db/EntityMapperContext.h"
#include "core/db/EntityRowMapper.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Object.h"

class EntityRelationWriter;
class SqlDatabase;
class SqlResultSet;

class VelkDBHelper {
 public:
  using QueueBlock = std::function<void(VelkDBHelper& db)>;
  using TransactionBlock = std::function<void(VelkDBHelper& db, bool& rollback)>;

  // A store of its own for one mapping file and database file. The application uses the process-wide
  // store of initWithConfigPath; tests and tools may make their own. A mapping file that cannot be read
  // gives a store without classes; a faulty mapping throws ContractViolation.
  VelkDBHelper(std::string configPath, std::string dbPath);
  VelkDBHelper(const VelkDBHelper&) = delete;
  VelkDBHelper& operator=(const VelkDBHelper&) = delete;

  // Makes the process-wide store; once it exists, later calls are ignored.
  static void initWithConfigPath(const std::string& configPath, const std::string& andDBPath);
  static std::shared_ptr<VelkDBHelper> instance();
  // Forgets the process-wide store, so that the next initWithConfigPath makes a new one: for tests
  // that start the application more than once. Holders of the old store keep it.
  static void resetInstance();
  static unsigned typeCodeFromDBTypeText(const std::optional<std::string>& dbType);

  const std::string& configPath() const { return configPath_; }
  const std::string& dbPath() const { return dbPath_; }
  // Trace every statement / log every SQL error of the connections the store opens.
  bool showSql() const { return showSql_; }
  void setShowSql(bool value) { showSql_ = value; }
  bool showError() const { return showError_; }
  void setShowError(bool value) { showError_ = value; }
  // The mapping model; null when the mapping file could not be read.
  std::shared_ptr<const EntityMapperContext> context() const { return context_; }

  // Creates every mapped table with its indexes, for a database file that does not exist yet; a table or
  // index that cannot be created is a contract fault.
  bool createDatabase();
  // Creates the mapped indexes that the database lacks, for one made before they were declared. False
  // when one cannot be made (the others are made all the same).
  bool createIndexes();
  bool isDatabaseExist() const;
  bool removeDatabase();
  float dbVersion() const;
  // The schema-upgrade hook: does nothing and answers false.
  bool updateSchema();

  bool insertObject(const pf::ObjectPtr& object);
  // Fill a nil "VARCHAR(32)" key with a new key first.
  bool saveObject(const pf::ObjectPtr& object);
  bool saveOrUpdateObject(const pf::ObjectPtr& object);
  bool updateObject(const pf::ObjectPtr& object);
  bool deleteObject(const pf::ObjectPtr& object);
  bool deleteObject(const std::string& className, const pf::Value& withId);

  // The stored object of that key, or null.
  pf::ObjectPtr queryForObject(const std::string& className, const pf::Value& withId);
  // Objects of the class, or plain values for a Foundation class; empty when the query fails.
  pf::Array queryForList(const std::string& className, const std::string& sql, const pf::Array& args = {});
  // The first element of queryForList, or nil.
  pf::Value queryForObject(const std::string& className, const std::string& sql, const pf::Array& args);
  // The one value of a one-column query read by a Foundation type code; nil for no row or NULL. More
  // columns or rows, or a code of 200 or more, are contract faults.
  pf::Value queryForSingleResult(unsigned typeCode, const std::string& sql, const pf::Array& args = {});
  pf::Array queryForAll(const std::string& className);
  bool deleteForAll(const std::string& className);
  bool executeUpdate(const std::string& sql, const pf::Array& args = {});

  // All or nothing, in one transaction. A nil array is a contract fault; an empty one answers true.
  bool insertObjectsUseBatch(const pf::ArrayPtr& objects);
  bool updateObjectsUseBatch(const pf::ArrayPtr& objects);
  // Deletes by key with IN statements of as many keys as SQLite takes at once.
  bool deleteObjectsUseBatch(const pf::ArrayPtr& objects);
  // The remaining rows of any open result set, mapped as queryForList maps them.
  pf::Array readResultSet(SqlResultSet& rs, const std::string& forClass) const;

  // On the calling thread's queue connection; false outside queue mode, where no connection stays open.
  bool beginTransaction();
  bool commit();
  bool rollback();

  // Runs the block with every store call of this thread on one connection. Nested calls keep the
  // thread's connection. False when the database cannot be opened; the block is then not run.
  bool queueInDatabase(const QueueBlock& block);
  // The same inside one transaction, rolled back when the block sets the flag (a savepoint when nested
  // in a transaction). False when the database cannot be opened or the transaction cannot begin or end.
  bool queueInTransaction(const TransactionBlock& block);

  // Objects with the objects their entity's relations name. A relation (prop, refClass, refProp) says
  // that the property prop holds the related refClass objects (one object or an array), and that each
  // of them keeps this object's key in its property refProp. Each call writes the whole graph in one
  // transaction (a savepoint inside one) and answers false, having written nothing, when any row fails:
  //   insert: the object, then each related object with its refProp set to the object's key;
  //   update: the object; related objects are updated or inserted, and stored ones that the property no
  //           longer holds are deleted with their own related rows;
  //   delete: the stored related rows (found by refProp), with theirs, then the object.
  // A nil object or array, an unmapped class and a relation that names no mapped property are contract
  // faults; an empty array answers true.
  bool insertObjectWithRelations(const pf::ObjectPtr& object);
  bool insertObjectsWithRelations(const pf::ArrayPtr& objects);
  bool updateObjectWithRelations(const pf::ObjectPtr& object);
  bool updateObjectsWithRelations(const pf::ArrayPtr& objects);
  bool deleteObjectWithRelations(const pf::ObjectPtr& object);
  bool deleteObjectsWithRelations(const pf::ArrayPtr& objects);
  // updateObjectWithRelations of one object, or of each object of an array.
  bool executeUpdateWithReleation(const pf::Value& objectOrArray);

  // The database's tables, indexes, views and triggers, one dictionary per item with the keys "type",
  // "name", "tbl_name", "rootpage" and "sql"; nullopt when the database cannot be read.
  std::optional<pf::Array> getSchema();
  // One dictionary per column of the table ("cid", "name", "type", "notnull", "dflt_value", "pk"); empty
  // for a table that does not exist, nullopt when the database cannot be read.
  std::optional<pf::Array> getTableSchema(const std::string& tableName);

  bool tableExists(const std::string& tableName);
  bool columnExists(const std::string& columnName, const std::string& inTableWithName);

  // Rows of the settings table (VelkSetting): storing replaces the row of the same key.
  bool setValue(const std::optional<std::string>& value, const std::string& forSettingKey);
  std::optional<std::string> valueForSettingKey(const std::string& key);

 private:
  friend class VelkDBConnection;

  const EntityRowMapper& mapperFor(const std::string& className) const;
  const EntityRowMapper& mapperOf(const pf::Value& object, const char* nilMessage) const;
  bool writeEach(const pf::Array& objects, unsigned sqlCode, const char* nilMessage);
  bool onQueueConnection(bool (SqlDatabase::*operation)());
  void forEachIndex(const std::function<void(const DataEntity&, const DataIndex&)>& visit) const;
  // Each object's graph, in one transaction; false (nothing written) at the first that fails.
  bool writeGraphs(const pf::Array& objects, bool (EntityRelationWriter::*write)(const pf::ObjectPtr&),
                   const char* nilMessage);
  std::optional<pf::Array> readRows(const std::function<std::shared_ptr<SqlResultSet>(SqlDatabase&)>& query);

  std::string configPath_;
  std::string dbPath_;
  std::atomic<bool> showSql_{false};
  std::atomic<bool> showError_{false};
  std::shared_ptr<const EntityMapperContext> context_;
  std::map<std::string, EntityRowMapper> mappers_;
  // Set once the database file is in write-ahead-log mode.
  mutable std::atomic<bool> journalReady_{false};
};
