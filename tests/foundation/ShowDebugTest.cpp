#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestSupport.h"

namespace {

constexpr int kLine = 4;
constexpr const char* kMarker = "marker";

class ShowDebugTest : public ::testing::Test {
 protected:
  ShowDebugTest() : show_(engine_.Get()) { Ext()->DebugOut(kMarker, kLine); }

  EngineInterfaceExt* Ext() { return engine_->engineInterfaceExt; }
  std::string Line() {
    const char* text = Ext()->GetDebug(kLine);
    return text ? text : "(null)";
  }

  testsupport::StartedEngine engine_;
  ShowDebug show_;
};

struct Form {
  const char* name;
  std::function<void(ShowDebug&)> show;
  std::string line;  // kMarker where nothing may be written
};

const std::string k350 = std::string(350, 'a');
const std::string k351 = std::string(351, 'a');
const std::string k200 = std::string(200, 'b');
const std::string k199 = std::string(199, 'c');

const Form kForms[] = {
    {"text", [](ShowDebug& s) { s("hello", kLine); }, "hello"},
    {"null text", [](ShowDebug& s) { s(static_cast<const char*>(nullptr), kLine); }, kMarker},
    {"float", [](ShowDebug& s) { s(0.1f, kLine); }, "0.1000000015"},
    {"double, 10 digits", [](ShowDebug& s) { s(3.14159265358979, kLine); }, "3.141592654"},
    {"large double", [](ShowDebug& s) { s(1e20, kLine); }, "1e+20"},
    {"int", [](ShowDebug& s) { s(-2147483647 - 1, kLine); }, "-2147483648"},
    {"unsigned", [](ShowDebug& s) { s(4294967295u, kLine); }, "4294967295"},
    {"text and int, no blank", [](ShowDebug& s) { s("count=", 12, kLine); }, "count=12"},
    {"text and float, no blank", [](ShowDebug& s) { s("x=", 0.25f, kLine); }, "x=0.25"},
    {"text and float, 10 digits", [](ShowDebug& s) { s("x=", 1.0f / 3.0f, kLine); }, "x=0.3333333433"},
    {"null text and int", [](ShowDebug& s) { s(static_cast<const char*>(nullptr), 12, kLine); }, kMarker},
    {"null text and float", [](ShowDebug& s) { s(static_cast<const char*>(nullptr), 1.0f, kLine); }, kMarker},
    {"351 characters and int", [](ShowDebug& s) { s(k351.c_str(), 7, kLine); }, kMarker},
    {"351 characters and float", [](ShowDebug& s) { s(k351.c_str(), 7.0f, kLine); }, kMarker},
    // The debug line itself keeps 298 characters, so only the text shows.
    {"350 characters and int", [](ShowDebug& s) { s(k350.c_str(), 7, kLine); }, std::string(298, 'a')},
    {"350 characters and float", [](ShowDebug& s) { s(k350.c_str(), 7.0f, kLine); }, std::string(298, 'a')},
    {"two texts joined", [](ShowDebug& s) { s("ab", "cd", kLine); }, "abcd"},
    {"two texts of 399", [](ShowDebug& s) { s(k200.c_str(), k199.c_str(), kLine); },
     (k200 + k199).substr(0, 298)},
    {"two texts of 400", [](ShowDebug& s) { s(k200.c_str(), k200.c_str(), kLine); }, kMarker},
    {"null second text", [](ShowDebug& s) { s("ab", static_cast<const char*>(nullptr), kLine); }, kMarker},
    {"null first text", [](ShowDebug& s) { s(static_cast<const char*>(nullptr), "cd", kLine); }, kMarker},
};

TEST_F(ShowDebugTest, EachFormWritesItsDebugLine) {
  for (const Form& f : kForms) {
    SCOPED_TRACE(f.name);
    Ext()->DebugOut(kMarker, kLine);
    f.show(show_);
    EXPECT_EQ(Line(), f.line);
  }
}

TEST_F(ShowDebugTest, NumbersFollowAShortTextDirectly) {
  // Short enough that the whole composition survives the line's own limit.
  std::string text(280, 't');
  show_(text.c_str(), 1234567, kLine);
  EXPECT_EQ(Line(), text + "1234567");
}

TEST_F(ShowDebugTest, WithoutAnEngineNothingIsWritten) {
  ShowDebug unattached;
  unattached("text", kLine);
  unattached("text", 1, kLine);
  unattached("a", "b", kLine);
  unattached(1.0, kLine);
  EXPECT_EQ(Line(), kMarker);

  ShowDebug copy;
  copy = show_;  // assignment carries the engine
  copy("copied", kLine);
  EXPECT_EQ(Line(), "copied");
}

}  // namespace
