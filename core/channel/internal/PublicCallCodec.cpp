#include "internal/PublicCallCodec.h"

#include <cstring>

#include "internal/LittleEndian.h"

namespace public_call_codec {

namespace {

using little_endian::GetGuid;
using little_endian::GetI32;
using little_endian::PutGuid;
using little_endian::PutI32;

// Offsets of the public call's own fields.
constexpr std::size_t kChannelName = 0;
constexpr std::size_t kPoolName = 80;
constexpr std::size_t kFileName = 160;
constexpr std::size_t kRequestedNr = 420;
constexpr std::size_t kAutoLoad = 424;
constexpr std::size_t kDynamicAutoLoad = 428;
constexpr std::size_t kChildCreation = 432;

// Offsets inside the embedded link position.
constexpr std::size_t kTypeName = 0;
constexpr std::size_t kTypeGuid = 80;
constexpr std::size_t kTypeBaseGuid = 96;
constexpr std::size_t kTypeVersion = 112;
constexpr std::size_t kTypeUserValue1 = 124;
constexpr std::size_t kTypeUserValue2 = 128;
constexpr std::size_t kRequestLink = 132;
constexpr std::size_t kCreateChild = 137;
constexpr std::size_t kChildName = 138;
constexpr std::size_t kChildTypeGuid = 240;
constexpr std::size_t kUserValue = 260;  // 256 holds the reference, never stored

static_assert(kChildCreation + kChildCreationFileSize == kEncodedSize, "the link position ends the record");

template <std::size_t N>
void PutText(unsigned char* at, const char (&text)[N]) {
  std::size_t length = 0;
  while (length < N - 1 && text[length] != '\0') ++length;
  std::memcpy(at, text, length);  // the rest of the field stays zero
}

template <std::size_t N>
void GetText(char (&text)[N], const unsigned char* at) {
  std::memcpy(text, at, N);
  text[N - 1] = '\0';
}

void EncodeChildCreation(const ChildCreation& creation, unsigned char* out) {
  const ChannelType& type = creation.channelType;
  PutText(out + kTypeName, type.name);
  PutGuid(out + kTypeGuid, type.guid);
  PutGuid(out + kTypeBaseGuid, type.baseGuid);
  for (int i = 0; i < 3; ++i) PutI32(out + kTypeVersion + 4 * i, type.versionInfo[i]);
  PutI32(out + kTypeUserValue1, type.userValue1);
  PutI32(out + kTypeUserValue2, type.userValue2);
  PutI32(out + kRequestLink, creation.requestLink);
  out[kCreateChild] = static_cast<unsigned char>(creation.createChild);
  PutText(out + kChildName, creation.childName);
  PutGuid(out + kChildTypeGuid, creation.childTypeGuid);
  PutI32(out + kUserValue, creation.userValue);
}

void DecodeChildCreation(const unsigned char* in, ChildCreation& creation) {
  ChannelType& type = creation.channelType;
  GetText(type.name, in + kTypeName);
  type.guid = GetGuid(in + kTypeGuid);
  type.baseGuid = GetGuid(in + kTypeBaseGuid);
  for (int i = 0; i < 3; ++i) type.versionInfo[i] = GetI32(in + kTypeVersion + 4 * i);
  type.userValue1 = GetI32(in + kTypeUserValue1);
  type.userValue2 = GetI32(in + kTypeUserValue2);
  creation.requestLink = GetI32(in + kRequestLink);
  creation.reserved = 0;
  creation.createChild = static_cast<char>(in[kCreateChild]);
  GetText(creation.childName, in + kChildName);
  creation.childTypeGuid = GetGuid(in + kChildTypeGuid);
  creation.childInfo = nullptr;
  creation.userValue = GetI32(in + kUserValue);
}

}  // namespace

void Encode(const PublicCallInfo& info, unsigned char (&out)[kEncodedSize]) {
  std::memset(out, 0, kEncodedSize);
  PutText(out + kChannelName, info.channelName);
  PutText(out + kPoolName, info.poolName);
  PutText(out + kFileName, info.fileName);
  PutI32(out + kRequestedNr, info.requestedPublicChannelNr);
  out[kAutoLoad] = static_cast<unsigned char>(info.autoLoadGroup);
  PutI32(out + kDynamicAutoLoad, info.dynamicAutoLoadGroup);
  EncodeChildCreation(info.childCreation, out + kChildCreation);
}

PublicCallInfo Decode(const unsigned char (&in)[kEncodedSize]) {
  PublicCallInfo info;
  GetText(info.channelName, in + kChannelName);
  GetText(info.poolName, in + kPoolName);
  GetText(info.fileName, in + kFileName);
  info.requestedPublicChannelNr = GetI32(in + kRequestedNr);
  info.autoLoadGroup = static_cast<char>(in[kAutoLoad]);
  std::memset(info.padding, 0, sizeof(info.padding));
  info.dynamicAutoLoadGroup = GetI32(in + kDynamicAutoLoad);
  DecodeChildCreation(in + kChildCreation, info.childCreation);
  return info;
}

}  // namespace public_call_codec
