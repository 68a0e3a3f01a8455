#pragma once

#include <ostream>
#include <string>

#include "GroupModel.h"
#include "TagStream.h"
#include "TypeNames.h"

namespace inspect {

// What the inspector found in one file.
struct Inspection {
  std::string path;
  FileKind kind = FileKind::TagStream;
  TagStream stream;
  GroupModel group;  // filled for a channel group
};

void WriteText(std::ostream& out, const Inspection& inspection, const TypeNames& types);
// The link graph of a group in Graphviz's dot language.
void WriteDot(std::ostream& out, const Inspection& inspection, const TypeNames& types);
void WriteJson(std::ostream& out, const Inspection& inspection, const TypeNames& types);

}  // namespace inspect
