// The settings store below a registry key: sections are keys, entries string values, nothing
// is created by loading, and a save reaches the hive whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "package/ExIniFile.h"
#include "platform/Machine.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

constexpr const char* kPath = "Software\\Zav\\Designers";

class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryStoreTest()
      : machine_(platform::Machine::Use(
            std::make_unique<platform::Machine>(platform::WinePrefix(dir_.path())))) {}

  static platform::Registry& Registry() { return platform::Machine::Current().registry(); }
  std::string UserHive() const { return testsupport::ReadFile(dir_ / "user.reg"); }

  // The values of a key below HKEY_CURRENT_USER as "name=type:text", in the hive's order.
  static std::vector<std::string> ValuesOf(const std::string& key) {
    const auto opened = Registry().OpenKey(RootKey::CurrentUser, key, false);
    if (!opened) return {opened.status().message()};
    const auto values = Registry().Values(*opened);
    std::vector<std::string> lines;
    for (const RegValue& v : *values)
      lines.push_back(v.name + "=" + std::to_string(v.type) + ":" + v.AsString().value_or("?"));
    return lines;
  }

  static std::unique_ptr<TExIniFile> Open(bool ForSaving) {
    return std::unique_ptr<TExIniFile>(
        TExIniFile::CreateInRegistry(rkCurrentUser, kPath, ForSaving));
  }

  testsupport::TempDir dir_;
  platform::Machine::Scope machine_;
};

TEST_F(RegistryStoreTest, SectionsAreKeysAndEntriesStringValues) {
  const std::string texts =
      "Gr\xC3\xBC\xC3\x9F"
      "e \"quoted\" C:\\dir\\ a;b\r\nnext line\t";
  {
    auto store = Open(true);
    EXPECT_EQ(store->StoreName(), "HKEY_CURRENT_USER\\Software\\Zav\\Designers");
    store->WriteStringEx("Global", "Polyverb.Language", "Deutsch", "string");
    store->WriteString("TPolyverbInstallForm", "FolderSelect.History", texts);
    store->WriteString("TPolyverbInstallForm", "Empty", "");
    store->WriteString("", "AtTheKeyItself", "top");
    EXPECT_EQ(store->ReadString("GLOBAL", "polyverb.language", "?"), "Deutsch");
    store->UpdateFile();
  }
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\Global"),
            std::vector<std::string>{"Polyverb.Language=1:Deutsch"});
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\TPolyverbInstallForm"),
            (std::vector<std::string>{"Empty=1:", "FolderSelect.History=1:" + texts}));
  EXPECT_EQ(ValuesOf(kPath), std::vector<std::string>{"AtTheKeyItself=1:top"});
  EXPECT_EQ(UserHive().find("string"), std::string::npos) << "the hint was stored";

  // Values of other programs: another type reads as absent, an expandable string as its text.
  const auto global =
      Registry().OpenKey(RootKey::CurrentUser, "Software\\Zav\\Designers\\Global", false);
  ASSERT_TRUE(global.ok());
  ASSERT_TRUE(Registry().WriteValue(*global, RegValue::Dword("Count", 7)).ok());
  ASSERT_TRUE(
      Registry()
          .WriteValue(*global, RegValue::String("Expand", "%WINDIR%\\x", platform::REG_EXPAND_SZ))
          .ok());
  {
    auto store = Open(false);
    EXPECT_EQ(store->ReadString("global", "POLYVERB.LANGUAGE", "?"), "Deutsch");
    EXPECT_EQ(store->ReadString("TPolyverbInstallForm", "FolderSelect.History", "?"), texts);
    EXPECT_EQ(store->ReadString("TPolyverbInstallForm", "Empty", "?"), "");
    EXPECT_EQ(store->ReadString("", "AtTheKeyItself", "?"), "top");
    EXPECT_EQ(store->ReadString("Global", "Count", "default"), "default");
    EXPECT_EQ(store->ReadString("Global", "Expand", "?"), "%WINDIR%\\x");
    EXPECT_EQ(store->ReadString("Missing", "Name", "default"), "default");
  }
  auto store = Open(true);
  store->WriteString("Global", "Count", "8");
  store->UpdateFile();
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\Global"),
            (std::vector<std::string>{"Count=1:8", "Expand=2:%WINDIR%\\x",
                                      "Polyverb.Language=1:Deutsch"}));
}

