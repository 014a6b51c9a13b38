// The `tessra` commands that read and write a device's settings and app
// customizations, run in-process on a device root of their own.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/bus/BusLocation.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/platform/plist/BinaryPlistBuilder.h"
#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceNotificationLink.h"

namespace {

using platform::plist::Dictionary;
using platform::plist::Value;

struct Result {
  int status = 0;
  std::string out;
  std::string err;
};

class StoreCommandsTest : public ::testing::Test {
 protected:
  StoreCommandsTest() {
    std::string error;
    EXPECT_TRUE(tessra::device::DeviceFiles::writeConfiguration(env.root, "13.3",
                                                                platform::springboard::DeviceKind::Phone, &error))
        << error;
  }

  // Runs `tessra <name> <args> --root <root>` in this process.
  Result run(const std::string& name, std::vector<std::string> args, std::string root = "use-device") {
    for (const auto& command : tessra::cli::commands()) {
      if (command.name != name) continue;
      std::ostringstream out, err;
      tessra::cli::Invocation invocation;
      invocation.args = std::move(args);
      invocation.root = root == "use-device" ? env.root.string() : root;
      invocation.out = &out;
      invocation.err = &err;
      int status = command.run(invocation);
      return {status, out.str(), err.str()};
    }
    ADD_FAILURE() << "no command " << name;
    return {};
  }

