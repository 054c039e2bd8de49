// Making and taking back moves, the material bookkeeping, PlayMoveString and
// the table limits of the generator.
#include <gtest/gtest.h>

#include "core/rules/movegen.h"
#include "core/rules/movegen_fixture.h"
#include "core/rules/notation.h"

namespace m8 {
namespace {

using namespace m8::testing;
using Texts = std::vector<std::string>;

struct RecordingHost : Host {
  std::vector<std::pair<std::string, std::string>> messages;
  void message(Icon, std::string_view title, std::string_view text) override {
    messages.emplace_back(title, text);
  }
};

// Generates the legal moves and returns the index of the one with this text.
int Find(GameState& g, std::string_view text) {
  GenerateLegalMoves(g);
  for (int k = g.P.PlyStart[g.P.Ply]; k < g.P.PlyStart[g.P.Ply + 1]; ++k)
    if (RecordText(g.P.MoveList[k]) == text) return k;
  ADD_FAILURE() << "no move " << text;
  return -1;
}

// Makes the move, checks the material against the board, takes it back and
// checks that the position is as before. Returns the board after the move.
Board MakeAndTakeBack(GameState& g, std::string_view text) {
  const Board before = g.board;
  const int side = g.P.SideToMove;
  const int k = Find(g, text);
  if (k < 0) return before;
  EXPECT_TRUE(MakeMove(g, k));
  const Board after = g.board;
  EXPECT_EQ(g.P.MaterialBalance[1], RecountBalance(g)) << text;
  EXPECT_EQ(g.P.BoardMaterial[1], RecountTotal(g)) << text;
  EXPECT_EQ(g.P.SideToMove, -side);
  EXPECT_TRUE(UnmakeMove(g, k));
  EXPECT_EQ(g.board, before) << text;
  EXPECT_EQ(g.P.SideToMove, side);
  EXPECT_EQ(g.P.Ply, 0);
  EXPECT_EQ(g.P.GamePly, 0);
  return after;
}

TEST(MakeMove, CaptureOfManAndKingLowersMaterial) {
  auto g = NewGame(RuleSet{});
  PlacePieces(*g, "w:c3 B:d4 b:f6", 1);
  ASSERT_EQ(g->P.MaterialBalance[0], -200);
  const Board after = MakeAndTakeBack(*g, "c3:g7(d4K,f6)");
  EXPECT_EQ(after[Cell("g7")], 1);
  EXPECT_EQ(after[Cell("d4")], 0);
  EXPECT_EQ(after[Cell("f6")], 0);
  const int k = Find(*g, "c3:g7(d4K,f6)");
  MakeMove(*g, k);
  EXPECT_EQ(g->P.MaterialBalance[1], 200 - 300);
  EXPECT_EQ(g->P.BoardMaterial[1], 400 - 300);
  EXPECT_EQ(g->P.LastMoveTactical[1], 1);
  EXPECT_EQ(g->P.PlyDestination[1], Cell("g7"));
  EXPECT_EQ(g->Game.HistDestination[1], Cell("g7"));
}

TEST(MakeMove, KingCaptureBackToItsStart) {
  RuleSet r;
  r.KingMan = 1;  // does not act on a king that ends where it started
  auto g = NewGame(r);
  PlacePieces(*g, "W:c3 b:d4 b:f4 b:f2 b:d2", 1);
  // Round either way, the same four men: one move.
  EXPECT_EQ(LegalTexts(*g), (Texts{"c3:c3(d4,f4,f2,d2)"}));
  const Board after = MakeAndTakeBack(*g, "c3:c3(d4,f4,f2,d2)");
  Board expected{};
  PlacePieces(*g, "W:c3", 1);
  expected = g->board;
  EXPECT_EQ(after, expected);
}

TEST(MakeMove, RuleEffects) {
  {
    SCOPED_TRACE("KingMan: a capturing king ends as a man");
    RuleSet r;
    r.KingMan = 1;
    auto g = NewGame(r);
    PlacePieces(*g, "W:c3 b:d4 b:h8", 1);
    EXPECT_EQ(MakeAndTakeBack(*g, "c3:e5(d4)")[Cell("e5")], 1);
    PlacePieces(*g, "W:a1 b:h8", 1);
    EXPECT_EQ(MakeAndTakeBack(*g, "a1-b2")[Cell("b2")], 2);  // a plain king move stays a king
    PlacePieces(*g, "w:c3 b:d4", 1);
    EXPECT_EQ(MakeAndTakeBack(*g, "c3:e5(d4)")[Cell("e5")], 1);
  }
  {
    SCOPED_TRACE("ChangeSide: the new king goes to the opponent");
    RuleSet r;
    r.ChangeSide = 1;
    auto g = NewGame(r);
    PlacePieces(*g, "w:a7 b:h2", 1);
    const Board after = MakeAndTakeBack(*g, "a7-b8K");
    EXPECT_EQ(after[Cell("b8")], -2);
    EXPECT_EQ(after[Cell("a7")], 0);
  }
  {
    SCOPED_TRACE("ManKing: a side's last man is crowned");
    RuleSet r;
    r.ManKing = 1;
    auto g = NewGame(r);
    PlacePieces(*g, "w:c3 w:a1 b:e7", 1);
    EXPECT_EQ(MakeAndTakeBack(*g, "c3-d4")[Cell("e7")], -2);
    PlacePieces(*g, "w:c3 w:a1 B:e7", 1);
    EXPECT_EQ(MakeAndTakeBack(*g, "c3-d4")[Cell("e7")], -2);
    PlacePieces(*g, "w:c3 w:a1 b:e7 b:g7", 1);
    const Board after = MakeAndTakeBack(*g, "c3-d4");
    EXPECT_EQ(after[Cell("e7")], -1);
    EXPECT_EQ(after[Cell("g7")], -1);
  }
  {
    SCOPED_TRACE("placement from off the board");
    RuleSet r;
    r.canContract = 1;
    r.ContractW1 = r.ContractW2 = 2;
    r.ContractB1 = r.ContractB2 = 9;
    auto g = NewGame(r);
    PlacePieces(*g, "w:a1 b:h8", 1);
    g->Mat.WhiteToPlace = 2;
    const int k = Find(*g, "@c1");
    ASSERT_GE(k, 0);
    ASSERT_TRUE(MakeMove(*g, k));
    EXPECT_EQ(g->board[Cell("c1")], 1);
    EXPECT_EQ(g->Mat.WhiteToPlace, 1);
    EXPECT_EQ(g->P.MaterialBalance[1], RecountBalance(*g));
    EXPECT_EQ(g->P.BoardMaterial[1], RecountTotal(*g));
    ASSERT_TRUE(UnmakeMove(*g, k));
    EXPECT_EQ(g->board[Cell("c1")], 0);
    EXPECT_EQ(g->Mat.WhiteToPlace, 2);
  }
}

TEST(MakeMove, RefusesAtTheEndOfThePlyTables) {
  auto g = NewGame(RuleSet{});
  GenerateLegalMoves(*g);
  const Board before = g->board;
  g->P.Ply = kMaxPly;
  EXPECT_FALSE(MakeMove(*g, 0));
  g->P.Ply = 0;
  g->P.GamePly = kMaxGamePly;
  EXPECT_FALSE(MakeMove(*g, 0));
  g->P.GamePly = 0;
  EXPECT_FALSE(UnmakeMove(*g, 0));
  EXPECT_FALSE(MakeMove(*g, -1));
  EXPECT_FALSE(MakeMove(*g, kMoveListSize));
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(g->P.Ply, 0);
  EXPECT_EQ(g->P.GamePly, 0);
}

TEST(PlayMoveString, MatchesTypedMoves) {
  auto g = NewGame(RuleSet{});
  PlacePieces(*g, "w:c3 b:d4 b:f6 w:a7 b:h2", 1);
  g->Opt.Notation = 0;
  const Board before = g->board;
  EXPECT_FALSE(PlayMoveString(*g, "C3B4"));  // a capture is compulsory
  EXPECT_FALSE(PlayMoveString(*g, "c3g7"));  // algebraic names are upper case
  EXPECT_FALSE(PlayMoveString(*g, "C3"));
  EXPECT_FALSE(PlayMoveString(*g, ""));
  EXPECT_FALSE(PlayMoveString(*g, "Z9"));
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(g->P.GamePly, 0);
  ASSERT_TRUE(PlayMoveString(*g, "C3G7"));
  EXPECT_EQ(g->P.PlayedCapture, 1);
  EXPECT_EQ(g->P.PlayedCrowning, 0);
  EXPECT_EQ(g->Texts.MoveText, "c3xg7");
  EXPECT_EQ(g->Texts.CaptureSquaresText, "c3g7");
  EXPECT_EQ(g->P.GamePly, 1);
  EXPECT_EQ(g->P.SideToMove, -1);
  EXPECT_EQ(g->board[Cell("g7")], 1);
  ASSERT_TRUE(PlayMoveString(*g, "H2G1"));
  EXPECT_EQ(g->P.PlayedCrowning, 1);
  EXPECT_EQ(g->board[Cell("g1")], -2);

  // Numbered squares.
  auto n = NewGame(RuleSet{});
  n->Opt.Notation = 1;
  ASSERT_TRUE(PlayMoveString(*n, "1115"));
  EXPECT_EQ(n->Texts.MoveText, "11-15");
}

TEST(PlayMoveString, TwoCharacterTexts) {
  RuleSet r;
  r.canContract = 1;
  r.ContractW1 = r.ContractW2 = 2;
  r.ContractB1 = r.ContractB2 = 9;
  auto g = NewGame(r);
  g->Opt.Notation = 0;
  PlacePieces(*g, "w:a1 b:h8", 1);
  g->Mat.WhiteToPlace = 1;
  // A four-character text never names a placement.
  EXPECT_FALSE(PlayMoveString(*g, "A1C1"));
  EXPECT_EQ(g->board[Cell("c1")], 0);
  ASSERT_TRUE(PlayMoveString(*g, "C1"));
  EXPECT_EQ(g->board[Cell("c1")], 1);
  EXPECT_EQ(g->Texts.MoveText, "c1");
  // A king that captures its way back to its square is named by that square.
  auto k = NewGame(RuleSet{});
  k->Opt.Notation = 0;
  PlacePieces(*k, "W:c3 b:d4 b:f4 b:f2 b:d2", 1);
  ASSERT_TRUE(PlayMoveString(*k, "C3"));
  EXPECT_EQ(k->board[Cell("c3")], 2);
  EXPECT_EQ(k->board[Cell("d4")], 0);
}

TEST(PlayMoveString, TouchMove) {
  auto g = NewGame(RuleSet{});
  g->Opt.Notation = 0;
  g->Opt.TouchMove = 1;
  PlacePieces(*g, "w:a1 w:c3 b:h8", 1);
  g->P.TouchedSquare = Cell("a1");
  EXPECT_FALSE(PlayMoveString(*g, "C3D4"));
  ASSERT_TRUE(PlayMoveString(*g, "A1B2"));
  EXPECT_EQ(g->P.TouchedSquare, 0);
  // Without the option the touched piece does not matter.
  g->Opt.TouchMove = 0;
  g->P.TouchedSquare = Cell("c3");
  EXPECT_TRUE(PlayMoveString(*g, "H8G7"));
}

TEST(MoveGenLimits, FullMoveListIsReported) {
  auto g = NewGame(RuleSet{});
  g->P.PlyStart[0] = kMoveListSize - 3;
  EXPECT_FALSE(GenerateMoves(*g, 1));
  EXPECT_EQ(g->P.GenError, static_cast<int>(MoveGenError::MoveListFull));
  EXPECT_EQ(g->P.StopRequest, 1);
  EXPECT_EQ(g->P.MoveListEnd, kMoveListSize);
  EXPECT_EQ(g->P.PlyStart[1], kMoveListSize);
  EXPECT_FALSE(GenerateLegalMoves(*g));
  // Generation at an impossible ply writes nothing.
  g->P.Ply = kMaxPly + 1;
  EXPECT_FALSE(GenerateMoves(*g, 0));
  EXPECT_EQ(g->P.GenError, static_cast<int>(MoveGenError::PlyOutOfRange));
}

TEST(MoveGenLimits, CaptureLongerThanARecordIsReported) {
  // An orthogonal flying king on a crowded board can take more pieces in one
  // move than a record holds.
  RuleSet r = TurkishRules();
  r.MaxCapMove = 0;
  auto g = NewGame(r);
  RecordingHost host;
  g->host = &host;
  SetPosition(*g,
              "b.b.b.bb"
              ".b......"
              "b.bb.b.."
              ".....bbb"
              "b..b...."
              "Wb...bb."
              "bb..bb.."
              ".b...b.b",
              1);
  const Board before = g->board;
  EXPECT_FALSE(GenerateMoves(*g, 0));
  EXPECT_EQ(g->P.GenError, static_cast<int>(MoveGenError::TooManyCaptured));
  EXPECT_EQ(g->board, before);
  EXPECT_EQ(g->P.StopRequest, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].first, "Error");
  EXPECT_EQ(host.messages[0].second.substr(0, 2), "X=");
  for (int k = g->P.PlyStart[0]; k < g->P.MoveListEnd; ++k)
    EXPECT_LE(g->P.MoveList[k].CapturedCount, kMaxCaptured);
  EXPECT_FALSE(PlayMoveString(*g, "A3B3"));
  EXPECT_EQ(g->board, before);
}

}  // namespace
}  // namespace m8
