#pragma once
// Registers the runtime classes of the micro-blog module (see app/model/AppClasses.h).

void registerBlgClasses();
