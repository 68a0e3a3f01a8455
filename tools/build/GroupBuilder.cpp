#include "GroupBuilder.h"

#include <vector>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "ToolSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

namespace buildtools {
namespace {

class Builder {
 public:
  Builder(EngineInterface* engine, const std::string& descriptionName)
      : engine_(engine), descriptionName_(descriptionName) {}

  [[noreturn]] void Fail(const std::string& place, const std::string& what) const {
    throw DescriptionError(descriptionName_ + ": " + place + ": " + what);
  }

  // A GUID text, or the name of a type in the engine's channel list.
  GUID ResolveType(const std::string& type, const std::string& place) const {
    if (auto guid = ParseGuid(type)) return *guid;
    ChannelList* list = engine_->engineInterfaceExt->GetChannelList();
    const int count = list ? list->GetItemCount() : 0;
    for (int i = 0; i < count; ++i) {
      ChannelListItem* item = list->GetItem(i);
      if (item && TextEqualsIgnoreCase(type.c_str(), item->type.name)) return item->type.guid;
    }
    Fail(place, "unknown channel type \"" + type + "\" (expected a type GUID or a type name of the installation)");
  }

  void Build(const GroupDescription& description, const std::string& fileName) {
    Tvk_ChannelGroup* group =
        engine_->CreateNewGroup(description.pool.empty() ? "Group" : description.pool.c_str(), false, -1);
    if (!group) Fail("top level", "the engine could not create a group");
    std::vector<Tvk_Channel*> channels;
    std::vector<GUID> types;
    for (std::size_t i = 0; i < description.channels.size(); ++i) {
      const std::string place = "channels[" + std::to_string(i) + "]";
      const ChannelDescription& c = description.channels[i];
      types.push_back(ResolveType(c.type, place));
      channels.push_back(CreateChannel(c, types.back(), group, place));
    }
    for (std::size_t i = 0; i < description.channels.size(); ++i) Link(description.channels[i], channels, i);
    for (std::size_t i = 0; i < description.parameters.size(); ++i) AddParameter(description.parameters[i], group, i);
    group->SetStartChannel(channels[static_cast<std::size_t>(description.start)]->GetChannelIDIndexNr());
    if (!group->SaveChannelGroup(fileName.c_str())) Fail("output", "the group could not be saved to " + fileName);
  }

 private:
  Tvk_Channel* CreateChannel(const ChannelDescription& c, const GUID& type, Tvk_ChannelGroup* group,
                             const std::string& place) const {
    const bool isLua = type == kLuaScriptType, isValue = type == kValueChannelType;
    if ((c.script || c.window) && !isLua) Fail(place, "\"script\" and \"window\" belong to Lua channels only");
    if (c.value && !isValue) Fail(place, "\"value\" belongs to value channels only");
    Tvk_Channel* channel = engine_->InitChannelFromType(type, group, true);
    if (!channel) Fail(place, "the engine could not create a channel of type " + GuidText(type));
    if (!c.name.empty()) channel->SetChannelName(c.name.c_str());
    channel->SetChannelInterfaceType(c.interfaceType);
    if (c.publicCall) SetPublicCall(channel, *c.publicCall, place);
    if (isLua) {
      auto* lua = static_cast<Tvo_Lua*>(channel);
      if (c.window) lua->SetWindowSize({(*c.window)[0], (*c.window)[1], (*c.window)[2], (*c.window)[3]});
      if (c.script && !lua->SetScript(c.script->c_str()))
        Fail(place, std::string("the script does not run: ") + (lua->GetError() ? lua->GetError() : ""));
    }
    if (isValue && c.value) static_cast<Tvo_FloatChannel*>(channel)->SetFloat(static_cast<float>(*c.value));
    return channel;
  }

  void SetPublicCall(Tvk_Channel* channel, const PublicCallDescription& call, const std::string& place) const {
    PublicCallInfo info = channelInternal.GetPublicCallInfo(channel);
    CopyText(info.channelName, call.channel.c_str(), sizeof info.channelName - 1);
    CopyText(info.poolName, call.pool.c_str(), sizeof info.poolName - 1);
    CopyText(info.fileName, call.file.c_str(), sizeof info.fileName - 1);
    info.requestedPublicChannelNr = call.requested;
    info.autoLoadGroup = call.autoLoad ? 1 : 0;
    info.dynamicAutoLoadGroup = call.dynamicAutoLoad;
    if (!channelInternal.SetPublicCallInfo(channel, info)) Fail(place, "the channel took no public-call data");
  }

  void Link(const ChannelDescription& c, const std::vector<Tvk_Channel*>& channels, std::size_t index) const {
    for (std::size_t l = 0; l < c.links.size(); ++l) {
      const LinkDescription& link = c.links[l];
      if (channels[index]->SetChild(channels[static_cast<std::size_t>(link.child)], link.target, link.position) == -1)
        Fail("channels[" + std::to_string(index) + "].links[" + std::to_string(l) + "]",
             "the channel refused child " + std::to_string(link.child) + " at position " +
                 std::to_string(link.position));
    }
  }

  void AddParameter(const ParameterDescription& p, Tvk_ChannelGroup* group, std::size_t index) const {
    const std::string place = "parameters[" + std::to_string(index) + "]";
    auto guid = ParseGuid(p.type);
    if (!guid) Fail(place, "\"type\" must be a GUID text, got \"" + p.type + "\"");
    ParameterInterfaceInfo info{};
    CopyText(info.name, p.name.c_str(), kParameterNameMaxChars);
    info.typeGuid = *guid;
    group->AddParameterInfo(info);
  }

  EngineInterface* engine_;
  const std::string& descriptionName_;
};

}  // namespace

void BuildGroup(EngineInterface* engine, const GroupDescription& description, const std::string& descriptionName,
                const std::string& fileName) {
  Builder(engine, descriptionName).Build(description, fileName);
}

}  // namespace buildtools
