// Moves named by the texts the program lists: a single jump that shares its
// start and end with a longer capture, a capture that shares them with a
// move without capture, and a crowning capture with its "K".
// However such a move is entered (typed, double-clicked in the legal-move
// list, dropped with the capture popup answered, chosen by the computer), the
// position played is the one Forward, the own file and the PDN give back.
#include <gtest/gtest.h>

#include <memory>

#include "core/files/gamesave.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/legalmovelist.h"
#include "core/game/navigation.h"
#include "core/game/playmode.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

// Answers the capture popup with the entry that is `wanted` or begins with
// it and the pieces taken; counts the times it was asked and keeps the
// entries offered.
class PopupHost : public testing::RecordingHost {
 public:
  std::string wanted;
  int asked = 0;
  std::vector<std::string> offered;
  int choose(std::string_view, const std::vector<std::string>& choices) override {
    if (++asked > 3) return -1;  // a popup that keeps coming back
    offered = choices;
    for (size_t k = 0; k < choices.size(); ++k)
      if (choices[k] == wanted || choices[k].rfind(wanted + "  takes ", 0) == 0) return static_cast<int>(k);
    return -1;
  }
};

enum class Way { Typed, Listed, Dropped, Computer };

const char* WayName(Way w) {
  switch (w) {
    case Way::Typed: return "typed";
    case Way::Listed: return "listed";
    case Way::Dropped: return "dropped";
    case Way::Computer: return "computer";
  }
  return "";
}

// Whether the computer chooses the move: playing to lose its pieces, or to
// win them.
enum class Computer { No, ToLose, ToWin };

struct Case {
  const char* variant;
  bool captureRequired;  // false: the variant with "capture required" off
  const char* setup;     // 64 digits: 1/2 white/black man, 3/4 white/black king
  int side;
  const char* listed;  // the move as the legal-move list shows it
  Computer computer;
};

// Russian with optional captures: the black king on 6 (c7) goes to 15 (e5)
// straight down, or takes b6, b4, f2 and f4 on its way round. Without the
// black king on g5 and the men on b8 and d8 the computer takes them.
constexpr const char* kQuietAndCapture = "1000001002000102000000000302010000000040010002030040200002020000";
constexpr const char* kComputerTakes = "1000001000000102000000000302010000000000010002030040200000000000";

const Case kCases[] = {
    // Black king on 10 (d6): 10x1 over 6, or round the loop 10x19x26x17x10x1.
    {"American Checkers", true, "0000400000000000001010200000000140301000000400000030001000000000", -1, "10x1",
     Computer::ToLose},
    {"American Checkers", true, "0000400000000000001010200000000140301000000400000030001000000000", -1,
     "10x19x26x17x10x1", Computer::No},
    // A flying king on 3 (d8): 3x17 straight down, or 3x12x19x10x17.
    {"Russian Checkers", true, "0000003000020000200000000000000400301010000002000000001002040400", -1, "3x17",
     Computer::No},
    // A black man crowned at the end of its double capture.
    {"American Checkers", true, "4000000001010000000000000301020000200000000200030000002003000000", -1, "14x23x30K",
     Computer::No},
    // The separator tells the capture from the move without capture.
    {"Russian Checkers", false, kQuietAndCapture, -1, "6x15", Computer::No},
    {"Russian Checkers", false, kQuietAndCapture, -1, "6-15", Computer::No},
    {"Russian Checkers", false, kComputerTakes, -1, "6x15", Computer::ToWin},
};

