#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

using test::uniqueClassName;

struct Switcher : Object {
  Ref<Object> gestureManager;
  std::map<long, Ref<Object>> roles;
  bool visible = true;
};

Switcher& asSwitcher(id self) { return *static_cast<Switcher*>(self); }

class KeyValueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cls_ = Runtime::allocateClass<Switcher>(uniqueClassName("SBMainSwitcherViewController"), Runtime::rootClass());
    class_addIvar(
        cls_, "_gestureManager", +[](id self) -> id { return asSwitcher(self).gestureManager; });
    class_addIvar(
        cls_, "_rolesToLayoutItemsMap", +[](id self) { return asSwitcher(self).roles; });
    class_addIvar(
        cls_, "_feedbackLevel", +[](id) { return 2L; });
    class_addMethod(
        cls_, SELECTOR("isVisible"), +[](id self, SEL) { return asSwitcher(self).visible; });
    obj_ = class_createInstance(cls_);
    asSwitcher(obj_).gestureManager = class_createInstance(cls_);
    // Another object: the switcher holding itself would never be released.
    asSwitcher(obj_).roles[1] = asSwitcher(obj_).gestureManager;
  }
  Class* cls_ = nullptr;
  Ref<Object> obj_;
};

TEST_F(KeyValueTest, PrivateFieldsAreReadByNameWithTheirType) {
  EXPECT_EQ(object_getIvar<id>(obj_, "_gestureManager"), asSwitcher(obj_).gestureManager.get());
  auto roles = object_getIvar<std::map<long, Ref<Object>>>(obj_, "_rolesToLayoutItemsMap");
  ASSERT_EQ(roles.size(), 1u);
  EXPECT_EQ(roles[1].get(), asSwitcher(obj_).gestureManager.get());
}

TEST_F(KeyValueTest, MissingFieldsNullObjectsAndOtherTypesReadAsZero) {
  EXPECT_EQ(object_getIvar<id>(obj_, "_missing"), nullptr);
  EXPECT_EQ(object_getIvar<id>(nullptr, "_gestureManager"), nullptr);
  EXPECT_EQ(object_getIvar<std::string>(obj_, "_gestureManager"), "");
}

TEST_F(KeyValueTest, KeyValueReadsFindMethodsThenUnderscoredFields) {
  EXPECT_EQ(valueForKey<id>(obj_, "_gestureManager"), asSwitcher(obj_).gestureManager.get());
  EXPECT_EQ(valueForKey<id>(obj_, "gestureManager"), asSwitcher(obj_).gestureManager.get());
  EXPECT_TRUE(valueForKey<bool>(obj_, "isVisible"));
  EXPECT_EQ(valueForKey<id>(obj_, "nothing"), nullptr);
}

TEST_F(KeyValueTest, NumbersAreConvertedAsBoxedValuesWouldBe) {
  // A BOOL method read as an integer, an integer field read as a double.
  EXPECT_EQ(valueForKey<long>(obj_, "isVisible"), 1);
  asSwitcher(obj_).visible = false;
  EXPECT_EQ(valueForKey<long>(obj_, "isVisible"), 0);
  EXPECT_DOUBLE_EQ(valueForKey<double>(obj_, "_feedbackLevel"), 2.0);
  EXPECT_EQ(valueForKey<int>(obj_, "feedbackLevel"), 2);
  // An object is not a number.
  EXPECT_EQ(valueForKey<long>(obj_, "_gestureManager"), 0);
}

TEST_F(KeyValueTest, FieldsAreInheritedBySubclasses) {
  Class* sub = Runtime::allocateClass(uniqueClassName("SubSwitcher"), cls_);
  Ref<Object> subObj = class_createInstance(sub);
  EXPECT_EQ(object_getIvar<long>(subObj, "_feedbackLevel"), 2);
}

}  // namespace
}  // namespace platform
