#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/setposition.h"
#include "core/rules/variant_fixture.h"

using namespace m8;

namespace {

// An empty 8x8 board with the given pieces.
Board Position(std::initializer_list<std::pair<int, int>> pieces) {
  Board b = DefaultStartBoard();
  for (int c = 0; c < kCells; ++c)
    if (b[c] != kOffBoard) b[c] = 0;
  for (auto [cell, value] : pieces) b[cell] = value;
  return b;
}

// Plays one ply of a synthetic game: the move record (a capture or a
// crowning when asked), the position after it, then the draw check.
struct SyntheticGame {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  GameState& g = *state;

  void Ply(const Board& after, bool capture = false, bool crown = false) {
    ++g.P.GamePly;
    MoveRecord m;
    m.From = 32;
    m.To = 43;
    if (capture) {
      m.CapturedCount = 1;
      m.CapturedCell[0] = 54;
      m.CapturedValue[0] = 1;
    }
    m.Crown = crown ? 2 : 0;
    g.Game.GameMoves[g.P.GamePly] = m;
    g.board = after;
    g.P.SideToMove = -g.P.SideToMove;
    CheckDrawRules(g);
  }
};

const Board kKingsShuffleA = Position({{21, 2}, {98, -2}, {43, 1}, {76, -1}});
const Board kKingsShuffleB = Position({{32, 2}, {98, -2}, {43, 1}, {76, -1}});

}  // namespace

TEST(DrawRules, MoveLimitTable) {
  const int limits[][2] = {{0, 64}, {1, 100}, {2, 32}, {3, 40}, {4, 80}, {5, 100}, {-1, 100}, {7, 100}};
  for (auto [choice, plies] : limits) EXPECT_EQ(MoveLimitPlies(choice), plies) << choice;
}

TEST(DrawRules, PositionKeyListsPiecesRowByRow) {
  EXPECT_EQ(PositionKey(Position({{21, 1}, {76, -2}}), 1), "211764W");
  EXPECT_EQ(PositionKey(Position({{98, -1}, {21, 2}, {22, -2}}), -1), "212224983B");
  EXPECT_EQ(PositionKey(Position({}), 1), "W");
}

TEST(DrawRules, ThirdOccurrenceIsARepetition) {
  SyntheticGame s;
  s.Ply(kKingsShuffleA);
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  s.Ply(kKingsShuffleB);
  s.Ply(kKingsShuffleA);  // second time
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  s.Ply(kKingsShuffleB);
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  s.Ply(kKingsShuffleA);  // third time
  EXPECT_EQ(s.g.Draw.DrawReason, kDrawRepetition);
  EXPECT_EQ(s.g.Game.PositionHistory[4], PositionKey(kKingsShuffleA, s.g.P.SideToMove));
  s.Ply(Position({{23, 2}, {98, -2}, {43, 1}, {76, -1}}));
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
}

TEST(DrawRules, MoveLimitBoundaryForEveryChoice) {
  for (int choice = 0; choice <= 5; ++choice) {
    const int limit = MoveLimitPlies(choice);
    // Three plies, the third a capture, then `limit` quiet plies.
    SyntheticGame s;
    s.g.Opt.FiftyMoveChoice = choice;
    s.Ply(kKingsShuffleA);
    s.Ply(kKingsShuffleB);
    s.Ply(kKingsShuffleA, true);
    for (int i = 1; i <= limit; ++i) {
      // The positions repeat (reason 1), which the move limit overrides.
      s.Ply(i % 2 ? kKingsShuffleB : kKingsShuffleA);
      if (i < limit) {
        ASSERT_NE(s.g.Draw.DrawReason, kDrawMoveLimit) << "choice " << choice << " ply " << i;
      }
    }
    EXPECT_EQ(s.g.Draw.DrawReason, kDrawMoveLimit) << "choice " << choice;
  }
}

TEST(DrawRules, MoveLimitWithoutAnyCaptureAndCrowningsReset) {
  SyntheticGame s;
  s.g.Opt.FiftyMoveChoice = 2;  // 32 plies
  for (int i = 1; i <= 32; ++i) {
    Board b = Position({{21 + (i % 8), 2}, {45 + 10 * (i / 8), -1}, {43, 1}});
    s.Ply(b, false, i == 31);  // a crowning at ply 31 restarts the count
  }
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  // A game without capture or crowning reaches the limit at GamePly = limit.
  SyntheticGame t;
  t.g.Opt.FiftyMoveChoice = 2;
  for (int i = 1; i <= 32; ++i) {
    Board b = Position({{21 + (i % 8), 2}, {45 + 10 * (i / 8), -1}, {43, 1}});
    t.Ply(b);
    if (i == 31) {
      EXPECT_EQ(t.g.Draw.DrawReason, kNoDraw);
    }
  }
  EXPECT_EQ(t.g.Draw.DrawReason, kDrawMoveLimit);
}

