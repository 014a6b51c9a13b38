// Cost of message sends through the object runtime: the frontmost check of
// the plug-in goes through one hooked method on every process-state change,
// and must stay well under 200 ns in total.
#include <benchmark/benchmark.h>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"

namespace {

using namespace platform;

struct App : Object {
  long visibility = 2;
};

id frontmostImp(id self, SEL) { return self; }
id (*previousFrontmost)(id, SEL) = nullptr;
id lastSeen = nullptr;
id hookedFrontmost(id self, SEL cmd) {
  id answer = previousFrontmost(self, cmd);
  if (answer != lastSeen) lastSeen = answer;
  return answer;
}

struct Fixture {
  Class* plain;
  Class* hooked;
  Ref<Object> plainObj;
  Ref<Object> hookedObj;
  Fixture() {
    plain = Runtime::allocateClass<App>("BenchPlainSpringBoard", Runtime::rootClass());
    hooked = Runtime::allocateClass<App>("BenchHookedSpringBoard", Runtime::rootClass());
    for (Class* c : {plain, hooked}) {
      // A realistic number of other methods on the class.
      for (int i = 0; i < 40; ++i) {
        class_addMethod(c, sel_registerName("method" + std::to_string(i)), &frontmostImp);
      }
      class_addMethod(c, SELECTOR("_accessibilityFrontMostApplication"), &frontmostImp);
      Runtime::registerClass(c);
    }
    MSHookMessageEx(hooked, SELECTOR("_accessibilityFrontMostApplication"), &hookedFrontmost, &previousFrontmost);
    plainObj = class_createInstance(plain);
    hookedObj = class_createInstance(hooked);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_SendPlain(benchmark::State& state) {
  Object* obj = fixture().plainObj.get();
  for (auto _ : state) benchmark::DoNotOptimize(msgSend<id>(obj, SELECTOR("_accessibilityFrontMostApplication")));
}
BENCHMARK(BM_SendPlain);

void BM_SendHooked(benchmark::State& state) {
  Object* obj = fixture().hookedObj.get();
  for (auto _ : state) benchmark::DoNotOptimize(msgSend<id>(obj, SELECTOR("_accessibilityFrontMostApplication")));
}
BENCHMARK(BM_SendHooked);

void BM_SendUnanswered(benchmark::State& state) {
  Object* obj = fixture().plainObj.get();
  for (auto _ : state) benchmark::DoNotOptimize(msgSend<bool>(obj, SELECTOR("isPlaying")));
}
BENCHMARK(BM_SendUnanswered);

void BM_RespondsToSelector(benchmark::State& state) {
  Object* obj = fixture().plainObj.get();
  for (auto _ : state) benchmark::DoNotOptimize(respondsToSelector(obj, SELECTOR("method17")));
}
BENCHMARK(BM_RespondsToSelector);

void BM_ClassByName(benchmark::State& state) {
  fixture();
  for (auto _ : state) benchmark::DoNotOptimize(objc_getClass("BenchHookedSpringBoard"));
}
BENCHMARK(BM_ClassByName);

void BM_ClassHandle(benchmark::State& state) {
  fixture();
  static ClassHandle handle("BenchHookedSpringBoard");
  for (auto _ : state) benchmark::DoNotOptimize(handle.get());
}
BENCHMARK(BM_ClassHandle);

}  // namespace
