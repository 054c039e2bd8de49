// Skins: the three built-in styles and the skin files "skins/<name>.ini" with
// their pictures in "skins/<name>/". The window draws; this reads.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace m8 {

inline constexpr const char* kDefaultSkinName = "Classic Medium";

// Index into SkinState::Pictures, in the order of the keys below.
enum class SkinPicture {
  DarkSquare,      // "dark_square="
  LightSquare,     // "light_square="
  DarkBlackKing,   // "dark_black_king="
  DarkWhiteKing,   // "dark_white_king="
  DarkBlackMan,    // "dark_black_man="
  DarkWhiteMan,    // "dark_white_man="
  WhiteManIcon,    // "white_man_ico="
  BlackManIcon,    // "black_man_ico="
  WhiteKingIcon,   // "white_king_ico="
  BlackKingIcon,   // "black_king_ico="
  LightBlackKing,  // "light_black_king="
  LightWhiteKing,  // "light_white_king="
  LightBlackMan,   // "light_black_man="
  LightWhiteMan,   // "light_white_man="
};
static_assert(kSkinPictures == 14);

// The file key of a picture, e.g. "dark_square=".
const char* SkinPictureKey(SkinPicture p);

// The board size code of a built-in style (0, 2, 3), or nullopt when the name
// is not one of "Classic Small", "Classic Medium", "Classic Big" exactly.
std::optional<int32_t> BuiltinSkinCode(std::string_view name);

// What one skin file gives; fields it does not name stay unset.
struct SkinFileData {
  std::optional<int32_t> BoardCustomSize;
  std::optional<int32_t> DarkHighlightColor;
  std::optional<int32_t> LightHighlightColor;
  std::array<std::optional<std::string>, kSkinPictures> Pictures{};  // as written in the file
};

// Parses a skin file's text (keys matched at the line start, case counts, the
// last of a repeated key wins, "END" ends it). False with a message naming the
// file and line when the END line is missing or a picture name is unsafe.
bool ParseSkinText(std::string_view text, std::string_view fileName, SkinFileData& out,
                   std::string* error);

// The skin file of a name and the folder of its pictures.
std::string SkinFilePath(const GameState& g, std::string_view skinName);
std::string SkinPictureFolder(const GameState& g, std::string_view skinName);

// Applies Opt.SkinName: a built-in name sets Opt.BoardSizeCode only; a skin
// file sets code 4 and g.Skin (pictures as full paths, each checked to exist;
// BoardCustomSize -1 when the file has none). A picture the file does not name
// stays empty, for the window to fill from its built-in set, and one message
// lists the keys not named: told through the host, or put in missingPictures
// when given ("" when every picture is named) for a caller that shows it once
// its pictures are in place. On failure the host gets a
// message naming the file (title "Error"), the skin falls back to
// "Classic Medium" (Opt.SkinName and BoardSizeCode 2) and false is returned.
bool LoadSkin(GameState& g, std::string* missingPictures = nullptr);

// For the window when a picture named by the skin cannot be decoded: tells
// the user (naming the picture) and falls back to "Classic Medium".
void SkinFallback(GameState& g, std::string_view reason);

// The names offered in the options dialog: the three built-in ones, then the
// skin files found in ProgramFolder/skins (sorted by name).
std::vector<std::string> SkinNames(const GameState& g);

}  // namespace m8
