// Makes a Leaf child at its only link position, which accepts every type: the
// child type comes from the position's childTypeGuid.
#include "PluginKit.h"

namespace {
class Child : public testplugin::LoggingChannel {
 public:
  Child() : LoggingChannel("Child") {
    SetChildCreationCount(1);
    DeclareAutomaticChild(0, kWildcardGuid, testplugin::kLeafType, testplugin::kGrandchildName);
  }
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Child")
TEST_PLUGIN_GET_TYPE("Child", testplugin::MakeType("Child", testplugin::kChildType))
TEST_PLUGIN_INIT_DLL("Child", Child)
