#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

using test::LogCapture;
using test::uniqueClassName;

// Every implementation appends its name, so a test sees the order of the chain.
std::vector<std::string> calls;

bool systemAnswer(id, SEL, long type) {
  calls.push_back("system");
  return type == 20;
}

bool (*previousOfFirst)(id, SEL, long) = nullptr;
bool firstHook(id self, SEL cmd, long type) {
  calls.push_back("first");
  bool answer = previousOfFirst(self, cmd, type);
  return answer || type == 21;
}

bool (*previousOfSecond)(id, SEL, long) = nullptr;
bool secondHook(id self, SEL cmd, long type) {
  calls.push_back("second");
  bool answer = previousOfSecond(self, cmd, type);
  return answer || type == 22;
}

std::string baseName(id, SEL) { return "base"; }
std::string (*previousName)(id, SEL) = nullptr;
std::string hookedName(id self, SEL cmd) { return "hooked(" + previousName(self, cmd) + ")"; }

float (*previousWrongSignature)(id, SEL, long) = nullptr;
float wrongSignatureHook(id, SEL, long) { return 1.0f; }

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    previousOfFirst = previousOfSecond = nullptr;
    cls_ = Runtime::allocateClass(uniqueClassName("SBApplication"), Runtime::rootClass());
    class_addMethod(cls_, SELECTOR("isSuppressed:"), &systemAnswer, "B@:q");
    Runtime::registerClass(cls_);
    obj_ = class_createInstance(cls_);
  }
  bool ask(long type) { return msgSend<bool, long>(obj_, SELECTOR("isSuppressed:"), type); }

  Class* cls_ = nullptr;
  Ref<Object> obj_;
};

TEST_F(HookTest, TwoHooksChainWithTheSystemImplementationLast) {
  ASSERT_TRUE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &firstHook, &previousOfFirst));
  ASSERT_TRUE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &secondHook, &previousOfSecond));
  EXPECT_EQ(previousOfFirst, &systemAnswer);
  EXPECT_EQ(previousOfSecond, &firstHook);

  EXPECT_TRUE(ask(20));  // the system's answer travels up through both hooks
  EXPECT_EQ(calls, (std::vector<std::string>{"second", "first", "system"}));
  EXPECT_TRUE(ask(21));
  EXPECT_TRUE(ask(22));
  EXPECT_FALSE(ask(23));
}

TEST_F(HookTest, AHookTakesEffectForObjectsMadeBeforeIt) {
  Ref<Object> early = class_createInstance(cls_);
  MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &firstHook, &previousOfFirst);
  EXPECT_TRUE((msgSend<bool, long>(early, SELECTOR("isSuppressed:"), 21)));
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "system"}));
}

TEST_F(HookTest, InstallingTheSameHookAgainIsRefusedInsteadOfRecursing) {
  ASSERT_TRUE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &firstHook, &previousOfFirst));
  ASSERT_TRUE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &secondHook, &previousOfSecond));
  LogCapture log;
  // A start-up routine run a second time: directly on top, and under another hook.
  EXPECT_FALSE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &secondHook, &previousOfSecond));
  EXPECT_FALSE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &firstHook, &previousOfFirst));
  EXPECT_EQ(previousOfFirst, &systemAnswer);
  EXPECT_EQ(previousOfSecond, &firstHook);
  EXPECT_EQ(log.lines.size(), 2u);

  EXPECT_TRUE(ask(21));
  EXPECT_EQ(calls, (std::vector<std::string>{"second", "first", "system"}));
}

TEST_F(HookTest, AHookOnAnAbsentClassHasNoEffectAndBreaksNothing) {
  previousOfFirst = &systemAnswer;  // must be cleared
  Class* activator = objc_getClass("_LAActivator_not_installed");
  EXPECT_FALSE(MSHookMessageEx(activator, SELECTOR("isSuppressed:"), &firstHook, &previousOfFirst));
  EXPECT_EQ(previousOfFirst, nullptr);

  // Other hooks still install and work.
  ASSERT_TRUE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &secondHook, &previousOfSecond));
  EXPECT_TRUE(ask(22));
  EXPECT_EQ(calls, (std::vector<std::string>{"second", "system"}));
}

