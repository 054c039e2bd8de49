#include "core/fileio.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <utility>
#include <system_error>
#include <thread>
#include <vector>

// Flushing a file to the disk is the one thing the standard library cannot
// ask for; on POSIX systems the calls are used directly.
#if __has_include(<unistd.h>) && __has_include(<fcntl.h>) && __has_include(<sys/file.h>)
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#define M8_HAVE_POSIX 1
#else
#define M8_HAVE_POSIX 0
#endif

#include "core/numtext.h"

namespace fs = std::filesystem;

namespace m8 {


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

// A temporary's name: the target's name, ".", twelve lower-case hex digits
// (eight random, four counting) and ".tmp". The target's name is cut short
// (at a whole UTF-8 character) where the whole would pass the longest name
// the folder takes; the digits keep it apart from the temporaries of other
// files whose names begin alike.
constexpr size_t kTemporaryDigits = 12;
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr size_t kTemporaryTail = 1 + kTemporaryDigits + kTemporaryEnd.size();

// The longest file name the folder takes.
size_t NameLimit([[maybe_unused]] const fs::path& folder) {
#if M8_HAVE_POSIX
  const long n = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  if (n > 0) return static_cast<size_t>(n);
#endif
  return 255;
}

// The part of a temporary's name before its digits.
std::string TemporaryBase(const fs::path& target) {
  std::string name = target.filename().string();
  const size_t limit = NameLimit(target.parent_path());
  const size_t room = limit > kTemporaryTail ? limit - kTemporaryTail : 0;
  if (name.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return name;
}

bool IsTemporaryName(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + kTemporaryTail) return false;
  if (!name.starts_with(base) || name[base.size()] != '.' || !name.ends_with(kTemporaryEnd)) return false;
  const std::string_view digits = name.substr(base.size() + 1, kTemporaryDigits);
  return std::all_of(digits.begin(), digits.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A temporary last written before this is left from a run that ended during
// its save: no save of this run made it. The second's margin allows for file
// times kept coarser than the clock; such a leftover goes at a later run.
const fs::file_time_type kLeftoverBefore = fs::file_time_type::clock::now() - std::chrono::seconds(1);

// Removes the leftover temporaries of `target` (see kLeftoverBefore): plain
// files of exactly the names CreateTemporary gives. A file that only looks
// like one, or was written during this run, is left alone.
void RemoveLeftoverTemporaries(const fs::path& target) {
  const std::string name = TemporaryBase(target);
  std::vector<fs::path> leftovers;
  std::error_code ec;
  fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path& p = it->path();
    if (!IsTemporaryName(p.filename().string(), name)) continue;
    std::error_code e;
    if (!fs::is_regular_file(fs::symlink_status(p, e))) continue;
    const fs::file_time_type written = fs::last_write_time(p, e);
    if (!e && written < kLeftoverBefore) leftovers.push_back(p);
  }
  for (const fs::path& p : leftovers) fs::remove(p, ec);
}

// Creates a new file beside the target under a name no other file has (see
// kTemporaryDigits). Opened exclusively, so neither a user's file of that
// name nor another program's temporary is ever written.
std::FILE* CreateTemporary(const fs::path& target, std::string* tmp, int* err) {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const std::string base = TemporaryBase(target);
  for (int attempt = 0; attempt < 64; ++attempt) {
    char part[20];
    std::snprintf(part, sizeof part, ".%08x%04x", static_cast<unsigned>(rd()), (counter++) & 0xFFFFu);
    *tmp = (target.parent_path() / (base + part + std::string(kTemporaryEnd))).string();
    // "x": fails when the name exists (C11 and every C++17 library).
    if (std::FILE* f = std::fopen(tmp->c_str(), "wbx")) return f;
    *err = errno;
    if (*err != EEXIST) break;
  }
  tmp->clear();
  return nullptr;
}

// Flushes a new file to the disk and closes it.
bool FinishDurably(std::FILE* f, bool ok, int* err) {
  if (ok && std::fflush(f) != 0) ok = false;
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

namespace {

FileRead Refusal(ReadStatus status, std::string reason) {
  FileRead r;
  r.status = status;
  r.reason = std::move(reason);
  return r;
}

// Opens an existing file for reading, or says why it cannot be.
std::FILE* OpenForReading(const std::string& path, const OpenRefusal& refused, FileRead* result) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) {
    *result = Refusal(ReadStatus::Missing, "it does not exist");
    return nullptr;
  }
  if (!fs::is_regular_file(st)) {
    *result = Refusal(ReadStatus::Unreadable, "it is not a file");
    return nullptr;
  }
  if (refused && refused(path)) {
    *result = Refusal(ReadStatus::Unreadable, Reason(EACCES));
    return nullptr;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) *result = Refusal(ReadStatus::Unreadable, Reason(errno));
  return f;
}

}  // namespace

FileRead ReadFileChecked(const std::string& path, size_t maxBytes, const OpenRefusal& refused) {
  FileRead result;
  std::FILE* f = OpenForReading(path, refused, &result);
  if (!f) return result;
  auto tooLarge = [&] {
    return Refusal(ReadStatus::TooLarge, "it is larger than " + std::to_string(maxBytes) + " bytes");
  };
  // A file known to be too large is not read at all.
  std::error_code ec;
  if (const auto size = fs::file_size(path, ec); !ec && size > maxBytes) {
    std::fclose(f);
    return tooLarge();
  }
  result.status = ReadStatus::Ok;
  char buffer[1 << 14];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (result.bytes.size() + got > maxBytes) {
      result = tooLarge();
      break;
    }
    result.bytes.append(buffer, got);
  }
  if (std::ferror(f)) result = Refusal(ReadStatus::Unreadable, Reason(errno));
  std::fclose(f);
  return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
  FileRead r = ReadFileChecked(path, maxBytes);
  if (r.status != ReadStatus::Ok) return std::nullopt;
  return std::move(r.bytes);
}

