#include "cli.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Jconvert.h"
#include "file_io.h"

namespace jconvert_cli {
namespace {

struct UsageError {
  std::string message;
};

using Options = std::map<std::string, std::string>;
using Conversion = std::function<std::string(const std::string& input)>;

struct Command {
  std::string_view name;
  std::string_view synopsis;
  std::vector<std::string_view> options;  // each takes one value
  // Checks the option values (throwing UsageError) and returns the
  // conversion to run over the input, so no input is read for a bad call.
  std::function<Conversion(const Options&)> prepare;
};

std::optional<int> parse_int(std::string_view s) {
  int value = 0;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (ec != std::errc() || ptr != end || s.empty()) return std::nullopt;
  return value;
}

int parse_named(std::string_view option, std::string_view value,
                std::initializer_list<std::pair<std::string_view, int>> names) {
  for (const auto& [name, id] : names) {
    if (value == name) return id;
  }
  if (auto n = parse_int(value)) return *n;
  throw UsageError{"invalid value for " + std::string(option) + ": '" + std::string(value) + "'"};
}

int jcode_option(const Options& opts, std::string_view option) {
  return parse_named(option, opts.at(std::string(option)),
                     {{"ascii", JCODE_ASCII},
                      {"binary", JCODE_BINARY},
                      {"jis", JCODE_JIS83},
                      {"jis83", JCODE_JIS83},
                      {"jis78", JCODE_JIS78},
                      {"euc", JCODE_EUC},
                      {"sjis", JCODE_SJIS},
                      {"euc-or-sjis", JCODE_EUC_OR_SJIS}});
}

int eol_option(const Options& opts, std::string_view option) {
  return parse_named(option, opts.at(std::string(option)),
                     {{"none", RETCODE_NONE}, {"crlf", RETCODE_CRLF}, {"cr", RETCODE_CR}, {"lf", RETCODE_LF}});
}

const std::string& required(const Options& opts, const char* option) {
  auto it = opts.find(option);
  if (it == opts.end()) throw UsageError{std::string("missing ") + option};
  return it->second;
}

std::string jcode_name(int code) {
  static const char* const names[] = {"JCODE_ASCII", "JCODE_BINARY", "JCODE_JIS83",      "JCODE_JIS78",
                                      "JCODE_EUC",   "JCODE_SJIS",   "JCODE_EUC_OR_SJIS"};
  return code >= 0 && code <= 6 ? names[code] : std::to_string(code);
}

std::string retcode_name(int code) {
  static const char* const names[] = {"RETCODE_NONE", "RETCODE_CRLF", "RETCODE_CR", "RETCODE_LF"};
  return code >= 0 && code <= 3 ? names[code] : std::to_string(code);
}

// The value of --line-break: \r, \n, \t, \\ and \xHH stand for their bytes,
// since a shell argument cannot easily hold a bare CR.
std::string unescape_line_break(std::string_view text) {
  auto bad = [&] { return UsageError{"invalid escape in --line-break: '" + std::string(text) + "'"}; };
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) throw bad();
    switch (text[i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        const int hi = i + 1 < text.size() ? hex(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? hex(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) throw bad();
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default: throw bad();
    }
  }
  return out;
}

std::string line_break_option(const Options& opts, const char* fallback) {
  auto it = opts.find("--line-break");
  return it == opts.end() ? std::string(fallback) : unescape_line_break(it->second);
}

// The input is one header value; a line end that closes it is no part of
// the value and closes the output instead.
std::string display_header(const std::string& in) {
  std::size_t end = in.size();
  if (end > 0 && in[end - 1] == '\n') --end;
  if (end > 0 && in[end - 1] == '\r') --end;
  return DecodeHeaderForDisplay(in.substr(0, end)) + in.substr(end);
}

Conversion plain(std::string (*f)(const std::string&)) {
  return [f](const std::string& in) { return f(in); };
}

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"guess",
       "guess [FILE]                  print the detected character code",
       {},
       [](const Options&) -> Conversion {
         return [](const std::string& in) { return jcode_name(InCodeCheck(in)) + "\n"; };
       }},
      {"convert",
       "convert --to CODE [--from CODE] [FILE]  convert the character code",
       {"--to", "--from"},
       [](const Options& o) -> Conversion {
         required(o, "--to");
         const int to = jcode_option(o, "--to");
         if (o.count("--from")) {
           const int from = jcode_option(o, "--from");
           return [=](const std::string& in) { return StrictConvertJCode(in, from, to); };
         }
         return [=](const std::string& in) { return ConvertJCode(in, to); };
       }},
      {"eol-guess",
       "eol-guess [FILE]              print the detected line-end convention",
       {},
       [](const Options&) -> Conversion {
         return [](const std::string& in) { return retcode_name(ReturnCodeCheck(in)) + "\n"; };
       }},
      {"eol",
       "eol --to EOL [--from EOL] [FILE]  rewrite the line ends",
       {"--to", "--from"},
       [](const Options& o) -> Conversion {
         required(o, "--to");
         const int to = eol_option(o, "--to");
         if (o.count("--from")) {
           const int from = eol_option(o, "--from");
           return [=](const std::string& in) { return StrictConvertReturnCode(in, from, to); };
         }
         return [=](const std::string& in) { return ConvertReturnCode(in, to); };
       }},
      {"base64-encode",
       "base64-encode [--line-break TEXT] [FILE]  Base64; lines of 76 ended by TEXT (\\r \\n \\t \\\\ \\xHH)",
       {"--line-break"},
       [](const Options& o) -> Conversion {
         if (!o.count("--line-break")) return plain(EncodeBase64);
         const std::string lb = line_break_option(o, "");
         return [=](const std::string& in) { return EncodeBase64R(in, lb); };
       }},
      {"base64-decode",
       "base64-decode [FILE]          decode Base64",
       {},
       [](const Options&) -> Conversion { return plain(DecodeBase64); }},
      {"header-encode",
       "header-encode [FILE]          Shift_JIS header text to ISO-2022-JP encoded-words",
       {},
       [](const Options&) -> Conversion { return plain(CreateHeaderString); }},
      {"header-decode",
       "header-decode [FILE]          decode ISO-2022-JP encoded-words",
       {},
       [](const Options&) -> Conversion { return plain(DecodeHeaderString); }},
      {"header-display",
       "header-display [FILE]         a header value as shown, in Shift_JIS (code page 932)",
       {},
       [](const Options&) -> Conversion { return display_header; }},
      {"uu-encode",
       "uu-encode [--line-break TEXT] [FILE]  uuencoded body lines (TEXT default \\r\\n)",
       {"--line-break"},
       [](const Options& o) -> Conversion {
         const std::string lb = line_break_option(o, "\r\n");
         return [=](const std::string& in) { return EncodeUU(in, lb); };
       }},
      {"uu-decode",
       "uu-decode [FILE]              decode uuencoded body lines",
       {},
       [](const Options&) -> Conversion { return plain(DecodeUU); }},
      {"binhex-encode",
       "binhex-encode [--line-break TEXT] [FILE]  colon-framed BinHex 4.0 text (TEXT default \\r\\n)",
       {"--line-break"},
       [](const Options& o) -> Conversion {
         const std::string lb = line_break_option(o, "\r\n");
         return [=](const std::string& in) { return EncodeBinHex(in, lb); };
       }},
      {"binhex-decode",
       "binhex-decode [FILE]          decode colon-framed BinHex 4.0 text",
       {},
       [](const Options&) -> Conversion { return plain(DecodeBinHex); }},
  };
  return table;
}

