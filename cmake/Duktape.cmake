# The JavaScript engine that runs proxy auto-configuration scripts, built from the source the Debian
# package ships. The packaged library leaves out duktape's execution-time check, without which a script
# that loops forever could never be stopped; this build turns the check on and sends it, and the
# engine's clock, to the embedding code (ScriptHeap). The regular-expression matcher never reaches that
# check, so its step limit comes down from 1e9 (most of a minute) to 1e7 (well under a second).
find_path(DUKTAPE_SOURCE_DIR duktape.c PATHS /usr/share/duktape NO_DEFAULT_PATH REQUIRED)
set(duktape_dir ${CMAKE_BINARY_DIR}/duktape)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DUKTAPE_SOURCE_DIR}/duk_config.h
  ${DUKTAPE_SOURCE_DIR}/duktape.c)

file(READ ${DUKTAPE_SOURCE_DIR}/duk_config.h duk_config)
set(duk_hooks [=[
#if defined(__cplusplus)
extern "C" {
#endif
int pf_script_heap_deadline_passed(void* heapData);
double pf_script_heap_now(void* context);
#if defined(__cplusplus)
}
#endif
#define DUK_USE_EXEC_TIMEOUT_CHECK(heapData) pf_script_heap_deadline_passed(heapData)]=])
foreach(option DUK_USE_INTERRUPT_COUNTER DUK_USE_EXEC_TIMEOUT_CHECK DUK_USE_DATE_GET_NOW)
  string(FIND "${duk_config}" "#undef ${option}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "duktape: ${option} not found in ${DUKTAPE_SOURCE_DIR}/duk_config.h")
  endif()
endforeach()
string(REPLACE "#undef DUK_USE_INTERRUPT_COUNTER\n" "#define DUK_USE_INTERRUPT_COUNTER\n"
  duk_config "${duk_config}")
string(REPLACE "#undef DUK_USE_EXEC_TIMEOUT_CHECK\n" "${duk_hooks}\n" duk_config "${duk_config}")
string(REPLACE "#undef DUK_USE_DATE_GET_NOW\n"
  "#define DUK_USE_DATE_GET_NOW(context) pf_script_heap_now((void*) (context))\n"
  duk_config "${duk_config}")
file(WRITE ${duktape_dir}/duk_config.h.new "${duk_config}")
configure_file(${duktape_dir}/duk_config.h.new ${duktape_dir}/duk_config.h COPYONLY)
configure_file(${DUKTAPE_SOURCE_DIR}/duktape.h ${duktape_dir}/duktape.h COPYONLY)
file(READ ${DUKTAPE_SOURCE_DIR}/duktape.c duk_source)
set(duk_steps "#define DUK_RE_EXECUTE_STEPS_LIMIT 1000000000L")
string(FIND "${duk_source}" "${duk_steps}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "duktape: the regular-expression step limit was not found in ${DUKTAPE_SOURCE_DIR}/duktape.c")
endif()
string(REPLACE "${duk_steps}" "#define DUK_RE_EXECUTE_STEPS_LIMIT 10000000L" duk_source "${duk_source}")
file(WRITE ${duktape_dir}/duktape.c.new "${duk_source}")
configure_file(${duktape_dir}/duktape.c.new ${duktape_dir}/duktape.c COPYONLY)

add_library(duktape STATIC ${duktape_dir}/duktape.c)
target_include_directories(duktape SYSTEM PUBLIC ${duktape_dir})
# Third-party C: optimised even in debug builds (scripts run in tests), not instrumented, not ours to warn.
target_compile_options(duktape PRIVATE -O2 -w -fno-sanitize=all)
target_link_libraries(duktape PUBLIC m)
