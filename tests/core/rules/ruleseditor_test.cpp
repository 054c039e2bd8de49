#include "core/rules/ruleseditor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/variantfile.h"
#include "core/rules/setup_host.h"

using namespace m8;
using m8::testing::HostedGame;

namespace {

namespace fs = std::filesystem;

// A temporary program folder with a variants folder and a user folder.
struct EditorFolder {
  fs::path root;
  EditorFolder() {
    root = fs::temp_directory_path() / ("m8-ruleseditor-" + std::to_string(std::random_device{}()));
    fs::create_directories(root / "variants" / "uservariants");
  }
  ~EditorFolder() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  void write(const std::string& rel, const std::string& text) const {
    std::ofstream(root / rel, std::ios::binary) << text;
  }
  void copyShipped(const std::string& name) const {
    fs::copy_file(fs::path(M8_DATA_DIR) / "variants" / (name + ".ini"), root / "variants" / (name + ".ini"),
                  fs::copy_options::overwrite_existing);
  }
};

// An editor on a game state, opened as the New Variant command opens it.
struct Editor : HostedGame {
  RulesEditor ed{*g};
  explicit Editor(const std::string& folder, int useClassic = 1) {
    g->ProgramFolder = folder;
    g->Opt.UseClassic = useClassic;
    g->Opt.Notation = 0;  // the command shows squares as letters and digits
  }
  void open(const std::string& name = "American Checkers") {
    ed.Load();
    ed.FillVariantList();
    ed.Open(name);
  }
  int index(const std::string& name) const {
    const auto& n = ed.controls().VariantNames;
    for (size_t i = 0; i < n.size(); ++i)
      if (n[i] == name) return static_cast<int>(i);
    return -1;
  }
  bool select(const std::string& name) { return ed.Select(index(name)); }
  const EditorControls& c() const { return ed.controls(); }
};

std::vector<std::string> ShippedNames() { return ListVariantNames(M8_DATA_DIR, 1); }

VariantFileData ParseShipped(const std::string& name) {
  const auto text = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/" + name + ".ini");
  VariantFileData d;
  std::string error;
  EXPECT_TRUE(text && ParseVariantText(*text, name, d, &error)) << error;
  return d;
}

std::string LowerSquare(int cell) {
  if (cell == -1) return "";
  std::string s;
  s += static_cast<char>('a' + cell % 10 - 1);
  s += static_cast<char>('1' + cell / 10 - 2);
  return s;
}

TEST(RulesEditorListTest, ListsIniFilesOfTheChosenFolderByName) {
  EditorFolder f;
  f.write("variants/Zeta.ini", "x");
  f.write("variants/Alpha.Beta.ini", "x");  // dots stay: only ".ini" goes
  f.write("variants/notes.txt", "x");
  f.write("variants/.ini", "x");
  fs::create_directories(f.root / "variants" / "Folder.ini");
  f.write("variants/uservariants/Mine.INI", "x");
  EXPECT_EQ(ListVariantNames(f.root.string(), 1), (std::vector<std::string>{"Alpha.Beta", "Zeta"}));
  EXPECT_EQ(ListVariantNames(f.root.string(), 0), (std::vector<std::string>{"Mine"}));
  EXPECT_TRUE(ListVariantNames((f.root / "nothing").string(), 1).empty());
  EXPECT_EQ(ShippedNames().size(), 29u);
}

TEST(RulesEditorDirectionsTest, RowsAndTheFirstBadPart) {
  DirectionRows t;
  for (auto& row : t) row.fill(7);
  EXPECT_EQ(ParseDirectionParts(t, "NW;NE", "NW;NE;SE;SW", 1), -1);
  EXPECT_EQ(t[1][0], -9);
  EXPECT_EQ(t[1][1], -11);
  EXPECT_EQ(t[1][2], kDirEnd);
  EXPECT_EQ((std::vector<int>(t[5].begin(), t[5].begin() + 5)), (std::vector<int>{-9, -11, 9, 11, kDirEnd}));
  EXPECT_EQ(t[0][0], 7);  // other kinds untouched

  // A bad word in the move list ends the row there and leaves the capture
  // row empty.
  EXPECT_EQ(ParseDirectionParts(t, "NW;XX;NE", "NW", 0), 0);
  EXPECT_EQ(t[0][0], 9);
  EXPECT_EQ(t[0][1], kDirEnd);
  for (int v : t[4]) EXPECT_EQ(v, kDirEnd);

  struct Case {
    const char* moves;
    const char* captures;
    int error;
  };
  const Case cases[] = {
      {"NW;NE", "", -1},          {"", "NW", 0},          {"nw", "", 0},
      {"NW;", "", 0},             {"NW;;NE", "", 0},      {" NW", "", 0},
      {"NW ", "", 0},             {"NW", "NE;sw", 1},     {"N;E;S;W;NN;EE;SS;WW", "NW", -1},
      {"N;E;S;W;NN;EE;SS;WW;NW", "", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseDirectionParts(t, c.moves, c.captures, 2), c.error) << c.moves << " | " << c.captures;
}

// Every shipped variant loads into the controls, and OK without an edit puts
// exactly the variant's rules in force.
TEST(RulesEditorLoadTest, EveryShippedVariantShowsItsRulesAndOkKeepsThem) {
  Editor e(M8_DATA_DIR);
  e.open();
  for (const std::string& name : ShippedNames()) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(e.select(name));
    const VariantFileData d = ParseShipped(name);
    const RuleSet& r = d.rules;
    const auto& c = e.c();
    EXPECT_EQ(c.SelectedName(), name);
    EXPECT_EQ(e.g->Variant.LoadedVariantName, name);
    EXPECT_EQ(e.g->Variant.HelpLink, d.info.HelpLink);
    EXPECT_EQ(c.HelpLink, d.info.HelpLink);
    for (int box = 1; box < kEditorChecks; ++box) {
      auto m = CheckBoxRule(box);
      if (!m || (box == 3 && r.PiecesOnBlack == 2)) continue;
      EXPECT_EQ(c.Check[box], r.*m != 0 ? 1 : 0) << "Check" << box;
    }
    EXPECT_EQ(c.CheckEnabled[kPiecesOnBlackBox], r.PiecesOnBlack != 2);
    for (int box = kFirstNumberBox; box < kEditorNumbers; ++box)
      if (box != 6 || r.NumberFriends != -1) {
        EXPECT_EQ(c.Number[box], std::to_string(r.*NumberBoxRule(box)));
      }
    EXPECT_EQ(c.Check[kUnlimitedFriendsBox], r.NumberFriends == -1 ? 1 : 0);
    for (int side = 0; side < 2; ++side)
      for (int k = 0; k < kPromoEntries; ++k)
        EXPECT_EQ(c.Promo[12 * side + k], LowerSquare(r.PromoSquares[side][k]));
    DirectionRows expected;
    for (auto& row : expected) row.fill(kDirEnd);
    for (int k = 0; k < 4; ++k) {
      ParseDirections(expected, r.MovementStrings[k], k);
      const std::string& s = r.MovementStrings[k];
      const size_t blank = s.find(' ');
      EXPECT_EQ(c.Movement[k], s.substr(0, blank));
      EXPECT_EQ(c.Movement[k + 4], blank == std::string::npos ? "" : s.substr(blank + 1));
    }
    EXPECT_EQ(e.g->Tables.DirectionTable, expected);
    EXPECT_EQ(e.ed.EditDirectionTable(), expected);
    EXPECT_EQ(e.g->board, d.setup ? *d.setup : DefaultStartBoard());

    ASSERT_TRUE(e.ed.Apply(true));
    EXPECT_EQ(e.g->Rules, e.g->VariantRules);
    RuleSet fromFile = r;
    fromFile.Variant = name;
    EXPECT_EQ(e.g->Rules, fromFile);
  }
  EXPECT_TRUE(e.host->messages.empty());
}

TEST(RulesEditorLoadTest, FirstSelectionShowsTheRulesInForceWithoutReading) {
  Editor e(M8_DATA_DIR);
  e.g->Rules.MaxCapMove = 1;
  e.g->Rules.MovementStrings[0] = "NW;NE";  // no capture part
  e.g->Rules.PromoSquares[0] = {94, 96, -1, -1, -1, -1, -1, -1, -1, -1, -1, 98};
  e.open();
  EXPECT_EQ(e.ed.FirstSelection(), 0);
  EXPECT_EQ(e.c().SelectedName(), "American Checkers");
  EXPECT_EQ(e.c().Check[kMaxCapMoveBox], 1);
  EXPECT_EQ(e.g->Rules.MaxCapMove, 1);
  EXPECT_EQ(e.c().Movement[0], "NW;NE");
  EXPECT_EQ(e.c().Movement[4], "");
  EXPECT_EQ(e.c().Promo[0], "d8");
  EXPECT_EQ(e.c().Promo[2], "");
  EXPECT_EQ(e.c().Promo[11], "h8");
  // Choosing the same name again reads the file into the rules in force.
  ASSERT_TRUE(e.select("American Checkers"));
  EXPECT_EQ(e.g->Rules.MaxCapMove, 0);
  EXPECT_EQ(e.c().Check[kMaxCapMoveBox], 0);
  EXPECT_EQ(e.c().Movement[4], "NW;NE");
  // The whole variant is in force at once, its promotion squares too.
  EXPECT_EQ(e.g->Rules, e.g->VariantRules);
  EXPECT_EQ(e.c().Promo[0], "b8");
}

TEST(RulesEditorLoadTest, AllSquaresVariantLocksTheColourBoxAndShowsLetters) {
  Editor e(M8_DATA_DIR);
  e.open();
  e.g->Opt.Notation = 1;
  ASSERT_TRUE(e.select("Turkish Checkers"));
  EXPECT_FALSE(e.c().CheckEnabled[kPiecesOnBlackBox]);
  EXPECT_EQ(e.g->Opt.Notation, 0);
  EXPECT_EQ(e.g->Mat.WhiteMen, 16);
  EXPECT_EQ(e.g->Mat.TotalMaterial, 32);
  EXPECT_EQ(e.g->P.MaterialBalance[0], 0);
  // Back to a variant on the standard start position: its board returns.
  ASSERT_TRUE(e.select("American Checkers"));
  EXPECT_EQ(e.g->board, DefaultStartBoard());
  EXPECT_EQ(e.g->StartBoard, DefaultStartBoard());
  EXPECT_EQ(e.g->Mat.WhiteMen, 12);
  EXPECT_TRUE(e.c().CheckEnabled[kPiecesOnBlackBox]);
}

TEST(RulesEditorLoadTest, UserFolderAndTheFirstLine) {
  EditorFolder f;
  f.copyShipped("American Checkers");
  // The editor reads the first line too.
  f.write("variants/uservariants/First Line.ini", "MaxCapMove=1\r\nMulJumps=1\r\nEND\r\n");
  f.write("variants/uservariants/Other.ini", "; other\nNumberFriends=-1\nJumpFriend=1\nEND\n");
  Editor e(f.root.string(), 0);
  e.open();
  // Listing the user folder selected its first name, the first selection.
  EXPECT_EQ(e.c().VariantNames, (std::vector<std::string>{"First Line", "Other"}));
  EXPECT_EQ(e.c().SelectedName(), "First Line");
  EXPECT_EQ(e.g->Rules.MaxCapMove, 0);
  ASSERT_TRUE(e.select("Other"));
  EXPECT_EQ(e.g->Rules.NumberFriends, -1);
  EXPECT_EQ(e.c().Check[kUnlimitedFriendsBox], 1);
  EXPECT_FALSE(e.c().NumberEnabled[kNumberFriendsBox]);
  ASSERT_TRUE(e.select("First Line"));
  EXPECT_EQ(e.g->Rules.MaxCapMove, 1);
  EXPECT_EQ(e.g->VariantRules.MaxCapMove, 1);
  EXPECT_EQ(e.g->Rules.Variant, "First Line");
  // Back to the classic folder: listed at once, first name chosen; the
  // setting follows when the choice is taken over.
  e.ed.ChooseFolder(1);
  EXPECT_EQ(e.ed.ListedFolder(), 1);
  EXPECT_EQ(e.g->Opt.UseClassic, 0);
  EXPECT_EQ(e.c().SelectedName(), "American Checkers");
  EXPECT_EQ(e.g->Rules.MaxCapMove, 0);
  ASSERT_TRUE(e.ed.Apply(true));
  EXPECT_EQ(e.g->Opt.UseClassic, 1);
}

TEST(RulesEditorLoadTest, CancelAfterAnotherFolderKeepsTheVariantInForce) {
  EditorFolder f;
  f.copyShipped("American Checkers");
  f.copyShipped("Russian Checkers");
  f.write("variants/uservariants/Other.ini", "; other\nLongKings=1\nEND\n");
  Editor e(f.root.string(), 1);
  e.open("Russian Checkers");
  ASSERT_TRUE(e.select("American Checkers"));  // read at once, as the dialog does
  ASSERT_TRUE(e.ed.Apply(true));
  const RuleSet before = e.g->Rules;
  const Board board = e.g->board;
  e.open("American Checkers");
  e.ed.ChooseFolder(0);  // a look at the user folder reads its first variant
  EXPECT_EQ(e.g->Rules.Variant, "Other");
  e.ed.Cancel();
  EXPECT_EQ(e.g->Opt.UseClassic, 1);
  EXPECT_EQ(e.g->Rules, before);
  EXPECT_EQ(e.g->board, board);
  EXPECT_EQ(e.g->Variant.LoadedVariantName, "American Checkers");
  // A variant of the same folder chosen and cancelled stays, as it always did.
  e.open("American Checkers");
  ASSERT_TRUE(e.select("Russian Checkers"));
  e.ed.Cancel();
  EXPECT_EQ(e.g->Rules.Variant, "Russian Checkers");
}

TEST(RulesEditorLoadTest, EmptyUserFolderSelectsNothing) {
  EditorFolder f;
  f.copyShipped("American Checkers");
  Editor e(f.root.string(), 0);
  e.g->Rules.LongKings = 1;
  e.open();
  EXPECT_TRUE(e.c().VariantNames.empty());
  EXPECT_EQ(e.c().Selected, -1);
  EXPECT_EQ(e.c().Check[kLongKingsBox], 1);  // the rules in force are shown all the same
  const std::string before = e.g->Rules.Variant;
  ASSERT_TRUE(e.ed.Apply(true));
  EXPECT_EQ(e.g->Rules.Variant, before);
}

// A broken file is reported with its name and changes nothing: not the
// rules, the variant copy, the board, the help texts, nor the controls.
TEST(RulesEditorLoadTest, BrokenUserVariantChangesNothing) {
  EditorFolder f;
  f.write("variants/uservariants/Good.ini", "; good\nLongKings=1\nEND\n");
  f.write("variants/uservariants/No End.ini", "; no end\nLongKings=0\n");
  f.write("variants/uservariants/Bad Setup.ini", "; x\nSetup=1239\nEND\n");
  f.write("variants/uservariants/Bad Names.ini", "; x\nWhiteManMovement=XX;YY ZZ\nEND\n");
  f.write("variants/uservariants/Big Row.ini", "; x\nContractW1=2147483647\nEND\n");
  f.write("variants/uservariants/Too Many.ini", "; x\nNumberMen=500\nEND\n");
  f.write("variants/uservariants/Long List.ini", "; x\nWhiteManMovement=N;N;N;N;N;N;N;N;N N\nEND\n");
  Editor e(f.root.string(), 0);
  e.open("Good");
  ASSERT_TRUE(e.select("Good"));
  const RuleSet rules = e.g->Rules, variant = e.g->VariantRules;
  const Board board = e.g->board;
  const EditorControls controls = e.c();
  const DirectionRows table = e.g->Tables.DirectionTable;
  const struct {
    const char* name;
    const char* key;
  } cases[] = {{"No End", "END"},
               {"Bad Setup", "line 2, key Setup"},
               {"Bad Names", "line 2, key WhiteManMovement: \"XX\" is not a direction name"},
               {"Big Row", "line 2, key ContractW1"},
               {"Too Many", "NumberMen"},
               {"Long List", "WhiteManMovement"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    e.host->messages.clear();
    EXPECT_FALSE(e.select(c.name));
    ASSERT_EQ(e.host->messages.size(), 1u);
    EXPECT_NE(e.host->messages[0].find(std::string(c.name) + ".ini"), std::string::npos) << e.host->messages[0];
    EXPECT_NE(e.host->messages[0].find(c.key), std::string::npos) << e.host->messages[0];
    EXPECT_EQ(e.g->Rules, rules);
    EXPECT_EQ(e.g->VariantRules, variant);
    EXPECT_EQ(e.g->Variant.LoadedVariantName, "Good");
    EXPECT_EQ(e.g->board, board);
    EXPECT_EQ(e.g->Tables.DirectionTable, table);
    EXPECT_EQ(e.c().SelectedName(), "Good");
    EXPECT_EQ(e.c().Check, controls.Check);
  }
  // A file removed after the listing is reported the same way.
  fs::remove(f.root / "variants" / "uservariants" / "No End.ini");
  e.host->messages.clear();
  EXPECT_FALSE(e.select("No End"));
  ASSERT_EQ(e.host->messages.size(), 1u);
  EXPECT_NE(e.host->messages[0].find("missing"), std::string::npos);
  EXPECT_EQ(e.g->Rules, rules);
}

// A name the game files cannot carry ("*" ends the name in the PDN rules
// tag) is refused with a message when it is chosen, and OK never puts it in
// force, also when the dialog opens on it without reading its file.
TEST(RulesEditorLoadTest, NamesTheGameFilesCannotCarryAreRefused) {
  EditorFolder f;
  f.write("variants/uservariants/Good.ini", "; good\nLongKings=1\nEND\n");
  f.write("variants/uservariants/Star*.ini", "; star\nLongKings=0\nEND\n");
  Editor e(f.root.string(), 0);
  e.open("Good");
  ASSERT_TRUE(e.select("Good"));
  const RuleSet rules = e.g->Rules;
  ASSERT_GE(e.index("Star*"), 0);
  EXPECT_FALSE(e.select("Star*"));
  ASSERT_EQ(e.host->messages.size(), 1u);
  EXPECT_NE(e.host->messages[0].find("'Star*' is not a valid variant name"), std::string::npos)
      << e.host->messages[0];
  EXPECT_NE(e.host->messages[0].find("\"*\""), std::string::npos) << e.host->messages[0];
  EXPECT_EQ(e.g->Rules, rules);
  EXPECT_EQ(e.c().SelectedName(), "Good");

  EditorFolder classic;
  classic.write("variants/Star*.ini", "; star\nLongKings=0\nEND\n");
  Editor first(classic.root.string(), 1);
  first.open("Star*");
  ASSERT_EQ(first.c().SelectedName(), "Star*");
  ASSERT_TRUE(first.host->messages.empty());
  EXPECT_FALSE(first.ed.Apply(true));
  EXPECT_EQ(first.g->Rules.Variant, "American Checkers");
  ASSERT_EQ(first.host->messages.size(), 1u);
  EXPECT_NE(first.host->messages[0].find("'Star*'"), std::string::npos) << first.host->messages[0];

  // Nor can they carry a name longer than their fields.
  EditorFolder longName;
  const std::string tooLong(201, 'L');
  longName.write("variants/uservariants/Good.ini", "; good\nLongKings=1\nEND\n");
  longName.write("variants/uservariants/" + tooLong + ".ini", "; long\nLongKings=0\nEND\n");
  Editor user(longName.root.string(), 0);
  user.open("Good");
  ASSERT_TRUE(user.select("Good"));
  ASSERT_GE(user.index(tooLong), 0);
  EXPECT_FALSE(user.select(tooLong));
  ASSERT_EQ(user.host->messages.size(), 1u);
  EXPECT_NE(user.host->messages[0].find("at most 200 characters"), std::string::npos) << user.host->messages[0];
  EXPECT_EQ(user.c().SelectedName(), "Good");
}

TEST(RulesEditorLoadTest, MutatedFilesNeverHalfLoad) {
  EditorFolder f;
  const auto text = ReadWholeFile(std::string(M8_DATA_DIR) + "/variants/Russian Checkers.ini");
  ASSERT_TRUE(text);
  Editor e(f.root.string(), 0);
  f.write("variants/uservariants/Fuzz.ini", *text);
  e.open("Fuzz");
  std::mt19937 rng(99);
  const std::string alphabet = "0123456789=;NESW \r\n-.ABCDEFGHhelpEND";
  for (int i = 0; i < 150; ++i) {
    std::string t = *text;
    for (int n = 0; n < 1 + static_cast<int>(rng() % 6); ++n) {
      if (t.empty()) break;
      const size_t pos = rng() % t.size();
      switch (rng() % 3) {
        case 0: t[pos] = alphabet[rng() % alphabet.size()]; break;
        case 1: t.erase(pos, 1 + rng() % 20); break;
        default: t.insert(pos, 1, alphabet[rng() % alphabet.size()]); break;
      }
    }
    f.write("variants/uservariants/Fuzz.ini", t);
    const RuleSet before = e.g->Rules;
    if (!e.ed.Select(0)) {
      EXPECT_EQ(e.g->Rules, before);
      continue;
    }
    // Whatever loaded, the controls give it back through OK or say why not.
    e.ed.Apply(true);
    for (int side = 0; side < 2; ++side)
      for (int v : e.g->Rules.PromoSquares[side]) EXPECT_TRUE(v == -1 || (v >= 21 && v <= 98));
  }
}

TEST(RulesEditorDependentTest, CheckBoxRules) {
  Editor e(M8_DATA_DIR);
  e.open();
  auto& ed = e.ed;
  const auto& c = e.c();

  ed.SetCheck(kMulJumpsBox, 0);
  ed.SetCheck(kMaxCapMoveBox, 1);  // most captures: multiple captures ticked and locked
  EXPECT_EQ(c.Check[kMulJumpsBox], 1);
  EXPECT_FALSE(c.CheckEnabled[kMulJumpsBox]);
  EXPECT_TRUE(c.CheckEnabled[kMaxCapMoveKingsBox]);
  ed.SetCheck(kMaxCapMoveKingsBox, 1);
  ed.SetCheck(kMaxCapMoveBox, 0);  // frees multiple captures (still ticked), clears and locks most kings
  EXPECT_TRUE(c.CheckEnabled[kMulJumpsBox]);
  EXPECT_EQ(c.Check[kMulJumpsBox], 1);
  EXPECT_EQ(c.Check[kMaxCapMoveKingsBox], 0);
  EXPECT_FALSE(c.CheckEnabled[kMaxCapMoveKingsBox]);

  ed.SetCheck(kWinAtPromoBox, 1);  // the two win rules exclude each other
  EXPECT_FALSE(c.CheckEnabled[kKingWinBox]);
  ed.SetCheck(kWinAtPromoBox, 0);
  EXPECT_TRUE(c.CheckEnabled[kKingWinBox]);
  ed.SetCheck(kKingWinBox, 1);
  EXPECT_FALSE(c.CheckEnabled[kWinAtPromoBox]);
  ed.SetCheck(kKingWinBox, 0);

  ed.SetCheck(kRndColorBox, 1);
  EXPECT_FALSE(c.CheckEnabled[kBlackStartsBox]);
  ed.SetCheck(kRndColorBox, 0);
  EXPECT_TRUE(c.CheckEnabled[kBlackStartsBox]);

  ed.SetCheck(kManContJumpBox, 1);
  EXPECT_TRUE(c.CheckEnabled[kManContJumpCrownedBox]);
  ed.SetCheck(kManContJumpCrownedBox, 1);
  ed.SetCheck(kManContJumpBox, 0);
  EXPECT_EQ(c.Check[kManContJumpCrownedBox], 0);
  EXPECT_FALSE(c.CheckEnabled[kManContJumpCrownedBox]);
  ed.SetCheck(kManContJumpBox, 1);
  EXPECT_TRUE(c.CheckEnabled[kManContJumpCrownedBox]);
  EXPECT_EQ(c.Check[kManContJumpCrownedBox], 0);

  ed.SetCheck(kLongKingsBox, 1);
  ed.SetCheck(kKingFirstBox, 1);
  ed.SetCheck(kMaxCapMoveKBox, 1);
  ed.SetCheck(kLongKingsBox, 0);  // greyed, ticks kept and still taken over
  EXPECT_FALSE(c.CheckEnabled[kKingFirstBox]);
  EXPECT_FALSE(c.CheckEnabled[kMaxCapMoveKBox]);
  ASSERT_TRUE(ed.Apply(false));
  EXPECT_EQ(e.g->Rules.KingFirst, 1);
  EXPECT_EQ(e.g->Rules.MaxCapMoveK, 1);

  // Jumping own pieces: the "unlimited" box and its number.
  EXPECT_FALSE(c.CheckEnabled[kUnlimitedFriendsBox]);
  ed.SetCheck(kJumpFriendBox, 1);
  EXPECT_TRUE(c.CheckEnabled[kUnlimitedFriendsBox]);
  EXPECT_TRUE(c.NumberEnabled[kNumberFriendsBox]);
  ed.SetCheck(kUnlimitedFriendsBox, 1);
  EXPECT_FALSE(c.NumberEnabled[kNumberFriendsBox]);
  ed.SetCheck(kJumpFriendBox, 0);
  ed.SetCheck(kJumpFriendBox, 1);  // "unlimited" ticked: the number stays greyed
  EXPECT_TRUE(c.CheckEnabled[kUnlimitedFriendsBox]);
  EXPECT_FALSE(c.NumberEnabled[kNumberFriendsBox]);
  ed.SetCheck(kJumpFriendBox, 0);
  EXPECT_FALSE(c.CheckEnabled[kUnlimitedFriendsBox]);

  // Number boxes follow their check boxes, their text kept.
  const struct {
    int check;
    std::vector<int> numbers;
  } pairs[] = {{20, {3}}, {21, {4}}, {26, {5}}, {31, {7}}, {33, {9, 10, 11, 12, 13}}};
  for (const auto& p : pairs) {
    for (int n : p.numbers) EXPECT_FALSE(c.NumberEnabled[n]) << p.check;
    ed.SetNumber(p.numbers[0], "4");
    ed.SetCheck(p.check, 1);
    for (int n : p.numbers) EXPECT_TRUE(c.NumberEnabled[n]) << p.check;
    ed.SetCheck(p.check, 0);
    for (int n : p.numbers) EXPECT_FALSE(c.NumberEnabled[n]) << p.check;
    EXPECT_EQ(c.Number[p.numbers[0]], "4");
  }
  ASSERT_TRUE(ed.Apply(false));
  EXPECT_EQ(e.g->Rules.NumberMen, 4);  // a greyed box is still read
}

TEST(RulesEditorDependentTest, ColourBoxMovesThePromotionSquaresAtOnce) {
  Editor e(M8_DATA_DIR);
  e.open();
  e.ed.SetPromo(4, "c3");  // typed into a box whose entry is empty
  e.ed.SetPromo(0, "h1");  // typed over an entry: replaced from the entry
  e.ed.SetCheck(kPiecesOnBlackBox, 0);
  EXPECT_EQ(e.g->Rules.PiecesOnBlack, 0);
  EXPECT_EQ(e.g->VariantRules.PiecesOnBlack, 0);
  EXPECT_EQ(e.c().Promo[0], "a8");   // B8 moves one column left
  EXPECT_EQ(e.c().Promo[3], "g8");
  EXPECT_EQ(e.c().Promo[12], "b1");  // A1 moves right
  EXPECT_EQ(e.c().Promo[4], "c3");
  EXPECT_EQ(e.ed.EditPromoSquares()[0][0], 91);
  e.ed.SetCheck(kPiecesOnBlackBox, 1);
  EXPECT_EQ(e.c().Promo[0], "b8");
  EXPECT_EQ(e.c().Promo[12], "a1");
  EXPECT_EQ(e.g->Rules.PromoSquares, StandardPromoSquares());  // taken only by OK or Apply
}

TEST(RulesEditorApplyTest, EditedRulesGoInForceAndTheVariantCopyStays) {
  Editor e(M8_DATA_DIR);
  e.open();
  e.ed.SetCheck(kLongKingsBox, 1);
  e.ed.SetCheck(kMaxCapMoveBox, 1);
  e.ed.SetNumber(kNumberPiecesBox, "2.5");  // halves to the even number
  e.ed.SetPromo(3, "");
  e.ed.SetPromo(15, "G3");  // upper case is read as well
  e.ed.SetMovement(2, "NW;NE;SE;SW;N");
  e.ed.SetMovement(4, "");  // no captures for white men
  ASSERT_TRUE(e.ed.Apply(false));
  const RuleSet& r = e.g->Rules;
  EXPECT_EQ(r.LongKings, 1);
  EXPECT_EQ(r.MaxCapMove, 1);
  EXPECT_EQ(r.MulJumps, 1);
  EXPECT_EQ(r.NumberPieces, 2);
  EXPECT_EQ(r.PromoSquares[0][3], -1);
  EXPECT_EQ(r.PromoSquares[1][3], 47);
  EXPECT_EQ(r.MovementStrings[0], "NW;NE");
  EXPECT_EQ(r.MovementStrings[2], "NW;NE;SE;SW;N NW;NE;SE;SW");
  EXPECT_EQ(e.g->Tables.DirectionTable[2][4], 10);
  EXPECT_EQ(e.g->Tables.DirectionTable[4][0], kDirEnd);
  EXPECT_EQ(e.g->VariantRules, ParseShipped("American Checkers").rules);
  EXPECT_NE(r, e.g->VariantRules);
  EXPECT_TRUE(e.host->messages.empty());
}

TEST(RulesEditorApplyTest, NumberFriendsOnlyByOk) {
  Editor e(M8_DATA_DIR);
  e.open();
  e.ed.SetCheck(kJumpFriendBox, 1);
  e.ed.SetNumber(kNumberFriendsBox, "3");
  ASSERT_TRUE(e.ed.Apply(false));
  EXPECT_EQ(e.g->Rules.JumpFriend, 1);
  EXPECT_EQ(e.g->Rules.NumberFriends, 0);
  ASSERT_TRUE(e.ed.Apply(true));
  EXPECT_EQ(e.g->Rules.NumberFriends, 3);
  e.ed.SetCheck(kUnlimitedFriendsBox, 1);
  ASSERT_TRUE(e.ed.Apply(true));
  EXPECT_EQ(e.g->Rules.NumberFriends, -1);
}

TEST(RulesEditorApplyTest, IllegalEntriesAreMarkedAndStopTheCommand) {
  struct Case {
    const char* what;
    int promoBox;
    const char* text;
    const char* variant;
    bool legal;
  };
  const char* const american = "American Checkers";
  const Case cases[] = {
      {"lower case", 0, "b8", american, true},    {"other colour", 0, "a8", american, false},
      {"other colour, all squares", 0, "a7", "Turkish Checkers", true},
      {"letter past H", 0, "i8", american, false}, {"row past 8", 0, "b9", american, false},
      {"bare number", 0, "5", american, false},    {"black box", 12, "b1", american, false},
      {"black box ok", 12, "c1", american, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Editor e(M8_DATA_DIR);
    e.open();
    ASSERT_TRUE(e.select(c.variant));
    e.ed.SetPromo(c.promoBox, c.text);
    e.ed.SetCheck(kAntiModeBox, 1);
    EXPECT_EQ(e.ed.Apply(true), c.legal);
    EXPECT_EQ(e.c().PromoMarked[c.promoBox], !c.legal);
    EXPECT_EQ(e.host->messages.size(), c.legal ? 0u : 1u);
    if (!c.legal) {
      EXPECT_EQ(e.host->messages[0], "Error: Illegal entry!");
    }
    EXPECT_EQ(e.g->Rules.AntiMode, 1);  // the check boxes are taken before the squares
  }
}

TEST(RulesEditorApplyTest, AfterABadSquareOnlyTheEntriesBeforeItAreTaken) {
  Editor e(M8_DATA_DIR);
  e.open();
  e.ed.SetPromo(0, "d8");
  e.ed.SetPromo(1, "zz");
  e.ed.SetPromo(2, "");
  EXPECT_FALSE(e.ed.Apply(false));
  EXPECT_EQ(e.g->Rules.PromoSquares[0][0], 94);
  EXPECT_EQ(e.g->Rules.PromoSquares[0][2], 96);
  EXPECT_TRUE(e.c().PromoMarked[1]);
  e.ed.SetPromo(1, "f8");  // editing clears the mark
  EXPECT_FALSE(e.c().PromoMarked[1]);
  EXPECT_TRUE(e.ed.Apply(false));
  EXPECT_EQ(e.g->Rules.PromoSquares[0][2], -1);
}

TEST(RulesEditorApplyTest, BadMovementListRestoresTheLoadedMovement) {
  Editor e(M8_DATA_DIR);
  e.open();
  ASSERT_TRUE(e.select("Russian Checkers"));
  const auto loaded = e.g->VariantRules.MovementStrings;
  const DirectionRows table = e.g->Tables.DirectionTable;
  e.ed.SetMovement(2, "NW");
  ASSERT_TRUE(e.ed.Apply(false));  // an earlier Apply changed them
  EXPECT_EQ(e.g->Rules.MovementStrings[2], "NW NW;NE;SE;SW");
  e.ed.SetMovement(7, "NW;ne");
  EXPECT_FALSE(e.ed.Apply(false));
  EXPECT_EQ(e.ed.DirectionErrorPart(), 1);
  EXPECT_TRUE(e.c().MovementMarked[7]);
  EXPECT_EQ(e.g->Rules.MovementStrings, loaded);
  EXPECT_EQ(e.g->Tables.DirectionTable, table);
  e.ed.SetMovement(7, "NW;NE;SE;SW");
  e.ed.SetMovement(1, "");
  EXPECT_FALSE(e.ed.Apply(false));
  EXPECT_TRUE(e.c().MovementMarked[1]);
  EXPECT_FALSE(e.c().MovementMarked[7]);
}

TEST(RulesEditorApplyTest, NumbersTheProgramCannotUseAreRefusedBeforeAnythingIsTaken) {
  const struct {
    int box;
    const char* text;
  } cases[] = {{3, "33"}, {4, "-1"}, {10, "99"}, {9, "1E12"}, {8, "65"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Editor e(M8_DATA_DIR);
    e.open();
    const RuleSet before = e.g->Rules;
    e.ed.SetCheck(kAntiModeBox, 1);
    e.ed.SetNumber(c.box, c.text);
    EXPECT_FALSE(e.ed.Apply(true));
    EXPECT_TRUE(e.c().NumberMarked[c.box]);
    EXPECT_EQ(e.g->Rules, before);
  }
}

// The random rules with a fixed seed: the same draws give the same rules,
// the rules keep to the boxes' dependencies, OK gives them back unchanged,
// and the rules that are not drawn stay.
TEST(RulesEditorRandomTest, ConsistentRulesFromAFixedSeed) {
  RuleSet first;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    Editor e(M8_DATA_DIR);
    e.open();
    e.g->Rules.TwoKings = 1;
    e.g->Rules.NumberKings2 = 7;
    e.g->Rng.seed(seed);
    e.ed.Random();
    const RuleSet r = e.g->Rules;
    EXPECT_FALSE(r.MaxCapMove == 1 && r.MulJumps == 0);
    EXPECT_FALSE(r.MaxCapMove == 0 && r.MaxCapMoveKings == 1);
    EXPECT_FALSE(r.ManContJump == 0 && r.ManContJumpCrowned == 1);
    EXPECT_FALSE(r.WinAtPromo == 1 && r.KingWin == 1);
    EXPECT_TRUE(r.NumberMen >= 1 && r.NumberMen <= 10);
    EXPECT_TRUE(r.NumberKings >= 1 && r.NumberKings <= 20);
    EXPECT_TRUE(r.NumberMoves >= 1 && r.NumberMoves <= 10);
    EXPECT_EQ(r.TwoKings, 1);
    EXPECT_EQ(r.NumberKings2, 7);
    EXPECT_EQ(r.PromoSquares, StandardPromoSquares()) << "in force unchanged until OK";
    EXPECT_EQ(r.PiecesOnBlack, e.g->VariantRules.PiecesOnBlack);
    // Every drawn value stands in its box; no box is locked against the
    // user in a state the rules would not allow.
    for (int box = 1; box < kEditorChecks; ++box)
      if (auto m = CheckBoxRule(box)) {
        EXPECT_EQ(e.c().Check[box], r.*m) << "Check" << box;
      }
    EXPECT_FALSE(!e.c().CheckEnabled[kWinAtPromoBox] && !e.c().CheckEnabled[kKingWinBox]);
    EXPECT_EQ(e.c().CheckEnabled[kBlackStartsBox], r.RndColor != 1);
    EXPECT_EQ(e.c().Number[kNumberMenBox], std::to_string(r.NumberMen));
    ASSERT_TRUE(e.ed.Apply(true));
    RuleSet back = e.g->Rules;
    back.PromoSquares = r.PromoSquares;
    EXPECT_EQ(back, r);
    if (seed == 1) first = r;
  }
  Editor again(M8_DATA_DIR);
  again.open();
  again.g->Rules.TwoKings = 1;
  again.g->Rules.NumberKings2 = 7;
  again.g->Rng.seed(1);
  again.ed.Random();
  EXPECT_EQ(again.g->Rules, first);
}

TEST(RulesEditorRandomTest, AllSquaresVariantKeepsItsBoardKind) {
  Editor e(M8_DATA_DIR);
  e.open();
  ASSERT_TRUE(e.select("Turkish Checkers"));
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    e.g->Rng.seed(seed);
    e.ed.Random();
    EXPECT_EQ(e.g->Rules.PiecesOnBlack, 2);
    EXPECT_FALSE(e.c().CheckEnabled[kPiecesOnBlackBox]);
  }
  // One draw fewer than on a two-colour board: the same seed gives White's
  // anti mode what a two-colour board gives the colour.
  Editor two(M8_DATA_DIR);
  two.open();
  two.g->Rng.seed(5);
  two.ed.Random();
  e.g->Rng.seed(5);
  e.ed.Random();
  EXPECT_EQ(e.g->Rules.AntiMode, two.g->Rules.PiecesOnBlack);
}

}  // namespace
