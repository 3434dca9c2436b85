// The object store's relation operations and schema reading.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/db/VelkDBHelper.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/Error.h"
#include "tests/core/db/RelationTestClasses.h"
#include "tests/support/TemporaryFolder.h"

namespace {

std::string fixture(const std::string& name) {
  return std::string(MARLUNE_FIXTURES) + "/core/db/store/" + name;
}

std::shared_ptr<RelNote> note(const std::string& nid, const std::string& text = "") {
  auto n = std::make_shared<RelNote>();
  n->nid = nid;
  n->text = text;
  return n;
}

std::shared_ptr<RelRecord> record(const std::string& sid, std::vector<pf::Value> notes = {}) {
  auto r = std::make_shared<RelRecord>();
  r->sid = sid;
  r->notes = std::make_shared<pf::Array>(std::move(notes));
  return r;
}

std::shared_ptr<RelCourse> course(const std::string& id, std::vector<pf::Value> records = {},
                                  std::shared_ptr<RelCover> cover = nullptr) {
  auto c = std::make_shared<RelCourse>();
  c->courseId = id;
  c->title = "title of " + id;
  c->records = std::make_shared<pf::Array>(std::move(records));
  c->cover = std::move(cover);
  return c;
}

std::shared_ptr<RelCover> cover(const std::string& id) {
  auto c = std::make_shared<RelCover>();
  c->coverId = id;
  c->url = "https://pictures.example/" + id;
  return c;
}

std::string contractMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const pf::ContractViolation& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

class VelkDBHelperRelationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerRelationTestClasses();
    store_ = std::make_shared<VelkDBHelper>(fixture("relations_mapping.xml"), folder_.file("store.db"));
    ASSERT_TRUE(store_->createDatabase());
  }
  VelkDBHelper& store() { return *store_; }

  // "key:owner" of every row of a table, in key order.
  std::vector<std::string> rows(const std::string& table, const std::string& key, const std::string& owner) {
    std::vector<std::string> out;
    for (const pf::Value& row :
         store_->queryForList("NSString", "select " + key + " || ':' || ifnull(" + owner + ", '-') from " +
                                              table + " order by " + key)) {
      out.push_back(*row.string());
    }
    return out;
  }
  std::vector<std::string> records() { return rows("rel_record", "sid", "course_id"); }
  std::vector<std::string> notes() { return rows("rel_note", "nid", "record_id"); }
  std::vector<std::string> covers() { return rows("rel_cover", "cover_id", "course_id"); }
  std::vector<std::string> courses() { return rows("rel_course", "id", "title"); }

  using Rows = std::vector<std::string>;

  pf_test::TemporaryFolder folder_;
  std::shared_ptr<VelkDBHelper> store_;
};

TEST_F(VelkDBHelperRelationsTest, InsertWritesTheWholeGraphWithOwnerKeys) {
  auto first = record("r1", {note("n1"), note("n2")});
  auto c1 = course("c1", {first, record("r2")}, cover("v1"));
  ASSERT_TRUE(store().insertObjectWithRelations(c1));
  EXPECT_EQ(courses(), Rows{"c1:title of c1"});
  EXPECT_EQ(records(), (Rows{"r1:c1", "r2:c1"}));
  EXPECT_EQ(notes(), (Rows{"n1:r1", "n2:r1"}));
  EXPECT_EQ(covers(), Rows{"v1:c1"});
  EXPECT_EQ(first->courseId, "c1") << "the related objects carry their owner's key";

  // The same object twice in a graph is written once.
  auto shared = record("r9");
  ASSERT_TRUE(
      store().insertObjectsWithRelations(pf::makeArray({course("c2", {shared, shared}), course("c3")})));
  EXPECT_EQ(records(), (Rows{"r1:c1", "r2:c1", "r9:c2"}));
  EXPECT_EQ(courses().size(), 3u);
}

