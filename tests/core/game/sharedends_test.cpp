// Moves named by the texts the program lists: a single jump that shares its
// start and end with a longer capture, and a crowning capture with its "K".
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
#include "core/game/movelists.h"
#include "core/game/navigation.h"
#include "core/game/playmode.h"
#include "core/numtext.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"
#include "core/files_fixture.h"

namespace m8 {
namespace {

// Answers the capture popup with the entry that begins with `wanted`;
// counts the times it was asked.
class PopupHost : public testing::RecordingHost {
 public:
  std::string wanted;
  int asked = 0;
  int choose(std::string_view, const std::vector<std::string>& choices) override {
    if (++asked > 3) return -1;  // a popup that keeps coming back
    for (size_t k = 0; k < choices.size(); ++k)
      if (choices[k].rfind(wanted + "  ", 0) == 0) return static_cast<int>(k);
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

struct Case {
  const char* variant;
  const char* setup;  // 64 digits: 1/2 white/black man, 3/4 white/black king
  int side;
  const char* listed;  // the move as the legal-move list shows it
  bool computer;       // the computer (playing to lose its pieces) chooses it
};

const Case kCases[] = {
    // Black king on 10 (d6): 10x1 over 6, or round the loop 10x19x26x17x10x1.
    {"American Checkers", "0000400000000000001010200000000140301000000400000030001000000000", -1, "10x1", true},
    {"American Checkers", "0000400000000000001010200000000140301000000400000030001000000000", -1,
     "10x19x26x17x10x1", false},
    // A flying king on 3 (d8): 3x17 straight down, or 3x12x19x10x17.
    {"Russian Checkers", "0000003000020000200000000000000400301010000002000000001002040400", -1, "3x17", false},
    // A black man crowned at the end of its double capture.
    {"American Checkers", "4000000001010000000000000301020000200000000200030000002003000000", -1, "14x23x30K", false},
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
        popup.wanted = c.listed;
        return EnterMove(s, BoardMoveText(s, move.From, move.To), MoveSource::Board, f);
      case Way::Computer:
        // Playing to lose its pieces, the computer takes as few as it can.
        s.Rules.AntiMode = 1;
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
      if (way == Way::Computer && !c.computer) continue;
      SCOPED_TRACE(std::string(c.listed) + ", " + WayName(way));
      popup.messages.clear();
      popup.asked = 0;
      auto s = Position(c);
      ASSERT_TRUE(Enter(*s, c, move, way)) << LastMessage();
      EXPECT_LE(popup.asked, 1);
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
