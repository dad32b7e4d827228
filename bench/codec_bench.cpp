// In-process throughput of the codec, in input bytes per second.
//
//   codec_bench [benchmark flags] [DATA_DIR]
//
// DATA_DIR (default /tmp/tolvane-bench) holds text.sjis, text.euc and
// text.jis from gen_japanese_text.py. Each conversion runs on a mail-sized
// prefix (64 KiB), 1 MiB and the whole text; the transfer encodings run on
// random bytes and on their own output; the header display on 4 MiB of
// typical header values made from the Shift_JIS text, one call per value.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Jconvert.h"

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "codec_bench: cannot read %s (run bench/gen_japanese_text.py first)\n", path.c_str());
    std::exit(1);
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first `size` bytes of text, cut back to a line end so no character is split.
std::string prefix(const std::string& text, std::size_t size) {
  if (size >= text.size()) return text;
  const std::size_t cut = text.rfind('\n', size);
  return text.substr(0, cut == std::string::npos ? size : cut + 1);
}

std::string random_bytes(std::size_t size) {
  std::mt19937_64 rng(42);
  std::string out(size, '\0');
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    const std::uint64_t w = rng();
    for (int b = 0; b < 8; ++b) out[i + b] = static_cast<char>(w >> (8 * b));
  }
  return out;
}

using Conversion = std::string (*)(const std::string&);

void run(benchmark::State& state, const std::string* input, Conversion convert) {
  for (auto _ : state) {
    std::string out = convert(*input);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input->size()));
}

void add(const std::string& name, const std::string* input, Conversion convert) {
  benchmark::RegisterBenchmark(name.c_str(), run, input, convert)->Unit(benchmark::kMillisecond);
}

// Inputs live for the whole run; the benchmarks keep pointers to them.
std::string* keep(std::string s) { return new std::string(std::move(s)); }

struct Sized {
  const char* label;
  std::size_t size;
};
constexpr Sized kSizes[] = {{"64KiB", 64 << 10}, {"1MiB", 1 << 20}, {"all", std::string::npos}};

void add_charcode(const std::string& dir) {
  const std::string sjis = read_file(dir + "/text.sjis");
  const std::string euc = read_file(dir + "/text.euc");
  const std::string jis = read_file(dir + "/text.jis");
  struct Case {
    const char* name;
    const std::string* text;
    Conversion convert;
  };
  const Case cases[] = {
      {"sjis2euc", &sjis, sjis2euc}, {"euc2sjis", &euc, euc2sjis},   {"sjis2jis83", &sjis, sjis2jis83},
      {"jis2sjis", &jis, jis2sjis},  {"euc2jis83", &euc, euc2jis83}, {"jis2euc", &jis, jis2euc},
  };
  for (const Sized& s : kSizes) {
    for (const Case& c : cases) add(std::string(c.name) + "/" + s.label, keep(prefix(*c.text, s.size)), c.convert);
  }
  for (const Sized& s : kSizes) {
    add(std::string("InCodeCheck/sjis/") + s.label, keep(prefix(sjis, s.size)),
        [](const std::string& t) { return std::string(1, static_cast<char>(InCodeCheck(t))); });
  }
  add("ConvertJCode/sjis-to-euc/all", keep(sjis), [](const std::string& t) { return ConvertJCode(t, JCODE_EUC); });
}

void add_transfer() {
  const std::string data = random_bytes(64 << 20);
  const std::string* raw = keep(data);
  add("EncodeBase64", raw, EncodeBase64);
  add("EncodeBase64R/crlf", raw, [](const std::string& d) { return EncodeBase64R(d, "\r\n"); });
  add("DecodeBase64/crlf", keep(EncodeBase64R(data, "\r\n")), DecodeBase64);
  add("EncodeUU/crlf", raw, [](const std::string& d) { return EncodeUU(d, "\r\n"); });
  add("DecodeUU/crlf", keep(EncodeUU(data, "\r\n")), DecodeUU);
  add("EncodeBinHex/crlf", raw, [](const std::string& d) { return EncodeBinHex(d, "\r\n"); });
  add("DecodeBinHex/crlf", keep(EncodeBinHex(data, "\r\n")), DecodeBinHex);
}

// Header values as mail brings them, made from subject-sized pieces of the
// Shift_JIS text: ISO-2022-JP B words, UTF-8 B words folded every 45 bytes,
// UTF-8 Q words, plain ASCII and raw UTF-8, senders with an address.
std::vector<std::string> typical_header_values(const std::string& sjis, std::size_t total) {
  iconv_t to_utf8 = iconv_open("UTF-8", "CP932");
  const auto utf8_of = [&](const std::string& s) {
    std::string out(s.size() * 2, '\0');
    char* in = const_cast<char*>(s.data());
    std::size_t in_left = s.size(), out_left = out.size();
    char* o = out.data();
    iconv(to_utf8, nullptr, nullptr, nullptr, nullptr);
    iconv(to_utf8, &in, &in_left, &o, &out_left);
    out.resize(out.size() - out_left);
    return out;
  };
  const auto q_text = [](const std::string& bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string q;
    for (const char ch : bytes) {
      const auto c = static_cast<unsigned char>(ch);
      if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) q += ch;
      else q += {'=', hex[c >> 4], hex[c & 15]};
    }
    return q;
  };
  std::vector<std::string> values;
  std::size_t size = 0, at = 0;
  for (std::size_t n = 0; size < total; ++n) {
    // A piece of 20 to 60 bytes that ends on a character boundary and holds no line break.
    std::string piece;
    const std::size_t want = 20 + n % 41;
    while (piece.size() < want) {
      if (at + 1 >= sjis.size()) at = 0;
      const auto c = static_cast<unsigned char>(sjis[at]);
      const std::size_t len = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
      if (c != '\r' && c != '\n') piece.append(sjis, at, len);
      at += len;
    }
    const std::string utf8 = utf8_of(piece);
    std::string value;
    switch (n % 6) {
      case 0: value = " " + CreateHeaderString(piece); break;
      case 1:
        for (std::size_t i = 0; i < utf8.size(); i += 45)
          value += (i ? "\r\n =?UTF-8?B?" : " =?UTF-8?B?") + EncodeBase64(utf8.substr(i, 45)) + "?=";
        break;
      case 2: value = " =?utf-8?Q?" + q_text(utf8) + "?="; break;
      case 3: value = " Re: weekly report for project " + std::to_string(n); break;
      case 4: value = " " + utf8; break;
      default:
        value = " =?UTF-8?B?" + EncodeBase64(utf8.substr(0, 18)) + "?= <sender" + std::to_string(n) + "@example.jp>";
    }
    size += value.size();
    values.push_back(std::move(value));
  }
  iconv_close(to_utf8);
  return values;
}

void add_header_display(const std::string& dir) {
  const auto* values = new std::vector<std::string>(typical_header_values(read_file(dir + "/text.sjis"), 4 << 20));
  std::int64_t bytes = 0;
  for (const std::string& v : *values) bytes += static_cast<std::int64_t>(v.size());
  // One call per value, as the listing makes them.
  benchmark::RegisterBenchmark("DecodeHeaderForDisplay/typical-values-4MiB", [values, bytes](benchmark::State& state) {
    for (auto _ : state) {
      for (const std::string& v : *values) {
        std::string out = DecodeHeaderForDisplay(v);
        benchmark::DoNotOptimize(out.data());
      }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["values"] = static_cast<double>(values->size());
  })->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string dir = argc > 1 ? argv[1] : "/tmp/tolvane-bench";
  add_charcode(dir);
  add_transfer();
  add_header_display(dir);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
