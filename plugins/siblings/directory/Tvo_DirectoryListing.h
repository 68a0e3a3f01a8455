#pragma once

#include <string>
#include <vector>

#include "DirectoryChannel.h"

// The directory listing channel: the plain files of one directory whose
// extension matches a filter, ignoring case, in name order.
class Tvo_DirectoryListing final : public Tvo_DirectoryChannel {
 public:
  static ChannelType* TypeRecord();

  ChannelType GetChannelType() override;

  void SetExtensionFilter(const char* extension) override;
  void SetSearchPattern(const char* pattern) override;
  int GetFileCount() override;
  const char* GetFileName(int index) override;

 private:
  void ApplyFilter();

  std::string extension_;
  std::vector<std::string> allFiles_;
  std::vector<std::string> matches_;
};
