// Its InitDLL makes nothing.
#include "PluginKit.h"

TEST_PLUGIN_LOAD_MARK("NullInit")
TEST_PLUGIN_GET_TYPE("NullInit", testplugin::MakeType("NullInit", testplugin::kNullInitType))

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  testplugin::Log("InitDLL", "NullInit");
  return nullptr;
}
