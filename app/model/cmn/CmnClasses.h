#pragma once
// Registers the runtime classes of the common module (see app/model/AppClasses.h).

void registerCmnClasses();
