// A game that ended drawn, saved and opened again: it ends again as it ended,
// told as it opens, under the options of the program that opens it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/files/gamefile.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/moveexec.h"
#include "core/game/navigation.h"
#include "core/game/toolsetup.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/game/shippedvariants_fixture.h"

namespace m8 {
namespace {

// Records what the window would show: boxes, the status bar, the commands
// switched; `atBox` runs as a box is shown.
class ShownHost : public testing::RecordingHost {
 public:
  void message(Icon icon, std::string_view title, std::string_view text) override {
    RecordingHost::message(icon, title, text);
    if (atBox) atBox();
  }
  void status(int panel, std::string_view text) override {
    if (panel == 1) statusText = std::string(text);
  }
  void setCommandEnabled(Command c, bool on) override { enabled[c] = on; }
  std::function<void()> atBox;
  std::string statusText;
  std::map<Command, bool> enabled;
};

// The moves (algebraic squares) of a king walking a closed path of squares,
// `steps` moves from its first square.
std::vector<std::string> Walk(const std::vector<const char*>& cycle, int steps) {
  std::vector<std::string> out;
  for (int k = 0; k < steps; ++k)
    out.push_back(std::string(cycle[k % cycle.size()]) + cycle[(k + 1) % cycle.size()]);
  return out;
}

// Two walks interleaved, White first.
std::vector<std::string> Interleave(const std::vector<std::string>& white, const std::vector<std::string>& black) {
  std::vector<std::string> out;
  for (size_t k = 0; k < white.size() || k < black.size(); ++k) {
    if (k < white.size()) out.push_back(white[k]);
    if (k < black.size()) out.push_back(black[k]);
  }
  return out;
}

// A game of American Checkers from a set-up, White to move.
struct DrawnGame {
  const char* what;
  const char* setup;
  std::vector<std::string> moves;
  int fiftyMoveChoice;  // 2: the move limit is 32 plies
};

// The kings walk on either side of the empty fourth row, so that neither can
// ever take the other. A king and a man each (a1 and h8 stay): no king ending
// applies.
constexpr const char* kKingAndMan = "1000000003000000000000000000000000004000000000000000000000000002";
// One king each: b2 and e5.
constexpr const char* kOneKingEach = "0000000003000000000000000000000000004000000000000000000000000000";

// The kings step out and back: the position after the first ply stands for
// the third time after the ninth.
std::vector<std::string> RepeatingMoves() { return Interleave(Walk({"B2", "C3"}, 5), Walk({"E5", "F6"}, 4)); }
// A walk of four squares and one of six: a position comes back only every
// 24 plies, so 32 plies without capture or crowning reach the move limit
// first.
std::vector<std::string> LimitMoves() {
  return Interleave(Walk({"B2", "C3", "D2", "C1"}, 16), Walk({"E5", "F6", "G7", "F8", "E7", "D6"}, 16));
}

class ReopenedEndsTest : public testing::ShippedVariantsTest {
 protected:
  // The game set up and played by two players through the move path, as far
  // as it goes under the options of `s`.
  static void Play(GameState& s, const char* setup, const std::vector<std::string>& moves) {
    std::string error;
    ASSERT_TRUE(SetupAnalysisPosition(s, "American Checkers", setup, 1, &error)) << error;
    s.Opt.PlayMode = 1;
    s.Opt.Notation = 0;
    MoveFollowUps f;
    f.checkGameOver = [](GameState& t, int q) { CheckGameOver(t, q, GameOverPause::None); };
    for (const std::string& m : moves) {
      if (s.Flow.GameOver == 1) break;
      ASSERT_TRUE(EnterTypedMove(s, m, f)) << m;
    }
  }

