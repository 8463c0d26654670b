#include <gtest/gtest.h>

#include "platform/hive/Hive.h"
#include "tests/platform/HiveTestText.h"

namespace platform {
namespace {

using hivetest::Header;
using hivetest::Key;
using hivetest::Lines;
using hivetest::WineUserHive;

std::string Sz(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : std::u16string(text) + u'\0') {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::vector<int> DiagnosticLines(const Hive& hive) {
  std::vector<int> lines;
  for (const HiveDiagnostic& diagnostic : hive.diagnostics())
    lines.push_back(diagnostic.line);
  return lines;
}

TEST(HiveParseTest, ReadsWhatWineWrote) {
  const Hive hive = Hive::Parse(WineUserHive());
  EXPECT_TRUE(hive.writable());
  EXPECT_EQ(hive.arch(), "win64");
  EXPECT_TRUE(hive.diagnostics().empty());
  EXPECT_EQ(hive.SubKeyNames(Hive::kRoot), (std::vector<std::string>{"Control Panel", "Software"}));
  EXPECT_EQ(hive.SubKeyNames(Key(hive, "Software")), (std::vector<std::string>{"Wine", "WRtest"}));

  const Hive::KeyId test = Key(hive, "software\\wrTEST");
  EXPECT_EQ(hive.KeyName(test), "WRtest");
  EXPECT_EQ(hive.Parent(test), Key(hive, "Software"));
  EXPECT_EQ(hive.ModificationTime(test), 0x1dd869015e08b24u);
  ASSERT_EQ(hive.Values(test).size(), 2u);
  EXPECT_EQ(hive.Values(test)[1]->name, "quote\"name");
  const RegValue* plain = hive.FindValue(test, "PLAIN");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->name, "plain");
  EXPECT_EQ(plain->type, REG_SZ);
  EXPECT_EQ(plain->data, Sz(u"hello"));
  EXPECT_EQ(plain->data.size(), 12u);

  const RegValue* bin = hive.FindValue(Key(hive, "Software\\WRtest\\Sub[1]"), "bin");
  ASSERT_NE(bin, nullptr);
  EXPECT_EQ(bin->type, REG_BINARY);
  EXPECT_EQ(bin->data.size(), 26u);
  EXPECT_EQ(hive.FindValue(test, "missing"), nullptr);
  EXPECT_FALSE(hive.modified());
}

TEST(HiveParseTest, RendersUnchangedTextByteForByte) {
  static constexpr char kBinary[] = "\n[A] 1\n\"v\"=\"a\0b\"\n\0\0\0\n[broken\n\"w\"=dword:1\n";
  const std::string texts[] = {
      WineUserHive(),
      // CR LF line ends, a last line without its line end
      "WINE REGISTRY Version 2\r\n\r\n#arch=win64\r\n\r\n[A] "
      "1\r\n\"x\"=\"y\"\r\n\r\n[B]\r\n@=\"z\"",
      // garbage, duplicate sections, indented lines, raw UTF-8, comments
      Header() + Lines({"garbage line", "", "[A] 5", "  \"x\" = \"1\"", ";; note", "[B]",
                        "\"Gr\xC3\xBC\xC3\x9F"
                        "e\"=\"\xE4\xB8\xAD\"",
                        "[a]", "\"x\"=\"2\"", "\xFF\xFE"}),
      // binary garbage with NUL bytes, a key line without ']'
      Header() + std::string(kBinary, sizeof kBinary - 1),
      // no header at all
      "[Software] 1\n\"a\"=\"b\"\n",
      "",
  };
  for (const std::string& text : texts) {
    const Hive hive = Hive::Parse(text);
    EXPECT_EQ(hive.Render(), text);
  }
}

TEST(HiveParseTest, RefusesToWriteWhatWineWouldNotLoad) {
  const Hive noHeader =
      Hive::Parse("WINE REGISTRY Version 1\n\n#arch=win64\n\n[A] 1\n\"a\"=\"b\"\n");
  EXPECT_FALSE(noHeader.writable());
  EXPECT_NE(noHeader.refusal(), "");
  EXPECT_TRUE(noHeader.SubKeyNames(Hive::kRoot).empty());  // Wine loads nothing
  EXPECT_EQ(DiagnosticLines(noHeader), std::vector<int>{1});

  const Hive crlf = Hive::Parse("WINE REGISTRY Version 2\r\n#arch=win32\r\n");
  EXPECT_TRUE(crlf.writable());
  EXPECT_EQ(crlf.arch(), "win32");

  const Hive noArch = Hive::Parse("WINE REGISTRY Version 2\n\n[A] 1\n");
  EXPECT_FALSE(noArch.writable());
  EXPECT_EQ(noArch.arch(), "");
  EXPECT_TRUE(noArch.FindChild(Hive::kRoot, "A").has_value());

  const Hive unknown = Hive::Parse("WINE REGISTRY Version 2\n#arch=win128\n[A] 1\n");
  EXPECT_FALSE(unknown.writable());
  EXPECT_FALSE(unknown.FindChild(Hive::kRoot, "A").has_value());  // Wine stops reading there
  EXPECT_EQ(DiagnosticLines(unknown), std::vector<int>{2});

  const Hive twoArchs = Hive::Parse("WINE REGISTRY Version 2\n#arch=win64\n#arch=win32\n");
  EXPECT_FALSE(twoArchs.writable());

  // Inside a key an "#arch" line is just an unknown option.
  EXPECT_TRUE(Hive::Parse("WINE REGISTRY Version 2\n#arch=win64\n[A]\n#arch=x\n").writable());
}

TEST(HiveParseTest, ReportsWhatItCannotReadWithLineNumbers) {
  const Hive hive = Hive::Parse(Header() + Lines({
                                               "\"early\"=\"value\"",  // 5: no key yet
                                               "", "[A] 1",
                                               "\"noclose\"=\"abc",  // 8
                                               "garbage line",       // 9
                                               "\"bad name=\"x\"",   // 10
                                               "\"x\"=hex: 01",      // 11
                                               "[B",                 // 12
                                               "\"lost\"=\"v\"",     // 13: its key failed
                                               "#class=broken",      // 14: global there, ignored
                                               "[C]",
                                               "#class=\"open",  // 16
                                           }));
  EXPECT_EQ(DiagnosticLines(hive), (std::vector<int>{5, 8, 9, 10, 11, 12, 13, 16}));
  EXPECT_TRUE(hive.writable());
  // A value whose data cannot be read is there as Wine makes it: an empty REG_NONE.
  const RegValue* noclose = hive.FindValue(Key(hive, "A"), "noclose");
  ASSERT_NE(noclose, nullptr);
  EXPECT_EQ(noclose->type, REG_NONE);
  EXPECT_EQ(noclose->data, "");
  EXPECT_EQ(hive.Values(Key(hive, "A")).size(), 2u);  // noclose and x; the bad name is nothing
  EXPECT_FALSE(hive.FindChild(Hive::kRoot, "B").has_value());
  EXPECT_EQ(hive.ClassName(Key(hive, "C")), std::nullopt);
}

TEST(HiveParseTest, MergesAsWineDoes) {
  const Hive hive = Hive::Parse(Header() + Lines({
                                               "[Software\\\\WRload] 1",
                                               "\"Name\"=\"first\"",
                                               "\"name\"=\"second\"",
                                               "\"bad\"=\"ok\"",
                                               "\"bad\"=\"broken",
                                               "[Other] 1",
                                               "[software\\\\wrload\\\\Case] 1",
                                               "[SOFTWARE\\\\WRLOAD] 1",
                                               "\"NAME\"=dword:00000003",
                                           }));
  EXPECT_EQ(hive.SubKeyNames(Hive::kRoot), (std::vector<std::string>{"Other", "Software"}));
  const Hive::KeyId key = Key(hive, "Software\\WRload");
  EXPECT_EQ(hive.SubKeyNames(key), std::vector<std::string>{"Case"});
  ASSERT_EQ(hive.Values(key).size(), 2u);
  const RegValue* name = hive.FindValue(key, "name");
  EXPECT_EQ(name->name, "Name");  // the first spelling, the last data
  EXPECT_EQ(name->type, REG_DWORD);
  EXPECT_EQ(hive.FindValue(key, "bad")->type, REG_NONE);  // the broken line wiped it
}

TEST(HiveParseTest, ReadsTimesClassesAndLinks) {
  const Hive hive = Hive::Parse(Header() + Lines({
                                               "[Timed] 1700000000",
                                               "#time=1d9e0a0b0c0d0e0",
                                               "[Seconds\\\\Only] 1800000000",
                                               "[Later] 1700000000",
                                               "[Later] 1800000100",
                                               "#class=\"My \\\"class\\\"\"",
                                               "#linked",
                                               "\"SymbolicLinkValue\"=hex(6):5c,00",
                                           }));
  EXPECT_EQ(hive.ModificationTime(Key(hive, "Timed")), 0x1d9e0a0b0c0d0e0u);  // #time wins
  EXPECT_EQ(hive.ModificationTime(Key(hive, "Seconds\\Only")), hivetest::kTime1);
  // A key made for a path gets the time of the first key below it.
  EXPECT_EQ(hive.ModificationTime(Key(hive, "Seconds")), hivetest::kTime1);
  const Hive::KeyId later = Key(hive, "Later");
  EXPECT_EQ(hive.ModificationTime(later), 0x1da1747c66d0000u);  // its first section decides
  EXPECT_EQ(hive.ClassName(later), "My \"class\"");
  EXPECT_TRUE(hive.IsLink(later));  // Wine only checks the prefix
  EXPECT_FALSE(hive.IsLink(Key(hive, "Timed")));
}

TEST(HiveParseTest, ContinuedHexLinesAreNeverKeysOrOptions) {
  const std::string text = Header() + Lines({
                                          "[A] 1",
                                          "\"p\"=\"C:\\\\path\\\\\"",  // a backslash, but a string
                                          "\"h\"=hex:01,\\",
                                          "[NotAKey]",
                                          "\"v\"=\"after\"",
                                          "\"q\\\"=x\"=hex:05,\\",  // a quote in the name
                                          "[AlsoNotAKey]",
                                          "\"g\"=hex:02,\\",
                                          "  03,\\",
                                          "#time=1",
                                          "\"e\"=hex:04,\\",
                                          "",
                                          "[B] 1",
                                          "\"q\"=\"C:\\\\\"",
                                          "[C] 1",
                                      });
  Hive hive = Hive::Parse(text);
  EXPECT_EQ(hive.SubKeyNames(Hive::kRoot), (std::vector<std::string>{"A", "B", "C"}));
  const Hive::KeyId a = Key(hive, "A");
  EXPECT_EQ(hive.FindValue(a, "h")->type, REG_NONE);  // "[NotAKey]" is bad hex data
  EXPECT_EQ(hive.FindValue(a, "v")->data, Sz(u"after"));
  EXPECT_EQ(hive.FindValue(a, "g")->type, REG_NONE);
  EXPECT_EQ(hive.FindValue(a, "e")->data, "\x04");  // the blank line ended it
  EXPECT_NE(hive.ModificationTime(a), 1u);
  EXPECT_TRUE(hive.diagnostics().size() == 3);  // h, q"=x and g

  // The blank line belongs to A's value, so B's block starts at its key line.
  hive.SetValue(Key(hive, "B"), RegValue::Dword("d", 1), hivetest::kTime1);
  EXPECT_NE(hive.Render().find("\"e\"=hex:04,\\\n\n\n[B] 1800000000\n"), std::string::npos);
}

TEST(HiveParseTest, EmptyPathComponentsNameNoKey) {
  const Hive hive = Hive::Parse(Header() + Lines({"[\\\\A\\\\\\\\B\\\\] 1", "[] 1", "@=\"root\"",
                                                  "[\xC9\\\\A\\\\\xFF] 1", "[\\0Z] 1"}));
  // Bytes that are not UTF-8 vanish; a path starting with NUL is the root itself.
  EXPECT_EQ(hive.SubKeyNames(Hive::kRoot), std::vector<std::string>{"A"});
  EXPECT_TRUE(hive.SubKeyNames(Key(hive, "A\\B")).empty());
  EXPECT_TRUE(hive.FindChild(Hive::kRoot, "A\\B").has_value());
  EXPECT_EQ(hive.FindValue(Hive::kRoot, "")->data, Sz(u"root"));
}

TEST(HiveParseTest, ANulByteEndsAKeyLineWhereverItStands) {
  // The loader reads a line as a C string: cut at the NUL, the line has no ']' and names no
  // key, however far into the path the NUL stands.
  using namespace std::string_view_literals;
  const std::string text = Header() + Lines({"[Software\\\\Vendor\\\\Product\0Hidden] 1"sv,
                                             "[Software\\\\Vendor\\\\Other] 1",
                                             "[Software\\\\Vendor\\\\OtherToo\\\\Deep\0er] 1"sv});
  const Hive hive = Hive::Parse(text);
  EXPECT_EQ(hive.SubKeyNames(Key(hive, "Software\\Vendor")), std::vector<std::string>{"Other"});
  EXPECT_EQ(hive.diagnostics().size(), 2u);
}

}  // namespace
}  // namespace platform
