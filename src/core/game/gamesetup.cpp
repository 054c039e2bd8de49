#include "core/game/gamesetup.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/fileio.h"
#include "core/engine/promobonus.h"
#include "core/game/gamedetails.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/setposition.h"
#include "core/rules/variantfile.h"

namespace m8 {

namespace {

// The values the default set-up writes into the variant rules before the
// variant file is read.
void WriteStandardValues(GameState& g) {
  RuleSet& v = g.VariantRules;
  const RuleSet standard;
  g.Variant.LoadedVariantName = kStandardVariantName;
  v.MaxCapMove = standard.MaxCapMove;
  v.MaxCapMoveK = standard.MaxCapMoveK;
  v.MaxCapMoveKings = standard.MaxCapMoveKings;
  v.ManCapKing = standard.ManCapKing;
  v.CapRequired = standard.CapRequired;
  v.KingCapMove = standard.KingCapMove;
  v.MulJumps = standard.MulJumps;
  v.BlackStarts = standard.BlackStarts;
  v.WinAtPromo = standard.WinAtPromo;
  v.KingWin = standard.KingWin;
  for (int side = 0; side < 2; ++side)
    for (int k = 0; k < 4; ++k) v.PromoSquares[side][k] = standard.PromoSquares[side][k];
}

// Reads the variant file. When it is missing or broken the user is told
// which file (and line) it is. When the rules in force are those of the game
// in force (a new game after its file broke), that game goes on whole: its
// name, help texts and start position (`infoBefore`) with its rules and the
// variant rules of before (`variantBefore`), so that no start position is
// played with another game's moves. Rules named after another variant (the
// settings' choice at start-up) have no start position without the file:
// the built-in game, American Checkers, is played in their place, its name,
// rules and start position together. A missing file (not a broken one) stays
// the settings' choice for when it is back (GameState::Unmet). American
// Checkers itself is built in: without its file the variant rules are the
// standard ones.
void ReadVariantOrKeepRules(GameState& g, const RuleSet& variantBefore, const VariantInfo& infoBefore) {
  std::string error;
  if (ReadVariantFile(g, &error)) {
    g.Unmet.Variant.clear();
    g.Unmet.VariantRules.reset();
    return;
  }
  std::error_code ec;
  if (IsVariantName(g.Rules.Variant) && !std::filesystem::exists(VariantFilePath(g, g.Rules.Variant), ec) && !ec)
    g.Unmet.Variant = g.Rules.Variant;
  g.Variant = VariantInfo{};
  if (g.Rules.Variant == kStandardVariantName &&
      !std::filesystem::exists(VariantFilePath(g, kStandardVariantName))) {
    g.VariantRules = RuleSet{};
    return;
  }
  if (g.Rules.Variant == infoBefore.LoadedVariantName) {
    g.host->message(Icon::Exclamation, "Error", error + "\r\nThe game goes on with the rules in force.");
    g.VariantRules = variantBefore;
    g.Variant = infoBefore;
    g.board = g.Variant.StartPosition.value_or(g.DefaultBoard);
    g.StartBoard = g.board;
    return;
  }
  g.host->message(Icon::Exclamation, "Error",
                  error + "\r\nThe game starts as " + kStandardVariantName + ", the built-in game.");
  if (g.Unmet.Variant == g.Rules.Variant) g.Unmet.VariantRules = g.Rules;
  g.Rules = RuleSet{};
  g.VariantRules = RuleSet{};
  g.Variant = VariantInfo{};
  g.board = g.DefaultBoard;
  g.StartBoard = g.DefaultBoard;
}

void PrepareDefaultGame(GameState& g) {
  g.DefaultBoard = DefaultStartBoard();
  const RuleSet variantBefore = g.VariantRules;
  const VariantInfo infoBefore = g.Variant;
  WriteStandardValues(g);
  g.Mat.TotalMaterial = 24;
  g.P.MaterialBalance[0] = 0;
  g.Game.MaterialBalanceHistory[0] = 0;
  g.board = g.DefaultBoard;
  g.StartBoard = g.DefaultBoard;
  g.Rating.RatedGame = 1;
  ReadVariantOrKeepRules(g, variantBefore, infoBefore);
  StoreMaterialCounts(g, CountMaterial(g.board));

  ParseAllDirections(g);
  SetBoardModeFromDirections(g);
  SetOrthogonalMoveFlags(g);
  if (g.Rules.PiecesOnBlack == 0) ShiftToOtherColour(g, false);
  if (g.Rules.PiecesOnBlack != g.VariantRules.PiecesOnBlack && g.Rules.PiecesOnBlack < 2)
    ShiftPromoSquares(g);
  if (g.Rules.RndColor == 1) {
    g.Rules.BlackStarts = static_cast<int32_t>(IntFloor(Rnd(g) * 2));
    g.VariantRules.BlackStarts = g.Rules.BlackStarts;
  }
  g.P.SideToMove = g.Rules.BlackStarts == 1 ? -1 : 1;

  // The start balance is seen from the side that moves first, which is known
  // only now that the colour has been drawn.
  const MaterialCount n = CountMaterial(g.board);
  const int balance = (n.white - n.black) * 100 * g.P.SideToMove;
  g.P.MaterialBalance[0] = balance;
  g.Game.MaterialBalanceHistory[0] = balance;
}

// The tags a loaded game brought along belong to that game, not to the next
// one: those the details dialog does not show (round, ratings, opening,
// set-up, rules), and the details it shows that the user has not retyped.
void ForgetLoadedTags(GameHeader& h) {
  for (std::string* tag : {&h.GameRound, &h.GameBlackElo, &h.GameWhiteElo, &h.GameSetUp, &h.GameFen, &h.GameEco,
                           &h.GameType, &h.RulesTagValue})
    tag->clear();
  ForgetLoadedDetails(h);
}

void ResetPerGameState(GameState& g) {
  g.P.RootGeneration = 0;
  g.Flow.FromSquare = g.Flow.RightPressSquare = g.Flow.HoverSquare = -1;
  g.Flow.NumbersShown = g.Flow.SkipSquareNumbers = g.Flow.IgnoreNextPress = 0;
  // A draw found in the previous game does not carry over.
  ResetRootCounters(g);
  g.Eval.LazyMargin = 150;
  g.Flow.GameOver = 0;
  g.Flow.GameStarted = 0;
}

void ClearGameRecord(GameState& g) {
  auto& r = g.Game;
  for (int i = 0; i < kGameTables; ++i) {
    r.PositionHistory[i].clear();
    r.PlyComments[i].clear();
    r.ScoreHistory[i] = 0;
    r.MoveChoiceHistory[i] = 0;
    r.HistDestination[i] = 0;
    r.HistManKingSquare[i] = 0;
    r.HistKingManFlag[i] = 0;
    r.GameMoves[i] = MoveRecord{};
  }
  for (auto& row : r.GameRecord)
    for (auto& text : row) text.clear();
  g.P.GamePly = 0;
  r.GameLength = 0;
}

void ResetDisplays(GameState& g) {
  Host& h = *g.host;
  g.Search.EngineOutputText = "no calculation";
  g.Flow.CommentText.clear();
  g.Flow.GameResult.clear();
  g.Flow.Busy = 0;
  g.Flow.BestScore = 0;
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;
  g.Flow.StableScoreCount = 0;
  g.Flow.LastDrawOfferPly = 0;
  g.Flow.MateAnnounced = 0;
  g.Book.OpeningName.clear();
  h.status(3, "");
  g.Book.InBook = 1;
  g.Flow.GameFileTitle.clear();
  h.setCommandEnabled(Command::RootScores, false);
  h.setCommandEnabled(Command::LegalMoves, true);
  h.progress(0, 100);
  h.refresh(View::EngineOutput);
  h.refresh(View::Comment);
  ClearDriverLists(g);
}

void EnableFreshGameCommands(GameState& g) {
  Host& h = *g.host;
  for (Command c : {Command::Analyze, Command::Compute, Command::ComputerComputer})
    h.setCommandEnabled(c, true);
  for (Command c : {Command::Back, Command::First, Command::Forward, Command::Last})
    h.setCommandEnabled(c, false);
  if (g.Opt.PlayMode == 0) {
    h.setCommandEnabled(Command::OfferDraw, true);
    h.setCommandEnabled(Command::Resign, true);
  }
  if (g.Opt.PlayMode != 2) h.setCommandEnabled(Command::Hint, true);
}

}  // namespace

void SeedRandom(GameState& g) {
  const double s = g.host->secondsSinceMidnight();
  g.Rng.seed(static_cast<uint32_t>(static_cast<int64_t>(s * 1000.0)));
}

void InitGame(GameState& g) {
  Host& h = *g.host;
  SeedRandom(g);
  if (g.Flow.PositionPreset == 0) PrepareDefaultGame(g);

  g.Flow.Caption = WindowCaption();
  h.refresh(View::Caption);
  h.refresh(View::VariantName);
  BuildPromotionTables(g);
  ResetPerGameState(g);
  h.status(g.Skin.StatusPanel, g.P.SideToMove == -1 ? "Black moves" : "White moves");
  ClearGameRecord(g);
  ForgetLoadedTags(g.Header);
  ResetDisplays(g);
  EnableFreshGameCommands(g);
  g.Texts.CaptureChar = g.Opt.CaptureCharStyle == 1 ? ":" : "x";

  // The first moves, shown in the legal-move list with their book marks.
  ListLegalMoves(g);

  g.Eval.PrioritySquare = 0;
  g.Flow.PiecePicked = 0;
  g.Flow.PlayerName1 = g.Opt.UserName;
  g.Flow.PlayerName2 = "Computer";
  if (g.Opt.PlayMode == 1) g.Flow.PlayerName2 = g.Opt.UserName;
  if (g.Opt.PlayMode == 2) g.Flow.PlayerName1 = "Computer";
  h.setCommandEnabled(Command::Cancel, false);
  if (g.Rules.PiecesOnBlack == 2) g.Opt.Notation = 0;
}

void SetupPositionState(GameState& g) {
  g.host->refresh(View::RootScores);
  SetRootPosition(g, g.board, g.P.SideToMove);
  InitGame(g);
  g.Rating.RatedGame = 0;
  g.Flow.SkipSquareNumbers = 1;
  g.Flow.IgnoreNextPress = 1;
  g.host->refresh(View::Board);
}

void RemoveRandomMen(GameState& g) {
  std::vector<int> lists[2];  // 0 white, 1 black
  for (int row = 2; row <= 9; ++row)
    for (int col = 8; col >= 1; --col) {
      const int cell = row * 10 + col;
      const int v = g.board[cell];
      if (v == 0 || v == kOffBoard) continue;
      lists[v > 0 ? 0 : 1].push_back(cell);
    }
  for (const auto& list : lists) {
    const int count = static_cast<int>(list.size());
    const int n = std::min(g.Rules.NumberMen, count - 1);
    for (int i = 0; i < n; ++i) {
      int cell;
      do {
        cell = list[static_cast<size_t>(IntFloor(Rnd(g) * count))];
      } while (g.board[cell] == 0);
      g.board[cell] = 0;
    }
  }
  g.Flow.PositionPreset = 1;
}

}  // namespace m8
