#pragma once
// Registers the runtime classes of the course module (see app/model/AppClasses.h).

void registerCmsClasses();
