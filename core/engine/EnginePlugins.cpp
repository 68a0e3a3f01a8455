// Plug-in libraries: the search path, loading, the version check, channel
// creation with automatic children, and unique channels.

#include <algorithm>
#include <string>
#include <vector>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "ChannelList.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "Platform.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvk_String.h"

namespace {

using GetTypeFunction = ChannelType* (*)();
using InitDllFunction = DllInterface* (*)();

constexpr int kUniqueNameKeptChars = 59;

// Whether `directory` is one of the entries of the search path. A directory
// whose name merely contains it (/opt/v in /opt/v2/channels) is no such entry.
bool HasSearchPathEntry(const std::string& path, std::string directory, char separator) {
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(separator, start);
    if (end == std::string::npos) end = path.size();
    std::string entry = path.substr(start, end - start);
    while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
    if (entry == directory) return true;
    start = end + 1;
  }
  return false;
}

// Puts <install>/channels and <install>/3rd in front of the library search path,
// once per process: a later engine finds the directory already there.
void AddPluginDirectoriesToSearchPath(const char* installDir) {
  const std::string install = platform::NativePath(installDir);
  const char* variable = platform::LibrarySearchPathVariable();
  const std::string old = platform::GetEnvironmentValue(variable).value_or(std::string());
  const char separator = platform::LibrarySearchPathSeparator();
  if (!install.empty() && HasSearchPathEntry(old, install + "/channels", separator)) return;
  std::string value = install + "/channels" + separator + install + "/3rd";
  if (!old.empty()) value += separator + old;
  platform::SetEnvironmentValue(variable, value.c_str());
}

// The types whose automatic children are being made on this thread, outermost
// first. A link position asking for one of them again would recurse without end.
thread_local std::vector<GUID> typesBeingCompleted;

class CompletingType {
 public:
  explicit CompletingType(const GUID& type) { typesBeingCompleted.push_back(type); }
  ~CompletingType() { typesBeingCompleted.pop_back(); }
  CompletingType(const CompletingType&) = delete;
  CompletingType& operator=(const CompletingType&) = delete;
};

bool IsBeingCompleted(const GUID& type) {
  return std::find(typesBeingCompleted.begin(), typesBeingCompleted.end(), type) != typesBeingCompleted.end();
}

}  // namespace

bool Engine::InitEngine(HINSTANCE instance, const char* className) {
  engineInstance_ = instance;
  if (className) CopyText(className_, className, 258);
  AddPluginDirectoriesToSearchPath(installDir_);

  char channelDir[260];
  CopyText(channelDir, installDir_, 258);
  AppendText(channelDir, "\\channels", 258);
  if (channelList_) {
    channelList_->SetChannelDir(channelDir);
    channelList_->CreateChannelList();
  }
  initialized_ = true;
  return true;
}

DllInterface* Engine::CallInitDLL(HINSTANCE instance) {
  auto initDll = reinterpret_cast<InitDllFunction>(platform::FindLibrarySymbol(instance, "InitDLL"));
  if (!initDll) {
    engineInterface_->showErrorMessage("Engine::GetDLLInstance: Couldn't find external function InitDLL() in dll:");
    return nullptr;
  }
  // The plug-in's constructors read both globals, which every engine of the
  // process shares: hence the one lock around every plug-in initialisation.
  platform::LockPluginInit();
  globalEngine = engineInterface_;
  globalDllInstance = instance;
  DllInterface* object = initDll();
  platform::UnlockPluginInit();
  if (!object) return nullptr;
  object->SetDllInterface(instance, engineInterface_);
  return object;
}

DllInterface* Engine::LoadPluginLibrary(const char* file) {
  if (!file || !file[0] || !file[1]) return nullptr;
  HINSTANCE instance = platform::LoadLibraryFile(file);
  if (!instance) {
    engineInterface_->showErrorMessage("GetLastError:", platform::LastLibraryErrorCode());
    engineInterface_->showErrorMessage("Engine::GetDLLInstance: Error loading DLL file:", file);
    return nullptr;
  }
  libraries_.AddItem(instance);  // stays loaded until Release, even if what follows fails
  return CallInitDLL(instance);
}

DllInterface* Engine::GetDLLInstance(const char* file) {
  DllInterface* object = LoadPluginLibrary(file);
  if (object) object->SetDllInterface(object->GetDllInstance(), engineInterface_);
  return object;
}

ChannelType Engine::GetDLLType(HINSTANCE instance) {
  ChannelType type;
  if (!instance) return type;
  auto getType = reinterpret_cast<GetTypeFunction>(platform::FindLibrarySymbol(instance, "GetType"));
  if (getType) {
    if (const ChannelType* record = getType()) type = *record;
  }
  return type;
}

ChannelType Engine::GetDLLType(const char* file) {
  ChannelType type;
  if (!file) return type;
  char name[500];
  CopyText(name, file, 498);
  Tvk_String names;
  names.MakeFULLName(name);

  HINSTANCE instance = platform::LoadLibraryFile(name);
  if (!instance) instance = platform::LoadLibraryFile(name);
  if (!instance) {
    engineInterface_->showErrorMessage("GetLastError:", platform::LastLibraryErrorCode());
    engineInterface_->showErrorMessage("Couldn't find or load a dll: ", file);
    return type;
  }
  type = GetDLLType(instance);
  platform::UnloadLibrary(instance);

  if (type.versionInfo[1] != kEngineVersion) {
    char typeName[sizeof(type.name)];
    CopyText(typeName, type.name, sizeof(type.name) - 1);
    engineInterface_->showErrorMessage("Channel not compatible with current version: ", typeName);
    engineInterface_->showErrorMessage("Engine version of channel is: ", static_cast<int>(type.versionInfo[1]));
    type.guid = kZeroGuid;
  }
  return type;
}

