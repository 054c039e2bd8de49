#include "core/game/navigation.h"

#include <vector>

#include "core/game/gameover.h"
#include "core/game/moveexec.h"
#include "core/rules/drawrules.h"
#include "core/rules/notation.h"
#include "gameflow_fixture.h"

namespace m8::gameflow_test {
namespace {

// The compact text of a move record, as the user would give it.
std::string TextOf(GameState& g, const MoveRecord& m) {
  MoveString(g, m);
  std::string t = g.Texts.CaptureSquaresText;
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return t;
}

struct Shown {
  Board board;
  int side;
  bool operator==(const Shown&) const = default;
};

// A game of `plies` plies, each the first legal move; the positions after
// every ply (index 0 the start).
std::vector<Shown> PlayFirstMoves(FlowGame& game, int plies) {
  GameState& g = *game.g;
  std::vector<Shown> shown{{g.board, g.P.SideToMove}};
  for (int k = 0; k < plies; ++k) {
    ResetPly(g);
    GenerateLegalMoves(g);
    game.Play(TextOf(g, g.P.MoveList[g.P.PlyStart[0]]));
    shown.push_back({g.board, g.P.SideToMove});
  }
  return shown;
}

Shown Now(const GameState& g) { return {g.board, g.P.SideToMove}; }

TEST(Navigation, BackAndForthRestoresPositionsSelectionAndCommands) {
  FlowGame game;
  GameState& g = *game.g;
  const auto shown = PlayFirstMoves(game, 8);
  g.Rating.RatedGame = 1;

  FirstCommand(g);
  EXPECT_EQ(Now(g), shown[0]);
  EXPECT_EQ(g.P.GamePly, 0);
  EXPECT_EQ(g.Game.GameLength, 8);  // navigation keeps the stored game
  EXPECT_EQ(g.Driver.MoveListSelected, -1);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_FALSE(game.host->isEnabled(Command::First));
  EXPECT_FALSE(game.host->isEnabled(Command::Back));
  EXPECT_TRUE(game.host->isEnabled(Command::Forward));
  EXPECT_TRUE(game.host->isEnabled(Command::Last));
  EXPECT_EQ(g.Search.EngineOutputText, "no calculation");

  GotoMove(g, -3, 0, 0);
  EXPECT_EQ(Now(g), shown[3]);
  EXPECT_EQ(g.Driver.MoveListSelected, 2);
  EXPECT_TRUE(game.host->isEnabled(Command::First));
  EXPECT_TRUE(game.host->isEnabled(Command::Back));

  ForwardCommand(g);
  EXPECT_EQ(Now(g), shown[4]);
  EXPECT_EQ(g.Driver.MoveListSelected, 3);

  BackCommand(g);
  EXPECT_EQ(Now(g), shown[3]);
  EXPECT_EQ(g.Driver.MoveListSelected, 2);

  GotoMoveListLine(g, 6);  // the line of ply 7
  EXPECT_EQ(Now(g), shown[7]);

  LastCommand(g);
  EXPECT_EQ(Now(g), shown[8]);
  EXPECT_EQ(g.Driver.MoveListSelected, 7);
  EXPECT_FALSE(game.host->isEnabled(Command::Forward));
  EXPECT_FALSE(game.host->isEnabled(Command::Last));

  // The legal moves of the shown position are listed for the next move.
  EXPECT_EQ(g.P.Ply, 0);
  EXPECT_GT(g.P.PlyStart[1], 0);
  EXPECT_FALSE(g.Driver.LegalMoveLines.empty());

  // Stepping the whole way forward one ply at a time meets every position.
  FirstCommand(g);
  for (int k = 1; k <= 8; ++k) {
    StepForward(g);
    EXPECT_EQ(Now(g), shown[k]) << k;
  }
  StepForward(g);  // nothing is stored further
  EXPECT_EQ(g.P.GamePly, 8);
}

TEST(Navigation, CommandsRefusedWhileBusyAndAtTheEnds) {
  FlowGame game;
  GameState& g = *game.g;
  PlayFirstMoves(game, 4);
  g.Flow.Busy = 1;
  g.Driver.RootScoreLines = {"root"};
  FirstCommand(g);
  LastCommand(g);
  GotoMoveListLine(g, 0);
  EXPECT_EQ(g.P.GamePly, 4);
  EXPECT_EQ(g.Driver.RootScoreLines.size(), 1u);  // not even the root list is emptied
  g.Flow.Busy = 0;
  LastCommand(g);  // already at the end: only the root list is emptied
  EXPECT_EQ(g.P.GamePly, 4);
  EXPECT_TRUE(g.Driver.RootScoreLines.empty());
  GotoMoveListLine(g, 3);  // the line of the shown ply
  EXPECT_EQ(g.P.GamePly, 4);
}

TEST(Navigation, TakingBackPutsThePlayerBesideTheSideToMoveAndReopensAFinishedGame) {
  for (int mode : {0, 1}) {
    FlowGame game;
    GameState& g = *game.g;
    g.Opt.PlayMode = mode;
    PlayFirstMoves(game, 3);
    // White (the player) made the last move and won; the names kept their
    // sides. Taken back, Black is to move and the player takes it.
    g.Flow.PlayerName1 = mode == 0 ? "Computer" : "Player";
    g.Flow.PlayerName2 = "Player";
    g.Flow.GameOver = 1;
    g.Draw.DrawReason = 2;
    g.Search.HintFrom = 22;
    g.Eval.PrioritySquare = 54;
    game.host->enabled.clear();
    GotoMove(g, 1, 0, 0);
    EXPECT_EQ(g.Eval.PrioritySquare, 0);
    EXPECT_EQ(g.Flow.PlayerName1, "Player");
    EXPECT_EQ(g.Flow.PlayerName2, mode == 0 ? "Computer" : "Player");
    EXPECT_EQ(g.Flow.GameOver, 0);
    EXPECT_EQ(g.Draw.DrawReason, 0);
    EXPECT_EQ(g.Search.HintFrom, 0);
    for (Command c : {Command::Compute, Command::Analyze, Command::Hint, Command::LegalMoves,
                      Command::ComputerComputer})
      EXPECT_TRUE(game.host->isEnabled(c));
    EXPECT_EQ(game.host->enabled.count(Command::OfferDraw), mode == 0 ? 1u : 0u);
    EXPECT_EQ(game.host->enabled.count(Command::Resign), mode == 0 ? 1u : 0u);
  }
}

TEST(Navigation, RootScoresForgottenUnlessKept) {
  for (int keep : {0, 1}) {
    FlowGame game;
    GameState& g = *game.g;
    PlayFirstMoves(game, 2);
    g.Driver.RootScores[0][0] = 22;
    g.Driver.RootScores[1][0] = 18;
    g.Driver.RootScores[2][0] = 35;
    GotoMove(g, 1, keep, 0);
    EXPECT_EQ(g.Driver.RootScores[2][0], keep ? 35 : kNoRootScore);
    EXPECT_EQ(g.Driver.RootScores[1][0], 18);
    EXPECT_FALSE(game.host->isEnabled(Command::RootScores));
  }
}

TEST(Navigation, LoadedResultShownAtTheLastPly) {
  FlowGame game;
  GameState& g = *game.g;
  PlayFirstMoves(game, 4);
  g.Flow.LoadedResult = "1-0";
  GotoMove(g, 2, 0, 0);
  StepForward(g);
  EXPECT_EQ(game.host->status(), "");
  StepForward(g);
  EXPECT_EQ(game.host->status(), "1-0");
}

TEST(Navigation, ReplayingIntoAThirdRepetitionEndsTheGame) {
  FlowGame game;
  GameState& g = *game.g;
  // Two kings each, far apart; the kings on 21 and 98 step out and back.
  game.Setup(Digits({{21, '3'}, {23, '3'}, {98, '4'}, {96, '4'}}), -1);
  auto name = [&](int cell) {
    std::string s = SquareNotation(g, cell, 0);
    return s;
  };
  const std::string out1 = name(98) + name(87), back1 = name(87) + name(98);
  const std::string out2 = name(21) + name(32), back2 = name(32) + name(21);
  for (int round = 0; round < 3; ++round) {
    game.Play(out1);
    game.Play(out2);
    game.Play(back1);
    game.Play(back2);
  }
  EXPECT_EQ(g.Draw.DrawReason, 1);
  GotoMove(g, 1, 0, 0);
  EXPECT_EQ(g.Flow.GameOver, 0);
  game.host->messages.clear();
  StepForward(g);
  EXPECT_EQ(g.Draw.DrawReason, 1);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_TRUE(game.HasMessage("Congratulations|It's a draw! Triple Repetition"));
}

// One king each, with the option that ends such a game off: the kings
// shuffle until a position stands for the third time, in play and again when
// the game is replayed into it, and the draw is the repetition.
TEST(Navigation, ARepetitionOfOneKingEachEndsTheGameByTheRepetition) {
  FlowGame game;
  GameState& g = *game.g;
  g.Opt.KingVersusKing = 0;
  game.Setup(Digits({{21, '3'}, {98, '4'}}), -1);
  const std::string cells[] = {"9887", "2132", "8798", "3221"};
  std::vector<std::string> moves;
  for (int k = 0; k < 12; ++k) {
    const std::string& c = cells[k % 4];
    moves.push_back(SquareNotation(g, std::stoi(c.substr(0, 2)), 0) + SquareNotation(g, std::stoi(c.substr(2)), 0));
  }
  g.Opt.PlayMode = 1;  // two players, through the move path of the game
  MoveFollowUps f;
  f.checkGameOver = [](GameState& s, int quiet) { CheckGameOver(s, quiet, GameOverPause::None); };
  for (size_t k = 0; k < moves.size() && g.Flow.GameOver == 0; ++k) ASSERT_TRUE(EnterTypedMove(g, moves[k], f)) << k;
  // The position after ply 1 stands for the third time after ply 9.
  EXPECT_EQ(g.P.GamePly, 9);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_EQ(g.Draw.DrawReason, kDrawRepetition);
  EXPECT_TRUE(game.HasMessage("Congratulations|It's a draw! Triple Repetition"));
  GotoMove(g, g.P.GamePly - 8, 0, 0);
  ASSERT_EQ(g.P.GamePly, 8);
  EXPECT_EQ(g.Flow.GameOver, 0);
  game.host->messages.clear();
  StepForward(g);
  EXPECT_EQ(g.Draw.DrawReason, kDrawRepetition);
  EXPECT_EQ(g.Flow.GameOver, 1);
  EXPECT_TRUE(game.HasMessage("Congratulations|It's a draw! Triple Repetition"));
}

TEST(Navigation, StoredKeysOfPlacementsAndShortNumbers) {
  FlowGame game;
  GameState& g = *game.g;
  g.Game.GameRecord[1][0] = " 9 5  9- 5";
  g.Game.GameMoves[1].From = 27;
  g.Game.GameRecord[1][1] = "18 18";
  g.Game.GameMoves[2].From = kNoSquare;
  EXPECT_EQ(StoredPlyKey(g, 1), " 9 5");
  EXPECT_EQ(StoredPlyKey(g, 2), "18");
  g.Game.GameRecord[2][0] = "c3d4 c3-d4";
  EXPECT_EQ(StoredPlyKey(g, 3), "C3D4");
  EXPECT_EQ(StoredPlyText(g, 0), "");
}

}  // namespace
}  // namespace m8::gameflow_test
