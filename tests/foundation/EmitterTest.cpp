#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "TestSupport.h"

namespace {

using testsupport::RecordingMessageBoxes;
using testsupport::RecordingSink;

struct EmitterKind {
  const char* name;
  std::function<std::unique_ptr<ShowDebugMessage>()> make;
  int type;
  const char* caption;
};

const EmitterKind kEmitters[] = {
    {"ShowDebugMessage", [] { return std::make_unique<ShowDebugMessage>(); }, 0, "Debug"},
    {"ShowErrorMessage", [] { return std::make_unique<ShowErrorMessage>(); }, 1, "Error"},
    {"ShowInfoMessage", [] { return std::make_unique<ShowInfoMessage>(); }, 2, "Info"},
    {"ShowMessageBox", [] { return std::make_unique<ShowMessageBox>(); }, 3, "Message"},
    {"ShowUserInfoMessage", [] { return std::make_unique<ShowUserInfoMessage>(); }, 4, "Error"},
    {"ShowUserWarningMessage", [] { return std::make_unique<ShowUserWarningMessage>(); }, 5, "Error"},
    {"ShowUserErrorMessage", [] { return std::make_unique<ShowUserErrorMessage>(); }, 6, "Error"},
};

const GUID kSomeGuid{0x0123ABCD, 0x0042, 0xBEEF, {0x00, 0x01, 0xA0, 0x0B, 0xC0, 0x0D, 0xE0, 0x0F}};

void EmitEveryForm(ShowDebugMessage& emit) {
  emit("text");
  emit("text", "more");
  emit("text", static_cast<const char*>(nullptr));
  emit("text", 12);
  emit("text", 1.5f);
  emit(1.5f);
  emit(12);
  emit(12ul);
  emit(1.5);
  emit(kSomeGuid);
}

TEST(Emitters, AreSilentWithoutASink) {
  ASSERT_EQ(debugOutPut, nullptr);
  RecordingMessageBoxes boxes;
  for (const EmitterKind& kind : kEmitters) EmitEveryForm(*kind.make());
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(Emitters, ShowMessageWithoutASinkShowsABoxWithTheClassCaption) {
  ASSERT_EQ(debugOutPut, nullptr);
  RecordingMessageBoxes boxes;
  for (const EmitterKind& kind : kEmitters) {
    SCOPED_TRACE(kind.name);
    boxes.Clear();
    kind.make()->ShowMessage("shown directly");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const platform::MessageBoxRequest& box = boxes.Boxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, "shown directly");
    EXPECT_EQ(box.caption, kind.caption);
    EXPECT_EQ(box.buttons, platform::MessageBoxButtons::Ok);
  }
}

TEST(Emitters, EachClassDeliversItsTypeToTheSinkAndShowsNothing) {
  RecordingMessageBoxes boxes;
  RecordingSink sink;
  for (const EmitterKind& kind : kEmitters) {
    SCOPED_TRACE(kind.name);
    sink.Clear();
    std::unique_ptr<ShowDebugMessage> emit = kind.make();
    (*emit)("via operator");
    emit->ShowMessage("via ShowMessage");
    ASSERT_EQ(sink.Messages().size(), 2u);
    for (const RecordingSink::Message& m : sink.Messages()) EXPECT_EQ(m.type, kind.type);
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"via operator", "via ShowMessage"}));
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

// The text each operator composes; nullopt where nothing may reach the sink.
struct Composition {
  const char* name;
  std::function<void(ShowDebugMessage&)> emit;
  std::optional<std::string> text;
};

std::string Run(char c, std::size_t n) { return std::string(n, c); }

const std::string k600 = Run('a', 600);
const std::string k498 = Run('b', 498);
const std::string k496 = Run('c', 496);
const std::string k200 = Run('d', 200);

