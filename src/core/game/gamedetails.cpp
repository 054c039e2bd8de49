#include "core/game/gamedetails.h"

namespace m8 {

namespace {

static_assert(std::tuple_size_v<decltype(GameHeader::LoadedDetails)> == kDetailsBoxes);

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

void NoteLoadedDetails(GameHeader& h) {
  for (int i = 0; i < kDetailsBoxes; ++i) h.LoadedDetails[i] = h.*kDetailsFields[i];
}

void ForgetLoadedDetails(GameHeader& h) {
  for (int i = 0; i < kDetailsBoxes; ++i) {
    std::string& field = h.*kDetailsFields[i];
    if (field == h.LoadedDetails[i]) field.clear();
    h.LoadedDetails[i].clear();
  }
}

}  // namespace m8
