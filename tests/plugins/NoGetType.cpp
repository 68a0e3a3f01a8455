// Makes channels but cannot say of which type.
#include "PluginKit.h"

namespace {
class NoGetType : public testplugin::LoggingChannel {
 public:
  NoGetType() : LoggingChannel("NoGetType") {}
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("NoGetType")
TEST_PLUGIN_INIT_DLL("NoGetType", NoGetType)
