#include "core/fileio.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/numtext.h"

namespace fs = std::filesystem;

namespace m8 {

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  auto size = fs::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data(static_cast<size_t>(size), '\0');
  in.read(data.data(), static_cast<std::streamsize>(size));
  if (static_cast<size_t>(in.gcount()) != size) return std::nullopt;
  return data;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      if (error) *error = "cannot write " + tmp;
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      if (error) *error = "cannot write " + tmp;
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    if (error) *error = "cannot replace " + path + ": " + ec.message();
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

std::string ResolvePath(const std::string& folder, std::string_view relative) {
  fs::path cur = folder.empty() ? fs::path(".") : fs::path(folder);
  std::string part;
  auto step = [&](const std::string& name) {
    if (name.empty()) return;
    fs::path exact = cur / name;
    std::error_code ec;
    if (!fs::exists(exact, ec) && fs::is_directory(cur, ec)) {
      const std::string want = ToLower(name);
      for (const auto& e : fs::directory_iterator(cur, ec))
        if (ToLower(e.path().filename().string()) == want) {
          cur = e.path();
          return;
        }
    }
    cur = exact;
  };
  for (char c : relative) {
    if (c == '/' || c == '\\') {
      step(part);
      part.clear();
    } else {
      part += c;
    }
  }
  step(part);
  return cur.generic_string();
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 32) return false;
  }
  return true;
}

}  // namespace m8
