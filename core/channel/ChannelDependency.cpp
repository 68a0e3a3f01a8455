// Which channel types (and further libraries) a channel needs at run time: its
// own type, its base type chain, and what channels create by themselves.

#include "ChannelDependency.h"

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_String.h"

namespace {

ChannelDependency* DependencyAt(const Tvk_List& dependencies, int index) {
  return static_cast<ChannelDependency*>(dependencies.GetItem(index));
}

ChannelDependency* FindDependency(const Tvk_List& dependencies, const GUID& type) {
  for (int i = 0; i < dependencies.GetItemCount(); ++i) {
    ChannelDependency* dependency = DependencyAt(dependencies, i);
    if (dependency && dependency->typeGuid == type) return dependency;
  }
  return nullptr;
}

// A type whose private dependencies name itself would otherwise recurse for ever.
int collectDepth = 0;
constexpr int kMaxCollectDepth = 64;

// Collects for a temporary channel of `type`; a type no plug-in provides is
// not recorded.
void CollectForType(EngineInterface* engine, const GUID& type, Tvk_List* dependencies) {
  if (!engine) return;
  Tvk_Channel* temporary = engine->InitChannelFromType(type, nullptr, false);
  if (!temporary) return;
  channelInternal.GetChannelDepenency(temporary, dependencies);
  delete temporary;
}

}  // namespace

ChannelDependency::ChannelDependency() = default;

ChannelDependency::~ChannelDependency() {
  for (int i = 0; i < dllNames.GetItemCount(); ++i) delete static_cast<Tvk_String*>(dllNames.GetItem(i));
  dllNames.ReleaseItems();
}

// Each type is recorded once, which also ends the walk along the base types.
void ChannelInternal::GetChannelDepenency(Tvk_Channel* channel, Tvk_List* dependencies) {
  if (!channel || collectDepth >= kMaxCollectDepth) return;
  ++collectDepth;
  const ChannelType type = channel->GetChannelType();
  if (type.baseGuid == kDependencyFirstBaseType) channel->DoDependencyInit(dependencies);
  if (dependencies && !FindDependency(*dependencies, type.guid)) {
    ChannelDependency* own = new ChannelDependency;
    own->typeGuid = type.guid;
    dependencies->AddItem(own);
    CollectForType(channel->GetEngineInterface(), type.baseGuid, dependencies);
    channel->DoDependencyInit(dependencies);
  }
  --collectDepth;
}

void Tvk_Channel::AddChannelGuidDepend(GUID type, Tvk_List* dependencies) {
  if (!dependencies || FindDependency(*dependencies, type)) return;
  CollectForType(engine_, type, dependencies);
}

void Tvk_Channel::AddDLLDepend(const char* dllName, Tvk_List* dependencies) {
  if (!dllName || !dependencies) return;
  ChannelDependency* own = FindDependency(*dependencies, GetChannelType().guid);
  if (!own) return;
  Tvk_String* name = new Tvk_String;
  name->SetString(dllName);
  own->dllNames.AddItem(name);
}
