// Reads project packages. A package comes from anywhere, so every block is
// checked against the loaded bytes before it is used, every count against what
// the bytes can hold, carried files are never copied out of the package, and a
// carried file is written only under a plain name into channels\ or 3rd\.

#include "ProjectPackageLoader.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "BoundedText.h"
#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "Guid.h"
#include "Platform.h"
#include "TvkFile.h"

namespace {

constexpr int kPackageRead = 0;
constexpr int kPackageUnreadable = 1;
constexpr int kPackageRefused = 2;
// Not results: the caller goes on with the next entry or part, or with the
// part after a series of entries.
constexpr int kGoOn = -1;
constexpr int kNoMoreEntries = -2;

constexpr std::size_t kPackagePathMaxChars = kStartGroupFileSize - 1;
constexpr std::size_t kLibraryCheckPathMaxChars = 258;
constexpr std::size_t kLoadBoxMaxChars = 298;
constexpr std::size_t kChannelBoxMaxChars = 498;
constexpr std::uint32_t kTagBytes = 4;
constexpr int kCarriedNameSize = 260;

constexpr const char* kErrorCaption = "Varnel Error";
constexpr const char* kViewerAddress = "https://varnel.invalid/viewer";

void ShowErrorBox(HWND owner, const char* text) {
  platform::ShowModalMessageBox(owner, text, kErrorCaption, platform::MessageBoxIcon::Error,
                                platform::MessageBoxButtons::Ok);
}

// ---- reading blocks that nobody vouches for ----------------------------------------------

enum class Field { kMissing, kRead, kDamaged };

// A fixed-size block: exactly `size` bytes, all of them inside the data.
bool ReadExactBlock(TvkFileLoader& loader, void* field, std::uint32_t size) {
  if (!loader.GetIfBlockInsideData() || loader.GetSizeDataBlock(false) != size) return false;
  return loader.CopyTagDataToPointer(field, size);
}

Field ReadOptionalInt(TvkFileLoader& loader, const char* tag, std::int32_t& value) {
  if (!loader.GetInfoIfTag(tag)) return Field::kMissing;
  return ReadExactBlock(loader, &value, sizeof value) ? Field::kRead : Field::kDamaged;
}

// A text whose block must fit the buffer with room for a terminator, so the
// text is terminated whatever the block holds.
Field ReadOptionalText(TvkFileLoader& loader, const char* tag, char* text, std::uint32_t size) {
  std::memset(text, 0, size);
  if (!loader.GetInfoIfTag(tag)) return Field::kMissing;
  return loader.CopyTagDataToPointer(text, size - 1) ? Field::kRead : Field::kDamaged;
}

// A count of entries of at least one tag each: more than the rest of the data
// can hold means the package is damaged.
Field ReadOptionalCount(TvkFileLoader& loader, const char* tag, int& count) {
  std::int32_t value = 0;
  const Field field = ReadOptionalInt(loader, tag, value);
  if (field != Field::kRead) return field;
  const int remaining = loader.GetRemainingSize();
  if (value < 0 || static_cast<std::uint32_t>(value) > static_cast<std::uint32_t>(remaining) / kTagBytes) {
    return Field::kDamaged;
  }
  count = value;
  return Field::kRead;
}

// A file the package carries: its name and, after the name only, its stated
// size and its bytes. The bytes stay inside the loaded package.
struct CarriedFile {
  char name[kCarriedNameSize];
  std::uint32_t size = 0;
  const char* bytes = nullptr;
};

// The stated size must be the size of the carried block; without a stated
// size the file counts as empty.
Field ReadCarriedFile(TvkFileLoader& loader, const char* const tags[3], CarriedFile& file) {
  const Field name = ReadOptionalText(loader, tags[0], file.name, sizeof file.name);
  if (name != Field::kRead) return name;
  std::int32_t stated = 0;
  const Field sized = ReadOptionalInt(loader, tags[1], stated);
  if (sized == Field::kDamaged || stated < 0) return Field::kDamaged;
  file.size = static_cast<std::uint32_t>(stated);
  if (!loader.GetInfoIfTag(tags[2])) return Field::kRead;
  if (!loader.GetIfBlockInsideData()) return Field::kDamaged;
  const std::uint32_t carried = loader.GetSizeDataBlock(true);
  if (sized == Field::kRead && carried != file.size) return Field::kDamaged;
  file.bytes = loader.GetBuffer();
  loader.AddBufferPos(static_cast<int>(carried));
  return Field::kRead;
}

// ---- where a package may write -------------------------------------------------------------

// A bare file name: no directory part, no way up, no drive, not empty.
bool IsPlainFileName(const char* name) {
  if (name[0] == '\0' || std::strcmp(name, ".") == 0) return false;
  if (std::strpbrk(name, "/\\:") != nullptr) return false;
  return std::strstr(name, "..") == nullptr;
}

// The install directory followed by the folder and the name; false when that
// does not fit, since a cut path would name another file.
bool JoinInstallPath(const char* installDir, const char* folder, const char* name, char* path) {
  if (std::strlen(installDir) + std::strlen(folder) + std::strlen(name) > kPackagePathMaxChars) return false;
  CopyText(path, installDir, kPackagePathMaxChars);
  AppendText(path, folder, kPackagePathMaxChars);
  AppendText(path, name, kPackagePathMaxChars);
  return true;
}

// ---- the parts of a package -----------------------------------------------------------------

// The package after its header: start group, version, flags and the entries.
class PackageReader {
 public:
  PackageReader(EngineInterface* engine, TvkFileLoader& package, const char* path)
      : engine_(engine), package_(package), path_(path) {}

