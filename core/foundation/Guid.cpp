#include "Guid.h"

#include <cstdio>

void GuidToText(const GUID& guid, char out[37]) {
  std::snprintf(out, 37, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned long>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), static_cast<unsigned>(guid.Data4[0]),
                static_cast<unsigned>(guid.Data4[1]), static_cast<unsigned>(guid.Data4[2]),
                static_cast<unsigned>(guid.Data4[3]), static_cast<unsigned>(guid.Data4[4]),
                static_cast<unsigned>(guid.Data4[5]), static_cast<unsigned>(guid.Data4[6]),
                static_cast<unsigned>(guid.Data4[7]));
}

std::string GuidText(const GUID& guid) {
  char text[37];
  GuidToText(guid, text);
  return text;
}
