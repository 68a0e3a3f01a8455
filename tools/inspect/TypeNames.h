#pragma once

#include <map>
#include <string>

#include "Guid.h"

namespace inspect {

struct TypeName {
  std::string name;
  std::string fileName;
};

// The channel types an engine install knows, from its "channels.lst".
class TypeNames {
 public:
  // False with `message` set when the list is missing or unreadable; the
  // entries read before a damaged one are kept.
  bool Load(const std::string& installDir, std::string& message);
  const TypeName* Find(const GUID& guid) const;

 private:
  std::map<std::string, TypeName> byGuid_;
};

}  // namespace inspect
