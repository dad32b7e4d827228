// The NG-word list file: Shift_JIS as the program always read it, or the
// Unicode text that today's editors write.
#pragma once

#include <string>

#include "string_list.h"

// The file's text in Shift_JIS. UTF-16 with a byte-order mark, and UTF-8
// with one or without (when it holds 8-bit bytes and all of it is valid
// UTF-8), are converted by the header display's character rules, so that a
// word matches the subjects as they are shown; line breaks and a NUL stay.
// Anything else is Shift_JIS already and comes back unchanged.
std::string NgWordFileToSjis(const std::string& bytes);

// Replaces the list with the words of the file, as TStringList::LoadFromFile
// splits lines; throws EFOpenError, leaving the list as it was, when the
// file cannot be read.
void LoadNgWords(TStringList& list, const std::string& path);
