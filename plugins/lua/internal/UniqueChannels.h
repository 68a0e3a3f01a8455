#pragma once

#include "Tvk_Channel.h"

// The two engine-wide channels the script libraries work with. Their own
// plug-ins define the full classes; the Lua channel needs only what it calls.
// While no plug-in of either type is installed the engine answers null for
// both and the Lua channel works without them.

// The queue of group loads spread over the following frames.
class Tvo_DynamicLuaLoading : public Tvk_Channel {
 public:
  virtual void UpdateQueue() = 0;
};

// The keeper of the array tables.
class Tvo_Array_Unique : public Tvk_Channel {};
