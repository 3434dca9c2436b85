#include "app/model/cms/Category.h"

void Category::declareProperties(pf::ClassBuilder<Category>& b) {
  PF_PROPERTY(b, categoryId);
  PF_PROPERTY(b, categoryName);
  PF_PROPERTY(b, parentId);
  PF_PROPERTY(b, idPath);
  b.property("childCategories", &Category::childCategories, "NSMutableArray");
  PF_PROPERTY(b, showOrder);
  PF_PROPERTY(b, objectCount);
  PF_PROPERTY(b, advId);
  PF_PROPERTY(b, sourceCategoryId);
  PF_PROPERTY(b, comments);
  PF_PROPERTY(b, openScope);
}
