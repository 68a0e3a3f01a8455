// A channel type without links: the plain case.
#include "PluginKit.h"

namespace {
class Leaf : public testplugin::LoggingChannel {
 public:
  Leaf() : LoggingChannel("Leaf") {}
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Leaf")
TEST_PLUGIN_GET_TYPE("Leaf", testplugin::MakeType("Leaf", testplugin::kLeafType))
TEST_PLUGIN_INIT_DLL("Leaf", Leaf)
