// Two automatic children: a Child, named by the type its position accepts (no
// childTypeGuid), which brings its own Leaf; and a SharedBaseA at a position
// that accepts the shared base type.
#include "PluginKit.h"

namespace {
class Parent : public testplugin::LoggingChannel {
 public:
  Parent() : LoggingChannel("Parent") {
    SetChildCreationCount(2);
    DeclareAutomaticChild(0, testplugin::kChildType, kZeroGuid, testplugin::kChildName);
    DeclareAutomaticChild(1, testplugin::kSharedBase, testplugin::kSharedAType, testplugin::kSharedChildName);
  }
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Parent")
TEST_PLUGIN_GET_TYPE("Parent", testplugin::MakeType("Parent", testplugin::kParentType))
TEST_PLUGIN_INIT_DLL("Parent", Parent)
