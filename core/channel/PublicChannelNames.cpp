// Public names are unique within a group: a colliding name gets a counter,
// Speed, Speed(02), ... Speed(50), then Speed(50)(02).

#include <cstdlib>
#include <cstring>

#include "ChannelInternal.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace {

constexpr int kHighestCounter = 50;

bool IsPublicType(int type) { return type == TVO_PUBLIC || type == TVO_PUBLICCUSTOMCHANNELGET; }

// Raises a trailing "(NN)" in place; false when the name carries none (or
// raising it would pass the highest counter).
bool RaiseCounter(char* name) {
  const std::size_t length = std::strlen(name);
  if (length < 4 || name[length - 1] != ')' || name[length - 4] != '(') return false;
  const char digits[3] = {name[length - 3], name[length - 2], '\0'};
  const int next = std::atoi(digits) + 1;
  if (next < 0 || next > kHighestCounter) return false;
  name[length - 3] = static_cast<char>('0' + next / 10);
  name[length - 2] = static_cast<char>('0' + next % 10);
  return true;
}

// The name may grow past the length SetChannelName allows: cutting the
// appended counter off again would collide for ever.
char* WithCounterAppended(const char* name) {
  const std::size_t length = std::strlen(name);
  char* longer = new char[length + 5];
  std::memcpy(longer, name, length);
  std::memcpy(longer + length, "(02)", 5);
  return longer;
}

}  // namespace

void ChannelInternal::DoPublicChannelNameCheck(Tvk_Channel* channel) {
  if (!channel) return;
  for (;;) {
    Tvk_ChannelGroup* group = channel->channelGroup_;
    if (!IsPublicType(channel->interfaceType_) || !group || !channel->channelName_) return;
    if (!group->CheckDuplicatePublicChannelName(channel)) return;
    if (RaiseCounter(channel->channelName_)) continue;
    char* longer = WithCounterAppended(channel->channelName_);
    delete[] channel->channelName_;
    channel->channelName_ = longer;
  }
}
