// The pure parts of reading POP3 replies (RFC 1939), kept apart from the
// socket so that they can be tested on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pop3 {

// A reply is positive when its first blank-separated word contains "+OK".
bool IsOkReply(std::string_view line);

// The message count of a "STAT" reply: its second blank-separated word as a
// decimal number, 0 when that word is missing or not a number (signs, other
// characters, or a value beyond the range of std::int64_t).
std::int64_t ParseStatCount(std::string_view line);

// The line without its trailing LF or CR LF.
std::string_view StripLineEnd(std::string_view line);

// One line of a multi-line reply: true for the terminating ".", else false
// with the line's dot-stuffing undone (".." at the start becomes ".").
bool IsTerminator(std::string_view line);
std::string_view Unstuff(std::string_view line);

// If line starts with name (exact case, from its first byte), stores the
// rest of the line in value and returns true.
bool HeaderValue(std::string_view line, std::string_view name, std::string& value);

// A header line that begins with a blank or a tab continues the header
// before it (RFC 5322 folding).
bool IsContinuationLine(std::string_view line);
// Unfolds: appends the continuation line whole (its line break is gone, its
// blank stays) unless value would grow past max_length; false then, and
// value stays as it was.
bool AppendContinuation(std::string& value, std::string_view line, std::size_t max_length);

// One line of a UIDL reply, "n id" (RFC 1939): true with the message number
// (1 or more) and the id when the line is exactly these two words and the
// id is 1 to 70 characters from 0x21 to 0x7E.
bool ParseUidlLine(std::string_view line, std::int64_t& n, std::string_view& id);

}  // namespace pop3