TEST_F(RegistryStoreTest, LoadingCreatesNothing) {
  auto load = Open(false);
  EXPECT_EQ(load->ReadString("Global", "Polyverb.Language", "English"), "English");
  load->WriteString("Global", "Polyverb.Language", "Deutsch");
  try {
    load->UpdateFile();
    ADD_FAILURE() << "a store opened for loading created a key";
  } catch (const EExIniFileError& e) {
    EXPECT_EQ(e.Message,
              "The settings in HKEY_CURRENT_USER\\Software\\Zav\\Designers cannot be saved: the "
              "registry key HKEY_CURRENT_USER\\Software\\Zav\\Designers\\Global does not exist");
  }
  load.reset();
  EXPECT_FALSE(fs::exists(dir_ / "user.reg"));

  // Into keys that exist, it writes.
  auto save = Open(true);
  save->WriteString("Global", "Polyverb.Language", "Deutsch");
  save->UpdateFile();
  load = Open(false);
  load->WriteString("Global", "Polyverb.Language", "English");
  load->UpdateFile();
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\Global"),
            std::vector<std::string>{"Polyverb.Language=1:English"});
}

TEST_F(RegistryStoreTest, ASaveReachesTheHiveWholeOrNotAtAll) {
  {
    auto store = Open(true);
    store->WriteString("Global", "Old", "1");
    store->UpdateFile();
  }
  const std::string before = UserHive();
  auto saving = Open(true);
  saving->WriteString("Global", "Polyverb.Language", "Deutsch");
  saving->WriteString("TPolyverbInstallForm", "FolderSelect.History", "C:\\Zav;");
  {
    testsupport::FakeWineServer server(dir_.path());
    try {
      Open(true);
      ADD_FAILURE() << "opened for saving while a Wine server owns the registry";
    } catch (const EExIniFileError& e) {
      const std::string start =
          "The settings in HKEY_CURRENT_USER\\Software\\Zav\\Designers cannot be saved: the "
          "registry of the Wine prefix ";
      EXPECT_EQ(e.Message.substr(0, start.size()), start);
      EXPECT_NE(e.Message.find("in use by a running Wine server"), std::string::npos) << e.Message;
    }
    EXPECT_EQ(Open(false)->ReadString("Global", "Old", "?"), "1");  // reading still works
    // The server started after the store was opened.
    EXPECT_THROW(saving->UpdateFile(), EExIniFileError);
    EXPECT_EQ(UserHive(), before);
  }

  // One write the registry refuses (a key name beyond its limit) keeps the others out too.
  auto failing = Open(true);
  failing->WriteString("Global", "New", "1");
  failing->WriteString(std::string(300, 'k'), "Name", "1");
  EXPECT_THROW(failing->UpdateFile(), EExIniFileError);
  EXPECT_EQ(UserHive(), before);

  // The writes refused before are still there to hand on.
  saving->UpdateFile();
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\Global"),
            (std::vector<std::string>{"Old=1:1", "Polyverb.Language=1:Deutsch"}));
  EXPECT_EQ(ValuesOf("Software\\Zav\\Designers\\TPolyverbInstallForm"),
            std::vector<std::string>{"FolderSelect.History=1:C:\\Zav;"});
}

TEST_F(RegistryStoreTest, TextsTheRegistryCannotHoldAreRefusedWhenWritten) {
  const std::string prefix =
      "The settings in HKEY_CURRENT_USER\\Software\\Zav\\Designers cannot take ";
  struct Case {
    std::string section, name, value, message;
  };
  const std::vector<Case> cases = {
      {"Polyverb\\Install", "History", "x",
       "the section \"Polyverb\\Install\": a section is one key, and a backslash would name a "
       "key below another"},
      {"Global", "Nul", std::string("a\0b", 3),
       "the entry \"Nul\" of section \"Global\": the registry holds text without NUL characters, "
       "in UTF-8"},
      {"Global", "\xFF", "x", "the entry \"\xFF\" of section \"Global\""},
  };
  auto store = Open(true);
  for (const Case& c : cases) {
    try {
      store->WriteString(c.section, c.name, c.value);
      ADD_FAILURE() << c.message;
    } catch (const EExIniFileError& e) {
      EXPECT_EQ(e.Message.substr(0, prefix.size() + c.message.size()), prefix + c.message);
    }
  }
  store->UpdateFile();
  EXPECT_FALSE(fs::exists(dir_ / "user.reg"));
}

}  // namespace