TEST(DrawRules, MoveLimitReadsTheMoveRecordsNotTheCaptureCharacter) {
  // The texts were written with "x"; the option now says ":". The capture at
  // ply 2 still counts.
  SyntheticGame s;
  s.g.Opt.FiftyMoveChoice = 2;
  s.g.Texts.CaptureChar = ":";
  for (int i = 1; i <= 33; ++i) {
    Board b = Position({{21 + (i % 8), 2}, {45 + 10 * (i / 8), -1}, {43, 1}});
    s.g.Game.GameRecord[(i + 1) / 2][(i + 1) % 2] = i == 2 ? "c3e5 c3xe5" : "c3d4 c3-d4";
    s.Ply(b, i == 2);
  }
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);  // 31 plies since the capture
  FindLastIrreversiblePly(s.g, 32);
  EXPECT_EQ(s.g.Draw.MoveLimitReached, 0);
  FindLastIrreversiblePly(s.g, 33);  // 32 plies after it
  EXPECT_EQ(s.g.Draw.MoveLimitReached, 1);
}

TEST(DrawRules, MoveLimitOutranksRepetition) {
  SyntheticGame s;
  s.g.Opt.FiftyMoveChoice = 2;
  for (int i = 1; i <= 32; ++i) s.Ply(i % 2 ? kKingsShuffleA : kKingsShuffleB);
  EXPECT_EQ(s.g.Draw.DrawReason, kDrawMoveLimit);
}

TEST(DrawRules, KingAgainstKing) {
  SyntheticGame s;
  s.Ply(Position({{21, 2}, {98, -2}}), true);
  EXPECT_EQ(s.g.Draw.DrawReason, kDrawKingVersusKing);
  s.Ply(Position({{21, 1}, {34, 1}, {98, -1}, {76, -1}}));
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  s.Ply(Position({{21, 2}, {98, -1}}));  // a man left: no
  EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
}

// One king each names the draw only while the game has neither repeated nor
// reached the move limit: the kings shuffling between two squares give the
// repetition at the third occurrence and the move limit at its ply.
TEST(DrawRules, RepetitionAndMoveLimitOutrankKingAgainstKing) {
  const Board a = Position({{34, 2}, {83, -2}}), b = Position({{25, 2}, {83, -2}});
  const Board c = Position({{25, 2}, {92, -2}}), d = Position({{34, 2}, {92, -2}});
  SyntheticGame s;
  s.g.Opt.FiftyMoveChoice = 2;  // 32 plies
  const Board cycle[] = {b, c, d, a};
  for (int ply = 1; ply <= 32; ++ply) {
    s.Ply(cycle[(ply - 1) % 4]);
    // The fourth ply brings back the start, which the history does not hold:
    // each position stands for the third time at plies 9 to 12.
    const int expected = ply == 32 ? kDrawMoveLimit : ply >= 9 ? kDrawRepetition : kDrawKingVersusKing;
    ASSERT_EQ(s.g.Draw.DrawReason, expected) << "ply " << ply;
  }
}

TEST(DrawRules, ThreeKingsAgainstOne) {
  const Board three = Position({{21, 2}, {23, 2}, {25, 2}, {98, -2}});
  const Board threeMoved = Position({{21, 2}, {23, 2}, {34, 2}, {98, -2}});
  {
    // NumberKings 0: the ply after the start is recorded gives the draw.
    SyntheticGame s;
    s.g.Rules.ThreeKings = 1;
    s.Ply(kKingsShuffleA);
    s.Ply(three, true);
    EXPECT_EQ(s.g.Draw.ThreeKingsStartPly, 2);
    EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
    s.Ply(threeMoved);
    EXPECT_EQ(s.g.Draw.DrawReason, kDrawThreeKings);
    // Once reached it stays, whatever follows.
    s.Ply(kKingsShuffleA);
    EXPECT_EQ(s.g.Draw.DrawReason, kDrawThreeKings);
    EXPECT_EQ(s.g.Draw.ThreeKingsStartPly, 2);
  }
  {
    // NumberKings 16: reason when GamePly - start + 2 first exceeds 32.
    SyntheticGame s;
    s.g.Rules.ThreeKings = 1;
    s.g.Rules.NumberKings = 16;
    s.Ply(three, true);  // start ply 1
    for (int ply = 2; ply <= 31; ++ply) {
      s.Ply(ply % 2 ? three : threeMoved);  // repeats: reason 1 until then
      ASSERT_NE(s.g.Draw.DrawReason, kDrawThreeKings) << ply;
    }
    s.Ply(threeMoved);  // ply 32: 32 - 1 + 2 = 33 > 32
    EXPECT_EQ(s.g.Draw.DrawReason, kDrawThreeKings);
  }
  {
    // Rule off: no reason, no start ply; the ending gone resets the start.
    SyntheticGame s;
    s.Ply(three, true);
    s.Ply(threeMoved);
    EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
    EXPECT_EQ(s.g.Draw.ThreeKingsStartPly, 0);
    s.g.Rules.ThreeKings = 1;
    s.Ply(three);
    EXPECT_EQ(s.g.Draw.ThreeKingsStartPly, 3);
    s.Ply(Position({{21, 2}, {23, 2}, {25, 1}, {98, -2}}));  // a man again
    EXPECT_EQ(s.g.Draw.ThreeKingsStartPly, 0);
  }
}

