// The settings store: one file per key below the settings root. A key path
// such as "Software\Varnel\Viewer" names the file
// <root>/Software/Varnel/Viewer.settings; the directories appear on the first
// write. Key paths that could climb out of the root are refused.

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "Platform.h"
#include "internal/SettingsFormat.h"

namespace platform {
namespace {

constexpr const char* kFileSuffix = ".settings";
// A settings file holds a handful of short texts; anything this large is not one.
constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;

// Serialises read-modify-write cycles of this process, so two threads writing
// different values of one key do not lose either.
std::mutex& StoreMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string NonEmptyEnvironmentValue(const char* name) {
  return GetEnvironmentValue(name).value_or(std::string());
}

std::string HomeDirectory() {
  std::string home = NonEmptyEnvironmentValue("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    home = found->pw_dir;
  }
  return home;
}

// The key's components, or empty when the key path is not acceptable.
std::vector<std::string> SplitKeyPath(const char* keyPath) {
  std::vector<std::string> components;
  if (keyPath == nullptr || *keyPath == '\0') return components;
  std::string current;
  for (const char* c = keyPath;; ++c) {
    if (*c == '\\' || *c == '/' || *c == '\0') {
      if (current.empty() || current == "." || current == "..") return {};
      components.push_back(std::move(current));
      current.clear();
      if (*c == '\0') break;
    } else {
      current += *c;
    }
  }
  return components;
}

struct KeyLocation {
  std::string root;
  std::vector<std::string> directories;  // from the root down, each a full path
  std::string file;
};

bool LocateKey(const char* keyPath, KeyLocation& location) {
  const std::string root = SettingsRoot();
  const std::vector<std::string> components = SplitKeyPath(keyPath);
  if (root.empty() || components.empty()) return false;
  location.root = root;
  std::string path = root;
  for (std::size_t i = 0; i + 1 < components.size(); ++i) {
    path += '/';
    path += components[i];
    location.directories.push_back(path);
  }
  location.file = path + '/' + components.back() + kFileSuffix;
  return true;
}

bool MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  struct stat info;
  return errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The root may lie several levels below existing directories (a fresh home
// without ~/.config), so each level of it is made in turn.
bool MakeRootDirectories(const std::string& root) {
  for (std::size_t slash = root.find('/', 1); slash != std::string::npos; slash = root.find('/', slash + 1)) {
    if (!MakeDirectory(root.substr(0, slash))) return false;
  }
  return MakeDirectory(root);
}

bool MakeKeyDirectories(const KeyLocation& location) {
  if (!MakeRootDirectories(location.root)) return false;
  for (const std::string& directory : location.directories) {
    if (!MakeDirectory(directory)) return false;
  }
  return true;
}

std::optional<internal::SettingList> ReadKeyFile(const std::string& file) {
  std::vector<char> data;
  if (!ReadWholeFile(file.c_str(), data, kMaxSettingsFileSize)) return std::nullopt;
  return internal::ParseSettings(std::string_view(data.data(), data.size()));
}

}  // namespace

std::string SettingsRoot() {
  const std::string explicitRoot = NonEmptyEnvironmentValue("VARNEL_SETTINGS_DIR");
  if (!explicitRoot.empty()) return explicitRoot;
  // A relative configuration directory is no configuration directory.
  const std::string config = NonEmptyEnvironmentValue("XDG_CONFIG_HOME");
  if (!config.empty() && config[0] == '/') return config + "/varnel";
  const std::string home = HomeDirectory();
  if (home.empty()) return std::string();
  return home + "/.config/varnel";
}

bool SettingsKeyExists(const char* keyPath) {
  KeyLocation location;
  if (!LocateKey(keyPath, location)) return false;
  std::lock_guard<std::mutex> lock(StoreMutex());
  return ReadKeyFile(location.file).has_value();
}

bool WriteSetting(const char* keyPath, const char* valueName, const SettingValue& value) {
  KeyLocation location;
  if (valueName == nullptr || !LocateKey(keyPath, location)) return false;
  std::lock_guard<std::mutex> lock(StoreMutex());
  if (!MakeKeyDirectories(location)) return false;
  // A corrupt file holds nothing worth keeping; the write starts it afresh.
  internal::SettingList settings = ReadKeyFile(location.file).value_or(internal::SettingList());
  bool replaced = false;
  for (internal::NamedSetting& entry : settings) {
    if (entry.name == valueName) {
      entry.value = value;
      replaced = true;
    }
  }
  if (!replaced) settings.push_back({valueName, value});
  const std::string text = internal::SerializeSettings(settings);
  return WriteFileAtomically(location.file.c_str(), text.data(), text.size());
}

std::optional<SettingValue> ReadSetting(const char* keyPath, const char* valueName) {
  KeyLocation location;
  if (valueName == nullptr || !LocateKey(keyPath, location)) return std::nullopt;
  std::optional<internal::SettingList> settings;
  {
    std::lock_guard<std::mutex> lock(StoreMutex());
    settings = ReadKeyFile(location.file);
  }
  if (!settings) return std::nullopt;
  for (const internal::NamedSetting& entry : *settings) {
    if (entry.name == valueName) return entry.value;
  }
  return std::nullopt;
}

}  // namespace platform