Tvk_Channel* Engine::InitChannelFromType(GUID type, Tvk_ChannelGroup* group, bool createChildren) {
  if (!channelList_) return nullptr;
  ChannelListItem* item = channelList_->GetItem(type);
  if (!item || item->loadFailed) return nullptr;
  if (item->dllInstance) return CreateChannelFromInstance(item->dllInstance, group, createChildren);

  // The first channel of a type costs a probe, which refuses other engine versions.
  if (IsZeroGuid(GetDLLType(item->fileName).guid)) {
    item->loadFailed = true;
    return nullptr;
  }
  Tvk_Channel* channel = CreateChannelFromDLL(item->fileName, group, createChildren);
  if (channel) item->dllInstance = channel->GetDllInstance();
  return channel;
}

Tvk_Channel* Engine::InitChannelFromType(const ChannelType& type, Tvk_ChannelGroup* group, bool createChildren) {
  return InitChannelFromType(type.guid, group, createChildren);
}

Tvk_Channel* Engine::CreateChannelFromInstance(HINSTANCE instance, Tvk_ChannelGroup* group, bool createChildren) {
  auto* channel = static_cast<Tvk_Channel*>(CallInitDLL(instance));
  if (!channel) return nullptr;
  if (group) group->AddChannel(channel);
  if (createChildren) CreateAutomaticChildren(channel, group);
  channel->OneTimeInitialize();
  return channel;
}

Tvk_Channel* Engine::CreateChannelFromDLL(const char* file, Tvk_ChannelGroup* group, bool createChildren) {
  auto* channel = static_cast<Tvk_Channel*>(LoadPluginLibrary(file));
  if (!channel) return nullptr;
  if (channelList_) channelList_->CheckChannelUpdate(channel);
  if (group) group->AddChannel(channel);
  if (createChildren) CreateAutomaticChildren(channel, group);
  channel->OneTimeInitialize();
  return channel;
}

void Engine::CreateAutomaticChildren(Tvk_Channel* channel, Tvk_ChannelGroup* group) {
  const CompletingType completing(channel->GetChannelType().guid);
  for (int position = 0; position < channelInternal.GetChildCreationCount(channel); ++position) {
    ChildCreation* creation = channelInternal.GetChildCreateType(channel, position);
    if (!creation || !creation->createChild) continue;
    GUID childType = IsZeroGuid(creation->childTypeGuid) ? creation->channelType.guid : creation->childTypeGuid;
    // Children of children are made the same way and land in the same group;
    // a type already being completed further up is refused like a missing one.
    Tvk_Channel* child = IsBeingCompleted(childType) ? nullptr : InitChannelFromType(childType, group, true);
    if (!child) {
      engineInterface_->showErrorMessage("Couldn't initialize child");
      continue;
    }
    if (creation->childName[0]) child->SetChannelName(creation->childName);
    channel->SetChild(child, -1, creation->requestLink);
  }
}

Tvk_Channel* Engine::GetUniqueChannel(GUID type, const char* name) {
  std::string cutName;
  if (name && name[0]) {
    cutName = name;
    if (cutName.size() >= kUniqueNameKeptChars) cutName = cutName.substr(cutName.size() - kUniqueNameKeptChars);
  }
  const char* wanted = cutName.empty() ? nullptr : cutName.c_str();

  if (!initialized_) {
    engineInterface_->showErrorMessage(
        "A unique channel is requested only the Varnel engine is not initialized yet or not initialized anymore, "
        "unique name (GUID on next line): ",
        wanted);
    engineInterface_->showErrorMessage(type);
    return nullptr;
  }
  if (IsZeroGuid(type)) {
    engineInterface_->showErrorMessage("GUID of channel not found!\nCould not add unique channel!");
    return nullptr;
  }
  if (!uniqueChannels_) {
    engineInterface_->showErrorMessage("A unique channel is requested and failed uniqueChannels_==NULL");
    return nullptr;
  }

  for (int i = 0; i < uniqueChannels_->GetChannelCount(); ++i) {
    Tvk_Channel* channel = uniqueChannels_->GetChannel(i);
    if (!channel || channel->GetChannelType().guid != type) continue;
    if (!wanted) return channel;
    if (channel->GetChannelName() && TextEqualsIgnoreCase(channel->GetChannelName(), wanted)) return channel;
  }

  Tvk_Channel* channel = InitChannelFromType(type, nullptr, false);
  if (!channel) return nullptr;
  if (wanted) channel->SetChannelName(wanted);
  uniqueChannels_->AddChannel(channel);
  return channel;
}

Tvk_Channel* Engine::GetUniqueChannel(const ChannelType& type, const char* name) {
  return GetUniqueChannel(type.guid, name);
}

int Engine::GetUniqueChannelCount() { return uniqueChannels_ ? uniqueChannels_->GetChannelCount() : 0; }
