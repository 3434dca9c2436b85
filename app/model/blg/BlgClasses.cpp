#include "app/model/blg/BlgClasses.h"

// Add each entity of the module here: pf::registerClass<Entity>();
void registerBlgClasses() {}
