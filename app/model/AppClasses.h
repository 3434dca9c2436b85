#pragma once
// Start-up registration of every runtime class of the application. Classes are registered explicitly
// (static self-registration would be dropped from the static library): each module lists its own in
// register<Module>Classes() (app/model/<module>/<Module>Classes.cpp) with pf::registerClass<T>(), and
// registerAppClasses() calls every module's. Call it before the store opens the mapping file, since
// the mapping names these classes. Safe to call more than once.

void registerAppClasses();