  std::string domainFileBytes() {
    std::ifstream in(platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Puts `bytes` in place of the device's preferences file, as the phone would write it.
  void writeBinaryDomain(const std::string& bytes) {
    const auto file = platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::string writeFile(const std::string& name, const Value& root) {
    std::string path = (env.root / name).string();
    EXPECT_TRUE(platform::plist::PropertyListFile::write(path, root));
    return path;
  }

  Value sampleApps() {
    return Value(Dictionary{
        {"com.apple.Maps",
         Value(Dictionary{{"toggles", Value(Dictionary{{"action_disableCC", 1}, {"wifi", 1}, {"bluetooth", 0}})},
                          {"volume", 0.4},
                          {"brightness", 1.0}})},
        {"com.apple.mobilenotes", Value(Dictionary{{"toggles", Value(Dictionary{})}})},
    });
  }

  StoreTestEnvironment env;
};

// --- The device root ---

TEST_F(StoreCommandsTest, EveryCommandRefusesAMissingOrBadRoot) {
  std::string notAFolder = (env.root / "file").string();
  std::ofstream(notAFolder) << "x";
  for (const auto& [name, args] :
       std::vector<std::pair<std::string, std::vector<std::string>>>{{"settings", {}},
                                                                     {"apps", {}},
                                                                     {"set", {"enabled", "off"}},
                                                                     {"export", {"x.plist"}},
                                                                     {"import", {"x.plist"}}}) {
    Result missing = run(name, args, "");
    EXPECT_NE(missing.status, 0) << name;
    EXPECT_NE(missing.err.find("--root"), std::string::npos) << name;
    Result file = run(name, args, notAFolder);
    EXPECT_NE(file.status, 0) << name;
    EXPECT_NE(file.err.find("is not a folder"), std::string::npos) << name;
  }
}

TEST_F(StoreCommandsTest, AFolderThatIsNotADeviceIsRefusedAndNothingIsCreatedInIt) {
  std::filesystem::path plain = env.root / "plain";
  std::filesystem::create_directories(plain);
  // A link in place of the device file does not make a device either.
  std::filesystem::path linked = env.root / "linked";
  std::filesystem::create_directories(tessra::device::DeviceFiles::configurationFile(linked).parent_path());
  std::filesystem::create_symlink(tessra::device::DeviceFiles::configurationFile(env.root),
                                  tessra::device::DeviceFiles::configurationFile(linked));
  std::string backup = writeFile("backup.plist", sampleApps());
  for (const std::filesystem::path& folder : {plain, linked}) {
    for (const auto& [name, args] :
         std::vector<std::pair<std::string, std::vector<std::string>>>{{"settings", {}},
                                                                       {"apps", {}},
                                                                       {"set", {"enabled", "off"}},
                                                                       {"export", {(folder / "x.plist").string()}},
                                                                       {"import", {backup}}}) {
      Result result = run(name, args, folder.string());
      EXPECT_EQ(result.status, 2) << name;
      EXPECT_NE(result.err.find("is not a device"), std::string::npos) << name << ": " << result.err;
    }
    for (const std::string name : {"device stop", "device state", "device log", "device restart"}) {
      Result result = run(name, {folder.string()}, "");
      EXPECT_NE(result.status, 0) << name;
      EXPECT_NE(result.err.find("is not a device"), std::string::npos) << name << ": " << result.err;
      EXPECT_EQ(result.out.find("device stopped"), std::string::npos) << name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(plain / "var"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(plain), {}), 0);
}

TEST_F(StoreCommandsTest, DeviceLogPrintsTheLogButNeverAFileALinkPointsAt) {
  const std::filesystem::path log = env.root / "var/log/KLDebug/com.kelvane.tessra2.log";
  std::filesystem::create_directories(log.parent_path());
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "line " + std::to_string(i) + "\n";
  std::ofstream(log) << big;
  Result printed = run("device log", {env.root.string()}, "");
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.out, big);

  const std::filesystem::path secret = env.root.parent_path() / (env.root.filename().string() + "-secret");
  std::ofstream(secret) << "host secret\n";
  std::filesystem::remove(log);
  std::filesystem::create_symlink(secret, log);
  Result linked = run("device log", {env.root.string()}, "");
  EXPECT_EQ(linked.status, 1);
  EXPECT_EQ(linked.out, "");
  EXPECT_NE(linked.err.find("symbolic link"), std::string::npos) << linked.err;
  std::filesystem::remove(secret);
}

TEST_F(StoreCommandsTest, ExportNeverWritesOverTheDevicesOwnPreferences) {
  ASSERT_EQ(run("set", {"enabled", "off"}).status, 0);
  const std::string before = domainFileBytes();
  const auto domainFile = platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain);
  for (const std::string& target :
       {domainFile.string(), (domainFile.parent_path() / "other.plist").string(),
        (env.root / "var/mobile/Library/../Library/Preferences" / domainFile.filename()).string()}) {
    Result result = run("export", {target});
    EXPECT_EQ(result.status, 2) << target;
    EXPECT_NE(result.err.find("inside the device's preferences folder"), std::string::npos) << result.err;
  }
  EXPECT_EQ(domainFileBytes(), before);
  EXPECT_FALSE(std::filesystem::exists(domainFile.parent_path() / "other.plist"));
}

TEST_F(StoreCommandsTest, AppsNeverPrintsRawControlBytes) {
  // As a binary file (the phone's form) may hold it: the XML writer would refuse such text.
  platform::plist::testing::BinaryPlistBuilder binary;
  size_t top = binary.add(Value(Dictionary{
      {"customizedApps",
       Value(Dictionary{{"com.evil\x1b[2J", Value(Dictionary{{"toggles", Value(Dictionary{{"wi\x07fi", 1}})}})}})}}));
  const auto domainFile = platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain);
  std::filesystem::create_directories(domainFile.parent_path());
  std::ofstream(domainFile, std::ios::binary) << binary.build(top);
  Result result = run("apps", {});
  EXPECT_EQ(result.out.find('\x1b'), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find('\x07'), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("com.evil\\x1B[2J"), std::string::npos) << result.out;
}

// --- settings ---

TEST_F(StoreCommandsTest, SettingsListsEveryKeyAndMarksChangedOnes) {
  env.writeDomain("interfaceColorStyle", Value(int64_t{0}));
  env.writeDomain("showWifiToggle", Value(false));
  env.writeDomain("hideTessraMenu", Value("yes please"));
  Result result = run("settings", {});
  ASSERT_EQ(result.status, 0) << result.err;

  std::istringstream lines(result.out);
  std::string line;
  std::vector<std::string> marked;
  int settingLines = 0;
  std::getline(lines, line);  // heading
  while (std::getline(lines, line)) {
    ++settingLines;
    if (line.starts_with("* ")) marked.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  EXPECT_EQ(settingLines, 70);
  EXPECT_EQ(marked, (std::vector<std::string>{"interfaceColorStyle", "showWifiToggle"}));
  EXPECT_NE(result.out.find("0 (dark)"), std::string::npos);
  EXPECT_NE(result.out.find("default 2 (follow the system)"), std::string::npos);
  EXPECT_NE(result.out.find("is not a number: the default applies"), std::string::npos);
}

// --- set ---

TEST_F(StoreCommandsTest, SetWritesOneSettingAndPostsTheReload) {
  Result result = run("set", {"restorePreviousWifiOnAppExit", "No"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(env.readDomain("restorePreviousWifiOnAppExit"), Value(false));
  EXPECT_EQ(env.reloadPosts, 1);

  ASSERT_EQ(run("set", {"disableHomeGesture_activationMethod", "3"}).status, 0);
  EXPECT_EQ(env.readDomain("disableHomeGesture_activationMethod"), Value(int64_t{3}));
  EXPECT_EQ(env.reloadPosts, 2);
}

TEST_F(StoreCommandsTest, SetRefusesBadKeysAndValuesAndWritesNothing) {
  ASSERT_EQ(run("set", {"enabled", "on"}).status, 0);
  std::string before = domainFileBytes();
  int postsBefore = env.reloadPosts;
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  for (const Case& c : std::vector<Case>{
           {{"Enabled", "on"}, "unknown setting 'Enabled'"},
           {{"customizedApps", "1"}, "unknown setting"},
           {{"enabled", "maybe"}, "is a switch"},
           {{"enabled", ""}, "is a switch"},
           {{"interfaceColorStyle", "3"}, "from 0 to 2"},
           {{"interfaceColorStyle", "-1"}, "from 0 to 2"},
           {{"interfaceColorStyle", "1.5"}, "from 0 to 2"},
           {{"interfaceColorStyle", "on"}, "from 0 to 2"},
           {{"disableHomeGesture_activationMethod", "4"}, "from 0 to 3"},
           {{"enabled"}, "usage"},
       }) {
    Result result = run("set", c.args);
    EXPECT_NE(result.status, 0) << c.args[0];
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(domainFileBytes(), before);
  EXPECT_EQ(env.reloadPosts, postsBefore);
}

// A binary domain, as the phone writes them, holding values an XML rewrite must keep exactly.
TEST_F(StoreCommandsTest, SetKeepsEveryOtherValueOfABinaryDomainAsItWas) {
  const double born = -3187296000.5;  // 1900-01-01 less half a second
  const double far = 3124137600.25;   // 2100-01-01
  Value domain(Dictionary{{"enabled", Value(true)},
                          {"born", Value(platform::plist::Date{born})},
                          {"far", Value(platform::plist::Date{far})},
                          {"counter", Value(UINT64_MAX)},
                          {"half", Value(uint64_t{1} << 63)},
                          {"customizedApps", sampleApps()}});
  writeBinaryDomain(platform::plist::testing::BinaryPlistBuilder::encode(domain));

  Result result = run("set", {"enabled", "off"});
  ASSERT_EQ(result.status, 0) << result.err;
  auto written = platform::plist::PropertyListFile::parse(domainFileBytes());
  ASSERT_TRUE(written.ok()) << written.message;
  EXPECT_EQ(written.value["enabled"], Value(false));
  EXPECT_EQ(written.value["born"].date().secondsSince2001, born);
  EXPECT_EQ(written.value["far"].date().secondsSince2001, far);
  EXPECT_TRUE(written.value["counter"].isLargeUnsigned());
  EXPECT_EQ(written.value["counter"].unsignedIntegerValue(), UINT64_MAX);
  EXPECT_EQ(written.value["half"].unsignedIntegerValue(), uint64_t{1} << 63);
  EXPECT_EQ(written.value["customizedApps"], sampleApps());
}

TEST_F(StoreCommandsTest, ADomainHoldingAValueThatCannotBeKeptIsNeverRewritten) {
  namespace testing = platform::plist::testing;
  struct Case {
    const char* name;
    std::string file;
    const char* why;
  };
  std::vector<Case> cases;
  {
    testing::BinaryPlistBuilder b;
    size_t top = b.addDictionary(
        {{b.addString("enabled"), b.addBool(true)}, {b.addString("counter"), b.addInteger128(0x10, 7)}});
    cases.push_back({"128-bit", b.build(top), "the value under the key \"counter\" is a 128-bit integer"});
  }
  {
    testing::BinaryPlistBuilder b;
    size_t top =
        b.addDictionary({{b.addString("enabled"), b.addBool(true)}, {b.addString("title"), b.addUtf16(u"Caf\xD83D")}});
    cases.push_back({"lone surrogate", b.build(top), "the value under the key \"title\" is UTF-16 text with a lone"});
  }
  cases.push_back({"year 31690",
                   testing::BinaryPlistBuilder::encode(
                       Value(Dictionary{{"enabled", Value(true)}, {"when", Value(platform::plist::Date{1e12})}})),
                   "the date under the key \"when\""});
  const auto folder = platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain).parent_path();
  for (const Case& c : cases) {
    writeBinaryDomain(c.file);
    Result set = run("set", {"enabled", "off"});
    EXPECT_EQ(set.status, 1) << c.name;
    EXPECT_NE(set.err.find("could not write the preferences of the device ("), std::string::npos) << set.err;
    EXPECT_NE(set.err.find(c.why), std::string::npos) << c.name << ": " << set.err;
    EXPECT_NE(set.err.find("enabled is unchanged"), std::string::npos) << set.err;
    std::string backup = writeFile("backup.plist", sampleApps());
    Result imported = run("import", {backup});
    EXPECT_EQ(imported.status, 1) << c.name;
    EXPECT_NE(imported.err.find(c.why), std::string::npos) << c.name << ": " << imported.err;
    // Byte for byte as it was, and nothing kept aside in its place.
    EXPECT_EQ(domainFileBytes(), c.file) << c.name;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      EXPECT_EQ(entry.path().filename().string().find(".bad-"), std::string::npos) << entry.path();
  }
}

// --- apps ---

TEST_F(StoreCommandsTest, AppsShowsEachAppInTheSummaryOrder) {
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), sampleApps());
  Result result = run("apps", {});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "com.apple.Maps: 5 customized things\n"
            "  volume 40%\n"
            "  brightness 100%\n"
            "  Wi-Fi (wifi): On\n"
            "  Bluetooth (bluetooth): Off\n"
            "  Disable Control Center (action_disableCC): On\n"
            "com.apple.mobilenotes: nothing customized\n");
}

TEST_F(StoreCommandsTest, AppsRoundsPercentagesLikeTheSummaryAndSkipsClearedToggles) {
  env.writeDomain(
      std::string(tessra::kCustomizedAppsKey),
      Value(Dictionary{
          {"a",
           Value(Dictionary{{"volume", 0.125}, {"brightness", 0.375}, {"toggles", Value(Dictionary{{"dnd", -1}})}})}}));
  Result result = run("apps", {});
  EXPECT_EQ(result.out, "a: 2 customized things\n  volume 13%\n  brightness 38%\n");
}

TEST_F(StoreCommandsTest, AppsOnAnEmptyDevice) {
  Result result = run("apps", {});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "No app is customized.\n");
}

// --- export and import ---

TEST_F(StoreCommandsTest, ExportThenImportRestoresEveryCustomization) {
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), sampleApps());
  std::string backup = (env.root / "backup.plist").string();
  Result exported = run("export", {backup});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, "Exported 2 apps to " + backup + "\n");

  env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value(Dictionary{}));
  Result imported = run("import", {backup});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(env.storedApps(), sampleApps());
  EXPECT_EQ(env.clearPosts, 1);
}

