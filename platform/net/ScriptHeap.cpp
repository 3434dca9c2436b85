#include "platform/net/ScriptHeap.h"

#include <duktape.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// The engine's hooks (see cmake/Duktape.cmake): the time check and the clock of Date.
extern "C" int pf_script_heap_deadline_passed(void* heapData) {
  return static_cast<const pf::ScriptHeap*>(heapData)->deadlinePassed() ? 1 : 0;
}

extern "C" double pf_script_heap_now(void* context) {
  duk_memory_functions functions{};
  duk_get_memory_functions(static_cast<duk_context*>(context), &functions);
  return static_cast<const pf::ScriptHeap*>(functions.udata)->now();
}

namespace pf {
namespace {

// Each block starts with its size, so that the heap can count what it holds.
struct alignas(std::max_align_t) BlockHeader {
  std::size_t size;
};

BlockHeader* headerOf(void* block) {
  return static_cast<BlockHeader*>(block) - 1;
}

// Everything that may allocate runs inside a protected call. Past either limit every allocation
// fails, and an error thrown with nothing to catch it sends the engine into endless recursion. The
// steps below are plain functions: the engine's errors unwind them with longjmp.
struct Program {
  const std::string* source;
  const std::string* fileName;
};

duk_ret_t runProgram(duk_context* context, void* data) {
  const auto* program = static_cast<const Program*>(data);
  duk_push_lstring(context, program->fileName->data(), program->fileName->size());
  duk_compile_lstring_filename(context, 0, program->source->data(), program->source->size());
  duk_call(context, 0);
  return 1;
}

duk_ret_t readIsFunction(duk_context* context, void* globalName) {
  duk_get_global_string(context, static_cast<const char*>(globalName));
  duk_push_boolean(context, duk_is_function(context, -1));
  return 1;
}

struct Invocation {
  const char* function;
  const std::vector<std::string>* arguments;
};

duk_ret_t invoke(duk_context* context, void* data) {
  const auto* invocation = static_cast<const Invocation*>(data);
  const auto count = static_cast<duk_idx_t>(invocation->arguments->size());
  duk_get_global_string(context, invocation->function);
  duk_require_stack(context, count);
  for (const std::string& argument : *invocation->arguments) {
    duk_push_lstring(context, argument.data(), argument.size());
  }
  duk_call(context, count);
  return 1;
}

}  // namespace

ScriptHeap::ScriptHeap(Limits limits, Clock clock)
    : limits_(limits), clock_(std::move(clock)), deadline_(std::chrono::steady_clock::now() + limits.time) {
  context_ = duk_create_heap(&ScriptHeap::allocate, &ScriptHeap::reallocate, &ScriptHeap::release, this,
                             &ScriptHeap::fatal);
}

ScriptHeap::~ScriptHeap() {
  if (context_ != nullptr) duk_destroy_heap(context_);
}

bool ScriptHeap::deadlinePassed() const {
  return std::chrono::steady_clock::now() >= deadline_;
}

double ScriptHeap::now() const {
  if (clock_) return clock_();
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

bool ScriptHeap::evaluate(const std::string& source, const std::string& fileName, std::string& failure) {
  if (context_ == nullptr) {
    failure = "the script engine could not start";
    return false;
  }
  Program program{&source, &fileName};
  const bool ok = duk_safe_call(context_, runProgram, &program, 0, 1) == DUK_EXEC_SUCCESS;
  if (!ok) failure = describeError();
  duk_pop(context_);
  return ok;
}

bool ScriptHeap::isFunction(const std::string& globalName) const {
  if (context_ == nullptr) return false;
  const bool function = duk_safe_call(context_, readIsFunction, const_cast<char*>(globalName.c_str()), 0, 1) ==
                            DUK_EXEC_SUCCESS &&
                        duk_get_boolean(context_, -1);
  duk_pop(context_);
  return function;
}

std::optional<std::string> ScriptHeap::call(const std::string& function,
                                            const std::vector<std::string>& arguments, std::string& failure) {
  if (context_ == nullptr) {
    failure = "the script engine could not start";
    return std::nullopt;
  }
  if (!isFunction(function)) {
    failure = deadlinePassed() || refusedMemory_ ? describeError() : "it defines no function " + function;
    return std::nullopt;
  }
  Invocation invocation{function.c_str(), &arguments};
  std::optional<std::string> answer;
  if (duk_safe_call(context_, invoke, &invocation, 0, 1) != DUK_EXEC_SUCCESS) {
    failure = describeError();
  } else if (!duk_is_string(context_, -1)) {
    failure = function + " answered no text";
  } else {
    duk_size_t length = 0;
    const char* text = duk_get_lstring(context_, -1, &length);
    answer = std::string(text, length);
  }
  duk_pop(context_);
  return answer;
}

std::string ScriptHeap::describeError() {
  if (deadlinePassed()) return "it ran longer than " + std::to_string(limits_.time.count()) + " ms";
  if (refusedMemory_) return "it needed more than " + std::to_string(limits_.memory) + " bytes of memory";
  return duk_safe_to_string(context_, -1);
}

bool ScriptHeap::refuses(std::size_t more) {
  // The engine sets itself up outside any protected call, so a failure there would have nothing to
  // catch it; its set-up is bounded, and the limits hold from the moment the heap is made.
  if (context_ == nullptr) return false;
  // Built-in functions (sort, join, replace) run without the time check, but they allocate.
  if (deadlinePassed()) return true;
  if (more > 0 && (used_ >= limits_.memory || more > limits_.memory - used_)) {
    refusedMemory_ = true;
    return true;
  }
  return false;
}

void* ScriptHeap::allocate(void* heapData, std::size_t size) {
  auto* heap = static_cast<ScriptHeap*>(heapData);
  if (heap->refuses(size)) return nullptr;
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (header == nullptr) return nullptr;
  header->size = size;
  heap->used_ += size;
  return header + 1;
}

void* ScriptHeap::reallocate(void* heapData, void* block, std::size_t size) {
  if (block == nullptr) return allocate(heapData, size);
  if (size == 0) {
    release(heapData, block);
    return nullptr;
  }
  auto* heap = static_cast<ScriptHeap*>(heapData);
  BlockHeader* header = headerOf(block);
  const std::size_t old = header->size;
  if (heap->refuses(size > old ? size - old : 0)) return nullptr;
  auto* moved = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + size));
  if (moved == nullptr) return nullptr;
  moved->size = size;
  heap->used_ = heap->used_ - old + size;
  return moved + 1;
}

void ScriptHeap::release(void* heapData, void* block) {
  if (block == nullptr) return;
  BlockHeader* header = headerOf(block);
  static_cast<ScriptHeap*>(heapData)->used_ -= header->size;
  std::free(header);
}

// Only for errors thrown outside any protected call, which this class never makes: an engine fault.
void ScriptHeap::fatal(void*, const char* message) {
  std::fprintf(stderr, "script engine fault: %s\n", message != nullptr ? message : "(none)");
  std::abort();
}

}  // namespace pf