FileRead ReadLeadingLines(const std::string& path, size_t maxLines, size_t maxLineBytes,
                          const OpenRefusal& refused) {
  FileRead result;
  std::FILE* f = OpenForReading(path, refused, &result);
  if (!f) return result;
  result.status = ReadStatus::Ok;
  std::string& out = result.bytes;
  size_t lines = 0, lineStart = 0;
  bool inLine = false, afterCr = false;
  bool cut = false;
  auto endLine = [&] {
    // A cut line ends on a whole UTF-8 character.
    if (cut) {
      size_t k = out.size();
      while (k > lineStart && out.size() - k < 3 && (static_cast<unsigned char>(out[k - 1]) & 0xC0) == 0x80) --k;
      if (k > lineStart) {
        const auto lead = static_cast<unsigned char>(out[k - 1]);
        const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (out.size() - (k - 1) < need) out.resize(k - 1);
      }
    }
    out += "\r\n";
    ++lines;
    inLine = false;
    cut = false;
  };
  char buffer[1 << 14];
  size_t got;
  while (lines < maxLines && (got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    for (size_t i = 0; i < got && lines < maxLines; ++i) {
      const char c = buffer[i];
      const bool lf = c == '\n';
      if (lf && afterCr) {  // the LF of a CR LF
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      if (lf || afterCr) {
        if (!inLine) lineStart = out.size();
        endLine();
        continue;
      }
      if (!inLine) {
        lineStart = out.size();
        inLine = true;
      }
      if (out.size() - lineStart < maxLineBytes)
        out += c;
      else
        cut = true;
    }
  }
  if (std::ferror(f)) result = Refusal(ReadStatus::Unreadable, Reason(errno));
  else if (inLine && lines < maxLines) endLine();
  std::fclose(f);
  return result;
}

namespace {

std::string WriteFailure(const std::string& path, const std::string& what) {
  return "cannot write \"" + path + "\": " + what;
}

#if M8_HAVE_POSIX
// A user's or a group's name for a message, its number where it has none.
std::string UserName(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
    return found->pw_name;
  return "user " + std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->gr_name)
    return found->gr_name;
  return "group " + std::to_string(gid);
}

std::string OthersFile(uid_t owner) { return "the file belongs to another user (" + UserName(owner) + ")"; }

// Gives a new file the owner and group of the file it is to replace (none:
// nothing to keep). False, with the reason, when the system refuses.
bool KeepOwner(int fd, const fs::path& target, std::string* why) {
  struct stat old {}, now {};
  if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode) || ::fstat(fd, &now) != 0) return true;
  if (old.st_uid == now.st_uid && old.st_gid == now.st_gid) return true;
  if (::fchown(fd, old.st_uid, old.st_gid) == 0) return true;
  *why = old.st_uid != now.st_uid ? OthersFile(old.st_uid)
                                  : "the file belongs to the group " + GroupName(old.st_gid) + ", which " +
                                        UserName(now.st_uid) + " is not in";
  return false;
}
#endif

