// Every shipped variant: a game of random legal moves saved in the own format
// and as PDN reopens as the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "core/rules/builtinrules.h"
#include "core/rules/drawrules.h"
#include "core/files/gamefile.h"
#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/computermove.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/startup.h"
#include "core/game/storednotation.h"
#include "core/game/toolsetup.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/files_fixture.h"
#include "core/game/shippedvariants_fixture.h"

namespace m8 {
namespace {

class RoundTripTest : public testing::ShippedVariantsTest {
 protected:
  // Saves `s` as `file` and opens it in a fresh program; null (with a
  // failure naming the message) when either step fails.
  std::unique_ptr<GameState> Reopen(GameState& s, const std::string& file) {
    std::filesystem::remove(Path(file));
    if (!SaveGame(s, Path(file), file)) {
      ADD_FAILURE() << "saving " << file << " failed";
      return nullptr;
    }
    auto t = Fresh();
    host.messages.clear();
    if (!LoadGame(*t, kLoadOpen, Path(file), file)) {
      ADD_FAILURE() << "opening " << file << " failed: " << (host.messages.empty() ? "" : host.messages.back().text);
      return nullptr;
    }
    return t;
  }

  // A new game of the variant, as the new-variant command starts it.
  static void StartVariant(GameState& s, const std::string& name) {
    s.Flow.PositionPreset = 0;
    s.Rules.Variant = name;
    InitGame(s);
    ASSERT_EQ(s.Rules.Variant, name);
    s.Rules = s.VariantRules;
    InitGame(s);
  }

  // Up to `plies` random legal moves entered as the players would, with
  // comments; a crowning move is taken whenever there is one. Stops when the
  // game is over. Any legal move may be drawn, also one that shares its from
  // and to squares with another (as the computer plays them).
  static void PlayRandomGame(GameState& s, std::mt19937& rng, int plies) {
    s.Opt.PlayMode = 1;
    MoveFollowUps quiet;
    quiet.checkGameOver = [](GameState& t, int q) { CheckGameOver(t, q); };
    s.Game.PlyComments[0] = "Start, 100% fresh";
    for (int p = 0; p < plies && s.Flow.GameOver == 0; ++p) {
      ResetPly(s);
      if (!GenerateLegalMoves(s)) break;
      const int first = s.P.PlyStart[0], count = s.P.PlyStart[1] - first;
      if (count <= 0) break;
      int pick = first + static_cast<int>(rng() % static_cast<unsigned>(count));
      for (int i = first; i < first + count; ++i)
        if (s.P.MoveList[i].Crown == 2) pick = i;
      const MoveRecord m = s.P.MoveList[pick];
      ASSERT_TRUE(EnterMoveIndex(s, pick, MoveSource::Typed, quiet))
          << SquareNotation(s, m.From, 0) << SquareNotation(s, m.To, 0);
      if (p % 7 == 3) s.Game.PlyComments[s.P.GamePly] = "after ply " + std::to_string(s.P.GamePly) + "\nsecond line";
    }
  }

