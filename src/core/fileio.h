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
// reason that names `path` as ReplaceFile's do, for such a file; the reason
// names the owner of another user's file this process may not write.
bool IsProtectedFile(const std::string& path, std::string* error = nullptr);

// Whether ReplaceFile may replace what `path` names (a link counts as the
// file it names): a missing file, or a regular file that is not protected
// (IsProtectedFile) and whose owner the replacement keeps. A device, a named
// pipe, a socket or a folder is never replaced, nor another user's file by a
// process that cannot give the new file to that user (the file would become
// this user's). False, with a reason that names `path`, for those.
bool IsReplaceable(const std::string& path, std::string* error = nullptr);

// Writes a file through a temporary beside it, flushed to the disk, and
// renames it over the old one, so an interrupted write loses nothing. The
// temporary gets a fresh name of its own, so a user's file is never taken
// for it and two programs saving one file never share one; a long name is
// cut short for it, so that a file of the longest name the folder takes is
// replaced as well. Temporaries of
// the same file that a run ended during its save left behind (exactly those
// names, last written before this run began) are removed first. A path
// that is a symbolic link stays a link: its target is replaced. The new file
// keeps the permissions, the owner and the group of the one it replaces;
// what IsReplaceable refuses stays as it is, and so does a file whose group
// cannot be kept. False on failure, with a reason that names `path` (never
// the temporary file).
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// An exclusive lock for a read, change and replacement of a file
// (ReplaceFile) that no other program's change of it may come between: a
// FileLock of the same file in any program waits until this one is gone.
// The lock is held on the file itself (the file a link names), so changes
// of other files of its folder never wait for it. A replacement puts a new
// file under the name: a lock that was waiting for the old one finds that
// out and waits for the new one. A missing file is created empty to hold
// the lock, and taken away again by Release while it is still empty and
// still under its name (nothing was written). It works in every folder where
// the file can be written, a folder its user may not list included. Where no
// lock can be had, nothing is held and `failure` says why: the change must
// not go ahead. Where the system keeps no locks at all, nothing is held,
// `busy` is false and `failure` is empty.
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
  // Why no lock was had although no other program held it ("" when held,
  // busy, or where the system keeps no locks).
  const std::string& failure() const { return failure_; }
  // The folder the locked file stands in (that of the file a link names).
  std::string folder() const;
  // Gives the lock up (see above for a file it created).
  void Release();

 private:
  std::string target_;
  int fd_ = -1;
  bool created_ = false;
  bool busy_ = false;
  std::string failure_;
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