// Writes a file through a fresh temporary beside it (filled by fill, which
// answers whether it wrote everything) and renames it over the old one.
template <typename Fill>
bool ReplaceThrough(const std::string& path, Fill&& fill, std::string* error) {
  if (!IsReplaceable(path, error)) return false;
  const fs::path target = FinalTarget(path);
  std::string tmp;
  auto fail = [&](const std::string& what) {
    if (error) *error = WriteFailure(path, what);
    std::error_code ec;
    if (!tmp.empty()) fs::remove(tmp, ec);
    return false;
  };
  RemoveLeftoverTemporaries(target);
  int err = 0;
  std::FILE* f = CreateTemporary(target, &tmp, &err);
  if (!f) return fail(Reason(err));
#if M8_HAVE_POSIX
  if (std::string why; !KeepOwner(::fileno(f), target, &why)) {
    std::fclose(f);
    return fail(why);
  }
#endif
  errno = 0;
  std::string why;
  const bool filled = fill(f, &why);
  if (!filled && why.empty()) err = errno;
  if (!FinishDurably(f, filled, &err)) return fail(why.empty() ? Reason(err) : why);
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::is_regular_file(old)) fs::permissions(tmp, old.permissions(), ec);
  fs::rename(tmp, target, ec);
  if (ec) return fail(ec.message());
  SyncFolder(target.parent_path());
  return true;
}

}  // namespace

bool IsProtectedFile(const std::string& path, std::string* error) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);  // of the file a link names
  if (ec || !fs::is_regular_file(st)) return false;
  // The permission bits, not the system's verdict alone: the system lets an
  // administrator write any file, yet the user's protection still holds.
  std::string why = "the file is read-only";
  bool refused = (st.permissions() & fs::perms::owner_write) == fs::perms::none;
#if M8_HAVE_POSIX
  if (!refused && ::access(path.c_str(), W_OK) != 0 && errno == EACCES) {
    refused = true;
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && named.st_uid != ::geteuid()) why = OthersFile(named.st_uid);
  }
#endif
  if (refused && error) *error = WriteFailure(path, why);
  return refused;
}

bool IsReplaceable(const std::string& path, std::string* error) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);  // of the file a link names
  if (ec || !fs::exists(st)) return true;           // a new file (or the write says why not)
  std::string what;
  switch (st.type()) {
    case fs::file_type::regular: break;
    case fs::file_type::directory: what = "a folder"; break;
    case fs::file_type::fifo: what = "a named pipe"; break;
    case fs::file_type::socket: what = "a socket"; break;
    case fs::file_type::block:
    case fs::file_type::character: what = "a device"; break;
    default: what = "no ordinary file"; break;
  }
  if (!what.empty()) {
    if (error) *error = WriteFailure(path, "it is " + what + ", not a file");
    return false;
  }
  if (IsProtectedFile(path, error)) return false;
#if M8_HAVE_POSIX
  // Only an administrator may give a file to another user.
  struct stat named {};
  if (::geteuid() != 0 && ::stat(path.c_str(), &named) == 0 && named.st_uid != ::geteuid()) {
    if (error) *error = WriteFailure(path, OthersFile(named.st_uid));
    return false;
  }
#endif
  return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  return ReplaceThrough(
      path,
      [&](std::FILE* f, std::string*) { return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); },
      error);
}

