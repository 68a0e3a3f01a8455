#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ValuePlot.h"

class EngineInterface;

namespace viewer {

// The values of the value channels with the watched names, read each time
// from the groups registered at that moment (groups come and go while a
// project runs).
class ValueWatch {
 public:
  explicit ValueWatch(std::vector<std::string> names) : names_(std::move(names)) {}
  ~ValueWatch();
  ValueWatch(const ValueWatch&) = delete;
  ValueWatch& operator=(const ValueWatch&) = delete;

  bool Empty() const { return names_.empty(); }
  // Opens the CSV file and writes its header; false when it cannot be written.
  bool OpenCsv(const std::string& path);
  // Prints the watched values of this frame and adds a CSV row.
  void Report(EngineInterface* engine, long frame, double seconds);
  // Keeps every reported frame for WritePlot.
  void KeepHistory() { keepHistory_ = true; }
  bool WritePlot(const std::string& path) const { return WriteSvgPlot(path, names_, history_); }

 private:
  std::vector<float> ValuesNamed(EngineInterface* engine, const std::string& name) const;

  std::vector<std::string> names_;
  std::FILE* csv_ = nullptr;
  bool keepHistory_ = false;
  std::vector<PlotSample> history_;
};

}  // namespace viewer
