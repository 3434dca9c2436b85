#pragma once
// Root of the entities that carry a local key of their own, "sid": study records, users, menu
// entries, comments, exams, surveys, micro-blog objects. Services that insert new rows fill sid
// with CommonUtil::createNewUUID(); the store fills a nil sid mapped as "VARCHAR(32)" on saveObject.
//
// How an entity joins the runtime (copy this in every entity):
//   class Comment : public BaseDomain {
//     PF_OBJECT(Comment, BaseDomain)
//     std::optional<std::string> content;
//     static void declareProperties(pf::ClassBuilder<Comment>& b) { PF_PROPERTY(b, content); }
//   };
// and one pf::registerClass<Comment>() in its module's register<Module>Classes() (AppClasses.h).

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class BaseDomain : public pf::Object {
  PF_OBJECT(BaseDomain, pf::Object)

  std::optional<std::string> sid;

  static void declareProperties(pf::ClassBuilder<BaseDomain>& b) { PF_PROPERTY(b, sid); }
};