namespace {

#if M8_HAVE_POSIX
// Takes the lock of an open file, waiting until `deadline` while another
// program holds it. The wait is the system's own, which hands the lock to a
// waiting program as soon as it is given up. It runs on a thread of its own,
// which, when the deadline has passed first, lets the lock go at once should
// it still come. False, with busy set, when the deadline passed; false with
// the system's error in err when no lock can be had.
bool WaitForLock(int fd, std::chrono::steady_clock::time_point deadline, bool* busy, int* err) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  *err = errno;
  if (*err != EWOULDBLOCK) return false;
  struct Wait {
    std::mutex m;
    std::condition_variable done;
    bool finished = false, taken = false, abandoned = false;
    int err = 0;
  };
  auto wait = std::make_shared<Wait>();
  // The same open file: a lock taken through the copy is the file's lock.
  const int copy = ::dup(fd);
  if (copy < 0) {
    *err = errno;
    return false;
  }
  try {
    std::thread([wait, copy] {
      int r;
      while ((r = ::flock(copy, LOCK_EX)) != 0 && errno == EINTR) {
      }
      const int e = r == 0 ? 0 : errno;
      {
        const std::lock_guard<std::mutex> hold(wait->m);
        if (wait->abandoned && r == 0) ::flock(copy, LOCK_UN);
        wait->taken = r == 0;
        wait->err = e;
        wait->finished = true;
      }
      ::close(copy);
      wait->done.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    ::close(copy);
    *err = EAGAIN;
    return false;
  }
  std::unique_lock<std::mutex> hold(wait->m);
  if (wait->done.wait_until(hold, deadline, [&] { return wait->finished; })) {
    *err = wait->err;
    return wait->taken;
  }
  wait->abandoned = true;
  *busy = true;
  return false;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }
#endif

}  // namespace

FileLock::FileLock(const std::string& path, [[maybe_unused]] double patienceSeconds)
    : target_(FinalTarget(path).string()) {
#if M8_HAVE_POSIX
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(patienceSeconds));
  const char* name = target_.c_str();
  // Each round finds the file another program replaced (or created, or
  // removed) meanwhile; a file replaced that often is taken as busy.
  for (int round = 0; round < 1000; ++round) {
    struct stat named {};
    const bool missing = ::stat(name, &named) != 0 && errno == ENOENT;
    // Never opened: a device or a named pipe, which opening may change or
    // keep waiting.
    if (!missing && (named.st_mode & S_IFMT) != 0 && !S_ISREG(named.st_mode)) {
      failure_ = "it is not a file";
      return;
    }
    const int fd = missing ? ::open(name, O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)
                           : ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == (missing ? EEXIST : ENOENT)) continue;  // another program came first
      failure_ = Reason(errno);
      return;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(fd);
      failure_ = "it is not a file";
      return;
    }
    int err = 0;
    if (!WaitForLock(fd, deadline, &busy_, &err)) {
      ::close(fd);
      if (!busy_) failure_ = Reason(err);
      return;
    }
    // The lock counts while the name still stands for the file locked.
    if (::stat(name, &named) == 0 && SameFile(named, opened)) {
      fd_ = fd;
      created_ = missing;
      return;
    }
    ::close(fd);
    if (Clock::now() >= deadline) break;
  }
  busy_ = true;
#endif
}

FileLock::~FileLock() { Release(); }

std::string FileLock::folder() const {
  const fs::path target(target_);
  return target.has_parent_path() ? target.parent_path().string() : std::string(".");
}

void FileLock::Release() {
#if M8_HAVE_POSIX
  if (fd_ >= 0) {
    // The empty file made to hold the lock goes while nothing took its place.
    struct stat locked {}, named {};
    if (created_ && ::fstat(fd_, &locked) == 0 && locked.st_size == 0 && ::stat(target_.c_str(), &named) == 0 &&
        SameFile(locked, named))
      ::unlink(target_.c_str());
    ::close(fd_);  // the lock goes with its descriptor
  }
#endif
  fd_ = -1;
  created_ = false;
}

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

bool CopyWholeFile(const std::string& from, const std::string& to, std::string* error) {
  std::ifstream in(from, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot read \"" + from + "\"";
    return false;
  }
  return ReplaceThrough(
      to,
      [&](std::FILE* f, std::string* why) {
        std::vector<char> buffer(1u << 16);
        while (in) {
          in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
          const auto got = static_cast<size_t>(in.gcount());
          if (got > 0 && std::fwrite(buffer.data(), 1, got, f) != got) return false;
        }
        if (in.bad()) *why = "reading \"" + from + "\" failed";
        return !in.bad();
      },
      error);
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
