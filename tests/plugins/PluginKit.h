#pragma once

// What the test plug-ins share: their type records, a channel that writes to
// the probe log when it is built and initialised, and the exports.

#include <cstdio>
#include <cstdlib>

#include "BoundedText.h"
#include "ChannelType.h"
#include "ChildLinks.h"
#include "EngineCoreExport.h"
#include "TestPluginTypes.h"
#include "Tvk_Channel.h"

namespace testplugin {

inline void Log(const char* event, const char* plugin, const char* detail = "") {
  const char* path = std::getenv(kProbeLogVariable);
  if (!path || !path[0]) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s %s%s%s\n", event, plugin, detail[0] ? " " : "", detail);
    std::fclose(file);
  }
}

inline ChannelType MakeType(const char* name, GUID type, GUID base, int engineVersion = kEngineVersion,
                            int build = 1) {
  ChannelType record;
  CopyText(record.name, name, sizeof(record.name) - 1);
  record.guid = type;
  record.baseGuid = base;
  record.versionInfo[0] = 1;
  record.versionInfo[1] = engineVersion;
  record.versionInfo[2] = build;
  return record;
}

inline ChannelType MakeType(const char* name, GUID type) { return MakeType(name, type, type); }

// Logs "construct NAME engine=<the engine its constructor saw>" and, at its
// one-time initialisation, whether it is in a group and how many links it holds
// by then.
class LoggingChannel : public Tvk_Channel {
 public:
  explicit LoggingChannel(const char* plugin) : plugin_(plugin) {
    char detail[64];
    std::snprintf(detail, sizeof detail, "engine=%p", static_cast<void*>(engine_));
    Log("construct", plugin_, detail);
  }

  void OneTimeInitialize() override {
    int linked = 0;
    for (int i = 0; i < GetChildCount(); ++i) {
      if (GetInternalChild(i)) ++linked;
    }
    char detail[64];
    std::snprintf(detail, sizeof detail, "inGroup=%d linked=%d", GetChannelGroup() ? 1 : 0, linked);
    Log("OneTimeInitialize", plugin_, detail);
  }

 protected:
  // A single-link position whose child the engine makes together with the channel.
  void DeclareAutomaticChild(int position, GUID accepted, GUID childType, const char* childName) {
    ChildCreation creation;
    creation.channelType.guid = accepted;
    creation.requestLink = position;
    creation.createChild = 1;
    creation.childTypeGuid = childType;
    CopyText(creation.childName, childName, kChildNameMaxChars);
    SetChildCreateType(creation, position);
  }

 private:
  const char* plugin_;
};

}  // namespace testplugin

// Marks every load and unload of the library in the probe log.
#define TEST_PLUGIN_LOAD_MARK(plugin)                         \
  namespace {                                                 \
  struct LoadMark {                                           \
    LoadMark() { testplugin::Log("load", plugin); }           \
    ~LoadMark() { testplugin::Log("unload", plugin); }        \
  } loadMark;                                                 \
  }

#define TEST_PLUGIN_GET_TYPE(plugin, record)               \
  namespace {                                              \
  ChannelType typeRecord = record;                         \
  }                                                        \
  VARNEL_PLUGIN_C_API ChannelType* GetType() {             \
    testplugin::Log("GetType", plugin);                    \
    return &typeRecord;                                    \
  }

#define TEST_PLUGIN_INIT_DLL(plugin, Channel)              \
  VARNEL_PLUGIN_C_API DllInterface* InitDLL() {            \
    testplugin::Log("InitDLL", plugin);                    \
    return new Channel();                                  \
  }
