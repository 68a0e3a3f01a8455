#include "ToolSupport.h"

#include <cstdlib>
#include <cstring>

#include "EngineControl.h"
#include "EngineDirectory.h"
#include "EngineInterface.h"

namespace buildtools {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<GUID> ParseGuid(const std::string& text) {
  std::string body = text;
  if (body.size() == 38 && body.front() == '{' && body.back() == '}') body = body.substr(1, 36);
  if (body.size() != 36) return std::nullopt;
  unsigned char bytes[16];
  int count = 0;
  // Every group has an even number of digits, so a pair never spans a dash.
  for (std::size_t i = 0; i < body.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (body[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int high = HexDigit(body[i]), low = HexDigit(body[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[count++] = static_cast<unsigned char>(high * 16 + low);
    i += 2;
  }
  if (count != 16) return std::nullopt;
  // The text reads the three integers most significant byte first.
  GUID guid{};
  guid.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  guid.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  guid.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return guid;
}

ToolEngine::ToolEngine(const std::string& installDir, const char* settingsKey) : control_(GetEngineControlInstance()) {
  control_->SetInstallDir(installDir.c_str());
  control_->SetVarnelRegKey(settingsKey);
  char className[] = "Varnel Tool";
  if (control_->InitEngine(nullptr, className, nullptr)) engine_ = control_->GetEngineInterface();
}

ToolEngine::~ToolEngine() { delete control_; }

std::string EngineDirectory() {
  if (const char* dir = std::getenv("VARNEL_ENGINE_DIR")) return dir;
  return viewer::DefaultEngineDirectory();
}

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) return true;
  return false;
}

}  // namespace buildtools
