#include <gtest/gtest.h>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

using test::uniqueClassName;

class ClassRegistryTest : public ::testing::Test {};

TEST_F(ClassRegistryTest, AClassIsFoundByNameOnlyWhileRegistered) {
  std::string name = uniqueClassName("SBVolumeControl");
  Class* cls = Runtime::allocateClass(name, Runtime::rootClass());
  EXPECT_EQ(objc_getClass(name), nullptr);  // allocated, not yet registered

  Runtime::registerClass(cls);
  EXPECT_EQ(objc_getClass(name), cls);
  EXPECT_STREQ(class_getName(cls), name.c_str());
  EXPECT_EQ(class_getSuperclass(cls), Runtime::rootClass());

  Runtime::unregisterClass(name);
  EXPECT_EQ(objc_getClass(name), nullptr);
  // The class object itself lives on for those who hold it.
  EXPECT_EQ(cls->name(), name);
}

TEST_F(ClassRegistryTest, RegisteringANameAgainReplacesTheEarlierClass) {
  std::string name = uniqueClassName("SBMediaController");
  Class* older = Runtime::allocateClass(name, Runtime::rootClass());
  Class* newer = Runtime::allocateClass(name, Runtime::rootClass());
  Runtime::registerClass(older);
  Runtime::registerClass(newer);
  EXPECT_EQ(objc_getClass(name), newer);
}

TEST_F(ClassRegistryTest, TheRootClassCannotBeUnregistered) {
  Runtime::unregisterClass("NSObject");
  EXPECT_EQ(objc_getClass("NSObject"), Runtime::rootClass());
}

TEST_F(ClassRegistryTest, AClassHandleFollowsRegistrationChanges) {
  std::string name = uniqueClassName("Handled");
  ClassHandle handle(name);
  EXPECT_EQ(handle.get(), nullptr);
  Class* cls = Runtime::allocateClass(name, Runtime::rootClass());
  Runtime::registerClass(cls);
  EXPECT_EQ(handle.get(), cls);
  Runtime::unregisterClass(name);
  EXPECT_EQ(handle.get(), nullptr);
}

TEST_F(ClassRegistryTest, InstancesAreBuiltByTheNearestFactoryAndBelongToTheirClass) {
  struct Base : Object {
    int value = 7;
  };
  Class* base = Runtime::allocateClass<Base>(uniqueClassName("Base"), Runtime::rootClass());
  Class* sub = Runtime::allocateClass(uniqueClassName("Sub"), base);  // no factory of its own

  Ref<Object> obj = class_createInstance(sub);
  ASSERT_TRUE(obj);
  EXPECT_EQ(obj->isa(), sub);
  ASSERT_NE(dynamic_cast<Base*>(obj.get()), nullptr);
  EXPECT_EQ(dynamic_cast<Base*>(obj.get())->value, 7);
  EXPECT_TRUE(isKindOfClass(obj, base));
  EXPECT_FALSE(isKindOfClass(obj, Runtime::allocateClass(uniqueClassName("Other"), Runtime::rootClass())));
  EXPECT_EQ(class_createInstance(nullptr), nullptr);
  EXPECT_EQ(sub->metaclass()->createInstance(), nullptr);
}

TEST_F(ClassRegistryTest, ObjectsAreReleasedWithTheirLastReference) {
  static int destroyed = 0;
  struct Counted : Object {
    ~Counted() override { ++destroyed; }
  };
  destroyed = 0;
  Class* cls = Runtime::allocateClass<Counted>(uniqueClassName("Counted"), Runtime::rootClass());
  {
    Ref<Object> a = class_createInstance(cls);
    Ref<Object> b = a;
    EXPECT_EQ(a->retainCount(), 2);
    a = nullptr;
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ClassRegistryTest, TheRootClassAnswersTheBasicQuestions) {
  Class* cls = Runtime::allocateClass(uniqueClassName("Plain"), Runtime::rootClass());
  Ref<Object> obj = class_createInstance(cls);
  EXPECT_TRUE(msgSend<bool>(obj, SELECTOR("respondsToSelector:"), SELECTOR("class")));
  EXPECT_FALSE(msgSend<bool>(obj, SELECTOR("respondsToSelector:"), SELECTOR("volume")));
  EXPECT_TRUE(msgSend<bool>(obj, SELECTOR("isKindOfClass:"), Runtime::rootClass()));
  EXPECT_EQ(msgSend<Class*>(obj, SELECTOR("class")), cls);
  EXPECT_EQ(msgSend<Class*>(cls, SELECTOR("class")), cls);
}

}  // namespace
}  // namespace platform
