#pragma once

#include <vector>

#include "Tvk_List.h"

// Distinct item addresses for list tests: Item(i) stands for entry i, and
// Contents() maps a list back to those numbers (-1 for a null slot).
namespace listtest {

inline int items[64];

inline void* Item(int i) { return &items[i]; }

inline void Fill(Tvk_List& list, int count) {
  for (int i = 0; i < count; ++i) list.AddItem(Item(i));
}

inline std::vector<int> Contents(const Tvk_List& list) {
  std::vector<int> contents;
  for (int i = 0; i < list.GetItemCount(); ++i) {
    void* item = list.GetItem(i);
    contents.push_back(item ? static_cast<int>(static_cast<int*>(item) - items) : -1);
  }
  return contents;
}

}  // namespace listtest