  static void ExpectSameGame(const GameState& a, const GameState& b, bool pdn) {
    EXPECT_EQ(b.Rules.Variant, a.Rules.Variant);
    EXPECT_EQ(b.Variant.LoadedVariantName, a.Variant.LoadedVariantName);
    EXPECT_TRUE(SameRules(b.Rules, a.Rules));
    EXPECT_EQ(b.Eval.StandardRuleSet, a.Eval.StandardRuleSet);
    EXPECT_EQ(BoardToSetupString(b.StartBoard), BoardToSetupString(a.StartBoard));
    EXPECT_EQ(b.Game.GameLength, a.Game.GameLength);
    for (int p = 1; p <= std::min(a.Game.GameLength, b.Game.GameLength); ++p) {
      EXPECT_EQ(b.Game.GameMoves[p].From, a.Game.GameMoves[p].From) << "ply " << p;
      EXPECT_EQ(b.Game.GameMoves[p].To, a.Game.GameMoves[p].To) << "ply " << p;
      EXPECT_EQ(b.Game.GameMoves[p].CapturedCount, a.Game.GameMoves[p].CapturedCount) << "ply " << p;
      EXPECT_EQ(b.Game.GameMoves[p].CapturedCell, a.Game.GameMoves[p].CapturedCell) << "ply " << p;
      EXPECT_EQ(b.Game.GameMoves[p].Crown, a.Game.GameMoves[p].Crown) << "ply " << p;
    }
    EXPECT_EQ(b.board, a.board);
    EXPECT_EQ(b.P.SideToMove, a.P.SideToMove);
    for (int p = 0; p < a.Game.GameLength; ++p) {
      std::string expected = a.Game.PlyComments[p];
      if (pdn) {
        const size_t brk = expected.find('\n');
        if (brk != std::string::npos) expected.replace(brk, 1, "  ");
      }
      EXPECT_EQ(b.Game.PlyComments[p], expected) << "ply " << p;
    }
  }
};

TEST_F(RoundTripTest, EveryShippedVariantReopensAsTheSameGame) {
  int crownings = 0, captures = 0;
  for (int index = 1; index <= kBuiltinVariantCount; ++index) {
    const std::string name = BuiltinVariantName(index);
    SCOPED_TRACE(name);
    std::mt19937 rng(1000 + index);
    auto s = Fresh();
    StartVariant(*s, name);
    if (s->Rules.PiecesOnBlack < 2) s->Opt.Notation = index % 2;  // 64 squares: letters only
    s->Opt.UserName = "Jürgen";
    PlayRandomGame(*s, rng, 30);
    ASSERT_GE(s->Game.GameLength, 1);
    for (int p = 1; p <= s->Game.GameLength; ++p) {
      crownings += s->Game.GameMoves[p].Crown == 2;
      captures += s->Game.GameMoves[p].IsCapture();
    }
    s->Header.GameWhite = "White player";
    s->Header.GameBlack = "Black player";

    for (const std::string file : {"game.tvn", "game.pdn"}) {
      SCOPED_TRACE(file);
      const bool pdn = file == "game.pdn";
      std::filesystem::remove(Path(file));
      ASSERT_TRUE(SaveGame(*s, Path(file), file));
      const std::string result = s->Flow.GameResult;
      // The game is reopened by a program that plays another variant.
      auto t = Fresh();
      StartVariant(*t, index == 1 ? "Russian Checkers" : "American Checkers");
      t->Opt.Notation = 1 - s->Opt.Notation;
      host.messages.clear();
      ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(file), file))
          << (host.messages.empty() ? "" : host.messages.back().text);
      ExpectSameGame(*s, *t, pdn);
      if (pdn) {
        EXPECT_EQ(t->Header.GameWhite, "White player");
        EXPECT_EQ(t->Header.GameBlack, "Black player");
        EXPECT_EQ(t->Flow.LoadedResult, result);
      } else {
        EXPECT_EQ(t->Opt.UserName, "Jürgen");
      }
    }
  }
  EXPECT_GT(crownings, 10);
  EXPECT_GT(captures, 50);
}

