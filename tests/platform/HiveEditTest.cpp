#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/hive/Hive.h"
#include "tests/platform/HiveTestText.h"

namespace platform {
namespace {

using hivetest::Header;
using hivetest::Key;
using hivetest::kTime1;
using hivetest::kTime2;
using hivetest::Lines;
using hivetest::WineUserHive;

// The text with one run of lines replaced, for expectations that differ from the
// original in one place.
std::string Replace(std::string text, std::string_view from, std::string_view to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The paths of the key lines, "[path]", in file order.
std::vector<std::string> KeyLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; (at = text.find("\n[", at)) != std::string::npos; ++at) {
    const size_t close = text.find("] ", at);  // before the seconds
    lines.push_back(text.substr(at + 1, close + 1 - (at + 1)));
  }
  return lines;
}

TEST(HiveEditTest, ChangingAValueRewritesOnlyItsKey) {
  Hive hive = Hive::Parse(WineUserHive());
  EXPECT_TRUE(
      hive.SetValue(Key(hive, "Control Panel\\Desktop"), RegValue::Dword("WRextra", 42), kTime1));
  EXPECT_TRUE(hive.modified());
  EXPECT_EQ(hive.Render(), Replace(WineUserHive(),
                                   "[Control Panel\\\\Desktop] 1796676622\n"
                                   "#time=1dd868c93fdbe04\n"
                                   "\"ActiveWndTrkTimeout\"=dword:00000000\n"
                                   "\"Wallpaper\"=\"\"\n",
                                   "[Control Panel\\\\Desktop] 1800000000\n"
                                   "#time=1dda4c66b338000\n"
                                   "\"ActiveWndTrkTimeout\"=dword:00000000\n"
                                   "\"Wallpaper\"=\"\"\n"
                                   "\"WRextra\"=dword:0000002a\n"));
  EXPECT_EQ(hive.ModificationTime(Key(hive, "Control Panel\\Desktop")), kTime1);
}

TEST(HiveEditTest, SettingWhatIsThereChangesNothing) {
  Hive hive = Hive::Parse(WineUserHive());
  const Hive::KeyId test = Key(hive, "Software\\WRtest");
  EXPECT_FALSE(hive.SetValue(test, RegValue::String("PLAIN", "hello"), kTime1));
  EXPECT_FALSE(hive.DeleteValue(test, "missing", kTime1));
  EXPECT_FALSE(hive.modified());
  EXPECT_EQ(hive.ModificationTime(test), 0x1dd869015e08b24u);
  EXPECT_EQ(hive.Render(), WineUserHive());

  // Another spelling of a name changes the data and keeps the name as it was.
  EXPECT_TRUE(hive.SetValue(test, RegValue::String("PLAIN", "bye"), kTime1));
  EXPECT_EQ(hive.Values(test)[0]->name, "plain");
  EXPECT_NE(hive.Render().find("\"plain\"=\"bye\"\n"), std::string::npos);
}

TEST(HiveEditTest, NewKeyGoesWhereWineWritesIt) {
  Hive hive = Hive::Parse(WineUserHive());
  const Hive::KeyId apple = hive.CreateChild(Key(hive, "Software"), "Apple", kTime1);
  hive.SetValue(apple, RegValue::String("v", "1"), kTime2);
  EXPECT_EQ(hive.Render(), Replace(WineUserHive(), "\n[Software\\\\Wine\\\\Fonts]",
                                   "\n[Software\\\\Apple] 1800000100\n"
                                   "#time=1dda4c6a6ce4a00\n"
                                   "\"v\"=\"1\"\n"
                                   "\n[Software\\\\Wine\\\\Fonts]"));
}

TEST(HiveEditTest, KeysAndValuesFollowWinesOrder) {
  Hive hive = Hive::Parse(WineUserHive());
  const Hive::KeyId test = Key(hive, "Software\\WRtest");
  for (const char* name :
       {"Zeta", "\xC3\xA4", "UPPER", "_under", "Order", "EmptyKey", "\xC3\x84 Key", "z", "lower",
        "Beta", "alpha", "Parent\\Child", "sub[1]"}) {
    hive.CreateChild(test, name, kTime1);
  }
  for (const char* name : {"b", "", "A", "_"})
    hive.SetValue(test, RegValue::String(name, ""), kTime2);

  const std::string text = hive.Render();
  EXPECT_EQ(KeyLines(text), (std::vector<std::string>{
                                "[Control Panel\\\\Desktop]",
                                "[Software\\\\Wine\\\\Fonts]",
                                "[Software\\\\WRtest]",
                                "[Software\\\\WRtest\\\\_under]",
                                "[Software\\\\WRtest\\\\alpha]",
                                "[Software\\\\WRtest\\\\Beta]",
                                "[Software\\\\WRtest\\\\EmptyKey]",
                                "[Software\\\\WRtest\\\\lower]",
                                "[Software\\\\WRtest\\\\Order]",
                                "[Software\\\\WRtest\\\\Parent\\\\Child]",
                                "[Software\\\\WRtest\\\\Sub\\[1\\]]",
                                "[Software\\\\WRtest\\\\UPPER]",
                                "[Software\\\\WRtest\\\\z]",
                                "[Software\\\\WRtest\\\\Zeta]",
                                "[Software\\\\WRtest\\\\\\xe4]",
                                "[Software\\\\WRtest\\\\\\xc4 Key]",
                            }));
  EXPECT_NE(text.find("[Software\\\\WRtest] 1800000100\n"
                      "#time=1dda4c6a6ce4a00\n"
                      "@=\"\"\n"
                      "\"_\"=\"\"\n"
                      "\"A\"=\"\"\n"
                      "\"b\"=\"\"\n"
                      "\"plain\"=\"hello\"\n"
                      "\"quote\\\"name\"=\"say \\\"hi\\\"\"\n"
                      "\n[Software\\\\WRtest\\\\_under] 1800000000\n"
                      "#time=1dda4c66b338000\n"
                      "\n"),
            std::string::npos);
  EXPECT_EQ(hive.SubKeyNames(test).front(), "_under");
  EXPECT_EQ(hive.KeyName(*hive.FindChild(test, "SUB[1]")), "Sub[1]");
}

TEST(HiveEditTest, CreatingAKeyTouchesItsParent) {
  Hive hive = Hive::Parse(WineUserHive());
  const Hive::KeyId sub = Key(hive, "Software\\WRtest\\Sub[1]");
  const Hive::KeyId deeper = hive.CreateChild(sub, "Deeper", kTime1);
  EXPECT_EQ(hive.CreateChild(sub, "DEEPER", kTime2), deeper);  // already there: no change
  EXPECT_EQ(hive.ModificationTime(sub), kTime1);
  EXPECT_EQ(hive.Render(), Replace(WineUserHive(),
                                   "[Software\\\\WRtest\\\\Sub\\[1\\]] 1796678129\n"
                                   "#time=1dd869015e08cf0\n",
                                   "[Software\\\\WRtest\\\\Sub\\[1\\]] 1800000000\n"
                                   "#time=1dda4c66b338000\n") +
                               Lines({"", "[Software\\\\WRtest\\\\Sub\\[1\\]\\\\Deeper] 1800000000",
                                      "#time=1dda4c66b338000"}));
}

TEST(HiveEditTest, KeysWithOnlySubkeysAreNotWritten) {
  const std::string text =
      Header() + Lines({"", "[A] 1700000000", "#time=1da1747c66d0000", "", "[C] 1700000000",
                        "#time=1da1747c66d0000", "\"c\"=\"1\""});
  Hive hive = Hive::Parse(text);
  // An empty leaf that gets a subkey is implicit in the subkey's path.
  const Hive::KeyId a = Key(hive, "A");
  hive.CreateChild(a, "B", kTime1);
  EXPECT_EQ(hive.Render(), Replace(text, "[A] 1700000000\n#time=1da1747c66d0000\n",
                                   "[A\\\\B] 1800000000\n#time=1dda4c66b338000\n"));

  // A value makes it written again, where it was; losing the value makes it implicit again.
  hive.SetValue(a, RegValue::Dword("x", 1), kTime2);
  EXPECT_EQ(hive.Render(), Replace(text, "[A] 1700000000\n#time=1da1747c66d0000\n",
                                   "[A] 1800000100\n#time=1dda4c6a6ce4a00\n\"x\"=dword:00000001\n\n"
                                   "[A\\\\B] 1800000000\n#time=1dda4c66b338000\n"));
  hive.DeleteValue(a, "X", kTime2);
  EXPECT_EQ(hive.Render(), Replace(text, "[A] 1700000000\n#time=1da1747c66d0000\n",
                                   "[A\\\\B] 1800000000\n#time=1dda4c66b338000\n"));

  // A leaf without values is still written, as its key line and time.
  hive.DeleteValue(Key(hive, "C"), "c", kTime1);
  EXPECT_EQ(hive.Render(), Lines({Header() + "\n[A\\\\B] 1800000000", "#time=1dda4c66b338000", "",
                                  "[C] 1800000000", "#time=1dda4c66b338000"}));
}

TEST(HiveEditTest, ChangedKeyGathersItsSectionsAndKeepsForeignLines) {
  const std::string text = Header() + Lines({
                                          "[A] 1",
                                          "\"x\"=\"1\"",
                                          "; about x",
                                          "garbage",
                                          "\"broken\"=\"no end",
                                          "[B] 2",
                                          "\"y\"=\"2\"",
                                          "",
                                          "[a] 3",
                                          "#mystery option",
                                          "\"z\"=\"3\"",
                                      });
  Hive hive = Hive::Parse(text);
  hive.SetValue(Key(hive, "A"), RegValue::String("w", "0"), kTime1);
  EXPECT_EQ(hive.Render(), Header() + Lines({
                                          "",
                                          "[A] 1800000000",
                                          "#time=1dda4c66b338000",
                                          "#mystery option",
                                          "\"broken\"=\"no end",
                                          "\"w\"=\"0\"",
                                          "\"x\"=\"1\"",
                                          "; about x",
                                          "garbage",
                                          "\"z\"=\"3\"",
                                          "[B] 2",
                                          "\"y\"=\"2\"",
                                      }));
}

// Value lines we cannot write again from what the loader reads of them stay byte for byte
// in their place, whatever a change does around them; the rest of the key is Wine's.
TEST(HiveEditTest, UnreadableLinesOfAChangedKeyStayAsTheyStand) {
  using namespace std::string_literals;
  // Each is a value "m", or a line that would be one, between "a" and "z".
  const std::vector<std::pair<const char*, std::string>> unreadable = {
      {"NUL byte in the data", "\"m\"=\"ab\0cd\""s},
      {"NUL byte after the data", "\"m\"=\"ab\"\0 junk"s},
      {"NUL byte in the name", "\"m\0\"=\"x\""s},
      {"Latin-1 data", "\"m\"=\"caf\xe9\""},
      {"Latin-1 name", "\"m\xe9\"=\"x\""},
      {"unterminated quote", "\"m\"=\"no end"},
      {"bad hex", "\"m\"=hex:01,zz"},
      {"hex above a byte", "\"m\"=hex(2):100"},
      {"bad hex on a continued line", "\"m\"=hex:01,\\\n  02,zz"},
      {"unknown data tag", "\"m\"=str(9):\"x\""},
  };
  const std::string head = "\n[K] 1800000000\n#time=1dda4c66b338000\n";
  struct Change {
    const char* what;
    std::function<void(Hive&, Hive::KeyId)> apply;
    std::string before;  // the key's lines before and after the unreadable one
    std::string after;
  };
  const std::vector<Change> changes = {
      {"add", [](Hive& h, Hive::KeyId k) { h.SetValue(k, RegValue::String("n", "new"), kTime1); },
       "\"a\"=\"1\"\n", "\"n\"=\"new\"\n\"z\"=\"2\"\n"},
      {"change", [](Hive& h, Hive::KeyId k) { h.SetValue(k, RegValue::Dword("A", 3), kTime1); },
       "\"a\"=dword:00000003\n", "\"z\"=\"2\"\n"},
      {"delete", [](Hive& h, Hive::KeyId k) { h.DeleteValue(k, "z", kTime1); }, "\"a\"=\"1\"\n",
       ""},
      // The name of the unreadable line itself: ours follows it, and the loader reads ours.
      {"set its name",
       [](Hive& h, Hive::KeyId k) { h.SetValue(k, RegValue::String("m", "set"), kTime1); },
       "\"a\"=\"1\"\n", "\"m\"=\"set\"\n\"z\"=\"2\"\n"},
  };
  for (const auto& [kind, line] : unreadable) {
    for (const Change& change : changes) {
      SCOPED_TRACE(std::string(kind) + ", " + change.what);
      Hive hive = Hive::Parse(Header() + "[K] 1\n\"a\"=\"1\"\n" + line + "\n\"z\"=\"2\"\n");
      change.apply(hive, Key(hive, "K"));
      const std::string rendered = hive.Render();
      EXPECT_EQ(rendered, Header() + head + change.before + line + "\n" + change.after);
      if (change.after.starts_with("\"m\"")) {
        const Hive reloaded = Hive::Parse(rendered);
        ASSERT_NE(reloaded.FindValue(Key(reloaded, "K"), "m"), nullptr);
        EXPECT_EQ(reloaded.FindValue(Key(reloaded, "K"), "m")->AsString(), "set");
      }
    }
  }

  // A name first spelled by a readable line keeps that spelling, as the loader keeps it.
  Hive spelled = Hive::Parse(Header() + "[K] 1\n\"M\"=\"1\"\n\"m\"=\"no end\n");
  spelled.SetValue(Key(spelled, "K"), RegValue::String("n", "new"), kTime1);
  const std::string rendered = spelled.Render();
  EXPECT_EQ(rendered, Header() + head + "\"M\"=hex(0):\n\"m\"=\"no end\n\"n\"=\"new\"\n");
  const Hive reloaded = Hive::Parse(rendered);
  EXPECT_EQ(reloaded.Values(Key(reloaded, "K")).front()->name, "M");

  // Deleting the value takes its unreadable lines along: kept, they would make it again.
  Hive deleted = Hive::Parse(Header() + "[K] 1\n\"a\"=\"1\"\n\"m\"=\"no end\n");
  EXPECT_TRUE(deleted.DeleteValue(Key(deleted, "K"), "M", kTime1));
  EXPECT_EQ(deleted.Render(), Header() + head + "\"a\"=\"1\"\n");
}

TEST(HiveEditTest, ChangedKeyIsWrittenWithWinesLineEnds) {
  const std::string text =
      "WINE REGISTRY Version 2\r\n#arch=win64\r\n\r\n[A] 1\r\n\"x\"=\"1\"\r\n\r\n[B] "
      "1\r\n\"y\"=\"2\"";
  Hive hive = Hive::Parse(text);
  hive.SetValue(Key(hive, "B"), RegValue::String("y", "3"), kTime1);
  EXPECT_EQ(hive.Render(),
            "WINE REGISTRY Version 2\r\n#arch=win64\r\n\r\n[A] 1\r\n\"x\"=\"1\"\r\n"
            "\n[B] 1800000000\n#time=1dda4c66b338000\n\"y\"=\"3\"\n");
}

TEST(HiveEditTest, TextAddedAfterATruncatedValueDoesNotContinueIt) {
  // Wine would read the next line as more hex data: "\n" would make "h" 01 instead of
  // the empty REG_NONE the truncated value is now.
  const std::string text = Header() + "[A] 1\n\"h\"=hex:01,\\";
  Hive hive = Hive::Parse(text);
  hive.CreateChild(Hive::kRoot, "B", kTime1);
  const std::string rendered = hive.Render();
  EXPECT_EQ(rendered, text + "\n;\n\n[B] 1800000000\n#time=1dda4c66b338000\n");
  const Hive reloaded = Hive::Parse(rendered);
  EXPECT_EQ(reloaded.FindValue(Key(reloaded, "A"), "h")->type, REG_NONE);
  EXPECT_TRUE(reloaded.FindChild(Hive::kRoot, "B").has_value());

  // The same inside its own key, changed: the value after it is not taken as its data.
  Hive changed = Hive::Parse(text);
  changed.SetValue(Key(changed, "A"), RegValue::String("i", "x"), kTime1);
  const std::string rewritten = changed.Render();
  EXPECT_EQ(rewritten, Header() +
                           "\n[A] 1800000000\n#time=1dda4c66b338000\n\"h\"=hex:01,\\\n;\n"
                           "\"i\"=\"x\"\n");
  const Hive again = Hive::Parse(rewritten);
  EXPECT_EQ(again.FindValue(Key(again, "A"), "i")->AsString(), "x");
}

TEST(HiveEditTest, LinkKeysHoldOnlyTheirTarget) {
  Hive hive =
      Hive::Parse(Header() + Lines({"[L] 1", "#link", "\"SymbolicLinkValue\"=hex(6):5c,00"}));
  const Hive::KeyId link = Key(hive, "L");
  EXPECT_FALSE(hive.SetValue(link, RegValue::String("other", "x"), kTime1));
  EXPECT_FALSE(hive.modified());
  EXPECT_TRUE(hive.SetValue(
      link, RegValue{"symboliclinkvalue", REG_LINK, std::string("\\\0a\0", 4)}, kTime1));
  EXPECT_EQ(hive.Render(), Header() + Lines({"", "[L] 1800000000", "#time=1dda4c66b338000", "#link",
                                             "\"SymbolicLinkValue\"=hex(6):5c,00,61,00"}));
}

TEST(HiveEditTest, NewHiveLooksLikeWines) {
  Hive hive = Hive::CreateEmpty("REGISTRY\\Machine");
  EXPECT_TRUE(hive.writable());
  EXPECT_FALSE(hive.modified());
  const std::string header =
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
  EXPECT_EQ(hive.Render(), header);

  const Hive::KeyId key = hive.CreateChild(Hive::kRoot, "Software\\Test", kTime1);
  EXPECT_EQ(hive.KeyName(key), "Test");
  hive.SetValue(key, RegValue::Dword("a", 1), kTime2);
  hive.SetValue(Hive::kRoot, RegValue::String("", "root"), kTime2);
  EXPECT_EQ(hive.Render(), header + Lines({"", "[] 1800000100", "#time=1dda4c6a6ce4a00",
                                           "@=\"root\"", "", "[Software\\\\Test] 1800000100",
                                           "#time=1dda4c6a6ce4a00", "\"a\"=dword:00000001"}));
  EXPECT_FALSE(Hive::CreateEmpty("REGISTRY\\Machine", "").writable());
}

}  // namespace
}  // namespace platform
