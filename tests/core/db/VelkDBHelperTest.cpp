#include "core/db/VelkDBHelper.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/db/VelkDBConnection.h"
#include "core/db/VelkSetting.h"
#include "core/reflect/TypeCode.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"
#include "platform/foundation/Error.h"
#include "tests/core/db/StoreTestFolder.h"

namespace {

using VelkDBHelperTest = StoreTestFolder;

pf::ArrayPtr arrayOf(std::initializer_list<pf::Value> items) {
  return pf::makeArray(items);
}

std::string helperContractMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const pf::ContractViolation& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

std::shared_ptr<StoreCourse> storedCourse(VelkDBHelper& store, const std::string& id) {
  return std::dynamic_pointer_cast<StoreCourse>(store.queryForObject("StoreCourse", pf::Value(id)));
}

TEST_F(VelkDBHelperTest, RoundTripOverEveryDbType) {
  auto full = course("c1", "Fire & 'safety'");
  full->hours = -12;
  full->required = true;
  full->rate = 0.25f;
  full->score = 98.125;
  full->lastModifyTime = pf::Date{1500000000.5};
  full->size = 5000000000LL;
  ASSERT_TRUE(store().insertObject(full));
  ASSERT_TRUE(store().insertObject(course("c2", "")));

  auto read = storedCourse(store(), "c1");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->courseId, "c1");
  EXPECT_EQ(read->title, "Fire & 'safety'");
  EXPECT_EQ(read->hours, -12);
  EXPECT_TRUE(read->required);
  EXPECT_FLOAT_EQ(read->rate, 0.25f);
  EXPECT_DOUBLE_EQ(read->score, 98.125);
  ASSERT_TRUE(read->lastModifyTime);
  EXPECT_DOUBLE_EQ(read->lastModifyTime->seconds, 1500000000.5);
  EXPECT_EQ(read->size, 5000000000LL);

  // An empty text stays empty; NULL columns leave the fresh object's values.
  auto sparse = storedCourse(store(), "c2");
  ASSERT_TRUE(sparse);
  EXPECT_EQ(sparse->title, "");
  EXPECT_FALSE(sparse->lastModifyTime);
  EXPECT_FALSE(sparse->required);
  EXPECT_FALSE(storedCourse(store(), "missing"));
}

