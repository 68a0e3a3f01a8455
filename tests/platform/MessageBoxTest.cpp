#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform.h"

using platform::MessageBoxAnswer;
using platform::MessageBoxButtons;
using platform::MessageBoxIcon;
using platform::MessageBoxRequest;

namespace {

// Removes whatever handler a test installs, so the tests do not depend on
// their order.
class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = platform::SetMessageBoxHandler({}); }
  void TearDown() override { platform::SetMessageBoxHandler(previous_); }

 private:
  platform::MessageBoxHandler previous_;
};

HWND SomeWindow() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234)); }

}  // namespace

TEST_F(MessageBoxTest, WithoutHandlerTheBoxGoesToStandardErrorAndIsAnsweredAtOnce) {
  struct Case {
    MessageBoxButtons buttons;
    MessageBoxAnswer answer;
  };
  for (const Case& c : {Case{MessageBoxButtons::Ok, MessageBoxAnswer::Ok},
                        Case{MessageBoxButtons::RetryCancel, MessageBoxAnswer::Cancel}}) {
    testing::internal::CaptureStderr();
    const MessageBoxAnswer answer =
        platform::ShowModalMessageBox(nullptr, "Unable to load", "Varnel Error", MessageBoxIcon::Error, c.buttons);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnel Error: Unable to load\n");
    EXPECT_EQ(answer, c.answer);
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::ShowModalMessageBox(nullptr, nullptr, nullptr, MessageBoxIcon::None, MessageBoxButtons::Ok),
            MessageBoxAnswer::Ok);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), ": \n");
}

TEST_F(MessageBoxTest, HandlerReceivesTheRequestAndGivesTheAnswer) {
  std::vector<MessageBoxRequest> seen;
  EXPECT_FALSE(platform::SetMessageBoxHandler([&](const MessageBoxRequest& request) {
    seen.push_back(request);
    return MessageBoxAnswer::Retry;
  }));
  EXPECT_EQ(platform::ShowModalMessageBox(SomeWindow(), "text", "caption", MessageBoxIcon::Exclamation,
                                          MessageBoxButtons::RetryCancel),
            MessageBoxAnswer::Retry);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, SomeWindow());
  EXPECT_EQ(seen[0].text, "text");
  EXPECT_EQ(seen[0].caption, "caption");
  EXPECT_EQ(seen[0].icon, MessageBoxIcon::Exclamation);
  EXPECT_EQ(seen[0].buttons, MessageBoxButtons::RetryCancel);
}

TEST_F(MessageBoxTest, ReplacingAHandlerHandsBackThePreviousOne) {
  int firstCalls = 0;
  int secondCalls = 0;
  platform::SetMessageBoxHandler([&](const MessageBoxRequest&) { ++firstCalls; return MessageBoxAnswer::Ok; });
  platform::MessageBoxHandler first = platform::SetMessageBoxHandler([&](const MessageBoxRequest&) {
    ++secondCalls;
    return MessageBoxAnswer::Cancel;
  });
  ASSERT_TRUE(first);
  EXPECT_EQ(platform::ShowModalMessageBox(nullptr, "t", "c", MessageBoxIcon::None, MessageBoxButtons::Ok),
            MessageBoxAnswer::Cancel);
  EXPECT_EQ(secondCalls, 1);
  first(MessageBoxRequest{});
  EXPECT_EQ(firstCalls, 1) << "the handed-back handler is the first one";

  // An empty handler restores the default answer.
  EXPECT_TRUE(platform::SetMessageBoxHandler({}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::ShowModalMessageBox(nullptr, "t", "c", MessageBoxIcon::None, MessageBoxButtons::RetryCancel),
            MessageBoxAnswer::Cancel);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(secondCalls, 1);
}

TEST_F(MessageBoxTest, HandlerMayShowABoxOrReplaceItselfWhileItRuns) {
  std::vector<std::string> shown;
  platform::SetMessageBoxHandler([&](const MessageBoxRequest& request) {
    shown.push_back(request.text);
    if (request.text == "outer") {
      platform::ShowModalMessageBox(nullptr, "inner", "c", MessageBoxIcon::None, MessageBoxButtons::Ok);
      platform::SetMessageBoxHandler([&](const MessageBoxRequest& r) {
        shown.push_back("replacement:" + r.text);
        return MessageBoxAnswer::Ok;
      });
    }
    return MessageBoxAnswer::Retry;
  });
  EXPECT_EQ(platform::ShowModalMessageBox(nullptr, "outer", "c", MessageBoxIcon::None, MessageBoxButtons::RetryCancel),
            MessageBoxAnswer::Retry);
  platform::ShowModalMessageBox(nullptr, "after", "c", MessageBoxIcon::None, MessageBoxButtons::Ok);
  EXPECT_EQ(shown, (std::vector<std::string>{"outer", "inner", "replacement:after"}));
}
