// Whole-file reads and crash-safe whole-file replacement (POSIX).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <system_error>

namespace tolvane::platform {

// The bytes of the file at path. On failure returns nothing and sets ec;
// ec == std::errc::no_such_file_or_directory means the file does not exist.
// Only regular files are read: a directory gives std::errc::is_a_directory,
// a FIFO or device std::errc::invalid_argument.
std::optional<std::string> ReadFileBytes(const std::string& path, std::error_code& ec);

// Replaces the file at path with bytes so that a crash at any moment leaves
// either the old file or the new one, never a mix or a short file: the bytes
// go to a temporary file in the same folder, are flushed to disk and the
// temporary is renamed over path. An existing file keeps its mode (and, where
// permitted, its owner); a new file gets new_file_mode. A symbolic link is
// followed and its target replaced. Throws std::system_error on failure,
// leaving the old file untouched and no temporary behind.
void ReplaceFileAtomically(const std::string& path, const std::string& bytes, mode_t new_file_mode);

}  // namespace tolvane::platform
