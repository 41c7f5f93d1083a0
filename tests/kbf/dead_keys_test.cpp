// Dead-key tables written by the writer: the exact bytes, and what the
// system's own composition lookup finds in them.
#include <gtest/gtest.h>

#include "input/dead_keys.h"
#include "tests/kbf/hex.h"
#include "tools/kbf/writer/kbf_writer.h"

namespace {

using kbf::Composition;
using kbf::DeadKeyTable;

kbf::KeyRecord DeadKey(char16_t plain, char16_t shift) {
  kbf::KeyRecord key = kbf::MakeKey(20, 20, 19, u"");
  key.SetStateChar(kbf::KeyState::Plain, plain);
  key.SetStateChar(kbf::KeyState::Shift, shift);
  return key;
}

struct Fixture {
  kbf::Keyboard kb;
  Fixture() {
    kb.keys["ACUTE.KEY"] = DeadKey(u'\u00b4', u'`');
    kb.keys["TILDE.KEY"] = DeadKey(u'~', u'^');
    kb.keys["E.KEY"] = kbf::MakeKey(20, 20, 33, u"e").SetShiftLabel8("E");
    kb.keys["E2.KEY"] = kbf::MakeKey(20, 20, 1, u"e");            // a second e, on another panel
    kb.keys["A.KEY"] = kbf::MakeKey(20, 20, 49, u"a")
                           .SetStateChar(kbf::KeyState::Shift, u'A')
                           .SetStateChar(kbf::KeyState::AltGr, u'Q');
    kb.keys["N.KEY"] = kbf::MakeKey(20, 20, 1, u"n");
    kb.keys["ESC.KEY"] = kbf::MakeKey(20, 20, 18, u"esc", u"[Esc]");  // label starts with e
  }
};

// The system's lookup: the composed character for the partner typed in
// partnerState, or 0 when no slot applies.
char16_t Compose(const kbf::KeyRecord& dead, const kbf::KeyRecord& partner, uint8_t deadState,
                 uint8_t partnerState) {
  const std::vector<uint8_t> d = dead.Encode();
  const std::vector<uint8_t> p = partner.Encode();
  int index = -1;
  if (!tapora::FindComposition(d.data(), p.data(), deadState, partnerState, &index)) return 0;
  const size_t unit = static_cast<size_t>(index) + (partnerState == 2 ? 1 : 0);
  return static_cast<char16_t>(p[35 + 2 * unit] | (p[36 + 2 * unit] << 8));
}

TEST(DeadKeyTables, BytesAndSharedIndexes) {
  Fixture f;
  kbf::ApplyDeadKeys(f.kb, {{"ACUTE.KEY", {DeadKeyTable{kbf::kStatePlain, {{u'e', u'é', u'É'}, {u'a', u'á', u'Á'}}},
                                           DeadKeyTable{kbf::kStateShift, {{u'e', u'è', u'È'}}}}},
                            {"TILDE.KEY", {DeadKeyTable{kbf::kStatePlain, {{u'n', u'ñ', u'Ñ'}, {u'Q', u'q', u'q'}}}}}});
  const kbf::KeyRecord& acute = f.kb.keys.at("ACUTE.KEY");
  EXPECT_EQ(kbf_test::Hex(std::span(acute.output).first(8)), "65 00 61 00 65 00 00 00");
  EXPECT_EQ(kbf_test::Hex(acute.shiftLabel), "10 10 22 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(acute.DeadKeyStates(), kbf::kStatePlain | kbf::kStateShift);
  // Both e keys carry (é, É) then (è, È); the A key holds á at index 0 and,
  // for the tilde with its AltGr character Q, q at index 2.
  EXPECT_EQ(f.kb.keys.at("E.KEY").OutputText(), u"éÉèÈ");
  EXPECT_EQ(f.kb.keys.at("E2.KEY").OutputText(), u"éÉèÈ");
  EXPECT_EQ(f.kb.keys.at("A.KEY").OutputText(), u"áÁqq");
  // A key whose label merely begins with the base keeps its own output.
  EXPECT_EQ(f.kb.keys.at("ESC.KEY").OutputText(), u"[Esc]");

  const auto& k = f.kb.keys;
  EXPECT_EQ(Compose(acute, k.at("E.KEY"), 1, 1), u'é');
  EXPECT_EQ(Compose(acute, k.at("E.KEY"), 1, 2), u'É');
  EXPECT_EQ(Compose(acute, k.at("E2.KEY"), 2, 1), u'è');
  EXPECT_EQ(Compose(acute, k.at("E2.KEY"), 2, 2), u'È');
  EXPECT_EQ(Compose(acute, k.at("A.KEY"), 1, 2), u'Á');
  EXPECT_EQ(Compose(acute, k.at("N.KEY"), 1, 1), 0);
  const kbf::KeyRecord& tilde = k.at("TILDE.KEY");
  EXPECT_EQ(Compose(tilde, k.at("N.KEY"), 1, 2), u'Ñ');
  EXPECT_EQ(Compose(tilde, k.at("A.KEY"), 1, 4), u'q');  // partner typed with AltGr: its AltGr character
  EXPECT_EQ(Compose(tilde, k.at("A.KEY"), 1, 1), 0);
}

TEST(DeadKeyTables, RefusedTablesNameTheKeysAndChangeNothing) {
  auto refuse = [](kbf::Keyboard kb, const std::map<std::string, std::vector<DeadKeyTable>>& tables,
                   const std::string& expected) {
    const kbf::Keyboard before = kb;
    try {
      kbf::ApplyDeadKeys(kb, tables);
      ADD_FAILURE() << "accepted; expected: " << expected;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    EXPECT_EQ(kb.keys, before.keys);
  };
  Fixture f;
  // Thirteen slots on one dead key.
  DeadKeyTable many{kbf::kStatePlain, {}};
  for (char16_t c = u'a'; c < u'a' + 13; ++c) {
    f.kb.keys[std::string(1, static_cast<char>(c)) + "X.KEY"] = kbf::MakeKey(10, 10, 1, std::u16string(1, c));
    many.compositions.push_back({c, u'x', u'X'});
  }
  refuse(f.kb, {{"ACUTE.KEY", {many}}}, "dead key ACUTE.KEY (plain): more than 12 compositions");

  Fixture g;
  g.kb.keys.at("N.KEY").SetOutput(u"[F1]");
  refuse(g.kb, {{"TILDE.KEY", {DeadKeyTable{kbf::kStatePlain, {{u'n', u'ñ', u'Ñ'}}}}}},
         "partner key N.KEY of base 'n' has an output of its own");

  // Eight dead keys on one base use the pairs 0..15; the ninth finds none.
  Fixture h;
  std::map<std::string, std::vector<DeadKeyTable>> nine;
  for (int i = 0; i < 9; ++i) {
    const std::string name = "D" + std::to_string(i) + ".KEY";
    h.kb.keys[name] = DeadKey(static_cast<char16_t>(u'0' + i), 0);
    nine[name] = {DeadKeyTable{kbf::kStatePlain, {{u'n', static_cast<char16_t>(0x100 + 2 * i),
                                                   static_cast<char16_t>(0x101 + 2 * i)}}}};
  }
  refuse(h.kb, nine, "dead key D8.KEY (plain): base 'n' finds no free pair of output units on partner key(s) N.KEY");
  nine.erase("D8.KEY");
  kbf::Keyboard eight = h.kb;
  kbf::ApplyDeadKeys(eight, nine);
  EXPECT_EQ(eight.keys.at("N.KEY").output[31], 0x01);  // unit 15 = 0x10F

  refuse(f.kb, {{"TILDE.KEY", {DeadKeyTable{kbf::kStatePlain, {{u'z', u'ẑ', u'Ẑ'}}}}}},
         "no character key types the base 'z'");
  refuse(f.kb, {{"E.KEY", {DeadKeyTable{kbf::kStatePlain, {}}}}}, "dead key E.KEY: has type 33");
  refuse(f.kb, {{"TILDE.KEY", {DeadKeyTable{kbf::kStatePlain, {{u'n', u'ñ', u'Ñ'}, {u'n', u'ň', u'Ň'}}}}}},
         "base 'n' is given twice");
}

}  // namespace
