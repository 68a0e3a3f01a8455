#include "Tvo_Lua.h"

#include <cstdio>
#include <cstring>

#include <lua.hpp>

#include "BoundedText.h"
#include "ChildLinks.h"
#include "EngineInterface.h"
#include "internal/ChannelKinds.h"
#include "internal/ChannelLibraries.h"
#include "internal/ChannelTypes.h"
#include "internal/Numbers.h"
#include "internal/ScriptEnvironment.h"
#include "internal/ScriptRuns.h"
#include "internal/UniqueChannels.h"

namespace {

constexpr int kFrameEvent = 0;

// Scripts reach other channels, which may run scripts of their own: a chain of
// runs that calls back into itself would otherwise use up the thread's stack.
constexpr int kMaxNestedRuns = 200;
thread_local int nestedRuns = 0;

class NestedRun {
 public:
  NestedRun() : allowed_(nestedRuns < kMaxNestedRuns) { ++nestedRuns; }
  ~NestedRun() { --nestedRuns; }
  NestedRun(const NestedRun&) = delete;
  NestedRun& operator=(const NestedRun&) = delete;
  bool Allowed() const { return allowed_; }

 private:
  bool allowed_;
};

constexpr char kTooDeep[] = "Error script runs nested too deeply";
constexpr char kNotStarted[] = "Script not valid Lua not started";

// Runs one of the script's functions, refused while no script runs or when
// runs nest too deeply. `useResults` reads what the function left on the
// stack; the stack is put back afterwards. False with `errorText` set when the
// function is missing, fails or its results are refused.
template <typename UseResults>
bool RunScriptFunction(lua_State* L, Tvk_String& errorText, lua_channel::ScriptFunction function, int results,
                       const char* notFound, UseResults useResults) {
  if (!L) {
    errorText.SetString(kNotStarted);
    return false;
  }
  const NestedRun nested;
  if (!nested.Allowed()) {
    errorText.SetString(kTooDeep);
    return false;
  }
  const int top = lua_gettop(L);
  bool done = false;
  switch (lua_channel::CallScriptFunction(L, function, results)) {
    case lua_channel::RunStatus::kNotFound:
      errorText.SetString(notFound);
      break;
    case lua_channel::RunStatus::kFailed:
      lua_channel::CopyErrorText(L, errorText);
      break;
    case lua_channel::RunStatus::kDone:
      done = useResults(L);
      break;
  }
  lua_settop(L, top);
  return done;
}

// The script libraries, in the order a script's globals expect them: the
// channel library, then the channel group library. A Lua C function for
// lua_cpcall.
int RegisterVarnelLibraries(lua_State* L) {
  lua_channel::RegisterChannelLibrary(L);
  lua_channel::RegisterChannelGroupLibrary(L);
  return 0;
}

}  // namespace

Tvo_Lua::Tvo_Lua()
    : luaState(nullptr),
      frameTimeChannel(nullptr),
      errorReported(false),
      windowPos{-1, -1, -1, -1},
      dynamicLoader(nullptr),
      arrayUnique(nullptr) {
  SetChannelName("Lua Script");
  SetChildCreationCount(1);
  ChildCreation links;
  links.requestLink = -1;
  CopyText(links.childName, "Channels to access", kChildNameMaxChars);
  links.createChild = 0;
  links.userValue = 0;
  SetChildCreateType(links, 0);
  if (engine_) {
    frameTimeChannel = engine_->InitChannelFromType(kFrameTimeType, nullptr, false);
    arrayUnique = static_cast<Tvo_Array_Unique*>(engine_->GetUniqueChannel(kArrayUniqueType, nullptr));
  }
}

Tvo_Lua::~Tvo_Lua() {
  delete frameTimeChannel;
  frameTimeChannel = nullptr;
  CloseLua();
  if (engine_) engine_->RemoveChannelFromEvent(this, kFrameEvent);
}

void Tvo_Lua::CloseLua() {
  if (luaState) lua_close(luaState);
  luaState = nullptr;
}

// ---- starting a script ------------------------------------------------------------

bool Tvo_Lua::SetScript(const char* text) {
  if (!text) {
    if (engine_) engine_->showUserErrorMessage("Script not valid");
    return false;
  }
  script.SetString(text);
  if (!script.GetString()) {
    CloseLua();
    return false;
  }
  return OpenNewLua();
}

const char* Tvo_Lua::GetScript() { return script.GetString(); }

const char* Tvo_Lua::GetError() { return errorText.GetString(); }

bool Tvo_Lua::FailStart(const char* message) {
  errorText.SetString(message);
  if (engine_) engine_->showErrorMessage("cannot run configuration file: ", errorText.GetString());
  CloseLua();
  return false;
}