  int ReadStartGroup(const char* directory, char* startGroupFile);
  int CheckEngineVersion();
  void ReadKeepRunning();
  int ReadEntries();

 private:
  int ReadEntrySeries(int channels);
  int ReadNeededChannel(int entry);
  int ReadSupportLibrary(int entry);
  bool ChannelNeedsInstalling(const GUID& type, const std::int32_t required[3]);
  bool LibraryMissing(const char* name);
  int Install(const CarriedFile& file, const char* folder, const char* entryKind, int entry);
  bool WriteFile(const char* target, const CarriedFile& file);
  void ShowChannelBox(const char* text, const GUID& type);
  int Damaged();

  EngineInterface* engine_;
  TvkFileLoader& package_;
  const char* path_;
  ChannelList* channelList_ = nullptr;
  TvkFileLoader* checker_ = nullptr;
  TvkFileSaver* saver_ = nullptr;
};

int PackageReader::Damaged() {
  char text[kLoadBoxMaxChars + 2];
  CopyText(text, "The vnl file is damaged or incomplete : ", kLoadBoxMaxChars);
  AppendText(text, path_, kLoadBoxMaxChars);
  ShowErrorBox(nullptr, text);
  return kPackageUnreadable;
}

// A name block too long for the field leaves the name empty; the block is
// passed over so the rest of the package still reads.
int PackageReader::ReadStartGroup(const char* directory, char* startGroupFile) {
  char name[kStartGroupFileSize] = {};
  if (package_.GetInfoIfTag("VSGR")) {
    if (!package_.GetIfBlockInsideData()) return Damaged();
    if (package_.GetSizeDataBlock(false) < kStartGroupFileSize) {
      package_.CopyTagDataToPointer(name, kStartGroupFileSize - 1);
    } else {
      package_.SkipDataBlock();
    }
  }
  CopyText(startGroupFile, directory, kPackagePathMaxChars);
  AppendText(startGroupFile, name, kPackagePathMaxChars);
  return kGoOn;
}

int PackageReader::CheckEngineVersion() {
  std::int32_t required = 0;
  if (ReadOptionalInt(package_, "VMEV", required) == Field::kDamaged) return Damaged();
  if (engine_->engineInterfaceExt->GetInterfaceID() >= required) return kGoOn;
  const std::string text =
      std::string("Incorrect viewer version for vnl file. Please use new viewer found at ") + kViewerAddress;
  ShowErrorBox(nullptr, text.c_str());
  return kPackageRefused;
}

void PackageReader::ReadKeepRunning() {
  if (package_.GetInfoIfTag("VFKR")) engine_->engineInterfaceExt->SetIfKeepRunningApplication(true);
}

// The existence checks and the writes of all entries share one loader and
// one saver, made only when there are entries.
int PackageReader::ReadEntries() {
  int channels = 0;
  const Field channelCount = ReadOptionalCount(package_, "VDDC", channels);
  if (channelCount == Field::kMissing) return kPackageRead;
  if (channelCount == Field::kDamaged) return Damaged();

  channelList_ = engine_->engineInterfaceExt->GetChannelList();
  TvkFileLoader checker(engine_);
  TvkFileSaver saver(engine_);
  checker_ = &checker;
  saver_ = &saver;
  const int result = ReadEntrySeries(channels);
  checker_ = nullptr;
  saver_ = nullptr;
  return result;
}

int PackageReader::ReadEntrySeries(int channels) {
  int result = kGoOn;
  // An entry that begins with neither of its tags reads nothing, so every
  // entry after it would begin the same way.
  for (int entry = 0; entry < channels && result == kGoOn; ++entry) result = ReadNeededChannel(entry);
  if (result != kGoOn && result != kNoMoreEntries) return result;

  int libraries = 0;
  if (ReadOptionalCount(package_, "VDGC", libraries) == Field::kDamaged) return Damaged();
  result = kGoOn;
  for (int entry = 0; entry < libraries && result == kGoOn; ++entry) result = ReadSupportLibrary(entry);
  return result == kGoOn ? kPackageRead : result;
}

int PackageReader::ReadNeededChannel(int entry) {
  if (package_.GetInfoIfTag("VFDB")) return kGoOn;
  if (!package_.GetInfoIfTag("VNDB")) return kNoMoreEntries;
  GUID type = kZeroGuid;
  std::int32_t required[3] = {};
  if (!ReadExactBlock(package_, &type, sizeof type) || !ReadExactBlock(package_, required, sizeof required)) {
    return Damaged();
  }
  const bool install = ChannelNeedsInstalling(type, required);
  CarriedFile plugin;
  static const char* const kPluginTags[3] = {"VCAN", "VCAS", "VCAF"};
  if (ReadCarriedFile(package_, kPluginTags, plugin) == Field::kDamaged) return Damaged();
  if (!install) return kGoOn;
  const int installed = Install(plugin, "\\channels\\", "needed channel", entry);
  if (installed != kGoOn) return installed;
  if (channelList_) channelList_->SetVersionInfo(type, required);
  return kGoOn;
}

int PackageReader::ReadSupportLibrary(int entry) {
  if (package_.GetInfoIfTag("VDFF")) return kGoOn;
  char needed[kCarriedNameSize];
  if (ReadOptionalText(package_, "VDDF", needed, sizeof needed) == Field::kDamaged) return Damaged();
  const bool install = LibraryMissing(needed);
  CarriedFile library;
  static const char* const kLibraryTags[3] = {"VDLN", "VDLS", "VDLF"};
  if (ReadCarriedFile(package_, kLibraryTags, library) == Field::kDamaged) return Damaged();
  if (!install) return kGoOn;
  return Install(library, "\\3rd\\", "support library", entry);
}

void PackageReader::ShowChannelBox(const char* text, const GUID& type) {
  char message[kChannelBoxMaxChars + 2];
  CopyText(message, text, kChannelBoxMaxChars);
  AppendText(message, GuidText(type).c_str(), kChannelBoxMaxChars);
  ShowErrorBox(nullptr, message);
}

bool PackageReader::ChannelNeedsInstalling(const GUID& type, const std::int32_t required[3]) {
  bool install = false;
  const ChannelListItem* item = channelList_ ? channelList_->GetItem(type) : nullptr;
  if (!item) {
    ShowChannelBox("A channel that is needed for this project was not found in the installation path : ", type);
    install = true;
  } else if (item->loadFailed) {
    ShowChannelBox("A channel that is needed for this project failed to initialize : ", type);
    install = true;
  }
  const ChannelType known = channelList_ ? channelList_->GetChannelType(type) : ChannelType();
  for (int place = 0; place < 3; ++place) {
    if (known.versionInfo[place] >= required[place]) continue;
    ShowChannelBox("A channel that is needed for this project has an incorrect engine version : ", type);
    return true;
  }
  return install;
}

bool PackageReader::LibraryMissing(const char* name) {
  char path[kLibraryCheckPathMaxChars + 2];
  CopyText(path, engine_->GetInstallDir(), kLibraryCheckPathMaxChars);
  AppendText(path, "\\3rd\\", kLibraryCheckPathMaxChars);
  AppendText(path, name, kLibraryCheckPathMaxChars);
  if (checker_->LoadFile(path)) return false;
  ShowErrorBox(nullptr, "Unable to locate third party dll");
  return true;
}

int PackageReader::Install(const CarriedFile& file, const char* folder, const char* entryKind, int entry) {
  if (file.size == 0 || !file.bytes) return kPackageRefused;
  if (!IsPlainFileName(file.name)) {
    const std::string text = std::string("The vnl file may not install a file under this name : ") + file.name + " (" +
                             entryKind + " entry " + std::to_string(entry + 1) + ")";
    ShowErrorBox(nullptr, text.c_str());
    return kPackageRefused;
  }
  char target[kStartGroupFileSize];
  if (!JoinInstallPath(engine_->GetInstallDir(), folder, file.name, target) || !WriteFile(target, file)) {
    engine_->showErrorMessage("ProjectPackageLoader: unable to install the file", file.name);
    return kPackageRefused;
  }
  return kGoOn;
}

// The saver replaces the target only when the whole file was written, so a
// failed install leaves the file that was there before.
bool PackageReader::WriteFile(const char* target, const CarriedFile& file) {
  if (!saver_->OpenSaveFile(target, false)) return false;
  saver_->SaveDataToFile(file.bytes, file.size);
  return saver_->CloseSaveFile();
}

// ---- loading the package ----------------------------------------------------------------------

// Up to and including the last separator; empty without one.
void PackageDirectory(const char* path, char* directory) {
  const char* lastSeparator = std::strrchr(path, '\\');
  const char* lastSlash = std::strrchr(path, '/');
  if (!lastSeparator || (lastSlash && lastSlash > lastSeparator)) lastSeparator = lastSlash;
  directory[0] = '\0';
  if (!lastSeparator) return;
  const auto length = static_cast<std::size_t>(lastSeparator - path) + 1;
  CopyText(directory, path, length < kPackagePathMaxChars ? length : kPackagePathMaxChars);
}

bool FileLoaderInstalled(EngineInterface* engine) {
  Tvk_Channel* channel = engine->InitChannelFromType(kFileLoaderType, nullptr, false);
  delete channel;
  return channel != nullptr;
}

// The user may retry as often as he likes; Cancel gives up.
bool LoadPackage(EngineInterface* engine, TvkFileLoader& package, const char* path) {
  while (!package.LoadFile(path)) {
    char text[kLoadBoxMaxChars + 2];
    CopyText(text,
             std::strstr(path, "http") ? "There was an error downloading the vnl file : "
                                       : "There was an error loading the vnl file : ",
             kLoadBoxMaxChars);
    AppendText(text, path, kLoadBoxMaxChars);
    const platform::MessageBoxAnswer answer =
        platform::ShowModalMessageBox(engine->GetWindowHandle(), text, "Warning", platform::MessageBoxIcon::Exclamation,
                                      platform::MessageBoxButtons::RetryCancel);
    if (answer != platform::MessageBoxAnswer::Retry) return false;
  }
  return true;
}

}  // namespace