TEST_F(VelkDBHelperTest, GeneratedKeyOnlyForNilExactVarchar32) {
  struct Case {
    const char* name;
    std::function<bool(VelkDBHelper&, const pf::ObjectPtr&)> write;
    pf::ObjectPtr object;
    const char* key;
    bool generated;
  };
  auto save = [](VelkDBHelper& s, const pf::ObjectPtr& o) { return s.saveObject(o); };
  auto saveOrUpdate = [](VelkDBHelper& s, const pf::ObjectPtr& o) { return s.saveOrUpdateObject(o); };
  auto insert = [](VelkDBHelper& s, const pf::ObjectPtr& o) { return s.insertObject(o); };
  auto batch = [](VelkDBHelper& s, const pf::ObjectPtr& o) { return s.insertObjectsUseBatch(arrayOf({o})); };
  auto lowerCaseKey = std::make_shared<StoreRecord>();
  const std::vector<Case> cases = {
      {"save, nil key", save, course(std::nullopt, "a"), "courseId", true},
      {"saveOrUpdate, nil key", saveOrUpdate, course(std::nullopt, "b"), "courseId", true},
      {"save, empty key", save, course("", "c"), "courseId", false},
      {"insert, nil key", insert, course(std::nullopt, "d"), "courseId", false},
      {"batch insert, nil key", batch, course(std::nullopt, "e"), "courseId", false},
      {"save, varchar(32) in lower case", save, lowerCaseKey, "sid", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const pf::Value before = c.object->valueForKey(c.key);
    c.write(store(), c.object);
    const pf::Value key = c.object->valueForKey(c.key);
    if (c.generated) {
      ASSERT_TRUE(key.isString());
      EXPECT_EQ(key.string()->size(), 32u);
      EXPECT_EQ(key.string()->find_first_not_of("0123456789ABCDEF"), std::string::npos);
      EXPECT_TRUE(storedCourse(store(), *key.string()));
    } else {
      EXPECT_EQ(key, before);
    }
  }
  EXPECT_TRUE(storedCourse(store(), "")) << "an empty key is stored as it is";
}

TEST_F(VelkDBHelperTest, SaveOrUpdateTwiceOverwritesOneRow) {
  auto c = course(std::nullopt, "first");
  ASSERT_TRUE(store().saveOrUpdateObject(c));
  const std::string key = *c->courseId;
  c->title = "second";
  ASSERT_TRUE(store().saveOrUpdateObject(c));
  EXPECT_EQ(*c->courseId, key);
  EXPECT_EQ(count("course_info"), 1);
  EXPECT_EQ(storedCourse(store(), key)->title, "second");
  EXPECT_FALSE(store().saveObject(c)) << "a plain insert of the same key fails";
}

TEST_F(VelkDBHelperTest, UpdateDeleteAndWholeTable) {
  auto c1 = course("c1", "one");
  ASSERT_TRUE(store().insertObject(c1));
  ASSERT_TRUE(store().insertObject(course("c2", "two")));
  ASSERT_TRUE(store().insertObject(course("c3", "three")));

  c1->title = "uno";
  c1->hours = 3;
  ASSERT_TRUE(store().updateObject(c1));
  EXPECT_EQ(storedCourse(store(), "c1")->title, "uno");
  EXPECT_EQ(storedCourse(store(), "c1")->hours, 3);

  ASSERT_TRUE(store().deleteObject(c1));
  ASSERT_TRUE(store().deleteObject("StoreCourse", pf::Value("c2")));
  const pf::Array rest = store().queryForAll("StoreCourse");
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(rest[0].objectAs<StoreCourse>()->courseId, "c3");

  ASSERT_TRUE(store().deleteForAll("StoreCourse"));
  EXPECT_TRUE(store().queryForAll("StoreCourse").empty());
  EXPECT_FALSE(store().executeUpdate("delete from no_such_table"));
  EXPECT_TRUE(store().executeUpdate("insert into study_record values (?, ?, ?)", {"r1", pf::Value(), 0.5}));
  EXPECT_EQ(store().queryForSingleResult(TypeCode::Number,
                                         "select count(*) from study_record where course_id is null"),
            pf::Value(1LL));
}

TEST_F(VelkDBHelperTest, BatchesAreAllOrNothing) {
  EXPECT_FALSE(
      store().insertObjectsUseBatch(arrayOf({course("a", "1"), course("b", "2"), course("a", "3")})));
  EXPECT_EQ(count("course_info"), 0);

  ASSERT_TRUE(store().insertObjectsUseBatch(arrayOf({course("a", "1"), course("b", "2"), course("c", "3")})));
  EXPECT_EQ(count("course_info"), 3);
  ASSERT_TRUE(store().updateObjectsUseBatch(arrayOf({course("a", "x"), course("c", "z")})));
  EXPECT_EQ(storedCourse(store(), "a")->title, "x");
  EXPECT_EQ(storedCourse(store(), "b")->title, "2");
  EXPECT_EQ(storedCourse(store(), "c")->title, "z");

  // Mixed classes each go to their own table.
  ASSERT_TRUE(store().insertObject(record("r1")));
  ASSERT_TRUE(store().deleteObjectsUseBatch(arrayOf({course("a", ""), record("r1"), course("c", "")})));
  EXPECT_EQ(count("course_info"), 1);
  EXPECT_EQ(count("study_record"), 0);
}

TEST_F(VelkDBHelperTest, EmptyBatchesAnswerYesWithoutTouchingTheDatabase) {
  ASSERT_TRUE(store().removeDatabase());
  EXPECT_TRUE(store().insertObjectsUseBatch(std::make_shared<pf::Array>()));
  EXPECT_TRUE(store().updateObjectsUseBatch(std::make_shared<pf::Array>()));
  EXPECT_TRUE(store().deleteObjectsUseBatch(std::make_shared<pf::Array>()));
  EXPECT_FALSE(store().isDatabaseExist()) << "no connection was opened";
}

// A connection of the test's own, lent to the store's operations on this thread.
std::shared_ptr<SqlDatabase> openConnection(const std::string& path) {
  auto db = SqlDatabase::databaseWithPath(path);
  EXPECT_TRUE(db->open());
  return db;
}

TEST_F(VelkDBHelperTest, BatchDeleteBeyondTheArgumentLimit) {
  // More keys than one statement of the connection may take: the delete is split.
  auto db = openConnection(dbPath());
  sqlite3_limit(db->sqliteHandle(), SQLITE_LIMIT_VARIABLE_NUMBER, 10);
  VelkDBConnection::QueueMode lent(store(), db);
  constexpr int kRows = 36;
  auto records = std::make_shared<pf::Array>();
  for (int i = 0; i < kRows; ++i) records->push_back(record("r" + std::to_string(i)));
  ASSERT_TRUE(store().insertObjectsUseBatch(records));
  records->pop_back();
  ASSERT_TRUE(store().deleteObjectsUseBatch(records));
  EXPECT_EQ(count("study_record"), 1);
  EXPECT_EQ(store().queryForSingleResult(TypeCode::String, "select sid from study_record"), pf::Value("r35"));
}

// Every write of a batch succeeds but the commit does not: the store answers NO, keeps what was stored
// before, and leaves no transaction open behind it.
TEST_F(VelkDBHelperTest, ABatchWhoseCommitFailsAnswersNoAndStoresNothing) {
  ASSERT_TRUE(store().insertObjectsUseBatch(arrayOf({course("a", "1"), course("b", "2")})));
  auto db = openConnection(dbPath());
  bool refuse = true;
  sqlite3_commit_hook(
      db->sqliteHandle(), [](void* refusing) { return *static_cast<bool*>(refusing) ? 1 : 0; }, &refuse);
  VelkDBConnection::QueueMode lent(store(), db);
  const std::pair<const char*, std::function<bool()>> batches[] = {
      {"insert", [&] { return store().insertObjectsUseBatch(arrayOf({course("c", "3")})); }},
      {"update", [&] { return store().updateObjectsUseBatch(arrayOf({course("a", "changed")})); }},
      {"delete", [&] { return store().deleteObjectsUseBatch(arrayOf({course("b", "")})); }},
  };
  for (const auto& [name, batch] : batches) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(batch());
    EXPECT_TRUE(sqlite3_get_autocommit(db->sqliteHandle())) << "no transaction is left open";
    EXPECT_EQ(count("course_info"), 2);
    EXPECT_EQ(storedCourse(store(), "a")->title, "1");
  }
  refuse = false;
  EXPECT_TRUE(store().insertObjectsUseBatch(arrayOf({course("c", "3")})));
  EXPECT_EQ(count("course_info"), 3);
}