void print_usage(std::FILE* to) {
  std::fputs(
      "usage: jconvert [--strict-check-len N] COMMAND [OPTIONS] [FILE]\n"
      "Reads FILE (or standard input) as bytes and writes the result to standard output.\n\n"
      "commands:\n",
      to);
  for (const Command& c : commands())
    std::fprintf(to, "  %.*s\n", static_cast<int>(c.synopsis.size()), c.synopsis.data());
  std::fputs(
      "\nCODE: ascii, binary, jis (= jis83), jis78, euc, sjis, euc-or-sjis, or an integer\n"
      "EOL:  none, crlf, cr, lf, or an integer\n"
      "--strict-check-len N  bytes scanned for binary data before detection (default 512)\n",
      to);
}

struct Invocation {
  const Command* command = nullptr;
  Options options;
  std::string file;
  bool help = false;
};

Invocation parse(int argc, char** argv) {
  Invocation inv;
  bool have_file = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      inv.help = true;
      return inv;
    }
    if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      std::string name(arg);
      std::optional<std::string> value;
      if (auto eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
      }
      const bool global = name == "--strict-check-len";
      bool known = global;
      if (inv.command) {
        for (std::string_view o : inv.command->options) known = known || o == name;
      }
      if (!known) throw UsageError{"unknown option " + name};
      if (!value) {
        if (i + 1 >= argc) throw UsageError{"option " + name + " needs a value"};
        value = argv[++i];
      }
      inv.options[name] = *value;
      continue;
    }
    if (!inv.command) {
      for (const Command& c : commands()) {
        if (c.name == arg) inv.command = &c;
      }
      if (!inv.command) throw UsageError{"unknown command '" + std::string(arg) + "'"};
      continue;
    }
    if (have_file) throw UsageError{"more than one FILE given"};
    inv.file = std::string(arg);
    have_file = true;
  }
  if (!inv.command) throw UsageError{"no command given (try --help)"};
  return inv;
}

}  // namespace

int run(int argc, char** argv) {
  Invocation inv;
  try {
    inv = parse(argc, argv);
    if (inv.help) {
      print_usage(stdout);
      return 0;
    }
    if (auto it = inv.options.find("--strict-check-len"); it != inv.options.end()) {
      auto n = parse_int(it->second);
      if (!n) throw UsageError{"invalid value for --strict-check-len: '" + it->second + "'"};
      STRICT_CHECK_LEN = *n;
    }
    const Conversion conversion = inv.command->prepare(inv.options);
    std::optional<std::string> input = read_all(inv.file);
    if (!input) {
      std::fprintf(stderr, "jconvert: cannot read %s: %s\n", inv.file.empty() ? "standard input" : inv.file.c_str(),
                   std::strerror(errno));
      return 1;
    }
    const std::string output = conversion(*input);
    if (!write_stdout(output)) {
      std::fprintf(stderr, "jconvert: cannot write standard output: %s\n", std::strerror(errno));
      return 1;
    }
    return 0;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "jconvert: %s\n", e.message.c_str());
    return 2;
  }
}

}  // namespace jconvert_cli
