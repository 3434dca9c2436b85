#pragma once
// Registers the runtime classes of the questions-and-answers module (see app/model/AppClasses.h).

void registerAnsClasses();
