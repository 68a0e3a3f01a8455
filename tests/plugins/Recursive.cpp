// Asks for an automatic child of its own type, which would ask for another.
#include "PluginKit.h"

namespace {
class Recursive : public testplugin::LoggingChannel {
 public:
  Recursive() : LoggingChannel("Recursive") {
    SetChildCreationCount(1);
    DeclareAutomaticChild(0, testplugin::kRecursiveType, kZeroGuid, "Again");
  }
};
}  // namespace

TEST_PLUGIN_LOAD_MARK("Recursive")
TEST_PLUGIN_GET_TYPE("Recursive", testplugin::MakeType("Recursive", testplugin::kRecursiveType))
TEST_PLUGIN_INIT_DLL("Recursive", Recursive)
