#pragma once

// Watches the non-throwing array allocations the engine's containers make, and
// can refuse them, so that a test sees every growth step and the failure path.
// The probe replaces the program's `operator new[](size, nothrow)`; only one
// probe may be active at a time. It watches requests of at least the smallest
// list array (32 slots), so the short texts of the messages a refused growth
// sends keep their memory.

#include <cstddef>
#include <vector>

inline constexpr std::size_t kSmallestWatchedBytes = 32 * sizeof(void*);

class ArrayAllocationProbe {
 public:
  explicit ArrayAllocationProbe(bool refuse = false);
  ~ArrayAllocationProbe();
  ArrayAllocationProbe(const ArrayAllocationProbe&) = delete;
  ArrayAllocationProbe& operator=(const ArrayAllocationProbe&) = delete;

  void Refuse(bool refuse) { refuse_ = refuse; }
  // The requested sizes counted in pointer slots, in request order.
  std::vector<std::size_t> SlotCounts() const;

  void Record(std::size_t bytes) { requests_.push_back(bytes); }
  bool Refusing() const { return refuse_; }

 private:
  bool refuse_;
  std::vector<std::size_t> requests_;
};