TEST_F(VelkDBHelperRelationsTest, AFailingRowLeavesNothingOfItsGraph) {
  ASSERT_TRUE(store().insertObject(note("taken")));
  EXPECT_FALSE(store().insertObjectWithRelations(course("c1", {record("r1", {note("n1"), note("taken")})})));
  EXPECT_TRUE(courses().empty());
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(notes(), Rows{"taken:-"});

  // In a batch, a later graph's failure undoes the earlier ones too.
  EXPECT_FALSE(store().insertObjectsWithRelations(
      pf::makeArray({course("c2", {record("r2")}), course("c3", {record("r3", {note("taken")})})})));
  EXPECT_TRUE(courses().empty());
  EXPECT_TRUE(records().empty());
}

TEST_F(VelkDBHelperRelationsTest, UpdateFollowsWhatTheObjectNowHolds) {
  auto r1 = record("r1", {note("n1"), note("n2")});
  auto c1 = course("c1", {r1, record("r2", {note("n4")})}, cover("v1"));
  ASSERT_TRUE(store().insertObjectWithRelations(c1));
  ASSERT_TRUE(store().insertObjectWithRelations(course("other", {record("ro", {note("no")})})));

  c1->title = "renamed";
  r1->studyRate = 0.5f;
  r1->notes = pf::makeArray({note("n1", "edited")});
  c1->records = pf::makeArray({r1, record("r3", {note("n3")})});
  c1->cover = nullptr;
  ASSERT_TRUE(store().updateObjectWithRelations(c1));

  EXPECT_EQ(courses(), (Rows{"c1:renamed", "other:title of other"}));
  EXPECT_EQ(records(), (Rows{"r1:c1", "r3:c1", "ro:other"}));
  EXPECT_EQ(notes(), (Rows{"n1:r1", "n3:r3", "no:ro"})) << "r2 went with its note n4, and n2 was dropped";
  EXPECT_TRUE(covers().empty());
  EXPECT_EQ(store().queryForSingleResult(TypeCode::String, "select text from rel_note where nid = 'n1'"),
            pf::Value("edited"));
  EXPECT_EQ(
      store().queryForSingleResult(TypeCode::Double, "select study_rate from rel_record where sid = 'r1'"),
      pf::Value(0.5));

  // The array form, also under its other name.
  c1->title = "again";
  EXPECT_TRUE(store().updateObjectsWithRelations(pf::makeArray({c1})));
  c1->title = "and again";
  EXPECT_TRUE(store().executeUpdateWithReleation(pf::Value(pf::makeArray({c1}))));
  EXPECT_TRUE(store().executeUpdateWithReleation(pf::Value(c1)));
  EXPECT_EQ(courses().front(), "c1:and again");
}

TEST_F(VelkDBHelperRelationsTest, DeleteRemovesTheStoredGraphOnly) {
  ASSERT_TRUE(store().insertObjectWithRelations(
      course("c1", {record("r1", {note("n1")}), record("r2")}, cover("v1"))));
  ASSERT_TRUE(store().insertObjectWithRelations(course("c2", {record("r3", {note("n3")})})));
  // A course read back from the store holds no related objects: the stored rows decide.
  auto stored = std::dynamic_pointer_cast<RelCourse>(store().queryForObject("RelCourse", pf::Value("c1")));
  ASSERT_TRUE(stored);
  ASSERT_TRUE(store().deleteObjectWithRelations(stored));
  EXPECT_EQ(courses(), Rows{"c2:title of c2"});
  EXPECT_EQ(records(), Rows{"r3:c2"});
  EXPECT_EQ(notes(), Rows{"n3:r3"});
  EXPECT_TRUE(covers().empty());

  ASSERT_TRUE(store().deleteObjectsWithRelations(pf::makeArray({course("c2")})));
  EXPECT_TRUE(courses().empty());
  EXPECT_TRUE(records().empty());
  EXPECT_TRUE(notes().empty());
}

