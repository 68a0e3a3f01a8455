// A host built outside the engine's source tree, against the installed package.
#include <EngineCore/EngineCore.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main() {
  auto settings = std::filesystem::temp_directory_path() / "varnel-outside-host-settings";
  platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", settings.c_str());

  EngineControl* control = GetEngineControlInstance();
  control->SetInstallDir(ENGINE_DIR);
  control->SetVarnelRegKey("Software\\Varnel\\OutsideHost");
  char className[] = "Outside Host";
  if (!control->InitEngine(nullptr, className, nullptr)) return 1;
  for (int frame = 0; frame < 10; ++frame) control->EngineLoop();
  const int treeCount = control->GetEngineInterface()->GetTreeCalculateCount();
  delete control;
  std::filesystem::remove_all(settings);
  std::printf("outside host ran 10 frames, tree count %d, engine version %d\n", treeCount, GetEngineVersion());
  return treeCount == 10 && GetEngineVersion() == 54 ? 0 : 2;
}
