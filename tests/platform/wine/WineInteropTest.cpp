// Our registry layer and a real Wine agree, both ways, on throwaway prefixes.

#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "platform/WinRegistry.h"
#include "platform/hive/Hive.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineTools.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::RunWithPrefix;
using testsupport::TempDir;

// "Time stamps aside": the key line's seconds and the #time line.
std::string WithoutTimes(const std::string& hiveText) {
  static const std::regex keyTime(R"((\n\[[^\n]*\]) \d+\n)");
  static const std::regex timeLine(R"(\n#time=[0-9a-f]+)");
  return std::regex_replace(std::regex_replace(hiveText, keyTime, "$1\n"), timeLine, "");
}

// Wine's own housekeeping keys ("Software\Wine\..."), which its helper processes may
// add at any moment after a start; they say nothing about the change under test.
std::string WithoutWineHousekeeping(const std::string& hiveText) {
  static const std::string kMarker = "\n\n[Software\\\\Wine";
  std::string out;
  size_t pos = 0;
  while (pos < hiveText.size()) {
    const size_t found = hiveText.find(kMarker, pos);
    if (found == std::string::npos) {
      out.append(hiveText, pos, std::string::npos);
      break;
    }
    out.append(hiveText, pos, found - pos);
    const size_t next = hiveText.find("\n\n[", found + 2);
    pos = next == std::string::npos ? hiveText.size() : next;
  }
  return out;
}

// The first line where two texts part, with its neighbours, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t line = 1;
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) {
    if (a[i] == '\n') ++line;
    ++i;
  }
  if (i == a.size() && i == b.size()) return "no difference";
  const size_t from = a.rfind('\n', i == 0 ? 0 : i - 1);
  const size_t start = from == std::string::npos ? 0 : from + 1;
  return "first difference at line " + std::to_string(line) + ":\n  ours: " + a.substr(start, 160) +
         "\n  wine: " + b.substr(start, 160);
}

std::string Utf16Le(std::u16string_view units) {
  std::string bytes;
  for (char16_t u : units) {
    bytes += static_cast<char>(u & 0xff);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

class WineInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
    const std::string& source = testsupport::TemplatePrefix();
    ASSERT_FALSE(source.empty()) << "wineboot could not make a prefix";
    prefix = dir / "prefix";
    ASSERT_TRUE(testsupport::CopyPrefix(source, prefix));
  }
  void TearDown() override {
    if (!prefix.empty()) testsupport::StopServer(prefix);
  }

  void Reg(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"wine", "reg"};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto r = RunWithPrefix(prefix, argv);
    ASSERT_EQ(r.exitCode, 0) << r.output;
  }

  TempDir dir;
  std::string prefix;
};

struct StringCase {
  std::string name;
  std::string data;
};

