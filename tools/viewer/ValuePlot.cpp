#include "ValuePlot.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace viewer {
namespace {

constexpr double kWidth = 800, kHeight = 450;
constexpr double kLeft = 70, kRight = 170, kTop = 20, kBottom = 50;
constexpr int kTicks = 5;
// A long run is thinned to about this many points per line; more would not
// show on the chart and only make the file slow to open.
constexpr std::size_t kMostPoints = 2000;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b", "#e377c2", "#17becf"};

struct Range {
  double low = 0, high = 1;
  double Span() const { return high - low; }
};

// Names come from the command line and may hold markup characters.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

Range FrameRange(const std::vector<PlotSample>& samples) {
  Range r;
  if (samples.empty()) return r;
  r.low = static_cast<double>(samples.front().frame);
  r.high = static_cast<double>(samples.back().frame);
  if (r.high <= r.low) r.high = r.low + 1;
  return r;
}

// Non-finite values are left out of the scale and the lines.
Range ValueRange(const std::vector<PlotSample>& samples) {
  bool any = false;
  Range r;
  for (const auto& sample : samples)
    for (const auto& value : sample.values) {
      if (!value || !std::isfinite(*value)) continue;
      r.low = any ? std::min(r.low, double(*value)) : *value;
      r.high = any ? std::max(r.high, double(*value)) : *value;
      any = true;
    }
  if (!any) return Range{};
  if (r.high - r.low < 1e-9) {
    r.low -= 1;
    r.high += 1;
  }
  return r;
}

double X(const Range& frames, double frame) {
  return kLeft + (frame - frames.low) / frames.Span() * (kWidth - kLeft - kRight);
}
double Y(const Range& values, double value) {
  return kHeight - kBottom - (value - values.low) / values.Span() * (kHeight - kTop - kBottom);
}

void WriteAxes(std::ostream& svg, const Range& frames, const Range& values) {
  const double x0 = kLeft, x1 = kWidth - kRight, y0 = kHeight - kBottom, y1 = kTop;
  svg << "<g stroke=\"#000\" stroke-width=\"1\">\n"
      << "<line x1=\"" << x0 << "\" y1=\"" << y0 << "\" x2=\"" << x1 << "\" y2=\"" << y0 << "\"/>\n"
      << "<line x1=\"" << x0 << "\" y1=\"" << y0 << "\" x2=\"" << x0 << "\" y2=\"" << y1 << "\"/>\n</g>\n";
  svg << "<g font-family=\"sans-serif\" font-size=\"11\" fill=\"#000\">\n";
  for (int i = 0; i <= kTicks; ++i) {
    const double frame = frames.low + frames.Span() * i / kTicks;
    const double value = values.low + values.Span() * i / kTicks;
    const double x = X(frames, frame), y = Y(values, value);
    svg << "<line x1=\"" << x << "\" y1=\"" << y0 << "\" x2=\"" << x << "\" y2=\"" << y0 + 5 << "\" stroke=\"#000\"/>"
        << "<text x=\"" << x << "\" y=\"" << y0 + 18 << "\" text-anchor=\"middle\">" << std::lround(frame) << "</text>\n";
    svg << "<line x1=\"" << x0 - 5 << "\" y1=\"" << y << "\" x2=\"" << x0 << "\" y2=\"" << y << "\" stroke=\"#000\"/>"
        << "<text x=\"" << x0 - 8 << "\" y=\"" << y + 4 << "\" text-anchor=\"end\">" << value << "</text>\n";
  }
  svg << "<text x=\"" << (x0 + x1) / 2 << "\" y=\"" << kHeight - 12 << "\" text-anchor=\"middle\">frame</text>\n"
      << "</g>\n";
}

void WriteLine(std::ostream& svg, std::size_t index, const std::vector<PlotSample>& samples, const Range& frames,
               const Range& values) {
  svg << "<polyline fill=\"none\" stroke-width=\"1.5\" stroke=\"" << kColours[index % std::size(kColours)]
      << "\" points=\"";
  const std::size_t stride = std::max<std::size_t>((samples.size() + kMostPoints - 1) / kMostPoints, 1);
  for (std::size_t s = 0; s < samples.size(); ++s) {
    // The last sample is always drawn so the line reaches the end of the axis.
    if (s % stride != 0 && s + 1 != samples.size()) continue;
    const PlotSample& sample = samples[s];
    if (index >= sample.values.size()) continue;
    const auto& value = sample.values[index];
    if (!value || !std::isfinite(*value)) continue;
    svg << X(frames, double(sample.frame)) << ',' << Y(values, *value) << ' ';
  }
  svg << "\"/>\n";
}

void WriteLegend(std::ostream& svg, const std::vector<std::string>& names) {
  svg << "<g font-family=\"sans-serif\" font-size=\"12\">\n";
  for (std::size_t i = 0; i < names.size(); ++i) {
    const double x = kWidth - kRight + 15, y = kTop + 10 + 18.0 * i;
    svg << "<line x1=\"" << x << "\" y1=\"" << y << "\" x2=\"" << x + 20 << "\" y2=\"" << y << "\" stroke=\""
        << kColours[i % std::size(kColours)] << "\" stroke-width=\"2\"/>"
        << "<text x=\"" << x + 26 << "\" y=\"" << y + 4 << "\">" << Escaped(names[i]) << "</text>\n";
  }
  svg << "</g>\n";
}

}  // namespace

bool WriteSvgPlot(const std::string& path, const std::vector<std::string>& names,
                  const std::vector<PlotSample>& samples) {
  const Range frames = FrameRange(samples), values = ValueRange(samples);
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
      << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  WriteAxes(svg, frames, values);
  for (std::size_t i = 0; i < names.size(); ++i) WriteLine(svg, i, samples, frames, values);
  WriteLegend(svg, names);
  svg << "</svg>\n";
  std::ofstream out(path, std::ios::binary);
  out << svg.str();
  return static_cast<bool>(out.flush());
}

}  // namespace viewer
