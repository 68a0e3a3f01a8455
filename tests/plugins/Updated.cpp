// A newer build of a type: versions 1, 54, 2.
#include "PluginKit.h"

namespace {
class Updated : public testplugin::LoggingChannel {
 public:
  Updated() : LoggingChannel("Updated") {}
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Updated")
TEST_PLUGIN_GET_TYPE("Updated", testplugin::MakeType("Updated", testplugin::kUpdatedType, testplugin::kUpdatedType,
                                                     kEngineVersion, 2))
TEST_PLUGIN_INIT_DLL("Updated", Updated)
