#include "app/model/ans/AnsClasses.h"

// Add each entity of the module here: pf::registerClass<Entity>();
void registerAnsClasses() {}
