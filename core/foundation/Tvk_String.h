#pragma once

#include "EngineCoreExport.h"

// An owned narrow text and an independent owned wide (UTF-16) text. Setting
// one never touches the other.
class ENGINECORE_API Tvk_String {
 public:
  Tvk_String();
  virtual ~Tvk_String();

  Tvk_String(const Tvk_String&) = delete;
  Tvk_String& operator=(const Tvk_String&) = delete;

  void SetString(const char* text);
  void SetWString(const unsigned short* text);
  const char* GetString() const { return string_; }
  const unsigned short* GetWString() const { return wString_; }
  void AddString(const char* text);
  void AddString(const unsigned short* text);
  void SetMaxCars(int n);
  void StrLwr();
  void StrUpr();
  // Reduces `path` in place to its last path component and returns it.
  char* MakeFULLName(char* path);

 private:
  char* string_;
  unsigned short* wString_;
};
