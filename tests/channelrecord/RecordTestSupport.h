#pragma once

// What the channel record tests share: an engine started on an install
// directory holding the file loader and saver plug-ins, groups to load into,
// the record written into memory and read back, and record bytes written out
// tag by tag.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ChildLinks.h"
#include "EngineInterface.h"
#include "Guid.h"
#include "TestSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace recordtest {

// ---- record bytes -------------------------------------------------------------------------

// A 32-bit little-endian value, as sizes and integers are stored.
std::string Le32(std::uint32_t value);
std::string Lone(const char* tag);
std::string Block(const char* tag, const std::string& data);
std::string Int(const char* tag, std::int32_t value);
std::string Byte(const char* tag, std::uint8_t value);
// The text with its terminator.
std::string Text(const char* tag, const std::string& text);
std::string GuidBytes(const GUID& guid);
std::string GuidBlock(const char* tag, const GUID& guid);

// The head every record starts with: "CHIC" 0, "CHNA" name, "CHIT" type.
std::string Head(const std::string& name, std::int32_t type);
// A link count and no nodes, then "CHUP" 0: the tail of a record without links
// or pools.
std::string NoLinks();

// Bytes as hexadecimal pairs, so that a mismatch shows where.
std::string Hex(const std::string& bytes);

// ---- channels -----------------------------------------------------------------------------

// A channel the way a plug-in builds one. With positions it declares a
// multi-link position 0 and a single-link position 1, both accepting every
// type.
class RecordChannel : public Tvk_Channel {
 public:
  explicit RecordChannel(const char* name = nullptr, int interfaceType = TVO_PRIVATE, bool withPositions = false);
  std::string Name() const { return GetChannelName() ? GetChannelName() : "<null>"; }
};

// ---- the fixture --------------------------------------------------------------------------

class InstallWithFileChannels : public testsupport::TempInstallDir {
 public:
  InstallWithFileChannels();
};

class RecordTest : public ::testing::Test {
 protected:
  RecordTest();
  ~RecordTest() override;

  // A channel of `target` (the test's group by default), which owns it.
  RecordChannel* Add(const char* name, int interfaceType = TVO_PRIVATE, bool withPositions = false,
                     Tvk_ChannelGroup* target = nullptr);

  // The channel's SaveChannel into a memory saver.
  std::string Save(Tvk_Channel& channel);
  // The channel's LoadChannel from a copy of the bytes; the loader is left
  // where the record ended, for tests that read on.
  bool Load(Tvk_Channel& channel, const std::string& bytes, Tvk_ChannelGroup* target);
  bool Load(Tvk_Channel& channel, const std::string& bytes) { return Load(channel, bytes, group.get()); }
  TvkFileLoader& LastLoader() { return *loader_; }

  testsupport::RecordingSink& Sink() { return engine.sink; }

  InstallWithFileChannels install;
  testsupport::StartedEngine engine{install.Path().string()};
  std::unique_ptr<Tvk_ChannelGroup> group{new Tvk_ChannelGroup(engine.Get())};
  std::unique_ptr<Tvk_ChannelGroup> otherGroup{new Tvk_ChannelGroup(engine.Get())};

 private:
  std::unique_ptr<TvkFileLoader> loader_;
};

}  // namespace recordtest