// Board > Notation > None in the middle of a game: the moves stored before
// and after it still name the moves on the board in use (also where every
// square is in play and numbers name only half of them), so the game
// reopens from both formats, and going back to letters gives the texts of
// before.
TEST_F(RoundTripTest, GamesPlayedOnWithoutNotationReopen) {
  for (int index = 1; index <= kBuiltinVariantCount; ++index) {
    const std::string name = BuiltinVariantName(index);
    SCOPED_TRACE(name);
    std::mt19937 rng(2000 + index);
    auto s = Fresh();
    StartVariant(*s, name);
    s->Opt.Notation = 0;
    PlayRandomGame(*s, rng, 8);
    std::vector<std::string> before;
    for (int p = 1; p <= s->Game.GameLength; ++p) before.push_back(s->Game.GameRecord[(p + 1) / 2][(p - 1) % 2]);
    ASSERT_TRUE(SelectNotation(*s, 2));
    PlayRandomGame(*s, rng, 8);
    ASSERT_GE(s->Game.GameLength, 1);
    for (const std::string file : {"none.tvn", "none.pdn"}) {
      SCOPED_TRACE(file);
      auto t = Reopen(*s, file);
      ASSERT_TRUE(t);
      ExpectSameGame(*s, *t, file == "none.pdn");
    }
    // (A rewritten text loses the crowning mark at its end; the move list
    // keeps it.)
    ASSERT_TRUE(SelectNotation(*s, 0));
    auto unmarked = [](std::string text) {
      if (!text.empty() && text.back() == 'K') text.pop_back();
      return text;
    };
    for (size_t p = 1; p <= before.size(); ++p)
      EXPECT_EQ(s->Game.GameRecord[(p + 1) / 2][(p - 1) % 2], unmarked(before[p - 1])) << "ply " << p;
  }
}

// A game in square numbers opened as a variant where every square is in
// play is stored in letters, so that it is saved and reopened as itself.
TEST_F(RoundTripTest, NumberedGameOpenedAsGothicReopens) {
  Write("numbers.pdn", "[Event \"x\"]\n1. 26-22 5-9 2. 22-17 *\n");
  PdnChooser asGothic = [](const PdnFile&, bool, std::string* openAs) {
    *openAs = "Gothic Checkers";
    return 1;
  };
  auto s = Fresh();
  ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("numbers.pdn"), "numbers.pdn", asGothic))
      << (host.messages.empty() ? "" : host.messages.back().text);
  ASSERT_EQ(s->Game.GameLength, 3);
  EXPECT_EQ(s->Game.GameRecord[1][0].substr(0, 4), "d2c3");
  for (const std::string file : {"gothic.tvn", "gothic.pdn"}) {
    SCOPED_TRACE(file);
    auto t = Reopen(*s, file);
    ASSERT_TRUE(t);
    ExpectSameGame(*s, *t, false);
  }
}

// A variant of the user's that copies the American rules under its own name
// reopens under that name from both formats, whatever characters the name
// holds that a file name can.
TEST_F(RoundTripTest, UserVariantWithAmericanRulesKeepsItsName) {
  for (const std::string name : {"My Checkers", "Quote\"d", "Brackets]{x}", "J\xC3\xBCrgen's 100%"}) {
    SCOPED_TRACE(name);
    auto s = Fresh();
    s->Rules.Variant = s->VariantRules.Variant = s->Variant.LoadedVariantName = name;
    std::mt19937 rng(7);
    PlayRandomGame(*s, rng, 6);
    ASSERT_EQ(s->Eval.StandardRuleSet, 1);
    for (const std::string file : {"mine.tvn", "mine.pdn"}) {
      SCOPED_TRACE(file);
      auto t = Reopen(*s, file);
      ASSERT_TRUE(t);
      EXPECT_EQ(t->Rules.Variant, name);
      ExpectSameGame(*s, *t, file == "mine.pdn");
    }
  }
}

// A game without moves keeps its variant too: Italian comes back as Italian
// (built-in rule set 2) from both formats.
TEST_F(RoundTripTest, GameWithoutMovesKeepsItsVariant) {
  for (const std::string file : {"it.tvn", "it.pdn"}) {
    SCOPED_TRACE(file);
    auto s = Fresh();
    StartVariant(*s, "Italian Checkers");
    ASSERT_EQ(s->Eval.StandardRuleSet, 2);
    auto t = Reopen(*s, file);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rules.Variant, "Italian Checkers");
    EXPECT_EQ(t->Eval.StandardRuleSet, 2);
    EXPECT_EQ(t->StartBoard, s->StartBoard);
    EXPECT_EQ(t->board, s->board);
    EXPECT_EQ(t->P.SideToMove, 1);
  }
}