TEST(DrawRules, TwoKingsAgainstOne) {
  const Board two = Position({{21, 2}, {23, 2}, {98, -2}});
  const Board twoMoved = Position({{21, 2}, {34, 2}, {98, -2}});
  {
    SyntheticGame s;
    s.g.Rules.TwoKings = 1;
    s.g.Rules.NumberKings2 = 2;
    s.Ply(two, true);  // start ply 1
    EXPECT_EQ(s.g.Draw.TwoKingsStartPly, 1);
    s.Ply(twoMoved);
    s.Ply(two);  // 3 - 1 + 2 = 4, not above 4
    EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
    s.Ply(twoMoved);  // 5 > 4
    EXPECT_EQ(s.g.Draw.DrawReason, kDrawTwoKings);
    s.Ply(Position({{21, 2}, {34, 2}, {98, -2}, {97, -2}}));  // other material
    EXPECT_EQ(s.g.Draw.TwoKingsStartPly, 0);
    EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  }
  {
    // Rule off leaves the start ply as it was.
    SyntheticGame s;
    s.g.Draw.TwoKingsStartPly = 7;
    s.Ply(two, true);
    EXPECT_EQ(s.g.Draw.TwoKingsStartPly, 7);
    EXPECT_EQ(s.g.Draw.DrawReason, kNoDraw);
  }
}

TEST(DrawRules, CountRepetitionsAndOneKingEach) {
  SyntheticGame s;
  s.Ply(kKingsShuffleA);
  s.Ply(kKingsShuffleB);
  s.Ply(kKingsShuffleA);
  s.g.board = kKingsShuffleA;
  CountRepetitions(s.g, 2);
  EXPECT_EQ(s.g.Eval.DrawnPosition, 2);
  CountRepetitions(s.g, 1);
  EXPECT_EQ(s.g.Eval.DrawnPosition, 1);
  CountRepetitions(s.g, -1);
  EXPECT_EQ(s.g.Eval.DrawnPosition, 0);
  s.g.board = Position({{55, 2}, {66, -2}});
  CountRepetitions(s.g, 2);
  EXPECT_EQ(s.g.Eval.DrawnPosition, 0);
  EXPECT_EQ(s.g.Draw.OneKingEach, 1);
  s.g.board = kKingsShuffleA;
  CountRepetitions(s.g, 2000);  // beyond the table: only shortened
  EXPECT_EQ(s.g.Draw.OneKingEach, 1);  // never cleared here
}

TEST(DrawRules, DrawRuleEndsGameFollowsOptionsAndRules) {
  struct Case {
    int reason, chess, kvk, threeKings, twoKings;
    bool ends;
  } cases[] = {
      {kNoDraw, 1, 1, 1, 1, false},          {kDrawRepetition, 1, 0, 0, 0, true},
      {kDrawRepetition, 0, 1, 1, 1, false},  {kDrawMoveLimit, 1, 0, 0, 0, true},
      {kDrawMoveLimit, 0, 1, 1, 1, false},   {kDrawKingVersusKing, 0, 1, 0, 0, true},
      {kDrawKingVersusKing, 1, 0, 1, 1, false}, {kDrawThreeKings, 0, 0, 1, 0, true},
      {kDrawThreeKings, 1, 1, 0, 1, false},  {kDrawTwoKings, 0, 0, 0, 1, true},
      {kDrawTwoKings, 1, 1, 1, 0, false},
  };
  auto state = std::make_unique<GameState>();
  GameState& g = *state;
  for (const auto& c : cases) {
    g.Draw.DrawReason = c.reason;
    g.Opt.ChessDrawRules = c.chess;
    g.Opt.KingVersusKing = c.kvk;
    g.Rules.ThreeKings = c.threeKings;
    g.Rules.TwoKings = c.twoKings;
    EXPECT_EQ(DrawRuleEndsGame(g), c.ends) << "reason " << c.reason;
  }
}

