#include "app/model/blg/BlgClasses.h"

#include "app/model/blg/Blog.h"
#include "app/model/blg/BlogUser.h"
#include "app/model/blg/Comment.h"
#include "app/model/blg/Statistics.h"
#include "app/model/blg/Topic.h"

void registerBlgClasses() {
  pf::registerClass<Topic>();
  pf::registerClass<Blog>();
  pf::registerClass<Comment>();
  pf::registerClass<BlogUser>();
  pf::registerClass<Statistics>();
}