TEST_F(StoreCommandsTest, ADamagedPreferencesFileIsReportedLeftAloneAndNeverExported) {
  std::string backup = writeFile("backup.plist", sampleApps());
  const std::string damaged = "<plist><dict><key>customizedApps</key><dict><key>com.apple.Maps</key>";
  const auto file = platform::DevicePaths::preferencesFile(tessra::kPreferencesDomain);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << damaged;
  Result apps = run("apps", {});
  EXPECT_EQ(apps.status, 0);
  EXPECT_NE(apps.err.find("tessra apps: the preferences file of the device could not be used (malformed: "),
            std::string::npos)
      << apps.err;
  EXPECT_NE(run("settings", {}).err.find("every setting reads as its default"), std::string::npos);
  // An empty export would look like a good backup; the earlier backup stays as it was.
  Result exported = run("export", {backup});
  EXPECT_EQ(exported.status, 1);
  EXPECT_NE(exported.err.find("nothing exported"), std::string::npos) << exported.err;
  EXPECT_EQ(platform::plist::PropertyListFile::read(backup).value, sampleApps());
  // Looking never moved or changed the damaged file.
  EXPECT_EQ(domainFileBytes(), damaged);
}

TEST_F(StoreCommandsTest, AStartedDeviceThatDoesNotAnswerIsWarnedAboutAfterTheWrite) {
  // A device recorded as started whose bus is gone: the posts cannot reach its plug-in.
  const auto addressFile = platform::BusLocation::addressFile(env.root);
  std::filesystem::create_directories(addressFile.parent_path());
  std::ofstream(addressFile) << "unix:path=" << (env.root / "no-such.sock").string() << "\n";
  tessra::cli::DeviceNotificationLinkTestApi::setConnectTimeout(std::chrono::milliseconds(50));

  // The files have it, and the device reads them when its bus is back: a warning, not a failure.
  Result imported = run("import", {writeFile("backup.plist", sampleApps())});
  EXPECT_EQ(imported.status, 0);
  EXPECT_NE(imported.err.find("tessra import: warning: the running device did not answer"), std::string::npos)
      << imported.err;
  EXPECT_NE(imported.err.find("tessra device restart " + env.root.string()), std::string::npos) << imported.err;
  EXPECT_EQ(env.storedApps(), sampleApps());
  Result set = run("set", {"enabled", "off"});
  EXPECT_EQ(set.status, 0);
  EXPECT_NE(set.err.find("its plug-in keeps the old enabled"), std::string::npos) << set.err;

  std::filesystem::remove(addressFile);  // stopped: the files are all there is
  Result stopped = run("set", {"enabled", "on"});
  EXPECT_EQ(stopped.status, 0);
  EXPECT_EQ(stopped.err, "");
  tessra::cli::DeviceNotificationLinkTestApi::setConnectTimeout(std::chrono::seconds(3));
}

