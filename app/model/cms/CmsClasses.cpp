#include "app/model/cms/CmsClasses.h"

// Add each entity of the module here: pf::registerClass<Entity>();
void registerCmsClasses() {}
