#include "app/model/lgn/LgnClasses.h"

#include "app/model/lgn/User.h"

void registerLgnClasses() {
  pf::registerClass<User>();
}
