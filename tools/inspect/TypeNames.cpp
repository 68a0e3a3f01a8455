#include "TypeNames.h"

#include <cstring>
#include <filesystem>

#include "ChannelType.h"
#include "TagStream.h"

namespace inspect {
namespace {

constexpr std::uint32_t kFileNameBytes = 260;

std::string BoundedText(const unsigned char* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  return std::string(text, strnlen(text, size));
}

}  // namespace

bool TypeNames::Load(const std::string& installDir, std::string& message) {
  const std::string path = (std::filesystem::path(installDir) / "channels.lst").string();
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, bytes, message)) return false;
  const TagStream stream = SplitTags(std::move(bytes));
  // Each "CHTY" type record is named by the "C1FN" file name after it.
  const TagItem* pendingType = nullptr;
  for (const TagItem& item : stream.items) {
    if (item.tag == "CHTY" && item.blocks.size() == 1 && item.blocks[0].size == sizeof(ChannelType)) {
      pendingType = &item;
    } else if (item.tag == "C1FN" && pendingType && item.blocks.size() == 1 && item.blocks[0].size == kFileNameBytes) {
      ChannelType type;
      std::memcpy(&type, stream.Data(pendingType->blocks[0]), sizeof type);
      byGuid_[GuidText(type.guid)] = {BoundedText(reinterpret_cast<const unsigned char*>(type.name), sizeof type.name),
                                      BoundedText(stream.Data(item.blocks[0]), kFileNameBytes)};
      pendingType = nullptr;
    }
  }
  if (!stream.error.empty()) {
    message = path + ": " + stream.error;
    return false;
  }
  return true;
}

const TypeName* TypeNames::Find(const GUID& guid) const {
  const auto found = byGuid_.find(GuidText(guid));
  return found == byGuid_.end() ? nullptr : &found->second;
}

}  // namespace inspect
