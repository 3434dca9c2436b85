#include "app/controller/blg/BlgDetailViewClasses.h"

void registerBlgDetailViewClasses() {}