// Movement strings with an empty move part (men that only capture) and
// comments that hold U+00FF or braces of their own survive both formats.
TEST_F(RoundTripTest, OddMovementStringsAndCommentsSurvive) {
  for (const std::string file : {"odd.tvn", "odd.pdn"}) {
    SCOPED_TRACE(file);
    auto s = Fresh();
    s->Rules.MovementStrings[0] = " NW;NE";
    s->Rules.MovementStrings[1] = " NW;NE";
    s->Rules.MovementStrings[3] = "NW;NE;SE;SW ";  // a blank at the end means nothing
    s->Game.PlyComments[0] = file == "odd.tvn" ? "J\xC3\xBF\xC3\xBF\nnext line" : "J\xC3\xBF\xC3\xBF";
    auto t = Reopen(*s, file);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Rules.MovementStrings[0], " NW;NE");
    EXPECT_EQ(t->Rules.MovementStrings[1], " NW;NE");
    EXPECT_EQ(t->Rules.MovementStrings[3], "NW;NE;SE;SW");
  }
  // Own format comments, including the line break of older files.
  for (const std::string comment : {"J\xC3\xBF\xC3\xBF", "a\xC3\xBF\nb", "{in braces}", "{", "}", "\xC3\xBF"}) {
    SCOPED_TRACE(comment);
    auto s = Fresh();
    s->Game.PlyComments[0] = comment;
    Write("c.tvn", GameFileText(*s));
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("c.tvn"), "c.tvn"));
    EXPECT_EQ(t->Game.PlyComments[0], comment);
  }
  auto s = Fresh();
  std::string text = GameFileText(*s) + "{one\xFF\xFFtwo}\r\n";
  Write("old.tvn", text);
  ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("old.tvn"), "old.tvn"));
  EXPECT_EQ(s->Game.PlyComments[0], "one\ntwo");
}

// An own file without "UseClassic=" names its own variant, not the one the
// program played before.
TEST_F(RoundTripTest, OwnFileWithoutUseClassicShowsItsVariant) {
  auto s = Fresh();
  StartVariant(*s, "Russian Checkers");
  std::string text = GameFileText(*s);
  const size_t at = text.find("UseClassic=");
  text.erase(at, text.find("\r\n", at) + 2 - at);
  Write("ru.tvn", text);
  auto t = Fresh();
  StartVariant(*t, "Italian Checkers");
  ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("ru.tvn"), "ru.tvn"));
  EXPECT_EQ(t->Variant.LoadedVariantName, "Russian Checkers");
  EXPECT_TRUE(SameRules(t->Rules, t->VariantRules));
  EXPECT_EQ(t->board, s->board);
  EXPECT_EQ(t->StartBoard, s->StartBoard);
}

// The result is written in its standard form, so the saved game reads again.
TEST_F(RoundTripTest, ResultsAreWrittenInStandardForm) {
  struct Case {
    const char* written;
    const char* standard;
  } cases[] = {{"white wins", "1-0"}, {"+/-", "1-0"},  {"1:0", "1-0"}, {"0:1", "0-1"},  {"Black wins", "0-1"},
               {"draw", "1/2-1/2"},   {"=", "1/2-1/2"}, {"2-0", "2-0"}, {"1-1", "1-1"}, {"1-0", "1-0"},
               {"+-", "1-0"},         {"-+", "0-1"},    {"?", "*"},     {"", "*"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_EQ(PdnStandardResult(c.written), c.standard);
  }
  for (const char* written : {"white wins", "+/-", "+-", "1:0"}) {
    SCOPED_TRACE(written);
    Write("in.pdn", std::string("[Event \"x\"]\n[Result \"") + written + "\"]\n1. 11-15 23-19\n");
    auto s = Fresh();
    ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("in.pdn"), "in.pdn"));
    EXPECT_EQ(s->Flow.LoadedResult, written);
    std::filesystem::remove(Path("out.pdn"));
    ASSERT_TRUE(SaveGame(*s, Path("out.pdn"), "out.pdn"));
    const std::string out = Read("out.pdn");
    EXPECT_NE(out.find("[Result \"1-0\"]"), std::string::npos) << out;
    EXPECT_NE(out.find("23-19 1-0\r\n"), std::string::npos) << out;
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("out.pdn"), "out.pdn"));
    EXPECT_EQ(t->Game.GameLength, 2);
    EXPECT_EQ(t->Flow.LoadedResult, "1-0");
  }
}

