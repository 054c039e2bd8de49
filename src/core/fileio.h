// Small file helpers shared by every reader and writer of the core: whole-file
// reads with a size limit, safe replacement, case-insensitive folder lookup.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m8 {

// Reads a whole file as bytes; nullopt when it is missing, unreadable or
// larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = 4u << 20);

// Reads at most the first maxBytes of a file, however large it is; nullopt
// when it is missing or unreadable.
std::optional<std::string> ReadFileStart(const std::string& path, size_t maxBytes);

// Writes a file through a temporary beside it, flushed to the disk, and
// renames it over the old one, so an interrupted write loses nothing. A path
// that is a symbolic link stays a link: its target is replaced. The new file
// keeps the permissions of the one it replaces. False on failure, with a
// reason that names `path` (never the temporary file).
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Joins a folder and a relative path written with '/' or '\'. Each part is
// matched against the disk ignoring letter case when the exact name is not
// there. The result uses '/'.
std::string ResolvePath(const std::string& folder, std::string_view relative);

// A name used as a file's base name: refuses path separators, "..", control
// characters and the empty name.
bool IsSafeFileName(std::string_view name);

}  // namespace m8
