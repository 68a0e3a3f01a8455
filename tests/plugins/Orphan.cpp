// Its first automatic child is of a type no plug-in offers; the second is a Leaf.
#include "PluginKit.h"

namespace {
class Orphan : public testplugin::LoggingChannel {
 public:
  Orphan() : LoggingChannel("Orphan") {
    SetChildCreationCount(2);
    DeclareAutomaticChild(0, kWildcardGuid, testplugin::kMissingType, testplugin::kLostChildName);
    DeclareAutomaticChild(1, kWildcardGuid, testplugin::kLeafType, testplugin::kFoundChildName);
  }
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Orphan")
TEST_PLUGIN_GET_TYPE("Orphan", testplugin::MakeType("Orphan", testplugin::kOrphanType))
TEST_PLUGIN_INIT_DLL("Orphan", Orphan)
