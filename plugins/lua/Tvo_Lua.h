#pragma once

#include <cstdint>

#include "EngineCoreExport.h"
#include "Guid.h"
#include "Tvk_String.h"
#include "Tvo_FloatChannel.h"

struct lua_State;
class Tvo_DynamicLuaLoading;
class Tvo_Array_Unique;

inline constexpr GUID kLuaScriptType{0x2B7D40C9, 0xE15A, 0x4F63, {0x9C, 0x2E, 0x58, 0xA1, 0xD3, 0xF0, 0x7B, 0x64}};

// The editor's window rectangle for a channel's script; the channel only keeps it.
struct LuaWindowPos {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
};

// The Lua script channel: a value channel whose value is what the script's
// global GetValue returns and whose call runs the script's global CallChannel.
// Each channel owns one interpreter, alive while its script runs. The new
// operations follow those of Tvk_Channel and Tvo_FloatChannel in this order.
class VARNEL_PLUGIN_CLASS Tvo_Lua : public Tvo_FloatChannel {
 public:
  Tvo_Lua();
  ~Tvo_Lua() override;

  void CallChannel() override;
  void OneTimeInitialize() override;
  void DoEvent(int event, unsigned long data) override;
  bool SaveChannel(TvkFileSaver& saver) override;
  bool LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) override;
  void DoDependencyInit(Tvk_List* dependencies) override;
  float GetFloat() override;

  virtual int Luaopen_VarnelLIB(lua_State* L);
  virtual void DoTestFunction();
  virtual bool RunScriptCall();
  virtual bool RunScriptValue();
  virtual const char* GetError();
  virtual const char* GetScript();
  virtual bool SetScript(const char* text);
  virtual bool OpenNewLua();
  virtual float GetTickCount();
  virtual LuaWindowPos GetWindowSize();
  virtual void SetWindowSize(LuaWindowPos pos);
  virtual Tvo_DynamicLuaLoading* GetDynamicQueueedLoader();
  virtual Tvo_Array_Unique* GetArrayUnique();
  virtual void SortArrayTable(int order, int tableIndex, int columnIndex);
  virtual void SwapRows(int tableIndex, int firstRow, int secondRow);

 private:
  bool RunValue(float& value);
  void CloseLua();
  bool FailStart(const char* message);

  lua_State* luaState;
  Tvk_String errorText;
  Tvk_String script;
  Tvk_Channel* frameTimeChannel;
  bool errorReported;
  LuaWindowPos windowPos;
  Tvo_DynamicLuaLoading* dynamicLoader;
  Tvo_Array_Unique* arrayUnique;
};
