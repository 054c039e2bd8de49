#include "core/game/gamedetails.h"

namespace m8 {

namespace {

constexpr std::string GameHeader::*kDetailsFields[kDetailsBoxes] = {
    &GameHeader::GameEvent, &GameHeader::GameSite, &GameHeader::GameDate, &GameHeader::GameBlack,
    &GameHeader::GameWhite};

}  // namespace

DetailsTexts DetailsFromGame(const GameState& g) {
  DetailsTexts t;
  for (int i = 0; i < kDetailsBoxes; ++i) t[i] = g.Header.*kDetailsFields[i];
  return t;
}

void ApplyDetails(GameState& g, const DetailsTexts& texts) {
  for (int i = 0; i < kDetailsBoxes; ++i) g.Header.*kDetailsFields[i] = texts[i];
}

}  // namespace m8
