#pragma once

// Makes the store reachable by class name in the object runtime, as the
// settings bundle reaches it after loading the plug-in into the Settings app:
// class "TessraStorageManager" with +sharedInstance, -loadDictionaryFromStorage
// and -getNbCustomizedThingsForBundleId: (an int64_t for a std::string), all
// acting on TessraStorageManager::sharedInstance(). Registered when the
// library loads, in every process (registering a class starts nothing).
class TessraStorageManagerClass {
 public:
  static constexpr const char* kClassName = "TessraStorageManager";
  // Registers the class (replacing an earlier registration).
  static void registerClass();
};