// Captures that take different pieces between the same squares (flying and
// orthogonal kings): the own format names the pieces taken, so the reload
// plays the very move, not the first one between those squares. (Games of
// the computer against itself failed to reload for this.)
TEST_F(RoundTripTest, CapturesBetweenTheSameSquaresReload) {
  struct Case {
    const char* variant;
    const char* setup;  // white to move; pieces on the squares in play only
    int from, to;
  } cases[] = {
      {"Central-S-German Checkers", "0000000000000300000020200000000000200020000000000000002000000000", 36, 98},
      {"Russian Checkers", "0000000000000300000020200000000000200020000000000000002000000000", 36, 98},
      {"Turkish Checkers", "0200000000230000020000000000030000000000200000000000200202200000", 34, 86},
      {"Gothic Checkers", "0000000003000000022200000000000000020000000002200000000000000020", 32, 74},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    auto s = Fresh();
    StartVariant(*s, c.variant);
    size_t at = 0;
    for (auto& cell : s->board)
      if (cell != kOffBoard) cell = std::array<int, 5>{0, 1, -1, 2, -2}[c.setup[at++] - '0'];
    s->P.SideToMove = 1;
    s->Flow.PositionPreset = 1;
    SetupPositionState(*s);
    s->Opt.PlayMode = 1;
    ResetPly(*s);
    ASSERT_TRUE(GenerateLegalMoves(*s));
    std::vector<int> twins;
    for (int k = s->P.PlyStart[0]; k < s->P.PlyStart[1]; ++k)
      if (s->P.MoveList[k].From == c.from && s->P.MoveList[k].To == c.to) twins.push_back(k);
    // The first move between those squares that takes other pieces than the
    // first one does.
    auto taken = [&](int k) {
      const MoveRecord& m = s->P.MoveList[k];
      std::vector<int> cells(m.CapturedCell.begin(), m.CapturedCell.begin() + m.CapturedCount);
      std::sort(cells.begin(), cells.end());
      return cells;
    };
    ASSERT_GE(twins.size(), 2u);
    const auto other = std::find_if(twins.begin(), twins.end(), [&](int k) { return taken(k) != taken(twins[0]); });
    ASSERT_NE(other, twins.end());
    ASSERT_TRUE(EnterMoveIndex(*s, *other, MoveSource::Typed, {}));
    for (const std::string file : {"twin.tvn", "twin.pdn"}) {
      SCOPED_TRACE(file);
      auto t = Reopen(*s, file);
      ASSERT_TRUE(t);
      ExpectSameGame(*s, *t, false);
    }
  }
}