TEST_F(StoreCommandsTest, ImportReplacesTheWholeStore) {
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), sampleApps());
  Value replacement{Dictionary{{"com.other", Value(Dictionary{{"volume", 1.0}})}}};
  ASSERT_EQ(run("import", {writeFile("new.plist", replacement)}).status, 0);
  EXPECT_EQ(env.storedApps(), replacement);
}

TEST_F(StoreCommandsTest, ABadImportChangesNothingAndNamesTheFault) {
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), sampleApps());
  std::string before = domainFileBytes();
  auto entry = [](Dictionary d) {
    return Value(Dictionary{{"com.good", Value(Dictionary{{"volume", 0.5}})}, {"com.bad", Value(std::move(d))}});
  };
  struct Case {
    Value root;
    const char* message;
  };
  std::vector<Case> cases = {
      {Value(Dictionary{{"com.bad", "text"}}), "com.bad: the entry must be a dictionary"},
      {entry({{"volume", 1.5}}), "com.bad: \"volume\" must be a real number from 0 to 1"},
      {entry({{"brightness", -0.1}}), "com.bad: \"brightness\" must be a real number from 0 to 1"},
      {entry({{"volume", 1}}), "com.bad: \"volume\" must be a real number from 0 to 1, not the integer 1"},
      {entry({{"toggles", "wifi"}}), "com.bad: \"toggles\" must be a dictionary"},
      {entry({{"toggles", Value(Dictionary{{"Wifi", 1}})}}), "com.bad: toggles: unknown toggle name \"Wifi\""},
      {entry({{"toggles", Value(Dictionary{{"wifi", 1.0}})}}),
       "com.bad: toggles: \"wifi\" must be the integer 1, 0 or -1, not the real number 1"},
      {entry({{"toggles", Value(Dictionary{{"wifi", 2}})}}), "com.bad: toggles: \"wifi\" must be the integer"},
      {entry({{"toggles", Value(Dictionary{{"wifi", true}})}}), "com.bad: toggles: \"wifi\" must be the integer"},
      {entry({{"colour", "red"}}), "com.bad: unknown key \"colour\""},
      {Value(platform::plist::Array{}), "not a dictionary of apps"},
  };
  for (const Case& c : cases) {
    Result result = run("import", {writeFile("bad.plist", c.root)});
    EXPECT_NE(result.status, 0) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("com.good"), std::string::npos) << result.err;
  }
  std::string garbage = (env.root / "garbage.plist").string();
  std::ofstream(garbage) << "this is not a property list";
  EXPECT_NE(run("import", {garbage}).status, 0);
  Result missing = run("import", {(env.root / "nowhere.plist").string()});
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.err.find("nothing imported"), std::string::npos);

  EXPECT_EQ(domainFileBytes(), before);
  EXPECT_EQ(env.clearPosts, 0);
}

