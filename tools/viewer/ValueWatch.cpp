#include "ValueWatch.h"

#include <cctype>

#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"

namespace viewer {
namespace {

bool SameNameIgnoringCase(const char* a, const std::string& b) {
  if (!a) return false;
  std::size_t i = 0;
  for (; a[i] && i < b.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return a[i] == '\0' && i == b.size();
}

}  // namespace

ValueWatch::~ValueWatch() {
  if (csv_) std::fclose(csv_);
}

bool ValueWatch::OpenCsv(const std::string& path) {
  csv_ = std::fopen(path.c_str(), "w");
  if (!csv_) return false;
  std::fprintf(csv_, "frame,time");
  for (const auto& name : names_) std::fprintf(csv_, ",%s", name.c_str());
  std::fprintf(csv_, "\n");
  return true;
}

std::vector<float> ValueWatch::ValuesNamed(EngineInterface* engine, const std::string& name) const {
  std::vector<float> values;
  const int groups = engine->GetChannelGroupCount();
  for (int g = 0; g < groups; ++g) {
    Tvk_ChannelGroup* group = engine->GetChannelGroup(g);
    if (!group) continue;
    const int channels = group->GetChannelCount();
    for (int c = 0; c < channels; ++c) {
      Tvk_Channel* channel = group->GetChannel(c);
      if (!channel || !SameNameIgnoringCase(channel->GetChannelName(), name)) continue;
      if (channel->GetChannelType().baseGuid != kValueChannelType) continue;
      values.push_back(static_cast<Tvo_FloatChannel*>(channel)->GetFloat());
    }
  }
  return values;
}

// Standard output shows every channel of a name; the CSV column holds the
// first one, and stays empty while none exists.
void ValueWatch::Report(EngineInterface* engine, long frame, double seconds) {
  std::printf("frame %ld  %.3fs", frame, seconds);
  if (csv_) std::fprintf(csv_, "%ld,%.6f", frame, seconds);
  PlotSample sample{frame, {}};
  for (const auto& name : names_) {
    const std::vector<float> values = ValuesNamed(engine, name);
    sample.values.push_back(values.empty() ? std::nullopt : std::optional<float>(values.front()));
    std::printf("  %s =", name.c_str());
    if (values.empty()) std::printf(" (none)");
    for (float value : values) std::printf(" %g", value);
    if (csv_) {
      if (values.empty()) std::fprintf(csv_, ",");
      else std::fprintf(csv_, ",%g", values.front());
    }
  }
  std::printf("\n");
  if (csv_) std::fprintf(csv_, "\n");
  if (keepHistory_) history_.push_back(std::move(sample));
}

}  // namespace viewer