TEST_F(VelkDBHelperRelationsTest, NilAndEmptyInputs) {
  const pf::ObjectPtr none;
  const std::vector<std::pair<std::function<void()>, std::string>> faults = {
      {[&] { store().insertObjectWithRelations(none); }, "Can not insert nil object!"},
      {[&] { store().updateObjectWithRelations(none); }, "Can not update nil object!"},
      {[&] { store().deleteObjectWithRelations(none); }, "Can not delete nil object!"},
      {[&] { store().insertObjectsWithRelations(nullptr); },
       "Can not insert batch objects with nil array obj!"},
      {[&] { store().updateObjectsWithRelations(nullptr); },
       "Can not update batch objects with nil or empty array!"},
      {[&] { store().deleteObjectsWithRelations(nullptr); },
       "Can not delete batch objects with nil or empty array!"},
      {[&] { store().executeUpdateWithReleation(pf::Value()); }, "Can not update nil object!"},
      {[&] { store().deleteObjectWithRelations(std::make_shared<RelCourse>()); },
       "Delete id can not be nil object!"},
  };
  for (const auto& [call, message] : faults) EXPECT_EQ(contractMessage(call), message);
  for (const auto& write :
       {&VelkDBHelper::insertObjectsWithRelations, &VelkDBHelper::updateObjectsWithRelations,
        &VelkDBHelper::deleteObjectsWithRelations}) {
    EXPECT_TRUE((store().*write)(std::make_shared<pf::Array>()));
  }
}

TEST_F(VelkDBHelperRelationsTest, RelationsThatNameNothingMappedAreContractFaults) {
  VelkDBHelper faulty(fixture("faulty_relations_mapping.xml"), folder_.file("faulty.db"));
  ASSERT_TRUE(faulty.createDatabase());
  auto holder = std::make_shared<RelCover>();
  holder->coverId = "v1";
  holder->url = "a text, not notes";
  const std::vector<std::pair<pf::ObjectPtr, std::string>> cases = {
      {course("c1"), "Relation refProp: nope is not a mapped property of class: RelRecord !"},
      {record("r1"), "Can not found class with name: RelUnmapped"},
      {note("n1"), "Relation of class: RelNote must name prop, refClass and refProp!"},
      {holder, "Relation prop: url of class: RelCover must hold RelNote objects!"},
  };
  for (const auto& [object, message] : cases) {
    EXPECT_EQ(contractMessage([&, &object = object] { faulty.insertObjectWithRelations(object); }), message);
  }
  EXPECT_EQ(faulty.queryForSingleResult(TypeCode::LongLong, "select count(*) from rel_course"),
            pf::Value(0LL))
      << "nothing is written before the fault";
}

TEST_F(VelkDBHelperRelationsTest, SchemaOfTheDatabaseAndOfOneTable) {
  const std::optional<pf::Array> schema = store().getSchema();
  ASSERT_TRUE(schema);
  std::vector<std::string> tables;
  for (const pf::Value& item : *schema) {
    const pf::Dictionary& row = *item.dictionary();
    if (row.at("type") == pf::Value("table")) tables.push_back(*row.at("name").string());
    EXPECT_TRUE(row.contains("sql"));
  }
  EXPECT_EQ(tables, (std::vector<std::string>{"rel_course", "rel_cover", "rel_note", "rel_record"}));

  const std::optional<pf::Array> columns = store().getTableSchema("rel_record");
  ASSERT_TRUE(columns);
  std::vector<std::string> described;
  for (const pf::Value& item : *columns) {
    const pf::Dictionary& row = *item.dictionary();
    described.push_back(*row.at("name").string() + " " + *row.at("type").string() +
                        (row.at("pk") == pf::Value(1LL) ? " key" : ""));
  }
  EXPECT_EQ(described,
            (std::vector<std::string>{"sid varchar(32) key", "course_id VARCHAR(32)", "study_rate FLOAT"}));

  // A name is a value, never SQL.
  for (const char* name : {"no_such_table", "rel_course'); drop table rel_course; --"}) {
    const std::optional<pf::Array> none = store().getTableSchema(name);
    ASSERT_TRUE(none) << name;
    EXPECT_TRUE(none->empty()) << name;
  }
  EXPECT_TRUE(store().tableExists("rel_course"));

  ASSERT_TRUE(store().removeDatabase());
  // A store whose folder is gone cannot open its database.
  VelkDBHelper unreachable(fixture("relations_mapping.xml"), folder_.file("missing/folder/store.db"));
  EXPECT_FALSE(unreachable.getSchema());
  EXPECT_FALSE(unreachable.getTableSchema("rel_course"));
}

}  // namespace
