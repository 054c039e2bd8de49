// The result a game records, told from the first mover's view.
#include <gtest/gtest.h>

#include <string>

#include "core/engine/driver_fixture.h"
#include "core/game/gameresult.h"

using namespace m8;
using namespace m8::testing;

TEST(SetGameResult, TellsTheResultFromTheFirstMoversView) {
  struct Case {
    const char* name;
    std::string digits;
    int side;
    int anti;
    int mode;
    const char* result;
  };
  const Case cases[] = {
      {"drawn", kMiddleGame, -1, 0, 2, "1/2-1/2"},
      {"both can move", kMiddleGame, -1, 0, 0, ""},
      {"no white piece, Black began", Digits({{56, '2'}}), -1, 0, 0, "1-0"},
      {"no white piece, anti mode", Digits({{56, '2'}}), -1, 1, 0, "0-1"},
      // Black to move is shut in by white men on its path.
      {"Black to move cannot move", Digits({{65, '1'}, {76, '1'}, {78, '1'}, {87, '2'}}), -1, 0, 0, "0-1"},
      {"Black to move cannot move, anti mode", Digits({{65, '1'}, {76, '1'}, {78, '1'}, {87, '2'}}), -1, 1, 0,
       "1-0"},
  };
  for (const Case& c : cases) {
    DriverGame d(c.digits, c.side);
    d.g.Rules.AntiMode = c.anti;
    SetGameResult(d.g, c.mode);
    EXPECT_EQ(d.g.Flow.GameResult, c.result) << c.name;
  }
}
