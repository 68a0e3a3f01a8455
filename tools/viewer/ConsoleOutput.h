#pragma once

#include <string>

#include "Diagnostics.h"

class EngineInterface;

namespace viewer {

// Writes every engine message to standard error with its kind and passes it
// on to the sink that was installed before (the engine's error log).
class ConsoleSink : public DebugOutPut {
 public:
  explicit ConsoleSink(DebugOutPut* next) : next_(next) {}
  void ShowDebugMessage(DebugMessage* message) override;

 private:
  DebugOutPut* next_;
};

// Message boxes go to standard error and are answered with their default, so
// a run never waits for a person.
void InstallConsoleMessageBoxes();

// Prints the engine's ten debug lines whenever one of them changes.
class DebugLineWatch {
 public:
  void PrintChanges(EngineInterface* engine);

 private:
  std::string lines_[10];
};

}  // namespace viewer