TEST_F(VelkDBHelperTest, RemovingTheDatabaseRemovesItsLogFiles) {
  ASSERT_TRUE(store().insertObject(course("a", "1")));
  // While a connection is open, the write-ahead log and its index sit next to the database.
  auto db = openConnection(dbPath());
  ASSERT_TRUE(db->executeUpdate("insert into course_info (id, title) values ('b', '2')"));
  for (const char* suffix : {"-wal", "-shm"})
    ASSERT_TRUE(std::filesystem::exists(dbPath() + suffix)) << suffix;
  std::ofstream(dbPath() + "-journal") << "left by a crash";

  ASSERT_TRUE(store().removeDatabase());
  db->close();
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    EXPECT_FALSE(std::filesystem::exists(dbPath() + suffix)) << suffix;
  }
  // A new database starts empty: nothing of the old log is replayed into it.
  ASSERT_TRUE(store().createDatabase());
  EXPECT_EQ(count("course_info"), 0);
}

TEST_F(VelkDBHelperTest, ContractFaultsCarryTheirMessages) {
  const pf::ObjectPtr none;
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { store().insertObject(none); }, "Can not insert nil object!"},
      {[&] { store().saveObject(none); }, "Can not insert nil object!"},
      {[&] { store().saveOrUpdateObject(none); }, "Can not saveOrUpdate nil object!"},
      {[&] { store().updateObject(none); }, "Can not update nil object!"},
      {[&] { store().deleteObject(none); }, "Can not delete nil object!"},
      {[&] { store().deleteObject(course(std::nullopt, "")); }, "Delete id can not be nil object!"},
      {[&] { store().deleteObject("StoreCourse", pf::Value()); }, "Delete id can not be nil object!"},
      {[&] { store().insertObjectsUseBatch(nullptr); }, "Can not insert batch objects with nil array obj!"},
      {[&] { store().updateObjectsUseBatch(nullptr); },
       "Can not update batch objects with nil or empty array!"},
      {[&] { store().deleteObjectsUseBatch(nullptr); },
       "Can not delete batch objects with nil or empty array!"},
      {[&] {
         store().insertObjectsUseBatch(arrayOf({course("a", ""), pf::Value()}));
       },
       "Can not insert nil object!"},
      {[&] { store().insertObject(std::make_shared<StoreUnmapped>()); },
       "Can not found class with name: StoreUnmapped"},
      {[&] { store().queryForList("NoSuchClass", "select 1"); },
       "Can not found class with name: NoSuchClass"},
      {[&] { store().queryForSingleResult(TypeCode::Dictionary, "select 1"); },
       "Expected typeCode must be foundation TypeCode"},
      {[&] { store().queryForSingleResult(TypeCode::Number, "select 1, 2"); }, "Query for too much fields!"},
      {[&] { store().queryForSingleResult(TypeCode::Number, "select 1 union all select 2"); },
       "Fetch record count more than one!"},
      {[&] { store().createDatabase(); },
       "Table course_info create failed with error: table course_info already exists! "},
      {[&] { store().insertObject(std::make_shared<StoreCourseView>()); }, "Entity must have table name"},
  };
  for (const auto& [call, message] : cases) EXPECT_EQ(helperContractMessage(call), message);
  EXPECT_EQ(count("course_info"), 0) << "nothing was written by a refused call";
}

