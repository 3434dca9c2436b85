#include "app/model/ems/EmsClasses.h"

// Add each entity of the module here: pf::registerClass<Entity>();
void registerEmsClasses() {}
