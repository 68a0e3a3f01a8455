#include "Tvk_List.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "DllInterface.h"
#include "EngineInterface.h"

namespace {

// Base × 1.25 + 32, truncated. Kept wide so that a length beyond the 32-bit
// index range shows up as a failure instead of wrapping.
long long GrownLength(long long base) { return static_cast<long long>(static_cast<double>(base) * 1.25 + 32.0); }

// List messages need an engine to travel; before one exists they are dropped.
void ReportToEngine(const char* text) {
  if (globalEngine) globalEngine->showMessageBox(text);
}

void ReportGrowthFailure(long long length) {
  char text[64];
  std::snprintf(text, sizeof text, "Error couldn't extend list %lld", length);
  ReportToEngine(text);
}

}  // namespace

Tvk_List::Tvk_List() : list_(nullptr), itemCount_(0), realLength_(0) {}

Tvk_List::~Tvk_List() { delete[] list_; }

void Tvk_List::IncreaseRealListLength(int count) {
  if (count < -1) count = -1;
  int currentLength = realLength_ < 0 ? 0 : realLength_;
  long long length = GrownLength(count == -1 ? currentLength : count);
  // The length never shrinks: a smaller request would drop counted slots.
  if (length <= currentLength) return;
  void** grown = length > INT_MAX ? nullptr : new (std::nothrow) void*[static_cast<std::size_t>(length)]();
  if (!grown) {
    ReportGrowthFailure(length);
    return;  // the old array, contents and length stay
  }
  if (list_ && itemCount_ > 0) std::memcpy(grown, list_, sizeof(void*) * static_cast<std::size_t>(itemCount_));
  delete[] list_;
  list_ = grown;
  realLength_ = static_cast<int>(length);
}

int Tvk_List::AddItem(void* item) {
  if (itemCount_ >= realLength_) IncreaseRealListLength(-1);
  if (itemCount_ >= realLength_) return -1;
  list_[itemCount_] = item;
  return itemCount_++;
}

int Tvk_List::AddItemOrNULL(void* item) {
  for (int i = 0; i < itemCount_; ++i) {
    if (!list_[i]) {
      list_[i] = item;
      return i;
    }
  }
  return AddItem(item);
}

bool Tvk_List::InsertItem(void* item, int index) {
  // An insertion always leaves at least one spare slot behind it.
  if (itemCount_ + 1 >= realLength_) IncreaseRealListLength(itemCount_ + 1);
  if (itemCount_ + 1 >= realLength_) {
    ReportToEngine("Tvk_List::InsertItem Error reallist is to small!!!");
    return false;
  }
  if (index < 0) return false;
  if (index > itemCount_) index = itemCount_;
  std::memmove(list_ + index + 1, list_ + index, sizeof(void*) * static_cast<std::size_t>(itemCount_ - index));
  list_[index] = item;
  ++itemCount_;
  return true;
}

void Tvk_List::RemoveItem(int index) {
  if (index < 0 || index >= itemCount_) return;
  std::memmove(list_ + index, list_ + index + 1, sizeof(void*) * static_cast<std::size_t>(itemCount_ - index - 1));
  --itemCount_;
}

void Tvk_List::SetItem(void* item, int index) {
  if (index < 0) return;
  if (index < itemCount_) {
    list_[index] = item;
    return;
  }
  if (index == INT_MAX) {
    // index + 1 slots cannot be counted in 32 bits.
    ReportGrowthFailure(GrownLength(static_cast<long long>(index) + 1));
    return;
  }
  if (Allocate(index + 1)) list_[index] = item;
}

bool Tvk_List::Allocate(int count) {
  // A negative count would leave the list with a negative number of entries.
  if (count < 0) return false;
  if (count >= realLength_ - 1) IncreaseRealListLength(count);
  if (count >= realLength_) return false;
  for (int i = itemCount_; i < count; ++i) list_[i] = nullptr;
  itemCount_ = count;
  return true;
}

void Tvk_List::ClearItems() { itemCount_ = 0; }

void Tvk_List::ReleaseItems() {
  delete[] list_;
  list_ = nullptr;
  itemCount_ = 0;
  realLength_ = 0;
}