TEST_F(VelkDBHelperTest, SingleResults) {
  ASSERT_TRUE(store().insertObject(course("c1", "one")));
  struct Case {
    const char* sql;
    unsigned typeCode;
    pf::Value expected;
  };
  const std::vector<Case> cases = {
      {"select count(*) from study_record", TypeCode::Number, pf::Value(0LL)},
      {"select title from course_info where id = 'none'", TypeCode::String, pf::Value()},
      {"select last_modify_time from course_info", TypeCode::Date, pf::Value()},
      {"select title from course_info", TypeCode::String, pf::Value("one")},
      {"select 1500000000.5", TypeCode::Date, pf::Value(pf::Date{1500000000.5})},
      {"select hours from course_info", TypeCode::Int, pf::Value(0LL)},
  };
  for (const Case& c : cases) EXPECT_EQ(store().queryForSingleResult(c.typeCode, c.sql), c.expected) << c.sql;
}

TEST_F(VelkDBHelperTest, RowsMapByColumnNameAfterTheFirstDot) {
  auto c1 = course("c1", "one");
  c1->hours = 4;
  c1->lastModifyTime = pf::Date{100};
  ASSERT_TRUE(store().insertObject(c1));
  ASSERT_TRUE(store().insertObject(course("c2", "two")));
  auto r = record("r1");
  r->studyRate = 0.5f;
  ASSERT_TRUE(store().insertObject(r));

  const pf::Array views = store().queryForList(
      "StoreCourseView",
      "select ci.id as course_id, ci.title as \"CI.Title\", ci.hours, csr.study_rate as \"csr.study_rate\", "
      "ci.last_modify_time, 'x' as unmapped from course_info ci left join study_record csr on csr.course_id "
      "= ci.id "
      "where ci.id like ? order by ci.id",
      {"c%"});
  ASSERT_EQ(views.size(), 2u);
  auto first = views[0].objectAs<StoreCourseView>();
  EXPECT_EQ(first->courseId, "c1");
  EXPECT_EQ(first->title, "one");
  EXPECT_EQ(first->hours, 4);
  EXPECT_FLOAT_EQ(first->studyRate, 0.5f);
  EXPECT_EQ(first->lastModifyTime, pf::Date{100});
  auto second = views[1].objectAs<StoreCourseView>();
  EXPECT_EQ(second->title, "two");
  EXPECT_EQ(second->hours, 0) << "an integer 0 is a value, not NULL";
  EXPECT_FLOAT_EQ(second->studyRate, 0) << "NULL keeps the initial value";
  EXPECT_FALSE(second->lastModifyTime);

  const pf::Array nulls = store().queryForList("StoreCourseView", "select null as hours, null as title");
  ASSERT_EQ(nulls.size(), 1u);
  EXPECT_EQ(nulls[0].objectAs<StoreCourseView>()->hours, 7);
  EXPECT_FALSE(nulls[0].objectAs<StoreCourseView>()->title);
}

TEST_F(VelkDBHelperTest, FoundationClassesAnswerColumnZero) {
  auto c1 = course("c1", "one");
  c1->lastModifyTime = pf::Date{42.5};
  ASSERT_TRUE(store().insertObject(c1));
  ASSERT_TRUE(store().insertObject(course("c2", "two")));
  ASSERT_TRUE(store().executeUpdate("update course_info set title = null where id = 'c2'"));

  const std::string byId = " from course_info order by id";
  EXPECT_EQ(store().queryForList("NSString", "select title" + byId), (pf::Array{"one", pf::Null{}}));
  EXPECT_EQ(store().queryForList("NSNumber", "select hours, title" + byId), (pf::Array{0LL, 0LL}));
  EXPECT_EQ(store().queryForList("NSDate", "select last_modify_time" + byId),
            (pf::Array{pf::Date{42.5}, pf::Null{}}));
  EXPECT_TRUE(store().queryForList("NSString", "select title from no_such_table").empty());

  EXPECT_EQ(store().queryForObject("NSString", "select title" + byId, {}), pf::Value("one"));
  EXPECT_TRUE(
      store().queryForObject("NSString", "select title from course_info where id = ?", {"zz"}).isNil());
  const pf::Value object =
      store().queryForObject("StoreCourse", "select * from course_info where id = ?", {"c2"});
  EXPECT_EQ(object.objectAs<StoreCourse>()->courseId, "c2");
}