ProjectPackageLoader::ProjectPackageLoader(EngineInterface* engine) : engineInterface_(engine), startGroupFile_{} {}

ProjectPackageLoader::~ProjectPackageLoader() = default;

const char* ProjectPackageLoader::GetStartGroupFile() { return startGroupFile_; }

int ProjectPackageLoader::InitializeVNLFile(const char* path) {
  if (!engineInterface_) return kPackageUnreadable;
  TvkFileLoader package(engineInterface_);
  if (!path) {
    ShowErrorBox(nullptr, "Invalid filename of vnl file");
    return kPackageUnreadable;
  }
  char directory[kStartGroupFileSize];
  PackageDirectory(path, directory);
  if (!FileLoaderInstalled(engineInterface_)) {
    ShowErrorBox(engineInterface_->GetWindowHandle(),
                 "The varnel viewer was unable to start the file loading module. Please re-install the viewer "
                 "package.");
    return kPackageUnreadable;
  }
  if (!LoadPackage(engineInterface_, package, path)) return kPackageUnreadable;
  if (package.CheckHeader("TRNF", false)) engineInterface_->engineInterfaceExt->TranslateFile(&package);

  PackageReader reader(engineInterface_, package, path);
  int result = reader.ReadStartGroup(directory, startGroupFile_);
  if (result == kGoOn) result = reader.CheckEngineVersion();
  if (result != kGoOn) return result;
  reader.ReadKeepRunning();
  return reader.ReadEntries();
}
