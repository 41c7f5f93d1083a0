// tapora-sim scripts: what each command reads into, and the messages that a
// person fixing a script gets, with the line they point at.
#include <gtest/gtest.h>

#include <string>

#include "tools/tapora-sim/script.h"

namespace {

using sim::CommandKind;
using sim::OptionAction;
using Action = OptionAction::Kind;

std::vector<sim::Command> Commands(std::string_view text) {
  auto result = sim::ParseScript(text);
  if (const auto* error = std::get_if<sim::ScriptError>(&result)) {
    ADD_FAILURE() << text << " gave line " << error->line << ": " << error->message;
    return {};
  }
  return std::get<std::vector<sim::Command>>(result);
}

std::string ErrorOf(std::string_view text) {
  auto result = sim::ParseScript(text);
  if (const auto* error = std::get_if<sim::ScriptError>(&result)) {
    return "line " + std::to_string(error->line) + ": " + error->message;
  }
  return "(accepted)";
}

TEST(SimScript, EveryCommandReadsItsArguments) {
  struct Case {
    const char* line;
    CommandKind kind;
    int x, y;
    long ms;
    const char* text;
  };
  const Case cases[] = {
      {"down 10 20", CommandKind::Down, 10, 20, 0, ""},
      {"move -5 0", CommandKind::Move, -5, 0, 0, ""},
      {"up 32767 -32768", CommandKind::Up, 32767, -32768, 0, ""},
      {"tap\t3   4 ", CommandKind::Tap, 3, 4, 0, ""},
      {"  tap 1 2", CommandKind::Tap, 1, 2, 0, ""},
      {"wait 0", CommandKind::Wait, 0, 0, 0, ""},
      {"wait 2147483647", CommandKind::Wait, 0, 0, 2147483647, ""},
      {"press Shift", CommandKind::Press, 0, 0, 0, "Shift"},
      {"press  a b ", CommandKind::Press, 0, 0, 0, " a b "},
      {"press \xc3\xa9", CommandKind::Press, 0, 0, 0, "\xc3\xa9"},
      {"snapshot out/panel.png", CommandKind::Snapshot, 0, 0, 0, "out/panel.png"},
      {"snapshot SHOT.PNG", CommandKind::Snapshot, 0, 0, 0, "SHOT.PNG"},
      {"hide", CommandKind::Hide, 0, 0, 0, ""},
      {"show ", CommandKind::Show, 0, 0, 0, ""},
      {"select", CommandKind::Select, 0, 0, 0, ""},
      {"deselect", CommandKind::Deselect, 0, 0, 0, ""},
      {"install", CommandKind::Install, 0, 0, 0, ""},
      {"uninstall", CommandKind::Uninstall, 0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    const auto commands = Commands(c.line);
    ASSERT_EQ(commands.size(), 1u) << c.line;
    const sim::Command& command = commands[0];
    EXPECT_EQ(command.line, 1) << c.line;
    EXPECT_EQ(command.kind, c.kind) << c.line;
    EXPECT_EQ(command.x, c.x) << c.line;
    EXPECT_EQ(command.y, c.y) << c.line;
    EXPECT_EQ(command.ms, c.ms) << c.line;
    EXPECT_EQ(command.text, c.text) << c.line;
  }
}

TEST(SimScript, LinesCountCommentsBlanksAndCarriageReturns) {
  const auto commands = Commands(
      "\xef\xbb\xbf# a test\r\n"
      "\r\n"
      "tap 1 2\r\n"
      "   # indented comment\n"
      "  \t \n"
      "expect-text ab\r\n"
      "press #");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[1].line, 6);
  EXPECT_EQ(commands[1].expected, u"ab");  // the \r is the line's end, not text
  EXPECT_EQ(commands[2].line, 7);
  EXPECT_EQ(commands[2].text, "#");
  EXPECT_TRUE(Commands("").empty());
  EXPECT_TRUE(Commands("\n\n# only\n").empty());
}

TEST(SimScript, ExpectTextUnescapesIntoUtf16) {
  struct Case {
    const char* line;
    std::u16string expected;
  };
  const Case cases[] = {
      {"expect-text", u""},
      {"expect-text ", u""},
      {"expect-text  ", u" "},
      {"expect-text hello world", u"hello world"},
      {"expect-text a\\nb\\tc\\\\d", u"a\nb\tc\\d"},
      {"expect-text \\\\n", u"\\n"},
      {"expect-text \xc3\xa9\xe2\x82\xac", u"\u00e9\u20ac"},
      {"expect-text \xf0\x9f\x98\x80!", u"\U0001F600!"},
      {"expect-text # not a comment", u"# not a comment"},
  };
  for (const Case& c : cases) {
    const auto commands = Commands(c.line);
    ASSERT_EQ(commands.size(), 1u) << c.line;
    EXPECT_EQ(commands[0].kind, CommandKind::ExpectText);
    EXPECT_TRUE(commands[0].expected == c.expected) << c.line;
  }
}

TEST(SimScript, OptionsActionsInOrder) {
  struct Case {
    const char* line;
    std::vector<OptionAction> actions;
  };
  const Case cases[] = {
      {"options ok", {{Action::Ok, "", false}}},
      {"options cancel", {{Action::Cancel, "", false}}},
      {"options deactivate", {{Action::Deactivate, "", false}}},
      {"options language=German layout=QWERTZ default-language=on default-layout=off typematic=on ok",
       {{Action::Language, "German", false},
        {Action::Layout, "QWERTZ", false},
        {Action::DefaultLanguage, "", true},
        {Action::DefaultLayout, "", false},
        {Action::Typematic, "", true},
        {Action::Ok, "", false}}},
      {"options layout=A typematic=off cancel",
       {{Action::Layout, "A", false}, {Action::Typematic, "", false}, {Action::Cancel, "", false}}},
      {"options language=\"Name With  Spaces\" ok",
       {{Action::Language, "Name With  Spaces", false}, {Action::Ok, "", false}}},
      {"options language=\"Plain\"\tlayout=\"x y\" ok",
       {{Action::Language, "Plain", false}, {Action::Layout, "x y", false}, {Action::Ok, "", false}}},
  };
  for (const Case& c : cases) {
    const auto commands = Commands(c.line);
    ASSERT_EQ(commands.size(), 1u) << c.line;
    EXPECT_EQ(commands[0].kind, CommandKind::Options);
    EXPECT_EQ(commands[0].actions, c.actions) << c.line;
  }
}

TEST(SimScript, ErrorsNameTheLineAndWhatIsWrong) {
  using namespace std::literals;
  struct Case {
    std::string_view script;
    const char* error;
  };
  const Case cases[] = {
      {"tapp 1 2", "line 1: unknown command 'tapp'"},
      {"# c\n\nTap 1 2", "line 3: unknown command 'Tap'"},
      {"tap 1 2\ntap 1", "line 2: expected two numbers after 'tap'"},
      {"down", "line 1: expected two numbers after 'down'"},
      {"move 1 2 3", "line 1: too many words after 'move': '3'"},
      {"tap x3 4", "line 1: numbers must be integers: 'x3'"},
      {"tap 1.5 4", "line 1: numbers must be integers: '1.5'"},
      {"tap +1 4", "line 1: numbers must be integers: '+1'"},
      {"tap - 4", "line 1: numbers must be integers: '-'"},
      {"tap 1 2 # corner", "line 1: too many words after 'tap': '#'"},
      {"up 32768 0", "line 1: coordinates go from -32768 to 32767: '32768'"},
      {"up 0 -99999999999999999999999",
       "line 1: coordinates go from -32768 to 32767: '-99999999999999999999999'"},
      {"wait", "line 1: expected a time in milliseconds after 'wait'"},
      {"wait -5", "line 1: times go from 0 to 2147483647 milliseconds: '-5'"},
      {"wait 2147483648", "line 1: times go from 0 to 2147483647 milliseconds: '2147483648'"},
      {"wait 5ms", "line 1: numbers must be integers: '5ms'"},
      {"wait 1 2", "line 1: too many words after 'wait': '2'"},
      {"press", "line 1: expected a key label after 'press'"},
      {"press ", "line 1: expected a key label after 'press'"},
      {"press\ta", "line 1: put one space between 'press' and what follows"},
      {"snapshot", "line 1: expected a file name ending in .png after 'snapshot'"},
      {"snapshot a.jpg", "line 1: the snapshot's file name must end in .png: 'a.jpg'"},
      {"snapshot .png", "line 1: the snapshot's file name must end in .png: '.png'"},
      {"snapshot my shot.png", "line 1: too many words after 'snapshot': 'shot.png' (the file name is one word)"},
      {"hide now", "line 1: 'hide' takes nothing after it: 'now'"},
      {"uninstall x", "line 1: 'uninstall' takes nothing after it: 'x'"},
      {"expect-text a\\qb", "line 1: unknown escape '\\q' in the text (use \\n, \\t or \\\\)"},
      {"expect-text a\\\xc3\xa9", "line 1: unknown escape '\\\xc3\xa9' in the text (use \\n, \\t or \\\\)"},
      {"expect-text a\\", "line 1: the text ends with a lone backslash (write \\\\ for a backslash)"},
      {"expect-text\tab", "line 1: put one space between 'expect-text' and what follows"},
      {"tap 1 2\nexpect-text \xc3(", "line 2: the line is not valid UTF-8 (byte 13)"},
      {"# \xff comment", "line 1: the line is not valid UTF-8 (byte 3)"},
      {"press \xed\xa0\x80", "line 1: the line is not valid UTF-8 (byte 7)"},       // a surrogate
      {"press \xc0\xaf", "line 1: the line is not valid UTF-8 (byte 7)"},           // overlong '/'
      {"press \xf4\x90\x80\x80", "line 1: the line is not valid UTF-8 (byte 7)"},   // above U+10FFFF
      {"press \xe2\x82", "line 1: the line is not valid UTF-8 (byte 7)"},           // cut short
      {"press a\0b"sv, "line 1: the line holds a NUL byte"},
      {"options", "line 1: 'options' must end with ok, cancel or deactivate"},
      {"options language=A", "line 1: 'options' must end with ok, cancel or deactivate"},
      {"options ok cancel", "line 1: nothing may follow 'ok': 'cancel'"},
      {"options ok language=A", "line 1: nothing may follow 'ok': 'language=A'"},
      {"options layout=A language=B ok", "line 1: 'language=' must come before 'layout='"},
      {"options typematic=on default-layout=on ok", "line 1: 'default-layout=' must come before 'typematic='"},
      {"options language=A language=B ok", "line 1: 'language=' is given twice"},
      {"options language= ok", "line 1: 'language=' needs a name"},
      {"options language=\"\" ok", "line 1: 'language=' needs a name"},
      {"options language ok", "line 1: 'language' needs a value: language=NAME"},
      {"options typematic ok", "line 1: 'typematic' needs a value: typematic=on|off"},
      {"options typematic=yes ok", "line 1: 'typematic=' takes on or off, not 'yes'"},
      {"options language=\"A B ok", "line 1: the quote in 'language=\"A B ok' is not closed"},
      {"options language=a\"b\" ok", "line 1: put the quotes around the whole name: 'language=a\"b\"'"},
      {"options apply",
       "line 1: unknown options action 'apply' (the actions are language=, layout=, default-language=, "
       "default-layout=, typematic=, then ok, cancel or deactivate)"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.script), c.error) << c.script;
}

TEST(SimScript, FirstErrorWinsAndLongWordsAreCutInMessages) {
  EXPECT_EQ(ErrorOf("tap 1\nbogus\n"), "line 1: expected two numbers after 'tap'");
  const std::string word(5000, '9');
  EXPECT_EQ(ErrorOf("wait " + word), "line 1: times go from 0 to 2147483647 milliseconds: '" +
                                          std::string(40, '9') + "...'");
  // Cut on a character boundary: 39 ASCII bytes, then a two-byte character.
  const std::string name = std::string(39, 'a') + "\xc3\xa9" + "zzz";
  EXPECT_EQ(ErrorOf(name), "line 1: unknown command '" + std::string(39, 'a') + "...'");
}

}  // namespace
