#pragma once

#include <optional>
#include <string>
#include <vector>

namespace viewer {

// One reported frame: the first value of every watched name, none while no
// channel of that name exists.
struct PlotSample {
  long frame = 0;
  std::vector<std::optional<float>> values;
};

// Writes the watched values over the frames as a self-contained SVG line
// chart: axes with labelled ticks, one polyline per name, a legend. False
// when the file cannot be written.
bool WriteSvgPlot(const std::string& path, const std::vector<std::string>& names,
                  const std::vector<PlotSample>& samples);

}  // namespace viewer