TEST_F(WineInteropTest, WhatWineWritesWeReadExactly) {
  const std::vector<StringCase> strings = {
      {"plain", "hello"},
      {"quote\"name", "say \"hi\""},
      {"back\\slash", "C:\\Program Files\\x"},
      {"trail", "C:\\dir\\"},
      {"semi;colon", "a;b;c"},
      {"tab", "a\tb"},
      {"newline", "line1\nline2"},
      {"ctrl",
       "a\x01"
       "b\x1b"
       "c\x7f"
       "d\x01"
       "7"},
      {"Gr\xC3\xB6\xC3\x9F"
       "e",
       "Gr\xC3\xBC\xC3\x9F"
       "e"},
      {"uhex",
       "\xC3\xBC"
       "1 \xC3\xBC"
       "g \xC3\xBC"},
      {"cjk", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"emoji", "\xF0\x9F\x98\x80x"},
      {"empty", ""},
      {"long", std::string(3000, 'A')},
      {"eq=sign", "x=y"},
      {"brk[]", "[x]"},
      {"@", "literal at"},
  };
  testsupport::StartServer(prefix);
  for (const StringCase& c : strings) {
    Reg({"add", "HKCU\\Software\\WRtest", "/v", c.name, "/d", c.data, "/f"});
  }
  Reg({"add", "HKCU\\Software\\WRtest", "/ve", "/d", "default data", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "expand", "/t", "REG_EXPAND_SZ", "/d",
       "%SystemRoot%\\system32", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "multi", "/t", "REG_MULTI_SZ", "/d",
       "one\\0two\\0three", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "dword", "/t", "REG_DWORD", "/d", "0x12345678",
       "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "qword", "/t", "REG_QWORD", "/d",
       "0x123456789abcdef0", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "bin", "/t", "REG_BINARY", "/d", "deadbeef", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest", "/v", "binempty", "/t", "REG_BINARY", "/d", "", "/f"});
  Reg({"add", "HKCU\\Software\\WRtest\\Sub[1]", "/v", "x", "/d", "y", "/f"});
  Reg({"add", "HKLM\\Software\\WRtest", "/v", "view", "/d", "32-bit", "/reg:32", "/f"});
  Reg({"add", "HKLM\\Software\\WRtest", "/v", "view", "/d", "64-bit", "/reg:64", "/f"});
  testsupport::StopServer(prefix);

  Registry reg(prefix);
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\WRtest", false);
  ASSERT_TRUE(key.ok()) << key.status().message();
  for (const StringCase& c : strings) {
    auto v = reg.ReadValue(*key, c.name);
    ASSERT_TRUE(v.ok()) << c.name << ": " << v.status().message();
    EXPECT_EQ(v->type, REG_SZ) << c.name;
    EXPECT_EQ(v->AsString(), c.data) << c.name;
  }
  EXPECT_EQ(reg.ReadValue(*key, "")->AsString(), "default data");
  EXPECT_EQ(reg.ReadValue(*key, "expand")->type, REG_EXPAND_SZ);
  EXPECT_EQ(reg.ReadValue(*key, "expand")->AsString(), "%SystemRoot%\\system32");
  auto multi = reg.ReadValue(*key, "multi");
  EXPECT_EQ(multi->type, REG_MULTI_SZ);
  EXPECT_EQ(multi->data, Utf16Le(std::u16string(u"one\0two\0three\0\0", 15)));
  EXPECT_EQ(reg.ReadValue(*key, "dword")->data, std::string("\x78\x56\x34\x12", 4));
  EXPECT_EQ(reg.ReadValue(*key, "qword")->type, REG_QWORD);
  EXPECT_EQ(reg.ReadValue(*key, "qword")->data, std::string("\xf0\xde\xbc\x9a\x78\x56\x34\x12", 8));
  EXPECT_EQ(reg.ReadValue(*key, "bin")->data, std::string("\xde\xad\xbe\xef", 4));
  EXPECT_EQ(reg.ReadValue(*key, "binempty")->data, "");
  auto sub = reg.OpenKey(RootKey::CurrentUser, "Software\\WRtest\\sub[1]", false);
  ASSERT_TRUE(sub.ok());
  EXPECT_EQ(reg.ReadValue(*sub, "x")->AsString(), "y");

  Registry reg64(prefix, RegistryView::Win64);
  auto k32 = reg.OpenKey(RootKey::LocalMachine, "Software\\WRtest", false);
  auto k64 = reg64.OpenKey(RootKey::LocalMachine, "Software\\WRtest", false);
  ASSERT_TRUE(k32.ok() && k64.ok());
  EXPECT_EQ(reg.ReadValue(*k32, "view")->AsString(), "32-bit");
  EXPECT_EQ(reg64.ReadValue(*k64, "view")->AsString(), "64-bit");
  EXPECT_TRUE(reg.Problems().empty()) << reg.Problems().front();
}

TEST_F(WineInteropTest, WhatWeWriteWineReadsExactly) {
  {
    Registry reg(prefix);
    auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Ours\\Known Packages", true);
    ASSERT_TRUE(key.ok()) << key.status().message();
    ASSERT_TRUE(reg.WriteString(*key, "C:\\Program Files\\Pkg\\Design.bpl", "Design \"pkg\"").ok());
    ASSERT_TRUE(reg.WriteString(*key, "semi;colon", "a;b=c").ok());
    ASSERT_TRUE(reg.WriteString(*key,
                                "Gr\xC3\xB6\xC3\x9F"
                                "e",
                                "\xE4\xB8\xAD \xF0\x9F\x98\x80x")
                    .ok());
    ASSERT_TRUE(reg.WriteString(*key, "ctrl",
                                "a\tb\nc\x01"
                                "7")
                    .ok());
    ASSERT_TRUE(reg.WriteValue(*key, RegValue::Dword("count", 42)).ok());
    auto machine = reg.OpenKey(RootKey::LocalMachine, "Software\\Ours32", true);
    ASSERT_TRUE(machine.ok());
    ASSERT_TRUE(reg.WriteString(*machine, "App", "C:\\x\\y.exe").ok());
  }
  const auto query =
      RunWithPrefix(prefix, {"wine", "reg", "query", "HKCU\\Software\\Ours\\Known Packages", "/v",
                             "C:\\Program Files\\Pkg\\Design.bpl"});
  EXPECT_EQ(query.exitCode, 0) << query.output;
  EXPECT_NE(query.output.find("REG_SZ    Design \"pkg\""), std::string::npos) << query.output;
  const auto query32 = RunWithPrefix(
      prefix, {"wine", "reg", "query", "HKLM\\Software\\Ours32", "/v", "App", "/reg:32"});
  EXPECT_NE(query32.output.find("C:\\x\\y.exe"), std::string::npos) << query32.output;
  testsupport::StopServer(prefix);

  // Wine loaded our file and saved it again: if we wrote exactly what it
  // writes, only the time stamps of keys Wine itself touched can differ.
  const std::string ours = ReadFile(prefix + "/user.reg");
  testsupport::StartServer(prefix);
  RunWithPrefix(prefix, {"wine", "reg", "query", "HKCU\\Software\\Ours"});
  testsupport::StopServer(prefix);
  const std::string expected = WithoutWineHousekeeping(WithoutTimes(ours));
  const std::string resaved = WithoutWineHousekeeping(WithoutTimes(ReadFile(prefix + "/user.reg")));
  EXPECT_TRUE(resaved == expected) << FirstDifference(expected, resaved);
}

TEST_F(WineInteropTest, SameChangeGivesTheSameFile) {
  // Wine's first start in a prefix adds keys of its own; let that happen
  // before the two copies part.
  testsupport::StartServer(prefix);
  Reg({"query", "HKCU\\Software"});
  testsupport::StopServer(prefix);
  const std::string other = dir / "other";
  ASSERT_TRUE(testsupport::CopyPrefix(prefix, other));

  testsupport::StartServer(prefix);
  Reg({"add", "HKCU\\Software\\Borland\\Delphi\\5.0\\Known Packages", "/v",
       "C:\\Polyverb\\Design.bpl", "/d", "Polyverb design package", "/f"});
  Reg({"add", "HKCU\\Software\\Borland\\Delphi\\5.0\\Disabled Packages", "/v", "x.bpl", "/d", "x",
       "/f"});
  Reg({"delete", "HKCU\\Software\\Borland\\Delphi\\5.0\\Disabled Packages", "/v", "x.bpl", "/f"});
  Reg({"add", "HKCU\\Software\\Zav\\Designers", "/v", "Language", "/d", "Deutsch", "/f"});
  testsupport::StopServer(prefix);

  {
    Registry reg(other);
    auto known =
        reg.OpenKey(RootKey::CurrentUser, "Software\\Borland\\Delphi\\5.0\\Known Packages", true);
    ASSERT_TRUE(known.ok());
    ASSERT_TRUE(
        reg.WriteString(*known, "C:\\Polyverb\\Design.bpl", "Polyverb design package").ok());
    auto disabled = reg.OpenKey(RootKey::CurrentUser,
                                "Software\\Borland\\Delphi\\5.0\\Disabled Packages", true);
    ASSERT_TRUE(reg.WriteString(*disabled, "x.bpl", "x").ok());
    ASSERT_TRUE(reg.DeleteValue(*disabled, "x.bpl").ok());
    auto designers = reg.OpenKey(RootKey::CurrentUser, "Software\\Zav\\Designers", true);
    ASSERT_TRUE(reg.WriteString(*designers, "Language", "Deutsch").ok());
  }
  const std::string ours = WithoutWineHousekeeping(WithoutTimes(ReadFile(other + "/user.reg")));
  const std::string wine = WithoutWineHousekeeping(WithoutTimes(ReadFile(prefix + "/user.reg")));
  EXPECT_TRUE(ours == wine) << FirstDifference(ours, wine);
}

TEST_F(WineInteropTest, WineFilesRoundTripByteForByte) {
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    const std::string text = ReadFile(prefix + "/" + name);
    ASSERT_FALSE(text.empty()) << name;
    Hive hive = Hive::Parse(text);
    EXPECT_TRUE(hive.writable()) << name << ": " << hive.refusal();
    EXPECT_TRUE(hive.diagnostics().empty()) << name << ":" << hive.diagnostics().front().line
                                            << ": " << hive.diagnostics().front().message;
    EXPECT_EQ(hive.Render(), text) << name;
  }
}

TEST_F(WineInteropTest, WriteIsRefusedWhileTheServerRuns) {
  testsupport::StartServer(prefix);
  Reg({"add", "HKCU\\Software\\Running", "/v", "wine", "/d", "kept", "/f"});
  const std::string before = ReadFile(prefix + "/user.reg");
  {
    Registry reg(prefix);
    auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Running", true);
    // Opening an existing key only reads; creating would have been refused.
    const Status s = key.ok() ? reg.WriteString(*key, "ours", "lost?") : key.status();
    EXPECT_EQ(s.code(), ErrorCode::AccessDenied);
    EXPECT_NE(s.message().find("Wine server"), std::string::npos) << s.message();
    auto created = reg.OpenKey(RootKey::CurrentUser, "Software\\NewWhileRunning", true);
    EXPECT_EQ(created.status().code(), ErrorCode::AccessDenied);
  }
  EXPECT_EQ(ReadFile(prefix + "/user.reg"), before);
  testsupport::StopServer(prefix);

  Registry reg(prefix);
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Running", false);
  ASSERT_TRUE(key.ok()) << key.status().message();
  EXPECT_EQ(reg.ReadValue(*key, "wine")->AsString(), "kept");
  EXPECT_EQ(reg.ReadValue(*key, "ours").status().code(), ErrorCode::NotFound);
  EXPECT_TRUE(reg.WriteString(*key, "ours", "now").ok());
}

}  // namespace
}  // namespace platform