class SharedEnds : public testing::FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
  }

  std::unique_ptr<GameState> Position(const Case& c) {
    auto s = std::make_unique<GameState>();
    Restart(*s);
    s->host = &popup;
    s->Opt.PlayMode = 1;
    s->Opt.UseBook = 0;
    s->Opt.Notation = 1;
    s->Flow.PositionPreset = 0;
    s->Rules.Variant = c.variant;
    InitGame(*s);
    s->Rules = s->VariantRules;
    InitGame(*s);
    EXPECT_EQ(s->Rules.Variant, c.variant);
    if (!c.captureRequired) s->Rules.CapRequired = 0;
    for (int i = 0; i < 64; ++i) {
      constexpr int kValue[5] = {0, 1, -1, 2, -2};
      s->board[10 * (2 + i / 8) + 1 + i % 8] = kValue[c.setup[i] - '0'];
    }
    s->P.SideToMove = c.side;
    s->Flow.PositionPreset = 1;
    SetupPositionState(*s);
    s->Flow.PositionPreset = 0;
    return s;
  }

  // The board after the legal move the list shows as `listed`, made
  // directly; `move` receives the move.
  Board Expected(const Case& c, MoveRecord* move) {
    auto s = Position(c);
    ResetPly(*s);
    EXPECT_TRUE(GenerateLegalMoves(*s));
    for (int k = s->P.PlyStart[0]; k < s->P.PlyStart[1]; ++k) {
      MoveString(*s, k);
      if (Trim(s->Texts.DisplayMoveText) == c.listed) {
        *move = s->P.MoveList[k];
        MakeMove(*s, k);
        return s->board;
      }
    }
    ADD_FAILURE() << c.listed << " is not a legal move";
    return s->board;
  }

  bool Enter(GameState& s, const Case& c, const MoveRecord& move, Way way) {
    MoveFollowUps f;
    f.checkGameOver = [](GameState& t, int q) { CheckGameOver(t, q); };
    switch (way) {
      case Way::Typed: return EnterTypedMove(s, c.listed, f);
      case Way::Listed: {
        ListLegalMoves(s);
        const auto& lines = s.Driver.LegalMoveLines;
        for (size_t row = 0; row < lines.size(); ++row)
          if (Trim(lines[row]) == c.listed) return PlayLegalListMove(s, static_cast<int>(row), f);
        ADD_FAILURE() << c.listed << " is not listed";
        return false;
      }
      case Way::Dropped:
        // The popup names each capture by every square it lands on.
        MoveString(s, move, /*fullPath=*/true);
        popup.wanted = Trim(s.Texts.DisplayMoveText);
        return EnterMove(s, BoardMoveText(s, move.From, move.To), MoveSource::Board, f);
      case Way::Computer:
        // Playing to lose its pieces, the computer takes as few as it can.
        if (c.computer == Computer::ToLose) s.Rules.AntiMode = 1;
        s.Opt.PlayMode = 0;
        s.Opt.DepthMode = 1;
        s.Opt.SearchDepth = 2;
        ComputerMoveNow(s, /*swapNames=*/false);
        s.Opt.PlayMode = 1;
        return s.P.GamePly == 1;
    }
    return false;
  }

  std::string LastMessage() const { return popup.messages.empty() ? std::string() : popup.messages.back().text; }

  PopupHost popup;
};

TEST_F(SharedEnds, ListedCapturesPlayAndReplayAsThemselves) {
  for (const Case& c : kCases) {
    MoveRecord move;
    const Board expected = Expected(c, &move);
    for (Way way : {Way::Typed, Way::Listed, Way::Dropped, Way::Computer}) {
      if (way == Way::Computer && c.computer == Computer::No) continue;
      SCOPED_TRACE(std::string(c.listed) + ", " + WayName(way));
      popup.messages.clear();
      popup.asked = 0;
      popup.offered.clear();
      auto s = Position(c);
      ASSERT_TRUE(Enter(*s, c, move, way)) << LastMessage();
      EXPECT_LE(popup.asked, 1);
      // The popup offers moves that are there: no capture that takes nothing.
      for (const std::string& entry : popup.offered) EXPECT_FALSE(entry.ends_with("takes")) << entry;
      EXPECT_EQ(s->board, expected);
      EXPECT_EQ(s->P.GamePly, 1);
      EXPECT_TRUE(popup.messages.empty()) << LastMessage();

      GotoMove(*s, 1, 0, 0);
      GotoMove(*s, -1, 0, 0);
      EXPECT_EQ(s->board, expected) << "Forward";
      EXPECT_EQ(s->P.GamePly, 1);

      for (const char* name : {"game.tvn", "game.pdn"}) {
        SCOPED_TRACE(name);
        std::filesystem::remove(Path(name));  // a PDN save adds to the file
        ASSERT_TRUE(SaveGame(*s, Path(name), name));
        auto t = Position(c);
        ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(name), name)) << LastMessage() << "\n" << Read(name);
        EXPECT_EQ(t->board, expected) << Read(name);
        EXPECT_EQ(t->Game.GameLength, 1);
      }
    }
  }
}

}  // namespace
}  // namespace m8
