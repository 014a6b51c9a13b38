#include "tweak/engine/RestoreJournal.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>

#include "platform/foundation/BeneathRoot.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "tweak/controls/BrightnessManager.h"
#include "tweak/controls/FlipswitchHelper.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/TessraDebugLog.h"
#include "tweak/vocabulary/ToggleType.h"

using platform::plist::Dictionary;
using platform::plist::Value;

namespace {

constexpr size_t kMaxJournalBytes = 64 * 1024;

std::optional<std::filesystem::path> journalFile() { return platform::DevicePaths::resolve(RestoreJournal::kPath); }

bool isFraction(const Value* value) {
  return value && value->isNumber() && std::isfinite(value->doubleValue()) && value->doubleValue() >= 0.0 &&
         value->doubleValue() <= 1.0;
}

// Why `journal` cannot be trusted, or empty when it can.
std::string faultOf(const Value& journal) {
  if (!journal.isDictionary()) return "it is not a dictionary";
  const Value* app = journal.find("bundleId");
  if (!app || !app->isString()) return "it names no app";
  for (const char* key : {"volume", "brightness"})
    if (const Value* level = journal.find(key); level && !isFraction(level))
      return std::string("\"") + key + "\" is not a number from 0 to 1";
  const Value* toggles = journal.find("toggles");
  if (toggles && !toggles->isDictionary()) return "\"toggles\" is not a dictionary";
  if (toggles)
    for (const auto& [name, state] : toggles->dictionary()) {
      if (toggleTypeForName(name) == ToggleTypeUnknown) return "unknown switch \"" + name + "\"";
      if (!state.isInteger() || (state.integerValue() != 0 && state.integerValue() != 1))
        return "the switch \"" + name + "\" is not 0 or 1";
    }
  return {};
}

std::string utcStamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
  return buf;
}

void setAside(const std::filesystem::path& file, const std::string& why) {
  const std::filesystem::path aside = file.string() + ".bad-" + utcStamp();
  std::error_code ec;
  std::filesystem::rename(file, aside, ec);
  const std::string line =
      "Restore journal " + file.string() + " cannot be trusted (" + why + "); " +
      (ec ? "it could not be moved: " + ec.message() : "set aside as " + aside.filename().string()) +
      ", nothing replayed";
  platform::Log::write("Tessra: " + line);
  TessraDebugLog::log(line);
}

}  // namespace

bool RestoreJournal::record(const std::string& bundleId, std::optional<double> volumeBefore,
                            std::optional<double> brightnessBefore, const Dictionary& togglesBefore) {
  auto file = journalFile();
  if (!file) return false;
  Dictionary journal{{"bundleId", Value(bundleId)}, {"toggles", Value(togglesBefore)}};
  if (volumeBefore) journal.set("volume", Value(*volumeBefore));
  if (brightnessBefore) journal.set("brightness", Value(*brightnessBefore));
  std::string error;
  std::optional<std::string> xml = platform::plist::PropertyListFile::toXml(Value(std::move(journal)), {}, &error);
  const std::filesystem::path root = platform::DevicePaths::root();
  if (!xml || !platform::BeneathRoot::createFolders(root, file->parent_path(), &error) ||
      !platform::plist::PropertyListFile::writeDeviceFileAtomically(root, *file, *xml, &error)) {
    platform::Log::write("Tessra: the restore journal could not be written: " + error);
    return false;
  }
  return true;
}

void RestoreJournal::clear() {
  auto file = journalFile();
  if (!file) return;
  std::error_code ec;
  // remove() takes the name away without following it, whatever it is.
  std::filesystem::remove(*file, ec);
}

Value RestoreJournal::current() {
  auto file = journalFile();
  if (!file) return Value();
  auto bytes =
      platform::plist::PropertyListFile::readDeviceBytes(platform::DevicePaths::root(), *file, kMaxJournalBytes);
  if (!bytes.ok()) return Value();
  auto parsed = platform::plist::PropertyListFile::parse(bytes.bytes);
  return parsed.ok() ? parsed.value : Value();
}

bool RestoreJournal::replayLeftover() {
  auto file = journalFile();
  if (!file) return false;
  auto bytes =
      platform::plist::PropertyListFile::readDeviceBytes(platform::DevicePaths::root(), *file, kMaxJournalBytes);
  if (bytes.status == platform::plist::ReadStatus::Missing) return false;
  if (!bytes.ok()) {
    setAside(*file, bytes.message);
    return false;
  }
  auto parsed = platform::plist::PropertyListFile::parse(bytes.bytes);
  if (!parsed.ok()) {
    setAside(*file, parsed.message);
    return false;
  }
  if (std::string fault = faultOf(parsed.value); !fault.empty()) {
    setAside(*file, fault);
    return false;
  }
  const Value& journal = parsed.value;
  const std::string bundleId = journal["bundleId"].string();
  auto& store = TessraStorageManager::sharedInstance();
  TessraDebugLog::logf("%s : Replay the restore journal left by the previous home screen", bundleId.c_str());
  if (const Value* volume = journal.find("volume"); volume && store.restorePreviousVolumeOnAppExit) {
    FlipswitchHelper::setVolume(volume->doubleValue());
    TessraDebugLog::logf("%s : Restore volume %f", bundleId.c_str(), volume->doubleValue());
  }
  if (const Value* brightness = journal.find("brightness"); brightness && store.restorePreviousBrightnessOnAppExit) {
    BrightnessManager::sharedInstance().setBrightness(brightness->doubleValue(), false);
    TessraDebugLog::logf("%s : Restore brightness %f", bundleId.c_str(), brightness->doubleValue());
  }
  if (const Value* toggles = journal.find("toggles"))
    for (const auto& [name, state] : toggles->dictionary()) {
      const ToggleType type = toggleTypeForName(name);
      if (!TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(type)) continue;
      FlipswitchHelper::setToggle(type, state.integerValue() != 0);
      TessraDebugLog::logf("%s : Restore toggle %s to %ld", bundleId.c_str(), name.c_str(),
                           static_cast<long>(state.integerValue()));
    }
  clear();
  return true;
}