TEST_F(HookTest, AHookOnAMissingMethodIsRefusedAndLogged) {
  LogCapture log;
  EXPECT_FALSE(MSHookMessageEx(cls_, SELECTOR("canActivateReachability:"), &firstHook, &previousOfFirst));
  EXPECT_EQ(previousOfFirst, nullptr);
  EXPECT_FALSE(respondsToSelector(obj_, SELECTOR("canActivateReachability:")));
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_NE(log.lines[0].find("canActivateReachability:] not found"), std::string::npos);
}

TEST_F(HookTest, AHookOfAnotherSignatureIsRefused) {
  LogCapture log;
  EXPECT_FALSE(MSHookMessageEx(cls_, SELECTOR("isSuppressed:"), &wrongSignatureHook, &previousWrongSignature));
  EXPECT_EQ(previousWrongSignature, nullptr);
  EXPECT_TRUE(ask(20));
  EXPECT_EQ(calls, (std::vector<std::string>{"system"}));
  EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(HookTest, HookingAnInheritedMethodLeavesTheSuperclassAlone) {
  Class* base = Runtime::allocateClass(uniqueClassName("UIViewController"), Runtime::rootClass());
  class_addMethod(base, SELECTOR("name"), &baseName);
  Class* sub = Runtime::allocateClass(uniqueClassName("SBIconController"), base);
  Ref<Object> baseObj = class_createInstance(base);
  Ref<Object> subObj = class_createInstance(sub);

  ASSERT_TRUE(MSHookMessageEx(sub, SELECTOR("name"), &hookedName, &previousName));
  EXPECT_EQ(previousName, &baseName);
  EXPECT_EQ(msgSend<std::string>(subObj, SELECTOR("name")), "hooked(base)");
  EXPECT_EQ(msgSend<std::string>(baseObj, SELECTOR("name")), "base");
  EXPECT_NE(sub->ownMethod(SELECTOR("name")), nullptr);
}

TEST_F(HookTest, AddedMethodsCarryTheirEncodingAndAreProbed) {
  EXPECT_FALSE(respondsToSelector(obj_, SELECTOR("tessra_clearAllApps")));
  static int cleared = 0;
  auto clearAll = +[](id, SEL) { ++cleared; };
  ASSERT_TRUE(class_addMethod(cls_, SELECTOR("tessra_clearAllApps"), clearAll, "v@:"));
  EXPECT_TRUE(respondsToSelector(obj_, SELECTOR("tessra_clearAllApps")));
  EXPECT_TRUE(class_respondsToSelector(cls_, SELECTOR("tessra_clearAllApps")));
  EXPECT_EQ(class_getInstanceMethod(cls_, SELECTOR("tessra_clearAllApps"))->typeEncoding(), "v@:");
  msgSend(obj_, SELECTOR("tessra_clearAllApps"));
  EXPECT_EQ(cleared, 1);

  // Adding it again, or with an encoding that does not fit, changes nothing.
  EXPECT_FALSE(class_addMethod(cls_, SELECTOR("tessra_clearAllApps"), clearAll, "v@:"));
  EXPECT_FALSE(class_addMethod(cls_, SELECTOR("tessra_other"), clearAll, "B@:"));
  EXPECT_FALSE(respondsToSelector(obj_, SELECTOR("tessra_other")));
  // Frame offsets in an encoding are ignored.
  EXPECT_TRUE(class_addMethod(cls_, SELECTOR("tessra_third"), clearAll, "v16@0:8"));
  EXPECT_FALSE(class_addMethod(nullptr, SELECTOR("tessra_clearAllApps"), clearAll, "v@:"));
}

TEST_F(HookTest, ReplacingAMethodAnswersThePreviousImplementation) {
  auto replacement = +[](id, SEL, long) { return false; };
  EXPECT_EQ(class_replaceMethod(cls_, SELECTOR("isSuppressed:"), replacement), &systemAnswer);
  EXPECT_FALSE(ask(20));
  auto added = +[](id, SEL) { return 3L; };
  EXPECT_EQ(class_replaceMethod(cls_, SELECTOR("count"), added), nullptr);
  EXPECT_EQ(msgSend<long>(obj_, SELECTOR("count")), 3);
}

}  // namespace
}  // namespace platform