TEST(DrawRules, GamePlyOutsideTheRecordChangesNothing) {
  auto state = std::make_unique<GameState>();
  GameState& g = *state;
  g.P.GamePly = 0;
  CheckDrawRules(g);
  EXPECT_EQ(g.Draw.DrawReason, kNoDraw);
  g.P.GamePly = kMaxGamePly + 1;
  CheckDrawRules(g);
  EXPECT_EQ(g.Draw.DrawReason, kNoDraw);
  MoveRecord m;
  EXPECT_FALSE(RecordGameMove(g, m));
  g.P.GamePly = 3;
  g.Texts.CaptureSquaresText = "c3e5";
  g.Texts.MoveText = "c3xe5";
  m.To = 45;
  EXPECT_TRUE(RecordGameMove(g, m));
  EXPECT_EQ(g.Game.GameRecord[2][0], "c3e5 c3xe5");
  EXPECT_EQ(g.Game.GameMoves[3].To, 45);
  EXPECT_EQ(g.Game.GameLength, 3);
}

// Games played move by move, as the game flow plays them: the move, its
// record in the game record, then the draw check.
namespace {

struct PlayedGame {
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  GameState& g = *state;

  // Sets up a position with `side` to move under American Checkers rules.
  PlayedGame(std::initializer_list<std::pair<int, int>> pieces, int side) {
    g.ProgramFolder = M8_DATA_DIR;
    g.Opt.Notation = 0;
    if (!m8::testing::StartVariant(g, "American Checkers")) throw std::runtime_error("no American Checkers rules");
    SetRootPosition(g, Position(pieces), side);
  }

  void Play(const char* text) {
    ASSERT_TRUE(PlayMoveString(g, text)) << text << " at ply " << g.P.GamePly;
    ASSERT_TRUE(RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]));
    CheckDrawRules(g);
  }

  // `plies` plies of a four-ply cycle of moves, chosen by the game ply.
  void Shuffle(int plies, const std::array<const char*, 4>& cycle) {
    for (int i = 0; i < plies; ++i) Play(cycle[g.P.GamePly % 4]);
  }
};

// White king on b2 with a man on a1, Black king on g7 with a man on h8.
const std::initializer_list<std::pair<int, int>> kQuietKings = {{21, 1}, {32, 2}, {87, -2}, {98, -1}};

}  // namespace

TEST(DrawRulesPlayed, RepetitionOnTheThirdOccurrence) {
  PlayedGame p(kQuietKings, 1);
  for (int ply = 1; ply <= 8; ++ply) {
    p.Shuffle(1, {"B2C3", "G7F6", "C3B2", "F6G7"});
    ASSERT_EQ(p.g.Draw.DrawReason, kNoDraw) << ply;
  }
  p.Shuffle(1, {"B2C3", "G7F6", "C3B2", "F6G7"});  // third time on c3 and g7
  EXPECT_EQ(p.g.Draw.DrawReason, kDrawRepetition);
  EXPECT_TRUE(DrawRuleEndsGame(p.g));
  p.g.Opt.ChessDrawRules = 0;
  EXPECT_FALSE(DrawRuleEndsGame(p.g));
}

// Flying kings (white c1 and a3, black h8 and f8): the white king walks round
// c1-e3-d2-c1 while the black king shuttles h8-g7. The pieces stand alike
// after plies 1, 8 and 13, but at ply 8 with the other side to move; the
// same position with the same side to move comes a third time at ply 25.
TEST(DrawRulesPlayed, RepetitionCountsTheSideToMove) {
  PlayedGame p({{23, 2}, {41, 2}, {98, -2}, {96, -2}}, 1);
  p.g.Rules.LongKings = 1;
  const char* white[] = {"C1E3", "E3D2", "D2C1"};
  const char* black[] = {"H8G7", "G7H8"};
  for (int ply = 1; ply <= 25; ++ply) {
    p.Play(ply % 2 == 1 ? white[(ply / 2) % 3] : black[(ply / 2 - 1) % 2]);
    ASSERT_EQ(p.g.Draw.DrawReason, ply == 25 ? kDrawRepetition : kNoDraw) << "ply " << ply;
  }
  EXPECT_EQ(p.g.Game.PositionHistory[24], p.g.Game.PositionHistory[0]);
  EXPECT_NE(p.g.Game.PositionHistory[7], p.g.Game.PositionHistory[0]);
}

