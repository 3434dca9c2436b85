#include "app/model/qsm/QsmClasses.h"

// Add each entity of the module here: pf::registerClass<Entity>();
void registerQsmClasses() {}
