// The group registry: indices, pool names and pool numbers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestSupport.h"
#include "Tvk_ChannelGroup.h"

namespace {

const char* kNonArrayTwice = "Engine::CreateNewGroup non array group created with same name";
const char* kArrayOfNonArray = "Engine::CreateNewGroup wanted to create an array of a non array group!";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine = engine.Get(); }
  Tvk_ChannelGroup* Create(const char* pool, bool array, int nr) { return engine->CreateNewGroup(pool, array, nr); }
  std::vector<std::string> Errors() { return engine.sink.TextsOfType(kMessageError); }
  testsupport::StartedEngine engine;
};

// One call of CreateNewGroup after a given registry was built.
struct CreateCase {
  const char* what;
  std::vector<const char*> existingPools;  // created first, each non-array with pool number -1
  const char* pool;
  bool array;
  int poolNr;
  bool created;
  int expectedPoolNr;
  const char* expectedError;
};

class CreateNewGroupTest : public RegistryTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateNewGroupTest, FollowsThePoolNumberRules) {
  const CreateCase& c = GetParam();
  for (const char* pool : c.existingPools) ASSERT_NE(Create(pool, false, -1), nullptr) << pool;
  engine.sink.Clear();

  Tvk_ChannelGroup* group = Create(c.pool, c.array, c.poolNr);
  EXPECT_EQ(group != nullptr, c.created);
  if (group) {
    EXPECT_EQ(group->GetPoolNr(), c.expectedPoolNr);
    EXPECT_STREQ(group->GetPoolName(), c.pool);
    EXPECT_EQ(group->GetIfArrayGroup(), c.array);
    EXPECT_EQ(engine->GetChannelGroup(group->GetGroupIndex()), group);
  }
  if (c.expectedError) {
    EXPECT_EQ(Errors(), std::vector<std::string>{c.expectedError});
  } else {
    EXPECT_TRUE(Errors().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateNewGroupTest,
    ::testing::Values(
        CreateCase{"first group of a pool", {}, "Car", false, -1, true, 0, nullptr},
        CreateCase{"second non-array group of a pool", {"Car"}, "Car", false, -1, false, 0, kNonArrayTwice},
        CreateCase{"same name in other case but same first letter", {"CAR"}, "Car", false, -1, false, 0,
                   kNonArrayTwice},
        CreateCase{"first letter differs in case: another pool", {"car"}, "Car", false, -1, true, 0, nullptr},
        CreateCase{"explicit number above 0 for a non-array group", {}, "Car", false, 3, false, 0, kNonArrayTwice},
        CreateCase{"explicit number of an array group", {}, "Car", true, 3, true, 3, nullptr},
        CreateCase{"empty pool name", {}, "", false, -1, false, 0, nullptr},
        CreateCase{"-2 without holes counts on from the pool", {"Car"}, "Bus", false, -2, true, 0, nullptr}),
    [](const ::testing::TestParamInfo<CreateCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(RegistryTest, NullPoolNameCreatesNothing) { EXPECT_EQ(Create(nullptr, false, -1), nullptr); }

TEST_F(RegistryTest, ArrayGroupsOfOnePoolNumberUpwards) {
  for (int expected = 0; expected < 3; ++expected) {
    Tvk_ChannelGroup* group = Create("Car", true, -1);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetPoolNr(), expected);
    EXPECT_EQ(group->GetGroupIndex(), expected);
  }
  EXPECT_EQ(engine->GetHighInstance("Car"), 2);
  EXPECT_EQ(engine->GetHighInstance("car"), -1) << "first-character rule";
  EXPECT_EQ(engine->GetHighInstance("Bus"), -1);
  EXPECT_EQ(engine->GetHighInstance(nullptr), 0);
}

TEST_F(RegistryTest, ArrayOfANonArrayGroupFileIsRefused) {
  Tvk_ChannelGroup* first = Create("Car", false, -1);
  first->SetChannelGroupFileName("car");  // the instance-0 group whose file name is the pool name
  engine.sink.Clear();
  EXPECT_EQ(Create("Car", true, 1), nullptr);
  EXPECT_EQ(Errors(), std::vector<std::string>{kArrayOfNonArray});
}

TEST_F(RegistryTest, ExplicitPoolNumberReplacesTheGroupHoldingIt) {
  Create("Bus", false, -1);
  Tvk_ChannelGroup* old = Create("Car", false, -1);
  ASSERT_EQ(old->GetGroupIndex(), 1);
  Tvk_ChannelGroup* replacement = Create("CAR", false, 0);  // the pool lookup ignores case
  ASSERT_NE(replacement, nullptr);
  EXPECT_EQ(replacement->GetGroupIndex(), 1) << "the replaced group's slot is the lowest free one";
  EXPECT_EQ(engine->GetChannelGroupCount(), 2);
  EXPECT_EQ(replacement->GetChannelCount(), 0);
}

TEST_F(RegistryTest, MinusTwoTakesTheIndexOfTheFirstEmptySlot) {
  for (const char* pool : {"A", "B", "C", "D", "E"}) Create(pool, false, -1);
  engine->DeleteChannelGroup(3);
  Tvk_ChannelGroup* group = Create("A", true, -2);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetPoolNr(), 3);
  EXPECT_EQ(group->GetGroupIndex(), 3);
}

TEST_F(RegistryTest, DeletedSlotsStayCountedAndAreReused) {
  for (const char* pool : {"A", "B", "C", "D", "E"}) Create(pool, false, -1);
  engine->DeleteChannelGroup(2);
  engine->DeleteChannelGroup(2);   // already empty
  engine->DeleteChannelGroup(77);  // outside the registry
  EXPECT_EQ(engine->GetChannelGroupCount(), 5);
  EXPECT_EQ(engine->GetChannelGroup(2), nullptr);
  EXPECT_EQ(engine->GetChannelGroup(-1), nullptr);
  EXPECT_EQ(engine->GetChannelGroup(5), nullptr);
  EXPECT_EQ(Create("F", false, -1)->GetGroupIndex(), 2);
}

TEST_F(RegistryTest, LookupsByPoolAndByFileNameIgnoreCase) {
  Tvk_ChannelGroup* cars = Create("CARS", true, -1);
  Tvk_ChannelGroup* second = Create("CARS", true, -1);
  cars->SetChannelGroupFileName("C:\\Data\\Cars.cgr");
  second->SetChannelGroupFileName("C:\\Data\\Cars.cgr");
  Create("Nameless", false, -1);

  EXPECT_EQ(engine->GetPoolGroup("cars", 0), cars);
  EXPECT_EQ(engine->GetPoolGroup("cars", 1), second);
  EXPECT_EQ(engine->GetPoolGroup("cars", 2), nullptr);
  EXPECT_EQ(engine->GetPoolGroup(nullptr, 0), nullptr);
  EXPECT_EQ(engine->GetChannelGroup("c:\\data\\CARS.CGR", 1), second);
  EXPECT_EQ(engine->GetChannelGroup("c:\\data\\other.cgr", 0), nullptr);
  EXPECT_EQ(engine->GetChannelGroup(static_cast<const char*>(nullptr), 0), nullptr);
}

TEST_F(RegistryTest, ReleaseGroupsEmptiesTheRegistry) {
  for (const char* pool : {"A", "B", "C"}) Create(pool, false, -1);
  engine->engineInterfaceExt->ReleaseGroups();
  EXPECT_EQ(engine->GetChannelGroupCount(), 0);
  EXPECT_EQ(Create("A", false, -1)->GetGroupIndex(), 0);
}

TEST_F(RegistryTest, LoadUnderAPoolNameInUseIsRefused) {
  Create("Solo", false, -1);
  Create("Many", true, -1);
  Create("Many", true, -1);
  Tvk_ChannelGroup* pending = Create("Pending", false, -1);
  pending->SetPoolNr(-1);
  engine.sink.Clear();

  EXPECT_EQ(engine->LoadChannelGroup("x.cgr", "Solo"), nullptr);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Engine::LoadChannelGroup wanted to load a channel group in a non array pool"});

  engine.sink.Clear();
  EXPECT_EQ(engine->LoadChannelGroup("x.cgr", "Many"), nullptr);
  EXPECT_EQ(engine.sink.TextsOfType(kMessageUserError),
            std::vector<std::string>{"Channel group name already exists can't create group called: Many"});
  EXPECT_EQ(Errors(), std::vector<std::string>{"Arrays can only be made trough CreateGroup (Array_LoadGroup)"});

  engine.sink.Clear();
  EXPECT_EQ(engine->LoadChannelGroup("x.cgr", "Pending"), nullptr);
  EXPECT_TRUE(engine.sink.Messages().empty()) << "a pool number of -1 refuses silently";
  EXPECT_EQ(engine->GetChannelGroupCount(), 4) << "no group was registered for the refused loads";
}

TEST_F(RegistryTest, FailedLoadLeavesItsRegistrySlotEmpty) {
  Create("A", false, -1);
  engine.sink.Clear();
  EXPECT_EQ(engine->LoadChannelGroup("does-not-exist.cgr", nullptr), nullptr);
  EXPECT_EQ(engine->GetChannelGroup(1), nullptr);
  EXPECT_TRUE(engine.sink.Contains("Engine::LoadChannelGroup: Error loading channel group"));
  EXPECT_EQ(Create("B", false, -1)->GetGroupIndex(), 1);
}

TEST(RegistryBeforeInitTest, LoadChannelGroupRefusesBeforeInitEngine) {
  testsupport::ScopedSettingsRoot settings;
  auto* engine = new EngineInterface();
  EXPECT_EQ(engine->LoadChannelGroup("x.cgr", nullptr), nullptr);
  EXPECT_EQ(engine->GetChannelGroupCount(), 0);
  ASSERT_NE(engine->CreateNewGroup("Early", false, -1), nullptr) << "the registry works before InitEngine";
  engine->engineInterfaceExt->Release();
  delete engine;
}

}  // namespace