// A game the computer played against itself to a threefold repetition
// reopens, from both formats, as the draw it was: over, drawn by the
// repetition, with the note of the move where it came. Kings alone shuffle
// into it: one king each (whose first position the move-by-move test ends
// under the options of now, while the computer played on) and two kings a
// side in Turkish Checkers.
TEST_F(RoundTripTest, AComputerGameDrawnByRepetitionReopensDrawn) {
  const struct {
    const char* variant;
    const char* setup;  // White to move
  } cases[] = {
      {"American Checkers", "0000000000030000000000000000000000000000000000000040000000000000"},  // d2, c7
      {"Turkish Checkers", "3030000000000000000000000000000000000000000000000000000000000404"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variant);
    auto s = Fresh();
    std::string error;
    ASSERT_TRUE(SetupAnalysisPosition(*s, c.variant, c.setup, 1, &error)) << error;
    s->Opt.DepthMode = 1;
    s->Opt.SearchDepth = 3;
    s->Opt.UseBook = 0;
    s->Opt.Weakness = 0;
    s->Opt.AskForDraw = 0;
    ComputerVsComputer(*s);
    ASSERT_EQ(s->Flow.GameOver, 1);
    ASSERT_EQ(s->Draw.DrawReason, kDrawRepetition);
    const std::string note = "Triple Repetition at move " + std::to_string((s->P.GamePly + 1) / 2);
    for (const std::string file : {"drawn.tvn", "drawn.pdn"}) {
      SCOPED_TRACE(file);
      auto t = Reopen(*s, file);
      ASSERT_TRUE(t);
      EXPECT_EQ(t->P.GamePly, s->P.GamePly);
      EXPECT_EQ(t->board, s->board);
      EXPECT_EQ(t->Flow.GameOver, 1);
      EXPECT_EQ(t->Draw.DrawReason, kDrawRepetition);
      EXPECT_EQ(t->Flow.GameResult, "1/2-1/2");
      EXPECT_EQ(t->Driver.DrawNote, note);
    }
  }
}

// The position a file ends on decides whether its game is over. A game played
// on through a threefold repetition (the option that ends it was off) opens
// at its last position, in progress, when the option is on now; a PDN game
// whose result tag says drawn while its position is not (a draw agreed, or
// given by an arbiter) opens in progress too, its result kept: the program
// cannot tell why it was drawn, and the board can still be played and
// analysed.
TEST_F(RoundTripTest, OnlyTheLastPositionEndsAReopenedGame) {
  auto s = Fresh();
  s->Opt.PlayMode = 1;
  s->Opt.ChessDrawRules = 0;
  MoveFollowUps f;
  f.checkGameOver = [](GameState& t, int q) { CheckGameOver(t, q); };
  // Kings b2 (White) and g7 (Black) step out and back three times, then
  // White moves on; a man each (h2, a7) keeps it from being one king each.
  std::string error;
  ASSERT_TRUE(SetupAnalysisPosition(*s, "American Checkers",
                                    "0000000003000001000000000000000000000000000000002000004000000000", 1, &error))
      << error;
  const char* moves[] = {"B2C3", "G7F6", "C3B2", "F6G7", "B2C3", "G7F6", "C3B2", "F6G7",
                         "B2C3", "G7F6", "C3B2", "F6G7", "B2A3"};
  s->Opt.Notation = 0;
  for (const char* m : moves) ASSERT_TRUE(EnterTypedMove(*s, m, f)) << m;
  ASSERT_EQ(s->Flow.GameOver, 0);
  s->Flow.GameResult = "1/2-1/2";  // agreed
  for (const std::string file : {"on.tvn", "on.pdn"}) {
    SCOPED_TRACE(file);
    auto t = Fresh();
    t->Opt.ChessDrawRules = 1;
    std::filesystem::remove(Path(file));
    ASSERT_TRUE(SaveGame(*s, Path(file), file));
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(file), file));
    EXPECT_EQ(t->P.GamePly, 13);
    EXPECT_EQ(t->board, s->board);
    EXPECT_EQ(t->Flow.GameOver, 0);
    EXPECT_EQ(t->Driver.DrawNote, "");
    if (file == "on.pdn") {
      EXPECT_EQ(t->Flow.LoadedResult, "1/2-1/2");
      EXPECT_EQ(t->Flow.GameResult, "1/2-1/2");
    }
  }
}

}  // namespace
}  // namespace m8
