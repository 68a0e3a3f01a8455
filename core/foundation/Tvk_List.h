#pragma once

#include "EngineCoreExport.h"

// A growable array of untyped pointers whose indices stay stable. Null slots
// are holes and count as entries. The list owns its slot array, never what the
// slots point to.
class ENGINECORE_API Tvk_List {
 public:
  Tvk_List();
  virtual ~Tvk_List();

  Tvk_List(const Tvk_List&) = delete;
  Tvk_List& operator=(const Tvk_List&) = delete;

  int AddItem(void* item);
  int AddItemOrNULL(void* item);
  bool InsertItem(void* item, int index);
  void RemoveItem(int index);
  // Read on every child lookup of every frame, hence inline.
  void* GetItem(int index) const { return index >= 0 && index < itemCount_ ? list_[index] : nullptr; }
  void SetItem(void* item, int index);
  bool Allocate(int count);
  int GetItemCount() const { return itemCount_; }
  void ClearItems();
  void ReleaseItems();

 protected:
  void IncreaseRealListLength(int count);

 private:
  void** list_;
  int itemCount_;
  int realLength_;
};