TEST_F(VelkDBHelperTest, ReadResultSetOfAnyConnection) {
  ASSERT_TRUE(store().insertObject(course("c1", "one")));
  auto db = SqlDatabase::databaseWithPath(dbPath());
  ASSERT_TRUE(db->open());
  std::shared_ptr<SqlResultSet> rs = db->executeQuery("select * from course_info");
  ASSERT_TRUE(rs);
  const pf::Array rows = store().readResultSet(*rs, "StoreCourse");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].objectAs<StoreCourse>()->title, "one");
}

TEST_F(VelkDBHelperTest, DatabaseFileAndSchema) {
  EXPECT_TRUE(store().isDatabaseExist());
  EXPECT_FLOAT_EQ(store().dbVersion(), 1.5f);
  EXPECT_TRUE(store().tableExists("COURSE_INFO"));
  EXPECT_TRUE(store().columnExists("last_modify_time", "course_info"));
  EXPECT_FALSE(store().columnExists("nope", "course_info"));
  EXPECT_FALSE(store().updateSchema());
  EXPECT_EQ(VelkDBHelper::typeCodeFromDBTypeText("int(11)"), TypeCode::Int);

  ASSERT_TRUE(store().removeDatabase());
  EXPECT_FALSE(store().isDatabaseExist());
  EXPECT_FALSE(store().removeDatabase());
}

// How SQLite finds the study records of a course.
std::string planOfCourseLookup(const std::string& path) {
  auto db = openConnection(path);
  auto rs = db->executeQuery("explain query plan select sid from study_record where course_id = 'c1'");
  return rs && rs->next() ? rs->stringForColumn("detail").value_or("") : "";
}

// The mapped index comes with its table; a database made before it was declared gets it from
// createIndexes, as often as that runs.
TEST_F(VelkDBHelperTest, MappedIndexesOnNewAndEarlierDatabases) {
  EXPECT_EQ(store().queryForList("NSString",
                                 "select name from sqlite_master where type = 'index' and sql is not null"),
            (pf::Array{pf::Value("study_record_course")}));
  EXPECT_EQ(planOfCourseLookup(dbPath()),
            "SEARCH study_record USING INDEX study_record_course (course_id=?)");

  ASSERT_TRUE(store().executeUpdate("drop index study_record_course"));
  EXPECT_EQ(planOfCourseLookup(dbPath()), "SCAN study_record");
  for (int run = 0; run < 2; ++run) {
    EXPECT_TRUE(store().createIndexes()) << run;
    EXPECT_EQ(planOfCourseLookup(dbPath()),
              "SEARCH study_record USING INDEX study_record_course (course_id=?)");
  }
}

TEST_F(VelkDBHelperTest, SettingsRows) {
  EXPECT_EQ(store().valueForSettingKey("db_version"), std::nullopt);
  ASSERT_TRUE(store().setValue("1.0", "db_version"));
  ASSERT_TRUE(store().setValue("1.5", "db_version"));
  ASSERT_TRUE(store().setValue("", "draft"));
  EXPECT_EQ(store().valueForSettingKey("db_version"), "1.5");
  EXPECT_EQ(store().valueForSettingKey("draft"), "");
  EXPECT_EQ(count("settings"), 2);

  const pf::Array rows =
      store().queryForList("VelkSetting", "select * from settings where key = ?", {"db_version"});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].objectAs<VelkSetting>()->value, "1.5");
}

TEST_F(VelkDBHelperTest, ProcessWideStoreIsMadeOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const std::string refused = helperContractMessage([] { VelkDBHelper::instance(); });
        VelkDBHelper::initWithConfigPath(fixture("store_mapping.xml"), dbPath());
        VelkDBHelper::initWithConfigPath(fixture("malformed_mapping.xml"), dbPath() + ".other");
        const bool first =
            VelkDBHelper::instance()->dbPath() == dbPath() && VelkDBHelper::instance()->context() != nullptr;
        std::exit(refused == " Init failed, please init with config path first !" && first ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(VelkDBHelperTest, UnreadableMappingGivesAStoreWithoutClasses) {
  for (const char* name : {"malformed_mapping.xml", "missing.xml"}) {
    VelkDBHelper bare(fixture(name), dbPath());
    EXPECT_FALSE(bare.context());
    EXPECT_TRUE(bare.createDatabase());
    EXPECT_EQ(helperContractMessage([&] { bare.insertObject(course("c1", "")); }),
              "Can not found class with name: StoreCourse");
  }
}

}  // namespace
