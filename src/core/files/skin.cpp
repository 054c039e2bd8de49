#include "core/files/skin.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/fileio.h"
#include "core/numtext.h"
#include "core/textlimits.h"
#include "core/textcode.h"

namespace fs = std::filesystem;

namespace m8 {

namespace {

constexpr const char* kPictureKeys[kSkinPictures] = {
    "dark_square=",     "light_square=",    "dark_black_king=", "dark_white_king=",
    "dark_black_man=",  "dark_white_man=",  "white_man_ico=",   "black_man_ico=",
    "white_king_ico=",  "black_king_ico=",  "light_black_king=", "light_white_king=",
    "light_black_man=", "light_white_man=",
};

// A picture name relative to the skin's folder: parts separated by '/' or
// '\', none of them empty, "." or "..", no drive letter.
bool IsSafePictureName(std::string_view name) {
  if (name.empty()) return false;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '/' || name[i] == '\\') {
      if (!IsSafeFileName(name.substr(start, i - start))) return false;
      start = i + 1;
    }
  }
  return true;
}

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

const char* SkinPictureKey(SkinPicture p) { return kPictureKeys[static_cast<int>(p)]; }

std::optional<int32_t> BuiltinSkinCode(std::string_view name) {
  if (name == "Classic Small") return 0;
  if (name == "Classic Medium") return 2;
  if (name == "Classic Big") return 3;
  return std::nullopt;
}

bool ParseSkinText(std::string_view text, std::string_view fileName, SkinFileData& out,
                   std::string* error) {
  out = SkinFileData{};
  bool ended = false;
  std::string problem;
  int lineNo = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (ended || !problem.empty()) return;
    ++lineNo;
    auto value = [&](std::string_view key) -> std::optional<std::string_view> {
      if (StartsWith(line, key)) return line.substr(key.size());
      return std::nullopt;
    };
    if (auto v = value("BoardCustomSize=")) out.BoardCustomSize = ValInt(*v);
    if (auto v = value("dark_highlight=")) out.DarkHighlightColor = ValInt(*v);
    if (auto v = value("light_highlight=")) out.LightHighlightColor = ValInt(*v);
    for (int k = 0; k < kSkinPictures; ++k)
      if (auto v = value(kPictureKeys[k])) {
        std::string name = Trim(*v);
        if (!IsSafePictureName(name)) {
          problem = "Skin file \"" + std::string(fileName) + "\", line " + std::to_string(lineNo) +
                    ": \"" + Excerpt(name) + "\" is not a picture name in the skin's folder.";
          return;
        }
        out.Pictures[k] = name;
      }
    if (line == "END") ended = true;
  });
  if (!problem.empty()) return Fail(error, problem);
  if (!ended) return Fail(error, "Skin file \"" + std::string(fileName) + "\" has no line END.");
  return true;
}

std::string SkinFilePath(const GameState& g, std::string_view skinName) {
  return ResolvePath(g.ProgramFolder, "skins/" + std::string(skinName) + ".ini");
}

std::string SkinPictureFolder(const GameState& g, std::string_view skinName) {
  return ResolvePath(g.ProgramFolder, "Skins/" + std::string(skinName));
}

void SkinFallback(GameState& g, std::string_view reason) {
  g.host->message(Icon::Exclamation, "Error",
                  std::string(reason) + "\r\nThe skin \"" + kDefaultSkinName + "\" is used instead.");
  g.Opt.SkinName = kDefaultSkinName;
  g.Opt.BoardSizeCode = *BuiltinSkinCode(kDefaultSkinName);
}

bool LoadSkin(GameState& g, std::string* missingPictures) {
  if (missingPictures) missingPictures->clear();
  const std::string name = g.Opt.SkinName;
  g.Unmet.Skin.clear();
  if (auto code = BuiltinSkinCode(name)) {
    g.Opt.BoardSizeCode = *code;
    return true;
  }
  auto fail = [&](const std::string& why) {
    SkinFallback(g, why);
    return false;
  };
  if (!IsSafeFileName(name)) return fail("\"" + Excerpt(name) + "\" is not a skin name.");
  const std::string path = SkinFilePath(g, name);
  const FileRead read = ReadFileChecked(path, 1u << 20);
  if (read.status != ReadStatus::Ok) {
    if (read.status == ReadStatus::Missing) g.Unmet.Skin = name;  // kept in the settings for when it is back
    return fail("Skin file \"" + path + "\" is missing or cannot be read.");
  }
  SkinFileData data;
  std::string error;
  if (!ParseSkinText(DecodeText(read.bytes), path, data, &error)) return fail(error);

  const std::string folder = SkinPictureFolder(g, name);
  // A picture the file does not name is left empty: the window shows the
  // built-in picture of the skin's size in its place.
  std::array<std::string, kSkinPictures> pictures{};
  std::string missing;
  for (int k = 0; k < kSkinPictures; ++k) {
    if (!data.Pictures[k]) {
      std::string_view key = kPictureKeys[k];
      missing += (missing.empty() ? "" : ", ") + std::string(key.substr(0, key.size() - 1));
      continue;
    }
    const std::string full = ResolvePath(folder, *data.Pictures[k]);
    std::error_code ec;
    if (!fs::is_regular_file(full, ec))
      return fail("Skin file \"" + path + "\", key " + kPictureKeys[k] + ": the picture \"" + full +
                  "\" does not exist.");
    pictures[k] = full;
  }
  g.Opt.BoardSizeCode = 4;
  g.Skin.BoardCustomSize = data.BoardCustomSize.value_or(-1);
  if (data.DarkHighlightColor) g.Skin.DarkHighlightColor = *data.DarkHighlightColor;
  if (data.LightHighlightColor) g.Skin.LightHighlightColor = *data.LightHighlightColor;
  g.Skin.Pictures = pictures;
  g.Skin.StatusPanel = 1;
  if (!missing.empty()) {
    const std::string text = "Skin file \"" + path + "\" names no picture for: " + missing +
                             ".\r\nThe built-in pictures are shown for these.";
    if (missingPictures)
      *missingPictures = text;
    else
      g.host->message(Icon::Exclamation, "Error", text);
  }
  return true;
}

std::vector<std::string> SkinNames(const GameState& g) {
  std::vector<std::string> names = {"Classic Small", "Classic Medium", "Classic Big"};
  std::vector<std::string> found;
  std::error_code ec;
  const fs::path folder = ResolvePath(g.ProgramFolder, "skins");
  if (fs::is_directory(folder, ec))
    for (const auto& e : fs::directory_iterator(folder, ec)) {
      const std::string file = e.path().filename().string();
      if (file.size() > 4 && ToLower(file.substr(file.size() - 4)) == ".ini" && e.is_regular_file(ec))
        found.push_back(file.substr(0, file.size() - 4));
    }
  std::sort(found.begin(), found.end());
  names.insert(names.end(), found.begin(), found.end());
  return names;
}

}  // namespace m8
