#pragma once

#include <string>

#include "Description.h"

class EngineInterface;

namespace buildtools {

// Creates the described group through the engine and saves it to `fileName`,
// so the file holds exactly what the engine writes. Throws DescriptionError
// (naming `descriptionName`) for what the engine cannot build.
void BuildGroup(EngineInterface* engine, const GroupDescription& description, const std::string& descriptionName,
                const std::string& fileName);

}  // namespace buildtools
