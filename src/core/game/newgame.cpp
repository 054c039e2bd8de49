#include "core/game/newgame.h"

#include "core/engine/promobonus.h"
#include "core/engine/searchprogress.h"
#include "core/game/gamesetup.h"
#include "core/game/legalmovelist.h"
#include "core/game/variantname.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"

namespace m8 {

namespace {

void Run(const std::function<void()>& f) {
  if (f) f();
}

// The material balance of the start position, seen from the side to move.
void SetStartBalance(GameState& g) {
  int white = 0, black = 0;
  for (int v : g.board) {
    if (v == 0 || v >= kOffBoard) continue;
    if (v > 0) white += v;
    else black -= v;
  }
  const int balance = (white - black) * 100 * g.P.SideToMove;
  g.P.MaterialBalance[0] = balance;
  g.Game.MaterialBalanceHistory[0] = balance;
}

// The rules the variant dialog left: the tables built from them.
void PrepareChosenVariant(GameState& g, const NewGameHooks& hooks) {
  const int notation = g.Opt.Notation;
  g.Opt.Notation = 0;
  Run(hooks.variantDialog);
  g.Mat.WhiteToPlace = g.Rules.ContractNumber;
  g.Mat.BlackToPlace = g.Rules.ContractNumber;
  Run(hooks.arrangeLayout);
  SetBoardModeFromDirections(g);
  SetOrthogonalMoveFlags(g);
  g.Opt.Notation = notation;
  Run(hooks.repaint);
  if (g.Rules.PiecesOnBlack >= 2)
    g.Opt.Notation = 0;
  else
    DetectSquareColour(g);
  if (g.Rules.RndColor == 1) {
    g.Rules.BlackStarts = static_cast<int32_t>(IntFloor(Rnd(g) * 2));
    g.VariantRules.BlackStarts = g.Rules.BlackStarts;
  }
  BuildPromotionTables(g);
}

}  // namespace

bool NewGame(GameState& g, int newVariant, const NewGameHooks& hooks) {
  Host& h = *g.host;
  if (g.Flow.GameStarted == 1 && !h.askYesNo("Confirmation", "Quit current game?")) return false;
  g.Flow.PositionPreset = 0;
  g.P.TouchedSquare = 0;
  // The side to move of a hand-set position moved first in that game only.
  if (g.Flow.BlackStartsBeforeSetup >= 0) g.Rules.BlackStarts = g.Flow.BlackStartsBeforeSetup;
  g.Flow.BlackStartsBeforeSetup = -1;
  InitGame(g);
  g.Flow.LoadedResult.clear();
  for (int i = 0; i < kRootScoreSlots; ++i) {
    g.Driver.RootScores[0][i] = kNoRootScore;
    g.Driver.RootScores[2][i] = kNoRootScore;
  }
  if (newVariant == 1) PrepareChosenVariant(g, hooks);
  ShowVariantName(g);

  g.P.SideToMove = g.Rules.BlackStarts == 1 ? -1 : 1;
  ShowStatus(g, g.P.SideToMove == -1 ? "Black moves" : "White moves");
  // The balance follows the side that starts, which the variant may have
  // drawn just now.
  if (newVariant == 1) SetStartBalance(g);
  g.Mat.StartMaterial = g.Mat.TotalMaterial * 100;
  g.P.BoardMaterial[0] = g.Mat.StartMaterial;
  g.Game.BoardMaterialHistory[0] = g.Mat.StartMaterial;

  ResetPly(g);
  GenerateLegalMoves(g);
  ListLegalMoves(g);
  ClearRootMoveScores(g);
  if (g.Opt.ChooseOpening == 1) Run(hooks.loadRandomOpening);
  h.refresh(View::Board);
  if (g.Rules.RemoveMen == 1) {
    RemoveRandomMen(g);
    if (g.Rules.RemoveMen == 1) SetupPositionState(g);
  }
  if (g.Rules.DoMoves == 1) Run(hooks.playDoMoves);
  if (g.Opt.UseSound == 1) h.playSound(Sound::Roll);
  return true;
}

}  // namespace m8
