#pragma once
// Registers the runtime classes of the sign-in module (see app/model/AppClasses.h).

void registerLgnClasses();
