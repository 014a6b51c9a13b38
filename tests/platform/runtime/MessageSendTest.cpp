#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

using test::LogCapture;
using test::uniqueClassName;

// A small media controller: a volume with a getter, a setter and a by-delta change.
struct Controller : Object {
  float volume = 0.5f;
  int setCalls = 0;
};

float volumeImp(id self, SEL) { return static_cast<Controller*>(self)->volume; }
void setVolumeImp(id self, SEL, float v) {
  auto* c = static_cast<Controller*>(self);
  c->volume = v;
  ++c->setCalls;
}
std::string describeImp(id, SEL, std::string prefix, long n) { return prefix + std::to_string(n); }
std::string subclassDescribeImp(id, SEL, std::string prefix, long n) { return "sub:" + prefix + std::to_string(n); }
id sharedImp(id cls, SEL) {
  static Ref<Object> shared = class_createInstance(static_cast<Class*>(cls));
  return shared;
}

class MessageSendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cls_ = Runtime::allocateClass<Controller>(uniqueClassName("Controller"), Runtime::rootClass());
    class_addMethod(cls_, SELECTOR("volume"), &volumeImp, "f@:");
    class_addMethod(cls_, SELECTOR("setVolume:"), &setVolumeImp, "v@:f");
    class_addMethod(cls_, SELECTOR("describe:count:"), &describeImp, "@@:@q");
    Runtime::registerClass(cls_);
    obj_ = class_createInstance(cls_);
  }
  Controller& controller() { return *static_cast<Controller*>(obj_.get()); }

  Class* cls_ = nullptr;
  Ref<Object> obj_;
};

TEST_F(MessageSendTest, ASendCallsTheMethodWithItsArguments) {
  msgSend<void, float>(obj_, SELECTOR("setVolume:"), 0.4);
  EXPECT_FLOAT_EQ(controller().volume, 0.4f);
  EXPECT_FLOAT_EQ(msgSend<float>(obj_, SELECTOR("volume")), 0.4f);
  EXPECT_EQ((msgSend<std::string, std::string, long>(obj_, SELECTOR("describe:count:"), "n=", 3)), "n=3");
}

TEST_F(MessageSendTest, ASendByNameReachesTheSameMethod) {
  msgSend<void, float>(obj_, "setVolume:", 0.25f);
  EXPECT_FLOAT_EQ(msgSend<float>(obj_, "volume"), 0.25f);
}

TEST_F(MessageSendTest, SendingToNothingDoesNothingAndAnswersZero) {
  Object* none = nullptr;
  EXPECT_FLOAT_EQ(msgSend<float>(none, SELECTOR("volume")), 0.0f);
  EXPECT_EQ((msgSend<std::string, std::string, long>(none, SELECTOR("describe:count:"), "x", 1)), "");
  msgSend<void, float>(none, SELECTOR("setVolume:"), 1.0f);

  // An object without a class answers nothing either.
  Ref<Object> classless(new Object);
  EXPECT_FLOAT_EQ(msgSend<float>(classless, SELECTOR("volume")), 0.0f);
}

TEST_F(MessageSendTest, AnUnansweredMessageDoesNothingAndAnswersZero) {
  EXPECT_FALSE(msgSend<bool>(obj_, SELECTOR("isPlaying")));
  EXPECT_EQ(msgSend<id>(obj_, SELECTOR("nowPlayingApplication")), nullptr);
  msgSend<void, float>(obj_, SELECTOR("_changeVolumeBy:"), 0.1f);
  EXPECT_FLOAT_EQ(controller().volume, 0.5f);
}

TEST_F(MessageSendTest, ASendWithTheWrongSignatureIsRefusedAndLogged) {
  LogCapture log;
  // A double where the method takes a float: not called, nothing changes.
  msgSend(obj_, SELECTOR("setVolume:"), 0.9);
  EXPECT_EQ(controller().setCalls, 0);
  EXPECT_FLOAT_EQ(controller().volume, 0.5f);
  // A double result asked of a float getter answers zero.
  EXPECT_EQ(msgSend<double>(obj_, SELECTOR("volume")), 0.0);
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_NE(log.lines[0].find("setVolume:"), std::string::npos);
  EXPECT_NE(log.lines[0].find("v@:d"), std::string::npos);
  EXPECT_NE(log.lines[0].find("v@:f"), std::string::npos);

  // The same mistake again is not logged twice.
  msgSend(obj_, SELECTOR("setVolume:"), 0.9);
  EXPECT_EQ(log.lines.size(), 2u);
}

TEST_F(MessageSendTest, SubclassesInheritAndOverrideMethods) {
  Class* sub = Runtime::allocateClass(uniqueClassName("SubController"), cls_);
  Ref<Object> subObj = class_createInstance(sub);
  msgSend<void, float>(subObj, SELECTOR("setVolume:"), 0.75f);
  EXPECT_FLOAT_EQ(msgSend<float>(subObj, SELECTOR("volume")), 0.75f);

  ASSERT_TRUE(class_addMethod(sub, SELECTOR("describe:count:"), &subclassDescribeImp));
  EXPECT_EQ((msgSend<std::string, std::string, long>(subObj, SELECTOR("describe:count:"), "n", 2)), "sub:n2");
  EXPECT_EQ((msgSend<std::string, std::string, long>(obj_, SELECTOR("describe:count:"), "n", 2)), "n2");
}

TEST_F(MessageSendTest, AMethodAddedToASuperclassLaterReachesItsSubclasses) {
  Class* sub = Runtime::allocateClass(uniqueClassName("LateSub"), cls_);
  Ref<Object> subObj = class_createInstance(sub);
  EXPECT_FALSE(respondsToSelector(subObj, SELECTOR("isPlaying")));
  class_addMethod(
      cls_, SELECTOR("isPlaying"), +[](id, SEL) { return true; });
  EXPECT_TRUE(respondsToSelector(subObj, SELECTOR("isPlaying")));
  EXPECT_TRUE(msgSend<bool>(subObj, SELECTOR("isPlaying")));
}

TEST_F(MessageSendTest, ClassMethodsLiveOnTheMetaclass) {
  ASSERT_TRUE(class_addMethod(cls_->metaclass(), SELECTOR("sharedInstance"), &sharedImp, "@@:"));
  id shared = msgSend<id>(cls_, SELECTOR("sharedInstance"));
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->isa(), cls_);
  EXPECT_EQ(msgSend<id>(cls_, SELECTOR("sharedInstance")), shared);
  EXPECT_NE(class_getClassMethod(cls_, SELECTOR("sharedInstance")), nullptr);
  EXPECT_EQ(class_getInstanceMethod(cls_, SELECTOR("sharedInstance")), nullptr);
  // A subclass inherits the class method.
  Class* sub = Runtime::allocateClass(uniqueClassName("SharedSub"), cls_);
  EXPECT_TRUE(respondsToSelector(sub, SELECTOR("sharedInstance")));
}

}  // namespace
}  // namespace platform
