// Small file helpers shared by every reader and writer of the core: whole-file
// reads with a size limit, safe replacement, case-insensitive folder lookup.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace m8 {

// Reads a whole file as bytes; nullopt when it is missing, unreadable or
// larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = 4u << 20);

// How reading a file went: the bytes, or why there are none.
enum class ReadStatus {
  Ok,
  Missing,     // no file of that name
  Unreadable,  // it exists but cannot be opened or read (reason says why)
  TooLarge,    // larger than the reader takes (nothing is read)
};
struct FileRead {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::string reason;
};

// Answers true for a path that is to count as a file that cannot be opened:
// tests stand in here for a file without read permission (they run as root).
using OpenRefusal = std::function<bool(const std::string& path)>;

// Reads a whole file of at most maxBytes.
FileRead ReadFileChecked(const std::string& path, size_t maxBytes, const OpenRefusal& refused = {});

// Reads the first maxLines lines of a file of any size. A line longer than
// maxLineBytes keeps only its start (never a part of a UTF-8 character) and
// the rest of it is skipped, so the lines after it are still read. The lines
// come back each ended by CR LF.
FileRead ReadLeadingLines(const std::string& path, size_t maxLines, size_t maxLineBytes,
                          const OpenRefusal& refused = {});

// A file the user has made read-only: it exists and its owner has no write
// permission (as "chmod a-w" or the read-only attribute leave it), or this
// process may not write it. Such a file is never written or replaced, not
// even by an administrator whom the system would let do so. True, with a
// reason that names `path` as ReplaceFile's do, for such a file.
bool IsProtectedFile(const std::string& path, std::string* error = nullptr);

// Writes a file through a temporary beside it, flushed to the disk, and
// renames it over the old one, so an interrupted write loses nothing. The
// temporary gets a fresh name of its own, so a user's file is never taken
// for it and two programs saving one file never share one; a long name is
// cut short for it, so that a file of the longest name the folder takes is
// replaced as well. Temporaries of
// the same file that a run ended during its save left behind (exactly those
// names, last written before this run began) are removed first. A path
// that is a symbolic link stays a link: its target is replaced. The new file
// keeps the permissions of the one it replaces; a protected file
// (IsProtectedFile) is refused and stays as it is. False on failure, with a
// reason that names `path` (never the temporary file).
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// An exclusive lock for a read, change and replacement of a file
// (ReplaceFile) that no other program's change of it may come between: a
// FileLock of the same file in any program waits until this one is gone, and
// waiting programs take their turns. The lock is held on the folder where the
// file is replaced (the file itself is a new one after each replacement, its
// folder stays), so it needs no file of its own and leaves none behind;
// changes of other files of that folder wait for it too. Where the folder
// cannot be opened or the system keeps no locks, nothing is held and `busy`
// is false: the change then goes ahead unguarded.
class FileLock {
 public:
  // Waits for the lock at most `patienceSeconds`.
  explicit FileLock(const std::string& path, double patienceSeconds = 30);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }
  // Another program held the lock for all the wait.
  bool busy() const { return busy_; }
  // Gives the lock up.
  void Release();

 private:
  int fd_ = -1;
  bool busy_ = false;
};

// A write past the file-size limit (ulimit -f) fails with a reason, as on a
// full disk, instead of ending the program (the system's SIGXFSZ is
// ignored). Called first thing by the program and by each tool.
void IgnoreFileSizeSignal();

// Copies a whole file, however large, through a temporary as ReplaceFile
// does. False, with the reason in error, when it cannot be read or written.
bool CopyWholeFile(const std::string& from, const std::string& to, std::string* error = nullptr);

// Joins a folder and a relative path written with '/' or '\'. Each part is
// matched against the disk ignoring letter case when the exact name is not
// there. The result uses '/'.
std::string ResolvePath(const std::string& folder, std::string_view relative);

// A name used as a file's base name: refuses path separators, "..", control
// characters and the empty name.
bool IsSafeFileName(std::string_view name);

}  // namespace m8
