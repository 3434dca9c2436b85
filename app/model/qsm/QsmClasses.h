#pragma once
// Registers the runtime classes of the survey module (see app/model/AppClasses.h).

void registerQsmClasses();
