#include "ArrayAllocationProbe.h"

#include <cstdlib>
#include <new>

namespace {
ArrayAllocationProbe* activeProbe = nullptr;
}

ArrayAllocationProbe::ArrayAllocationProbe(bool refuse) : refuse_(refuse) {
  if (activeProbe) std::abort();
  activeProbe = this;
}

ArrayAllocationProbe::~ArrayAllocationProbe() { activeProbe = nullptr; }

std::vector<std::size_t> ArrayAllocationProbe::SlotCounts() const {
  std::vector<std::size_t> slots;
  for (std::size_t bytes : requests_) slots.push_back(bytes / sizeof(void*));
  return slots;
}

// The engine library binds to this definition because the program's symbols
// come first; the memory comes from the ordinary array allocator, so the
// library's delete[] (and the sanitizers' bookkeeping) match it.
__attribute__((visibility("default"))) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (activeProbe && size >= kSmallestWatchedBytes) {
    activeProbe->Record(size);
    if (activeProbe->Refusing()) return nullptr;
  }
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}