bool Tvo_Lua::OpenNewLua() {
  CloseLua();
  luaState = luaL_newstate();
  if (!luaState) return FailStart("not enough memory");
  if (lua_cpcall(luaState, lua_channel::OpenScriptEnvironment, nullptr) != 0 ||
      lua_cpcall(luaState, lua_channel::PrepareRuns, nullptr) != 0) {
    lua_channel::CopyErrorText(luaState, errorText);
    return FailStart(errorText.GetString());
  }
  Luaopen_VarnelLIB(luaState);

  const char* text = script.GetString();
  if (!text || text[0] == '\0') {
    errorText.SetString("Error no script found");
    CloseLua();
    return false;
  }
  // Precompiled chunks bypass the compiler's checks and can break the
  // interpreter; a script is always source text.
  if (text[0] == LUA_SIGNATURE[0]) return FailStart("precompiled chunks are not accepted as scripts");

  const char* chunkName = GetChannelName() ? GetChannelName() : "Lua Script";
  int status = luaL_loadbuffer(luaState, text, std::strlen(text), chunkName);
  if (status == 0) status = lua_pcall(luaState, 0, 0, 0);
  if (status == 0) status = lua_cpcall(luaState, lua_channel::RegisterOwnChannel, this);
  if (status != 0) {
    lua_channel::CopyErrorText(luaState, errorText);
    return FailStart(errorText.GetString());
  }
  errorReported = false;
  return true;
}

int Tvo_Lua::Luaopen_VarnelLIB(lua_State* L) {
  if (L && lua_cpcall(L, RegisterVarnelLibraries, nullptr) != 0) {
    // Only memory runs out here; the script then finds the libraries missing.
    lua_pop(L, 1);
  }
  return 1;
}

// ---- runs ---------------------------------------------------------------------------

bool Tvo_Lua::RunValue(float& value) {
  return RunScriptFunction(luaState, errorText, lua_channel::ScriptFunction::kGetValue, 1,
                           "Error GetValue function not found", [&](lua_State* L) {
                             if (!lua_isnumber(L, -1)) {
                               errorText.SetString("GetValue did not return a value");
                               return false;
                             }
                             value = lua_channel::NarrowToFloat(lua_tonumber(L, -1));
                             value_ = value;
                             return true;
                           });
}

float Tvo_Lua::GetFloat() {
  float value = 0.0f;
  return RunValue(value) ? value : 0.0f;
}

bool Tvo_Lua::RunScriptValue() {
  float value = 0.0f;
  if (!RunValue(value)) return false;
  char result[64];
  std::snprintf(result, sizeof result, "Result was %.4g", static_cast<double>(value));
  errorText.SetString(result);
  return true;
}

bool Tvo_Lua::RunScriptCall() {
  return RunScriptFunction(luaState, errorText, lua_channel::ScriptFunction::kCallChannel, 0,
                           "Error CallChannel function not found", [](lua_State*) { return true; });
}

// A failing call is shown once per start; later failures only change the
// error text.
void Tvo_Lua::CallChannel() {
  if (RunScriptCall() || errorReported) return;
  if (engine_) engine_->showUserErrorMessage("Error in lua script", errorText.GetString());
  errorReported = true;
}

// ---- engine events and the outside channels -------------------------------------

void Tvo_Lua::OneTimeInitialize() {
  if (engine_) engine_->AddChannelToEvent(this, kFrameEvent);
}

void Tvo_Lua::DoEvent(int event, unsigned long) {
  if (event == kFrameEvent && dynamicLoader) dynamicLoader->UpdateQueue();
}

void Tvo_Lua::DoDependencyInit(Tvk_List* dependencies) {
  AddChannelGuidDepend(kDynamicLuaLoadingType, dependencies);
  AddChannelGuidDepend(kArrayUniqueType, dependencies);
}

float Tvo_Lua::GetTickCount() {
  Tvo_FloatChannel* frameTime = lua_channel::AsValueChannel(frameTimeChannel);
  return frameTime ? frameTime->GetFloat() : 0.0f;
}

Tvo_DynamicLuaLoading* Tvo_Lua::GetDynamicQueueedLoader() {
  if (!dynamicLoader && engine_) {
    dynamicLoader = static_cast<Tvo_DynamicLuaLoading*>(engine_->GetUniqueChannel(kDynamicLuaLoadingType, nullptr));
  }
  return dynamicLoader;
}

Tvo_Array_Unique* Tvo_Lua::GetArrayUnique() { return arrayUnique; }

// Array tables live in the engine's array channel, whose table interface the
// array library brings; until then there is nothing to sort or swap.
void Tvo_Lua::SortArrayTable(int, int, int) {}

void Tvo_Lua::SwapRows(int, int, int) {}

// ---- editor support ---------------------------------------------------------------

void Tvo_Lua::DoTestFunction() {
  if (engine_) engine_->showMessageBox("Getchannel name", GetChannelName());
}

LuaWindowPos Tvo_Lua::GetWindowSize() { return windowPos; }

void Tvo_Lua::SetWindowSize(LuaWindowPos pos) { windowPos = pos; }
