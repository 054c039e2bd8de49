// The texts that end a game and the forced result the computer announces.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/driver_fixture.h"
#include "core/game/announce.h"
#include "core/rules/drawrules.h"

using namespace m8;
using namespace m8::testing;

TEST(ForcedResultText, CountsMovesFromTheScoreAndNeverSaysZero) {
  struct Case {
    int score;
    int anti;
    const char* text;
  };
  const Case cases[] = {
      {31999, 0, "Computer is winning in 1 move! "},
      {31995, 0, "Computer is winning in 3 moves! "},
      {31980, 0, "Computer is winning in 10 moves! "},
      {32000, 0, "Computer is winning in 1 move! "},
      {-31996, 0, "Computer is losing in 2 moves! "},
      {-31996, 1, "Computer is losing in 2 moves! "},
      {-31997, 0, "Computer is losing in 1 move! "},
      {-31997, 1, "Computer is losing in 2 moves! "},
      {-32000, 0, "Computer is losing in 1 move! "},
      {31979, 0, ""},
      {-31979, 0, ""},
  };
  GameState g;
  for (const Case& c : cases) {
    g.Rules.AntiMode = c.anti;
    EXPECT_EQ(ForcedResultText(g, c.score), c.text) << c.score << " anti " << c.anti;
  }
}

TEST(AnnounceDraw, AnnouncesTheReasonOrNotesItOnce) {
  DriverGame d(kMiddleGame, -1);
  GameState& g = d.g;
  g.Rating.RatingMessage = " R";
  g.Draw.DrawReason = kDrawKingVersusKing;
  AnnounceDraw(g, 0);
  EXPECT_TRUE(d.host.HasMessage("Congratulations: It's a draw! King versus King R"));
  EXPECT_EQ(d.host.statuses.back(), "It's a draw! King versus King");
  g.Draw.DrawReason = kDrawRepetition;
  g.P.GamePly = 45;
  AnnounceDraw(g, 1);
  EXPECT_EQ(g.Driver.DrawNote, "Triple Repetition at move 23");
  g.Draw.DrawReason = kDrawMoveLimit;
  AnnounceDraw(g, 1);
  EXPECT_EQ(g.Driver.DrawNote, "Triple Repetition at move 23");
  EXPECT_EQ(d.host.messages.size(), 1u);
  EXPECT_EQ(DrawAnnouncementText(kDrawThreeKings), "It's a draw! 3 Kings versus 1 King");
  EXPECT_EQ(DrawAnnouncementText(kDrawTwoKings), "It's a draw! 2 Kings versus 1 King");
}
