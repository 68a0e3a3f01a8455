// A type record without a way to make a channel of it.
#include "PluginKit.h"

TEST_PLUGIN_LOAD_MARK("NoInitDLL")
TEST_PLUGIN_GET_TYPE("NoInitDLL", testplugin::MakeType("NoInitDLL", testplugin::kNoInitDllType))
