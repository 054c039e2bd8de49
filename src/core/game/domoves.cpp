#include "core/game/domoves.h"

#include "core/engine/evaluate.h"
#include "core/fileio.h"
#include "core/files/gamefile.h"
#include "core/game/gameloader.h"
#include "core/game/gamesetup.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/textcode.h"

namespace m8 {

namespace {

// The new game again, as it stood before the random moves.
void RestoreStart(GameState& g, const Board& start, int side, int preset) {
  g.board = start;
  g.P.SideToMove = side;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.Flow.SkipSquareNumbers = 0;
  g.Flow.IgnoreNextPress = 0;
  g.Flow.PositionPreset = preset;
}

}  // namespace

std::string DoMovesFileText(GameState& g) {
  std::string text = GameFileHeaderText(g);
  const int count = std::clamp(g.Rules.NumberMoves, 0, kMaxGamePly);
  for (int k = 1; k <= count; ++k) {
    ResetPly(g);
    GenerateLegalMoves(g);
    const int first = g.P.PlyStart[g.P.Ply], moves = g.P.PlyStart[g.P.Ply + 1] - first;
    if (moves <= 0) break;
    // The chosen move's compact text: every landing square when another
    // capture shares its start and end.
    const int chosen = first + static_cast<int>(IntFloor(Rnd(g) * moves));
    MoveString(g, chosen);
    const std::string t = g.Texts.CaptureSquaresText;
    const MoveKind kind = g.P.MoveList[chosen].IsCapture() ? MoveKind::Capture : MoveKind::Quiet;
    if (!PlayMoveString(g, ToUpper(t), false, kind) || g.P.Ply == 0) break;
    RecordGameMove(g, g.P.MoveList[g.P.PlayedMoveIndex]);
    ResetPly(g);
    CheckDrawRules(g);
    const int viewSide = g.Rules.AntiMode == 1 ? g.P.SideToMove : -g.P.SideToMove;
    const int score = Evaluate(g, -kInfinity, kInfinity, viewSide);
    const bool stuck = !HasLegalMove(g, 1);
    const int reason = g.Draw.DrawReason;
    const bool drawn = (g.Opt.ChessDrawRules == 1 && (reason == kDrawRepetition || reason == kDrawMoveLimit)) ||
                       (g.Opt.KingVersusKing == 1 && reason == kDrawKingVersusKing) ||
                       (g.Rules.ThreeKings == 1 && reason == kDrawThreeKings) ||
                       (g.Rules.TwoKings == 1 && reason == kDrawTwoKings);
    if (stuck || score == kInfinity || drawn) break;
    text += t + "\r\n";
  }
  return EncodeOwnFormat(text);
}

bool WriteDoMovesFile(GameState& g) {
  const Board start = g.StartBoard;
  const int side = g.Rules.BlackStarts == 0 ? 1 : -1;
  const int preset = g.Flow.PositionPreset;
  const std::string text = DoMovesFileText(g);
  std::string error;
  const std::string path = UserFile(g, kDoMovesFileName);
  if (!ReplaceFile(path, text, &error)) {
    RestoreStart(g, start, side, preset);
    g.host->message(Icon::Exclamation, "Error", std::string(kDoMovesFileName) + " cannot be written.\r\n" + SentenceStart(error));
    return false;
  }
  if (!LoadGame(g, kLoadDoMoves)) {
    RestoreStart(g, start, side, preset);
    return false;
  }
  return true;
}

}  // namespace m8