  // The most times any position of the game stands, each keyed here on a
  // replay of its moves from the start, and the plies since the last capture
  // or crowning.
  static std::pair<int, int> MostRepeatsAndQuietPlies(const GameState& s, const char* setup) {
    GameState replay;
    std::string error;
    EXPECT_TRUE(SetupAnalysisPosition(replay, "American Checkers", setup, 1, &error)) << error;
    std::map<std::string, int> seen;
    int most = 0, quiet = 0;
    for (int ply = 1; ply <= s.P.GamePly; ++ply) {
      const MoveRecord& m = s.Game.GameMoves[ply];
      quiet = m.IsCapture() || m.Crown != 0 ? 0 : quiet + 1;
      ResetPly(replay);
      EXPECT_TRUE(MakeMove(replay, m)) << ply;
      most = std::max(most, ++seen[PositionKey(replay.board, replay.P.SideToMove)]);
    }
    EXPECT_EQ(replay.board, s.board);
    return {most, quiet};
  }

  // Saves `s` as `file` and opens it in a fresh program showing on `shown`,
  // with the options `options` sets; `atBox` sees that program at each box.
  // The autosave file is resumed as at start-up.
  std::unique_ptr<GameState> Open(GameState& s, const std::string& file, ShownHost& shown,
                                  const std::function<void(Options&)>& options,
                                  const std::function<void(const GameState&)>& atBox = {}) {
    std::filesystem::remove(Path(file));
    EXPECT_TRUE(SaveGame(s, Path(file), file));
    auto t = Fresh();
    t->host = &shown;
    options(t->Opt);
    const GameState* opened = t.get();
    if (atBox) shown.atBox = [opened, atBox] { atBox(*opened); };
    const bool resumed = file == kAutosaveFileName;
    EXPECT_TRUE(LoadGame(*t, resumed ? kLoadAutosave : kLoadOpen, resumed ? "" : Path(file), resumed ? "" : file))
        << (shown.messages.empty() ? "" : shown.messages.back().text);
    shown.atBox = nullptr;
    return t;
  }
};

// A game drawn by a repetition or by the move limit reopens drawn from both
// formats, told as a won game is: the box the game ended with, the legal-move
// list empty while the box is up and after, the list off, and the status bar
// naming the draw (the own format, also the game of the last run resumed at
// start-up) or the file's result with the draw beside it (PDN). The position still has legal moves: the list is empty because the
// game is over.
TEST_F(ReopenedEndsTest, AGameDrawnByRepetitionOrTheMoveLimitReopensAnnounced) {
  const struct {
    DrawnGame game;
    int plies;
    bool byRepetition;
    const char* box;
    const char* reason;  // in the PDN status line
  } cases[] = {
      {{"repetition", kKingAndMan, RepeatingMoves(), 1}, 9, true, "It's a draw! Triple Repetition",
       "Triple Repetition at move 5"},
      {{"move limit", kKingAndMan, LimitMoves(), 2}, 32, false, "It's a draw! 50 Moves Rule",
       "It's a draw! 50 Moves Rule 16"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.game.what);
    auto s = Fresh();
    s->Opt.FiftyMoveChoice = c.game.fiftyMoveChoice;
    Play(*s, c.game.setup, c.game.moves);
    // The game as played: it ended where the replay here finds the draw.
    ASSERT_EQ(s->Flow.GameOver, 1);
    ASSERT_EQ(s->P.GamePly, c.plies);
    const auto [most, quiet] = MostRepeatsAndQuietPlies(*s, c.game.setup);
    EXPECT_EQ(most >= 3, c.byRepetition);
    EXPECT_EQ(quiet, c.plies);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, c.box);
    ResetPly(*s);
    ASSERT_TRUE(GenerateLegalMoves(*s));
    ASSERT_GT(s->P.PlyStart[1] - s->P.PlyStart[0], 0);

    for (const std::string file : {"drawn.tvn", "drawn.pdn", kAutosaveFileName}) {
      SCOPED_TRACE(file);
      ShownHost shown;
      std::vector<size_t> listedAtBox;
      // The program that opens it has the default options but the move limit.
      auto t = Open(
          *s, file, shown, [&](Options& o) { o.FiftyMoveChoice = c.game.fiftyMoveChoice; },
          [&](const GameState& opened) { listedAtBox.push_back(opened.Driver.LegalMoveLines.size()); });
      EXPECT_EQ(t->P.GamePly, c.plies);
      EXPECT_EQ(t->board, s->board);
      EXPECT_EQ(t->Flow.GameOver, 1);
      EXPECT_EQ(t->Flow.GameResult, "1/2-1/2");
      ASSERT_EQ(shown.messages.size(), 1u);
      EXPECT_EQ(shown.messages[0].title, "Congratulations");
      EXPECT_EQ(shown.messages[0].text, c.box);
      EXPECT_EQ(listedAtBox, std::vector<size_t>{0});
      EXPECT_TRUE(t->Driver.LegalMoveLines.empty());
      EXPECT_FALSE(shown.enabled.at(Command::LegalMoves));
      if (file == "drawn.pdn")
        EXPECT_EQ(shown.statusText, std::string("1/2-1/2;  no comments;  ") + c.reason);
      else
        EXPECT_EQ(shown.statusText, c.box);
    }
  }
}

// One king each, the game's last position also a third repetition or at the
// move limit, opened under each pair of the options "Chess draw rules" and
// "King versus King": the game ends whenever either option ends it, by the
// repetition or the move limit when their option is on, else as king versus
// king; with both off it goes on. Stepping back and forward into the last
// position ends it the same way.
TEST_F(ReopenedEndsTest, OneKingEachEndsTheGameUnderEveryOptionPair) {
  const struct {
    DrawnGame game;
    int plies;
    const char* drawBox;  // with "Chess draw rules" on
  } games[] = {
      {{"repetition", kOneKingEach, RepeatingMoves(), 1}, 9, "It's a draw! Triple Repetition"},
      {{"move limit", kOneKingEach, LimitMoves(), 2}, 32, "It's a draw! 50 Moves Rule"},
  };
  const struct {
    int chess, kings;
    const char* box;  // nullptr: the game goes on; "": the game's own draw
  } options[] = {{0, 1, "It's a draw! King versus King"}, {1, 1, ""}, {1, 0, ""}, {0, 0, nullptr}};
  for (const auto& c : games) {
    SCOPED_TRACE(c.game.what);
    // Played with both options off, to its end.
    auto s = Fresh();
    s->Opt.FiftyMoveChoice = c.game.fiftyMoveChoice;
    s->Opt.ChessDrawRules = 0;
    s->Opt.KingVersusKing = 0;
    Play(*s, c.game.setup, c.game.moves);
    ASSERT_EQ(s->Flow.GameOver, 0);
    ASSERT_EQ(s->P.GamePly, c.plies);
    const auto [most, quiet] = MostRepeatsAndQuietPlies(*s, c.game.setup);
    EXPECT_EQ(most >= 3, c.plies == 9);
    EXPECT_EQ(quiet, c.plies);
    for (const auto& o : options) {
      for (const std::string file : {"kings.tvn", "kings.pdn"}) {
        SCOPED_TRACE(file + " chess draw rules " + std::to_string(o.chess) + ", king versus king " +
                     std::to_string(o.kings));
        ShownHost shown;
        auto t = Open(*s, file, shown, [&](Options& opt) {
          opt.FiftyMoveChoice = c.game.fiftyMoveChoice;
          opt.ChessDrawRules = o.chess;
          opt.KingVersusKing = o.kings;
        });
        ASSERT_EQ(t->P.GamePly, c.plies);
        const std::string box = o.box == nullptr ? "" : *o.box ? o.box : c.drawBox;
        EXPECT_EQ(t->Flow.GameOver, o.box ? 1 : 0);
        std::vector<std::string> told;
        for (const auto& m : shown.messages) told.push_back(m.text);
        EXPECT_EQ(told, o.box ? std::vector<std::string>{box} : std::vector<std::string>{});

        shown.messages.clear();
        GotoMove(*t, 1, 0, 0);
        EXPECT_EQ(t->Flow.GameOver, 0);
        StepForward(*t);
        EXPECT_EQ(t->Flow.GameOver, o.box ? 1 : 0);
        told.clear();
        for (const auto& m : shown.messages) told.push_back(m.text);
        EXPECT_EQ(told, o.box ? std::vector<std::string>{box} : std::vector<std::string>{});
      }
    }
  }
}

}  // namespace
}  // namespace m8
