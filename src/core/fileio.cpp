#include "core/fileio.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

// Flushing a file to the disk is the one thing the standard library cannot
// ask for; on POSIX systems the calls are used directly.
#if __has_include(<unistd.h>) && __has_include(<fcntl.h>)
#include <fcntl.h>
#include <unistd.h>
#define M8_HAVE_POSIX 1
#else
#define M8_HAVE_POSIX 0
#endif

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

namespace {

// The file a path finally names, following symbolic links (a relative link
// counts from the link's own folder). A chain that does not end within a few
// links is left as it is; the write then fails with the system's reason.
fs::path FinalTarget(const fs::path& path) {
  fs::path p = path;
  for (int hop = 0; hop < 32; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(p, ec)) return p;
    fs::path link = fs::read_symlink(p, ec);
    if (ec) return p;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}

std::string Reason(int err) { return std::generic_category().message(err); }

// Writes all bytes to a new file and forces them to the disk.
bool WriteDurably(const std::string& file, std::string_view bytes, int* err) {
  std::FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) {
    *err = errno;
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
  if (!ok) *err = errno;
#if M8_HAVE_POSIX
  if (ok && ::fsync(::fileno(f)) != 0) {
    *err = errno;
    ok = false;
  }
#endif
  if (std::fclose(f) != 0 && ok) {
    *err = errno;
    ok = false;
  }
  return ok;
}

// After a rename: the folder's entry itself reaches the disk.
void SyncFolder([[maybe_unused]] const fs::path& folder) {
#if M8_HAVE_POSIX
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#endif
}

}  // namespace

std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data(maxBytes, '\0');
  in.read(data.data(), static_cast<std::streamsize>(maxBytes));
  if (in.bad()) return std::nullopt;
  data.resize(static_cast<size_t>(in.gcount()));
  return data;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  const fs::path target = FinalTarget(path);
  const std::string tmp = target.string() + ".tmp";
  auto fail = [&](const std::string& what) {
    if (error) *error = "cannot write \"" + path + "\": " + what;
    std::error_code ec;
    fs::remove(tmp, ec);
    return false;
  };
  int err = 0;
  if (!WriteDurably(tmp, bytes, &err)) return fail(Reason(err));
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::is_regular_file(old)) fs::permissions(tmp, old.permissions(), ec);
  fs::rename(tmp, target, ec);
  if (ec) return fail(ec.message());
  SyncFolder(target.parent_path());
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