TEST_F(StoreCommandsTest, ImportFaultsNeverPrintRawControlBytes) {
  // A binary backup may hold names no XML file could: each is shown escaped, never acting on the terminal.
  const std::string file = (env.root / "evil.plist").string();
  std::ofstream(file, std::ios::binary) << platform::plist::testing::BinaryPlistBuilder::encode(Value(Dictionary{
      {"com.evil\x1b[2J\xc2\x9b", Value(Dictionary{{"volume", Value("x\x07\x7f")}, {"he\x1b]0;", Value(1)}})}}));
  Result result = run("import", {file});
  EXPECT_EQ(result.status, 1);
  for (char raw : {'\x1b', '\x07', '\x7f'}) EXPECT_EQ(result.err.find(raw), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("\xc2\x9b"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("com.evil\\x1B[2J\\xC2\\x9B: \"volume\" must be a real number from 0 to 1, not the text "
                            "\"x\\x07\\x7F\""),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("unknown key \"he\\x1B]0;\""), std::string::npos) << result.err;
}

TEST_F(StoreCommandsTest, ExportRefusesAStoreThatIsNotADictionary) {
  env.writeDomain(std::string(tessra::kCustomizedAppsKey), Value("broken"));
  std::string backup = (env.root / "backup.plist").string();
  Result result = run("export", {backup});
  EXPECT_NE(result.status, 0);
  EXPECT_FALSE(std::filesystem::exists(backup));
}

}  // namespace
