#pragma once

// Channels the group tests put into groups. They are built the way a plug-in
// builds its channel, taking their engine from `globalEngine`. What they
// observe is written to logs the test owns, because the group deletes them.

#include <string>
#include <vector>

#include "ChildLinks.h"
#include "Tvk_Channel.h"

namespace grouptest {

struct ChannelLog {
  struct Removal {
    std::string channel;
    int indexNr;
  };
  std::vector<Removal> removals;      // CheckIndexNrRemoval calls, in order
  std::vector<std::string> deleted;   // destructor calls, in order
  std::vector<std::string> called;    // CallChannel calls, in order
};

// One multi-link position that accepts every channel type, so any test
// channel can link to any other.
class LinkingChannel : public Tvk_Channel {
 public:
  explicit LinkingChannel(const char* name = nullptr, ChannelLog* log = nullptr) : log_(log) {
    SetChildCreationCount(1);
    SetChildCreateType(ChildCreation(), 0);
    if (name != nullptr) SetChannelName(name);
  }
  ~LinkingChannel() override {
    if (log_ != nullptr) log_->deleted.push_back(Name());
  }
  void CallChannel() override {
    if (log_ != nullptr) log_->called.push_back(Name());
  }
  void CheckIndexNrRemoval(int indexNr) override {
    if (log_ != nullptr) log_->removals.push_back({Name(), indexNr});
    Tvk_Channel::CheckIndexNrRemoval(indexNr);
  }

  // Appends `child` to the run of the one link position.
  int Link(Tvk_Channel* child) { return SetChild(child, -1, 0); }
  // The channels of the run, by target channel; null for emptied links.
  std::vector<Tvk_Channel*> Links() {
    std::vector<Tvk_Channel*> links;
    for (int t = 0; t < GetChildLinkPositionCount(0); ++t) links.push_back(GetChildFromLinkPosition(0, t));
    return links;
  }

 private:
  std::string Name() const { return GetChannelName() != nullptr ? GetChannelName() : std::string(); }
  ChannelLog* log_;
};

}  // namespace grouptest
