#include "PackageSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace packagetest {

namespace {
const std::vector<std::string> kEverySiblingStart = {"Directory.dll", "tagreader.dll", "tagwriter.dll"};

void CopyInto(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  ASSERT_FALSE(error) << "cannot copy " << from << ": " << error.message();
}
}  // namespace

PackageInstall::PackageInstall(std::initializer_list<const char*> extraSiblings) {
  for (const std::string& file : kEverySiblingStart) AddSibling(file);
  for (const char* file : extraSiblings) AddSibling(file);
}

void PackageInstall::AddSibling(const std::string& file) {
  CopyInto(fs::path(testsupport::BuildEngineDir()) / "channels" / file, Path() / "channels" / file);
}

void PackageInstall::AddTestPlugin(const std::string& file) {
  CopyInto(fs::path(VARNEL_TEST_PLUGIN_DIR) / file, Path() / "channels" / file);
}

std::vector<std::string> PackageInstall::AllFiles() const {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(Path())) {
    const std::string name = entry.path().filename().string();
    if (name == "channels.lst" || name == "error.log") continue;
    files.push_back(fs::relative(entry.path(), Path()).string());
  }
  // Beside the install directory: where a name with a way up would land.
  for (const auto& entry : fs::directory_iterator(Path().parent_path())) {
    if (entry.path().filename().string().find("evil") != std::string::npos) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<char> TestPluginBytes(const std::string& file) {
  return ReadBytes((fs::path(VARNEL_TEST_PLUGIN_DIR) / file).string());
}

PackageWriter::PackageWriter(EngineInterface* engine) : saver_(engine) { saver_.OpenMemory(); }

PackageWriter& PackageWriter::Tag(const char* tag) {
  saver_.SaveTag(tag);
  return *this;
}

PackageWriter& PackageWriter::Block(const void* data, std::uint32_t size) { return Size(size).Raw(data, size); }

PackageWriter& PackageWriter::Size(std::uint32_t size) {
  saver_.SaveBlockSize(size);
  return *this;
}

PackageWriter& PackageWriter::Raw(const void* data, std::uint32_t size) {
  saver_.SaveDataToFile(data, size);
  return *this;
}

PackageWriter& PackageWriter::Block(const char* tag, const void* data, std::uint32_t size) {
  return Tag(tag).Block(data, size);
}

PackageWriter& PackageWriter::Int(const char* tag, std::int32_t value) { return Block(tag, &value, sizeof value); }

PackageWriter& PackageWriter::Text(const char* tag, const std::string& text) {
  return Block(tag, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
}

PackageWriter& PackageWriter::NeededChannel(const GUID& type, std::int32_t v0, std::int32_t v1, std::int32_t v2) {
  const std::int32_t versions[3] = {v0, v1, v2};
  return Block("VNDB", &type, sizeof type).Block(versions, sizeof versions);
}

PackageWriter& PackageWriter::Carried(const char* nameTag, const char* sizeTag, const char* dataTag,
                                      const std::string& name, const std::vector<char>& bytes) {
  Text(nameTag, name).Int(sizeTag, static_cast<std::int32_t>(bytes.size()));
  return Block(dataTag, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::vector<char> PackageWriter::Bytes() {
  const char* data = saver_.GetBuffer();
  return data ? std::vector<char>(data, data + saver_.GetBufferSize()) : std::vector<char>();
}

std::string PackageWriter::WriteTo(const std::string& path) {
  WriteBytes(path, Bytes());
  return path;
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace packagetest