TEST(DrawRulesPlayed, MoveLimitForEveryChoice) {
  for (int choice = 0; choice <= 4; ++choice) {
    const int limit = MoveLimitPlies(choice);
    {
      // No capture at all: the limit is reached at ply `limit`.
      PlayedGame p(kQuietKings, 1);
      p.g.Opt.FiftyMoveChoice = choice;
      p.Shuffle(limit - 1, {"B2C3", "G7F6", "C3B2", "F6G7"});
      EXPECT_NE(p.g.Draw.DrawReason, kDrawMoveLimit) << choice;
      p.Shuffle(1, {"B2C3", "G7F6", "C3B2", "F6G7"});
      EXPECT_EQ(p.g.Draw.DrawReason, kDrawMoveLimit) << choice;
    }
    {
      // A capture on ply 1: the limit counts from it.
      PlayedGame p({{21, 1}, {32, 2}, {43, -1}, {87, -2}, {98, -1}}, 1);
      p.g.Opt.FiftyMoveChoice = choice;
      p.Play("B2D4");
      ASSERT_EQ(p.g.Game.GameRecord[1][0], "b2d4 b2xd4");
      p.g.Texts.CaptureChar = ":";  // changing the option mid-game changes nothing
      p.Shuffle(limit - 1, {"C3D4", "G7F6", "D4C3", "F6G7"});  // limit - 1 plies since the capture
      EXPECT_NE(p.g.Draw.DrawReason, kDrawMoveLimit) << choice;
      p.Shuffle(1, {"C3D4", "G7F6", "D4C3", "F6G7"});
      EXPECT_EQ(p.g.Draw.DrawReason, kDrawMoveLimit) << choice;
    }
  }
}

TEST(DrawRulesPlayed, KingAgainstKingAfterTheLastCapture) {
  PlayedGame p({{32, 2}, {43, -1}, {87, -2}}, 1);
  EXPECT_EQ(p.g.Draw.DrawReason, kNoDraw);
  p.Play("B2D4");
  EXPECT_EQ(p.g.Draw.DrawReason, kDrawKingVersusKing);
  EXPECT_TRUE(DrawRuleEndsGame(p.g));
  p.g.Opt.KingVersusKing = 0;
  EXPECT_FALSE(DrawRuleEndsGame(p.g));
}

TEST(DrawRulesPlayed, ThreeKingsAndTwoKingsAgainstOne) {
  struct Case {
    bool threeKings;  // else two kings
    int rule, moves, drawAtPly;  // 0: never within 8 plies
  } cases[] = {
      {true, 1, 2, 4}, {true, 1, 0, 2}, {true, 0, 2, 0}, {false, 1, 1, 2}, {false, 1, 3, 6}, {false, 0, 1, 0},
  };
  for (const auto& c : cases) {
    std::initializer_list<std::pair<int, int>> three = {{21, 2}, {23, 2}, {25, 2}, {98, -2}};
    std::initializer_list<std::pair<int, int>> two = {{21, 2}, {25, 2}, {98, -2}};
    PlayedGame p(c.threeKings ? three : two, 1);
    p.g.Rules.ThreeKings = c.threeKings ? c.rule : 0;
    p.g.Rules.NumberKings = c.threeKings ? c.moves : 0;
    p.g.Rules.TwoKings = c.threeKings ? 0 : c.rule;
    p.g.Rules.NumberKings2 = c.threeKings ? 0 : c.moves;
    const int reason = c.threeKings ? kDrawThreeKings : kDrawTwoKings;
    for (int ply = 1; ply <= 8; ++ply) {
      p.Shuffle(1, {"A1B2", "H8G7", "B2A1", "G7H8"});
      if (ply == 1) {
        EXPECT_EQ(c.threeKings ? p.g.Draw.ThreeKingsStartPly : p.g.Draw.TwoKingsStartPly, c.rule == 1 ? 1 : 0);
      }
      if (c.drawAtPly == 0 || ply < c.drawAtPly) {
        ASSERT_NE(p.g.Draw.DrawReason, reason) << c.threeKings << " ply " << ply;
      } else {
        ASSERT_EQ(p.g.Draw.DrawReason, reason) << c.threeKings << " ply " << ply;
        EXPECT_TRUE(DrawRuleEndsGame(p.g));
        break;
      }
    }
  }
}
