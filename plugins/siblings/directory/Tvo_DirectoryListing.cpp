#include "Tvo_DirectoryListing.h"

#include "BoundedText.h"
#include "Platform.h"
#include "SiblingType.h"

namespace {

// The directory of a pattern such as "C:\dir\*.*": a last component with
// wildcards is the pattern, everything before it the directory. A pattern
// without wildcards names the directory itself.
std::string DirectoryOfPattern(const std::string& pattern) {
  const std::size_t separator = pattern.find_last_of("\\/");
  const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  if (pattern.find_first_of("*?", nameStart) == std::string::npos) return pattern;
  if (separator == std::string::npos) return ".";
  if (separator == 0) return pattern.substr(0, 1);  // the root itself
  return pattern.substr(0, separator);
}

// What follows the last dot; a name without a dot has the empty extension.
std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace

ChannelType* Tvo_DirectoryListing::TypeRecord() {
  static ChannelType record = MakeSiblingType("Directory", kDirectoryType);
  return &record;
}

ChannelType Tvo_DirectoryListing::GetChannelType() { return *TypeRecord(); }

void Tvo_DirectoryListing::SetExtensionFilter(const char* extension) {
  extension_ = extension ? extension : "";
  ApplyFilter();
}

void Tvo_DirectoryListing::SetSearchPattern(const char* pattern) {
  allFiles_.clear();
  if (pattern != nullptr && pattern[0] != '\0') {
    allFiles_ = platform::ListPlainFiles(DirectoryOfPattern(pattern).c_str());
  }
  ApplyFilter();
}

// The filter may come before or after the pattern; both orders list the same.
// Without a filter every plain file is listed.
void Tvo_DirectoryListing::ApplyFilter() {
  matches_.clear();
  for (const std::string& name : allFiles_) {
    if (extension_.empty() || TextEqualsIgnoreCase(ExtensionOf(name).c_str(), extension_.c_str())) {
      matches_.push_back(name);
    }
  }
}

int Tvo_DirectoryListing::GetFileCount() { return static_cast<int>(matches_.size()); }

const char* Tvo_DirectoryListing::GetFileName(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= matches_.size()) return nullptr;
  return matches_[static_cast<std::size_t>(index)].c_str();
}
