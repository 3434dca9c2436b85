#pragma once
// Registers the runtime classes of the exam module (see app/model/AppClasses.h).

void registerEmsClasses();