const Composition kCompositions[] = {
    {"text alone", [](ShowDebugMessage& e) { e("alone"); }, "alone"},
    {"null text alone", [](ShowDebugMessage& e) { e(static_cast<const char*>(nullptr)); }, std::nullopt},
    {"two texts", [](ShowDebugMessage& e) { e("file", "a.cgr"); }, "file a.cgr"},
    {"null second text", [](ShowDebugMessage& e) { e("file", static_cast<const char*>(nullptr)); }, "file "},
    {"null first text", [](ShowDebugMessage& e) { e(static_cast<const char*>(nullptr), "a.cgr"); }, std::nullopt},
    {"long first text is cut to 498", [](ShowDebugMessage& e) { e(k600.c_str(), "x"); }, Run('a', 498) + " x"},
    {"two texts stop at 598", [](ShowDebugMessage& e) { e(k498.c_str(), k200.c_str()); },
     k498 + " " + Run('d', 99)},
    {"text and integer", [](ShowDebugMessage& e) { e("word", 12); }, "word 12"},
    {"text and negative integer", [](ShowDebugMessage& e) { e("word", -7); }, "word -7"},
    {"text and integer stop at 498", [](ShowDebugMessage& e) { e(k496.c_str(), 12345); }, k496 + " 1"},
    {"text of 600 leaves no room for the integer", [](ShowDebugMessage& e) { e(k600.c_str(), 12); },
     Run('a', 498)},
    {"text and float", [](ShowDebugMessage& e) { e("value", 1.5f); }, "value 1.5"},
    {"text and float, 5 digits", [](ShowDebugMessage& e) { e("pi", 3.14159265f); }, "pi 3.1416"},
    {"text and large float", [](ShowDebugMessage& e) { e("big", 123456.0f); }, "big 1.2346e+05"},
    {"text and float stop at 498", [](ShowDebugMessage& e) { e(k496.c_str(), 2.5f); }, k496 + " 2"},
    {"integer alone", [](ShowDebugMessage& e) { e(-42); }, "-42"},
    {"unsigned long alone", [](ShowDebugMessage& e) { e(4294967295ul); }, "4294967295"},
    {"wide unsigned long alone", [](ShowDebugMessage& e) { e(18446744073709551615ul); }, "18446744073709551615"},
    {"float alone, all its digits", [](ShowDebugMessage& e) { e(0.1f); }, "0.100000001490116119384765625"},
    {"double alone, 50 digits", [](ShowDebugMessage& e) { e(0.1); },
     "0.1000000000000000055511151231257827021181583404541"},
    {"large double alone", [](ShowDebugMessage& e) { e(1e300); },
     "1.0000000000000000525047602552044202487044685811082e+300"},
    {"GUID", [](ShowDebugMessage& e) { e(kSomeGuid); }, "0123ABCD-0042-BEEF-0001-A00BC00DE00F"},
};

TEST(Emitters, ComposeTheirTextsByTheCutRules) {
  RecordingSink sink;
  ShowErrorMessage emit;
  for (const Composition& c : kCompositions) {
    SCOPED_TRACE(c.name);
    sink.Clear();
    c.emit(emit);
    if (!c.text) {
      EXPECT_TRUE(sink.Messages().empty());
      continue;
    }
    ASSERT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(sink.Messages()[0].type, kMessageError);
    EXPECT_EQ(sink.Messages()[0].text, *c.text);
  }
}

TEST(DebugMessage, HoldsACopyOfItsTextAndItsType) {
  DebugMessage message;
  EXPECT_EQ(message.GetDebugMessage(), nullptr);
  EXPECT_EQ(message.GetMessageType(), kMessageDebug);
  char text[] = "original";
  message.SetDebugMessage(text);
  text[0] = 'X';
  message.SetMessageType(kMessageUserWarning);
  EXPECT_STREQ(message.GetDebugMessage(), "original");
  EXPECT_EQ(message.GetMessageType(), kMessageUserWarning);
}

}  // namespace
