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
  duk_push_string(context_, fileName.c_str());
  bool ok = duk_pcompile_lstring_filename(context_, 0, source.data(), source.size()) == 0 &&
            duk_pcall(context_, 0) == DUK_EXEC_SUCCESS;
  if (!ok) failure = describeError();
  duk_pop(context_);
  return ok;
}

bool ScriptHeap::isFunction(const std::string& globalName) const {
  if (context_ == nullptr) return false;
  duk_get_global_string(context_, globalName.c_str());
  const bool function = duk_is_function(context_, -1);
  duk_pop(context_);
  return function;
}

std::optional<std::string> ScriptHeap::call(const std::string& function,
                                            const std::vector<std::string>& arguments, std::string& failure) {
  if (context_ == nullptr) {
    failure = "the script engine could not start";
    return std::nullopt;
  }
  if (!duk_get_global_string(context_, function.c_str()) || !duk_is_function(context_, -1)) {
    duk_pop(context_);
    failure = "it defines no function " + function;
    return std::nullopt;
  }
  duk_require_stack(context_, static_cast<duk_idx_t>(arguments.size()));
  for (const std::string& argument : arguments) duk_push_lstring(context_, argument.data(), argument.size());
  std::optional<std::string> answer;
  if (duk_pcall(context_, static_cast<duk_idx_t>(arguments.size())) != DUK_EXEC_SUCCESS) {
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

void* ScriptHeap::allocate(void* heapData, std::size_t size) {
  auto* heap = static_cast<ScriptHeap*>(heapData);
  // Built-in functions (sort, join, replace) run without the time check, but they allocate.
  if (heap->deadlinePassed()) return nullptr;
  if (size > heap->limits_.memory - heap->used_) {
    heap->refusedMemory_ = true;
    return nullptr;
  }
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
  if (heap->deadlinePassed()) return nullptr;
  BlockHeader* header = headerOf(block);
  const std::size_t old = header->size;
  if (size > old && size - old > heap->limits_.memory - heap->used_) {
    heap->refusedMemory_ = true;
    return nullptr;
  }
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
