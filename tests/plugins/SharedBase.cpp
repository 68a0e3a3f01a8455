// Two types with one base type, built from this file twice: SHARED_PLUGIN_NAME
// and SHARED_PLUGIN_TYPE name the variant.
#include "PluginKit.h"

namespace {
class SharedBase : public testplugin::LoggingChannel {
 public:
  SharedBase() : LoggingChannel(SHARED_PLUGIN_NAME) {}
};
}  // namespace

TEST_PLUGIN_LOAD_MARK(SHARED_PLUGIN_NAME)
TEST_PLUGIN_GET_TYPE(SHARED_PLUGIN_NAME, testplugin::MakeType(SHARED_PLUGIN_NAME, testplugin::SHARED_PLUGIN_TYPE,
                                                              testplugin::kSharedBase))
TEST_PLUGIN_INIT_DLL(SHARED_PLUGIN_NAME, SharedBase)
