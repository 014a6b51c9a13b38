#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/runtime/Associations.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/runtime/TestClasses.h"

namespace platform {
namespace {

using test::uniqueClassName;

int destroyedValues = 0;

// A per-app record as a plug-in would attach it.
struct Record {
  double volumeBeforeOpening = -1;
  std::map<std::string, long> toggles;
  ~Record() { ++destroyedValues; }
};

struct Probe : Object {
  ~Probe() override { ++destroyedValues; }
};

const char kRecordKey = 0;
const char kOtherKey = 0;

class AssociationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    destroyedValues = 0;
    cls_ = Runtime::allocateClass<Probe>(uniqueClassName("SBApplication"), Runtime::rootClass());
  }
  Class* cls_ = nullptr;
};

TEST_F(AssociationsTest, ValuesLiveExactlyAsLongAsTheirObject) {
  Ref<Object> app = class_createInstance(cls_);
  auto record = std::make_shared<Record>();
  record->volumeBeforeOpening = 0.3;
  setAssociatedValue(app.get(), &kRecordKey, record);
  record.reset();
  EXPECT_EQ(destroyedValues, 0);

  auto again = getAssociatedValue<Record>(app, &kRecordKey);
  ASSERT_TRUE(again);
  EXPECT_DOUBLE_EQ(again->volumeBeforeOpening, 0.3);
  again.reset();

  app = nullptr;  // the object and its record go together
  EXPECT_EQ(destroyedValues, 2);
}

TEST_F(AssociationsTest, AssociatedObjectsAreRetainedAndReleasedWithTheOwner) {
  Ref<Object> owner = class_createInstance(cls_);
  {
    Ref<Object> value = class_createInstance(cls_);
    objc_setAssociatedObject(owner, &kRecordKey, value);
    EXPECT_EQ(value->retainCount(), 2);
  }
  EXPECT_EQ(destroyedValues, 0);
  ASSERT_NE(objc_getAssociatedObject(owner, &kRecordKey), nullptr);
  owner = nullptr;
  EXPECT_EQ(destroyedValues, 2);
}

TEST_F(AssociationsTest, ReplacingOrRemovingAValueReleasesTheOldOne) {
  Ref<Object> owner = class_createInstance(cls_);
  objc_setAssociatedObject(owner, &kRecordKey, class_createInstance(cls_));
  objc_setAssociatedObject(owner, &kRecordKey, class_createInstance(cls_));
  EXPECT_EQ(destroyedValues, 1);
  objc_setAssociatedObject(owner, &kRecordKey, nullptr);
  EXPECT_EQ(destroyedValues, 2);
  EXPECT_EQ(objc_getAssociatedObject(owner, &kRecordKey), nullptr);
}

TEST_F(AssociationsTest, AnAssignedValueIsNotRetained) {
  Ref<Object> owner = class_createInstance(cls_);
  Ref<Object> value = class_createInstance(cls_);
  objc_setAssociatedObject(owner, &kRecordKey, value, AssociationPolicy::Assign);
  EXPECT_EQ(value->retainCount(), 1);
  EXPECT_EQ(objc_getAssociatedObject(owner, &kRecordKey), value.get());
}

TEST_F(AssociationsTest, KeysAndTypesAreKeptApart) {
  Ref<Object> owner = class_createInstance(cls_);
  setAssociatedValue(owner.get(), &kRecordKey, std::make_shared<Record>());
  setAssociatedValue(owner.get(), &kOtherKey, std::make_shared<std::string>("flag"));
  EXPECT_TRUE(getAssociatedValue<Record>(owner, &kRecordKey));
  EXPECT_EQ(*getAssociatedValue<std::string>(owner, &kOtherKey), "flag");
  // Asking with another type answers nothing rather than a wrongly typed value.
  EXPECT_FALSE(getAssociatedValue<std::string>(owner, &kRecordKey));
  EXPECT_FALSE(getAssociatedValue<Record>(nullptr, &kRecordKey));
  objc_removeAssociatedObjects(owner);
  EXPECT_FALSE(getAssociatedValue<Record>(owner, &kRecordKey));
  EXPECT_EQ(destroyedValues, 1);
}

}  // namespace
}  // namespace platform
