#pragma once

#include "Guid.h"
#include "Tvk_Channel.h"

// The directory listing channel, loaded from this file of the channels folder.
inline constexpr const char* kDirectoryFileName = "Directory.dll";
inline constexpr GUID kDirectoryType{0xD17A3C58, 0x0E92, 0x4B6F, {0xA1, 0xC4, 0x7F, 0x25, 0xE9, 0x08, 0x3B, 0x16}};

class ENGINECORE_API Tvo_DirectoryChannel : public Tvk_Channel {
 public:
  // The extension of the files to list, without dot ("DLL"); compared ignoring case.
  virtual void SetExtensionFilter(const char* extension) = 0;
  // A directory followed by "\*.*": lists the plain files of that directory.
  virtual void SetSearchPattern(const char* pattern) = 0;
  virtual int GetFileCount() = 0;
  // The bare name of file i, in name order; null outside 0 to count - 1.
  virtual const char* GetFileName(int index) = 0;
};
