#pragma once

// The text description of a channel group, read and checked before any
// channel exists.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace buildtools {

struct LinkDescription {
  int child = 0;
  int position = -1;  // -1: the first link position that accepts the child
  int target = -1;
};

// What a public call calls; the fields a file's public-call record keeps.
struct PublicCallDescription {
  std::string channel;
  std::string pool;
  std::string file;
  int requested = 0;
  bool autoLoad = true;
  int dynamicAutoLoad = 0;
};

struct ChannelDescription {
  std::string type;  // a GUID text or a type name of the channel list
  std::string name;
  int interfaceType = 0;
  std::vector<LinkDescription> links;  // children by their place in GroupDescription::channels
  std::optional<PublicCallDescription> publicCall;
  std::optional<std::string> script;
  std::optional<std::array<int, 4>> window;
  std::optional<double> value;
};

struct ParameterDescription {
  std::string name;
  std::string type;
};

struct GroupDescription {
  std::string pool;
  int start = -1;  // a place in `channels`
  std::vector<ChannelDescription> channels;
  std::vector<ParameterDescription> parameters;
};

// A description that cannot be built; the text names the file and the place.
class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses and checks the description text; `fileName` only goes into errors.
// The text is a description, or what varnel-inspect --json writes about a
// channel group: then its "group" object is the description, and links and
// the start channel name the channels by their "index" in the file.
GroupDescription ParseDescription(const std::string& text, const std::string& fileName);

// Reads the file and parses it.
GroupDescription LoadDescription(const std::string& fileName);

}  // namespace buildtools
