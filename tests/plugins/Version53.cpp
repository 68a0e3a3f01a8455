// A plug-in built for the previous engine version.
#include "PluginKit.h"

namespace {
class Version53 : public testplugin::LoggingChannel {
 public:
  Version53() : LoggingChannel("Version53") {}
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Version53")
TEST_PLUGIN_GET_TYPE("Version53", testplugin::MakeType("Version53", testplugin::kVersion53Type,
                                                       testplugin::kVersion53Type, 53))
TEST_PLUGIN_INIT_DLL("Version53", Version53)
