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

struct ChannelDescription {
  std::string type;  // a GUID text or a type name of the channel list
  std::string name;
  int interfaceType = 0;
  std::vector<LinkDescription> links;
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
  int start = -1;
  std::vector<ChannelDescription> channels;
  std::vector<ParameterDescription> parameters;
};

// A description that cannot be built; the text names the file and the place.
class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses and checks the description text; `fileName` only goes into errors.
GroupDescription ParseDescription(const std::string& text, const std::string& fileName);

// Reads the file and parses it.
GroupDescription LoadDescription(const std::string& fileName);

}  // namespace buildtools
