#include "Description.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace buildtools {
namespace {

using nlohmann::json;

// The line of a byte position, counting from 1.
std::size_t LineOf(const std::string& text, std::size_t byte) {
  const std::size_t end = std::min(byte, text.size());
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

// Reads members of one object, naming its place in every error.
class Reader {
 public:
  Reader(const json& object, std::string place, const std::string& fileName)
      : object_(object), place_(std::move(place)), fileName_(fileName) {
    if (!object_.is_object()) Fail("expected an object");
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw DescriptionError(fileName_ + ": " + (place_.empty() ? std::string("top level") : place_) + ": " + what);
  }

  const json* Member(const char* key) const {
    auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
  }

  std::string Text(const char* key, bool required) const {
    const json* value = Member(key);
    if (!value) {
      if (required) Fail(std::string("\"") + key + "\" is missing (expected a text)");
      return std::string();
    }
    if (!value->is_string()) Fail(std::string("\"") + key + "\" must be a text");
    return value->get<std::string>();
  }

  int Int(const char* key, int fallback, int lowest, int highest) const {
    const json* value = Member(key);
    if (!value) return fallback;
    if (!value->is_number_integer()) Fail(std::string("\"") + key + "\" must be a whole number");
    const auto number = value->get<long long>();
    if (number < lowest || number > highest)
      Fail(std::string("\"") + key + "\" is " + std::to_string(number) + ", expected " + std::to_string(lowest) +
           " to " + std::to_string(highest));
    return static_cast<int>(number);
  }

  const json& Array(const char* key) const {
    static const json empty = json::array();
    const json* value = Member(key);
    if (!value) return empty;
    if (!value->is_array()) Fail(std::string("\"") + key + "\" must be an array");
    return *value;
  }

  std::string Place(const char* key, std::size_t index) const {
    return (place_.empty() ? std::string() : place_ + ".") + key + "[" + std::to_string(index) + "]";
  }

 private:
  const json& object_;
  std::string place_;
  const std::string& fileName_;
};

constexpr int kMaxIndex = 1 << 20;

LinkDescription ReadLink(const Reader& r, int channelCount) {
  LinkDescription link;
  if (!r.Member("child")) r.Fail("\"child\" is missing (expected a channel index)");
  link.child = r.Int("child", 0, -kMaxIndex, kMaxIndex);
  if (link.child < 0 || link.child >= channelCount)
    r.Fail("\"child\" " + std::to_string(link.child) + " names no channel (expected 0 to " +
           std::to_string(channelCount - 1) + ")");
  link.position = r.Int("position", -1, -1, kMaxIndex);
  link.target = r.Int("target", -1, -1, kMaxIndex);
  return link;
}

ChannelDescription ReadChannel(const Reader& r, const std::string& fileName, int channelCount) {
  ChannelDescription channel;
  channel.type = r.Text("type", true);
  channel.name = r.Text("name", false);
  channel.interfaceType = r.Int("interface", 0, 0, 5);
  const json& links = r.Array("links");
  for (std::size_t i = 0; i < links.size(); ++i)
    channel.links.push_back(ReadLink(Reader(links[i], r.Place("links", i), fileName), channelCount));
  if (r.Member("script")) channel.script = r.Text("script", true);
  if (const json* window = r.Member("window")) {
    if (!window->is_array() || window->size() != 4 ||
        !std::all_of(window->begin(), window->end(), [](const json& v) { return v.is_number_integer(); }))
      r.Fail("\"window\" must be four whole numbers [left, top, right, bottom]");
    std::array<int, 4> rect{};
    for (int i = 0; i < 4; ++i) rect[i] = (*window)[i].get<int>();
    channel.window = rect;
  }
  if (const json* value = r.Member("value")) {
    if (!value->is_number()) r.Fail("\"value\" must be a number");
    channel.value = value->get<double>();
  }
  return channel;
}

}  // namespace

GroupDescription ParseDescription(const std::string& text, const std::string& fileName) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& error) {
    throw DescriptionError(fileName + ":" + std::to_string(LineOf(text, error.byte > 0 ? error.byte - 1 : 0)) +
                           ": not valid JSON: " + error.what());
  }
  const Reader top(root, std::string(), fileName);
  GroupDescription group;
  group.pool = top.Text("pool", false);
  const json& channels = top.Array("channels");
  if (channels.empty()) top.Fail("\"channels\" is missing or empty (expected an array of channels)");
  const int count = static_cast<int>(std::min<std::size_t>(channels.size(), kMaxIndex));
  for (std::size_t i = 0; i < channels.size(); ++i)
    group.channels.push_back(ReadChannel(Reader(channels[i], top.Place("channels", i), fileName), fileName, count));
  group.start = top.Int("start", 0, -kMaxIndex, kMaxIndex);
  if (group.start < 0 || group.start >= count)
    top.Fail("\"start\" " + std::to_string(group.start) + " names no channel (expected 0 to " +
             std::to_string(count - 1) + ")");
  const json& parameters = top.Array("parameters");
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const Reader r(parameters[i], top.Place("parameters", i), fileName);
    group.parameters.push_back({r.Text("name", true), r.Text("type", true)});
  }
  return group;
}

GroupDescription LoadDescription(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw DescriptionError(fileName + ": cannot be read");
  std::stringstream text;
  text << in.rdbuf();
  return ParseDescription(text.str(), fileName);
}

}  // namespace buildtools
