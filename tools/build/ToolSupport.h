#pragma once

// Pieces the authoring tools share: GUID texts, a started engine, options.

#include <optional>
#include <string>

#include "Guid.h"

class EngineControl;
class EngineInterface;

namespace buildtools {

// Reads "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", braces allowed, either case.
std::optional<GUID> ParseGuid(const std::string& text);

// An engine started from an install directory for the tool's lifetime.
class ToolEngine {
 public:
  ToolEngine(const std::string& installDir, const char* settingsKey);
  ~ToolEngine();
  ToolEngine(const ToolEngine&) = delete;
  ToolEngine& operator=(const ToolEngine&) = delete;
  // Null when the engine did not start.
  EngineInterface* Get() const { return engine_; }

 private:
  EngineControl* control_;
  EngineInterface* engine_ = nullptr;
};

// The engine install directory: $VARNEL_ENGINE_DIR, beside an installed tool,
// else the build's.
std::string EngineDirectory();

// True when any argument is "-h" or "--help".
bool AsksForHelp(int argc, char** argv);

}  // namespace buildtools
