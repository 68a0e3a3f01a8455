// Records that cannot be read fail with their messages; records built to
// mislead the reader are refused or cut, never read out of bounds.

#include <climits>
#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "Diagnostics.h"
#include "PublicCallInfo.h"
#include "RecordTestSupport.h"
#include "TvkFile.h"

namespace recordtest {
namespace {

using RecordFailureTest = RecordTest;

std::vector<std::string> ErrorTexts(testsupport::RecordingSink& sink) { return sink.TextsOfType(kMessageError); }

TEST_F(RecordFailureTest, LoadingWithoutGroupFails) {
  RecordChannel* channel = Add("before");
  EXPECT_FALSE(Load(*channel, Head("x", TVO_PRIVATE) + NoLinks(), nullptr));
  EXPECT_EQ(ErrorTexts(Sink()), std::vector<std::string>{"Group is NULL"});
  EXPECT_EQ(channel->Name(), "before");
}

struct FailureCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> errors;
};

const FailureCase kFailures[] = {
    {"no data", "", {"Couldn't find channel name header"}},
    {"no name", Byte("CHIC", 0) + Int("CHIT", TVO_PRIVATE) + NoLinks(), {"Couldn't find channel name header"}},
    {"no link count", Head("Cam", TVO_PRIVATE) + Byte("CHUP", 0), {"Couldn't find channel linkcount header"}},
    {"fewer nodes than counted",
     Head("Cam", TVO_PRIVATE) + Int("CHLC", 2) + Int("CHLI", -1) + Byte("CHUP", 0),
     {"Couldn't find channel links header", "2", "Cam"}},
};

TEST_F(RecordFailureTest, MissingRequiredTagsFailWithTheirMessages) {
  for (const FailureCase& each : kFailures) {
    SCOPED_TRACE(each.what);
    Sink().Clear();
    RecordChannel* channel = Add("before");
    EXPECT_FALSE(Load(*channel, each.bytes));
    EXPECT_EQ(ErrorTexts(Sink()), each.errors);
  }
}

// Hostile records: sizes past the end, sizes that fit no field, counts far
// beyond the data. The sanitizer build proves nothing is read out of bounds.
struct HostileCase {
  const char* what;
  std::string bytes;
  bool loads;
  std::string errorContaining;  // empty: no particular message
};

const std::string kX600(600, 'x');

const HostileCase kHostile[] = {
    {"name block runs past the end", Byte("CHIC", 0) + Lone("CHNA") + Le32(1000) + "abc", false,
     "Couldn't find channel name header"},
    {"name block of the largest size", Lone("CHNA") + Le32(0xFFFFFFFFu) + "abc", false,
     "Couldn't find channel name header"},
    {"size field cut short", Lone("CHIC") + std::string("\x01\x00", 2), false, "Couldn't find channel name header"},
    {"data ends inside a tag", Head("x", TVO_PRIVATE) + "CH", false, "Couldn't find channel linkcount header"},
    {"flag block of another size is skipped",
     Block("CHIC", Le32(1)) + Text("CHNA", "x") + Int("CHIT", TVO_PRIVATE) + NoLinks(), true, "CHIC"},
    {"type block of another size is skipped", Byte("CHIC", 0) + Text("CHNA", "x") + Block("CHIT", "\x02") + NoLinks(),
     true, "CHIT"},
    {"public call block too short is skipped",
     Head("x", TVO_PUBLICCALL) + Block("CHES", std::string(10, 'y')) + NoLinks(), true, "CHES"},
    {"public call block runs past the end",
     Head("x", TVO_PUBLICCALL) + Lone("CHES") + Le32(696) + std::string(100, 'y'), false, "CHES"},
    {"negative link count", Head("x", TVO_PRIVATE) + Int("CHLC", -5) + Byte("CHUP", 0), true, ""},
    {"link count far beyond the data", Head("x", TVO_PRIVATE) + Int("CHLC", INT_MAX) + Int("CHLI", -1), false,
     "Couldn't find channel links header"},
    {"link index of another size", Head("x", TVO_PRIVATE) + Int("CHLC", 1) + Block("CHLI", "\x01\x02"), false,
     "Couldn't find channel links header"},
    {"link position that overflows the target",
     Head("x", TVO_PRIVATE) + Int("CHLC", 1) + Int("CHLI", 3) + Int("CHUL", INT_MIN) + Byte("CHUP", 0), true, ""},
    {"pool counts far beyond the data",
     Head("x", TVO_PRIVATE) + NoLinks() + Int("CHNC", INT_MAX) + Text("CHPN", "a") + Int("CPNC", INT_MAX) +
         Text("CPNP", "m"),
     true, ""},
    {"negative pool counts", Head("x", TVO_PRIVATE) + NoLinks() + Int("CHNC", -1) + Int("CPNC", INT_MIN), true, ""},
    {"interface count far beyond the data",
     Head("x", TVO_PUBLIC) + GuidBlock("CEPG", kZeroGuid) + Int("CHPC", INT_MAX) + Int("CHPT", 1) + NoLinks(), true,
     ""},
    {"pool name runs past the end",
     Head("x", TVO_PRIVATE) + NoLinks() + Int("CPNC", 1) + Lone("CPNP") + Le32(50) + "ab", false, "CPNP"},
    {"pool name without terminator at the very end",
     Head("x", TVO_PRIVATE) + NoLinks() + Int("CPNC", 1) + Block("CPNP", "Cars"), true, ""},
};

bool ContainsPart(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& text : texts) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST_F(RecordFailureTest, HostileRecordsAreRefusedOrCutSafely) {
  for (const HostileCase& each : kHostile) {
    SCOPED_TRACE(each.what);
    Sink().Clear();
    RecordChannel* channel = Add("before");
    EXPECT_EQ(Load(*channel, each.bytes), each.loads);
    if (!each.errorContaining.empty()) {
      EXPECT_TRUE(ContainsPart(ErrorTexts(Sink()), each.errorContaining));
    }
  }
}

TEST_F(RecordFailureTest, NameWithoutTerminatorIsCutToTheLongestName) {
  RecordChannel* channel = Add("before");
  ASSERT_TRUE(Load(*channel, Byte("CHIC", 0) + Block("CHNA", kX600) + Int("CHIT", TVO_PRIVATE) + NoLinks()));
  EXPECT_EQ(channel->Name(), std::string(kChannelNameMaxChars, 'x'));
}

TEST_F(RecordFailureTest, ShortPublicCallBlockLeavesTheDefaultRecord) {
  RecordChannel* call = Add("before");
  ASSERT_TRUE(Load(*call, Head("x", TVO_PUBLICCALL) + Block("CHES", std::string(10, 'y')) + NoLinks()));
  EXPECT_STREQ(channelInternal.GetPublicCallInfo(call).channelName, "No Name");
}

// Every cut and every changed byte of two full records, one public call and
// one public channel with an interface, both with links and pool names.
TEST_F(RecordFailureTest, EveryCutAndEveryChangedByteLoadsWithinTheData) {
  std::string ches(696, 'z');
  const std::string links = Int("CHLC", 2) + Int("CHLI", 1) + Int("CHUL", 0) + Int("CHRP", 0) + Int("CHLI", -1) +
                            Int("CHUL", 0);
  const std::string pools = Byte("CHUP", 1) + Int("CHNC", 2) + Text("CHPN", "World@Cars") + Lone("CHEN") +
                            Int("CPNC", 1) + Text("CPNP", "Trucks");
  const std::string records[] = {
      Head("call", TVO_PUBLICCALL) + Block("CHES", ches) + Byte("CHTM", 0) + links + pools,
      Head("door", TVO_PUBLIC) + GuidBlock("CEPG", group->GetUniqueGroupGuid()) + Int("CHPC", 2) + Int("CHPT", 1) +
          Int("CHPT", 0) + links + pools,
  };
  for (const std::string& record : records) {
    // A cut before the end of the links fails, except one that drops the last
    // node's optional "CHUL" tag whole or in part: that leaves a shorter
    // record that is complete.
    const std::size_t linksEnd = record.find("CHUP");
    const std::size_t lastOptionalTag = linksEnd - 12;
    for (std::size_t length = 0; length < record.size(); ++length) {
      Tvk_ChannelGroup into(engine.Get());
      RecordChannel channel("before");
      const bool loaded = Load(channel, record.substr(0, length), &into);
      const bool complete = length >= lastOptionalTag && length < lastOptionalTag + 4;
      if (length < linksEnd && !complete) {
        EXPECT_FALSE(loaded) << "cut at " << length;
      }
    }
    for (std::size_t at = 0; at < record.size(); ++at) {
      for (char value : {'\xFF', '\x7F', '\0'}) {
        std::string changed = record;
        changed[at] = value;
        Tvk_ChannelGroup into(engine.Get());
        RecordChannel channel("before");
        Load(channel, changed, &into);
      }
    }
  }
}

}  // namespace
}  // namespace recordtest
