#include "Description.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "PublicCallInfo.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

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

  bool Bool(const char* key, bool fallback) const {
    const json* value = Member(key);
    if (!value) return fallback;
    if (!value->is_boolean()) Fail(std::string("\"") + key + "\" must be true or false");
    return value->get<bool>();
  }

  // A text that must fit a fixed field of `maxChars` characters.
  std::string FieldText(const char* key, std::size_t maxChars, bool required = false) const {
    std::string text = Text(key, required);
    if (text.size() > maxChars)
      Fail(std::string("\"") + key + "\" is " + std::to_string(text.size()) + " characters long, expected at most " +
           std::to_string(maxChars));
    return text;
  }

  const json& Array(const char* key) const {
    static const json empty = json::array();
    const json* value = Member(key);
    if (!value) return empty;
    if (!value->is_array()) Fail(std::string("\"") + key + "\" must be an array");
    return *value;
  }

  std::string Place(const char* key, std::size_t index) const { return Place(key) + "[" + std::to_string(index) + "]"; }
  std::string Place(const char* key) const { return (place_.empty() ? std::string() : place_ + ".") + key; }

 private:
  const json& object_;
  std::string place_;
  const std::string& fileName_;
};

constexpr int kMaxIndex = 1 << 20;

// Links and "start" name channels by their place in "channels" or, when the
// channels carry an "index" (the slot numbers of a group file, as
// varnel-inspect writes them), by that index.
class ChannelNumbers {
 public:
  ChannelNumbers(const Reader& top, const json& channels, const std::string& fileName)
      : count_(static_cast<int>(std::min<std::size_t>(channels.size(), kMaxIndex))) {
    for (std::size_t i = 0; i < channels.size(); ++i) {
      const Reader r(channels[i], top.Place("channels", i), fileName);
      const bool indexed = r.Member("index") != nullptr;
      if (i > 0 && indexed != !places_.empty()) r.Fail(indexed ? "\"index\" is given here but not for channels[0]"
                                                             : "\"index\" is missing (channels[0] has one)");
      if (!indexed) continue;
      const int index = r.Int("index", 0, 0, kMaxIndex);
      if (!places_.emplace(index, static_cast<int>(i)).second)
        r.Fail("\"index\" " + std::to_string(index) + " is used by channels[" + std::to_string(places_[index]) +
               "] as well");
    }
  }

  // The place in "channels" of the channel that member `key` names.
  int PlaceOf(const Reader& r, const char* key, int fallback) const {
    const int number = r.Int(key, fallback, -kMaxIndex, kMaxIndex);
    if (places_.empty()) {
      if (number >= 0 && number < count_) return number;
      r.Fail(std::string("\"") + key + "\" " + std::to_string(number) + " names no channel (expected 0 to " +
             std::to_string(count_ - 1) + ")");
    }
    const auto place = places_.find(number);
    if (place == places_.end())
      r.Fail(std::string("\"") + key + "\" " + std::to_string(number) +
             " names no channel (expected the \"index\" of one of the channels)");
    return place->second;
  }

  // What a missing "start" means: the first channel.
  int FirstNumber() const { return places_.empty() ? 0 : places_.begin()->first; }

 private:
  int count_;
  std::map<int, int> places_;  // index -> place, when the channels are indexed
};

LinkDescription ReadLink(const Reader& r, const ChannelNumbers& numbers) {
  LinkDescription link;
  if (!r.Member("child")) r.Fail("\"child\" is missing (expected a channel index)");
  link.child = numbers.PlaceOf(r, "child", 0);
  link.position = r.Int("position", -1, -1, kMaxIndex);
  link.target = r.Int("target", -1, -1, kMaxIndex);
  return link;
}

// The field sizes of a public call's record, less their terminators.
constexpr std::size_t kCallChannelChars = sizeof(PublicCallInfo::channelName) - 1;
constexpr std::size_t kCallPoolChars = sizeof(PublicCallInfo::poolName) - 1;
constexpr std::size_t kCallFileChars = sizeof(PublicCallInfo::fileName) - 1;

PublicCallDescription ReadPublicCall(const Reader& r) {
  PublicCallDescription call;
  call.channel = r.FieldText("channel", kCallChannelChars);
  call.pool = r.FieldText("pool", kCallPoolChars);
  call.file = r.FieldText("file", kCallFileChars);
  call.requested = r.Int("requested", 0, -kMaxIndex, kMaxIndex);
  call.autoLoad = r.Bool("autoLoad", true);
  call.dynamicAutoLoad = r.Int("dynamicAutoLoad", 0, -kMaxIndex, kMaxIndex);
  return call;
}

constexpr int kPublicCallInterface = TVO_PUBLICCALL;

ChannelDescription ReadChannel(const Reader& r, const std::string& fileName, const ChannelNumbers& numbers) {
  ChannelDescription channel;
  channel.type = r.Text("type", true);
  channel.name = r.Text("name", false);
  channel.interfaceType = r.Int("interface", 0, 0, 5);
  const json& links = r.Array("links");
  for (std::size_t i = 0; i < links.size(); ++i)
    channel.links.push_back(ReadLink(Reader(links[i], r.Place("links", i), fileName), numbers));
  if (const json* call = r.Member("publicCall")) {
    if (channel.interfaceType != kPublicCallInterface)
      r.Fail("\"publicCall\" belongs to public calls only (\"interface\": 2)");
    channel.publicCall = ReadPublicCall(Reader(*call, r.Place("publicCall"), fileName));
  }
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

// What varnel-inspect wrote about a group carries the description as its
// "group" object.
const json& DescriptionOf(const json& root, const std::string& fileName, std::string& place) {
  if (!root.is_object() || !root.contains("group")) return root;
  const Reader top(root, std::string(), fileName);
  const std::string kind = top.Text("kind", false);
  if (!kind.empty() && kind != "channel group") top.Fail("this inspection is of a " + kind + ", not of a channel group");
  place = "group";
  return root["group"];
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
  std::string place;
  const json& described = DescriptionOf(root, fileName, place);
  const Reader top(described, place, fileName);
  GroupDescription group;
  group.pool = top.Text("pool", false);
  const json& channels = top.Array("channels");
  if (channels.empty()) top.Fail("\"channels\" is missing or empty (expected an array of channels)");
  if (channels.size() > static_cast<std::size_t>(kMaxIndex)) top.Fail("\"channels\" holds more channels than a group can");
  const ChannelNumbers numbers(top, channels, fileName);
  for (std::size_t i = 0; i < channels.size(); ++i)
    group.channels.push_back(ReadChannel(Reader(channels[i], top.Place("channels", i), fileName), fileName, numbers));
  group.start = numbers.PlaceOf(top, "start", numbers.FirstNumber());
  const json& parameters = top.Array("parameters");
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const Reader r(parameters[i], top.Place("parameters", i), fileName);
    group.parameters.push_back({r.FieldText("name", kParameterNameMaxChars, true), r.Text("type", true)});
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
