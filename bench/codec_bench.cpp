// In-process throughput of the codec, in input bytes per second.
//
//   codec_bench [benchmark flags] [DATA_DIR]
//
// DATA_DIR (default /tmp/tolvane-bench) holds text.sjis, text.euc and
// text.jis from gen_japanese_text.py. Each conversion runs on a mail-sized
// prefix (64 KiB), 1 MiB and the whole text; the transfer encodings run on
// random bytes and on their own output.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

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

[[maybe_unused]] std::string random_bytes(std::size_t size) {
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
      {"sjis2euc", &sjis, sjis2euc},           {"euc2sjis", &euc, euc2sjis},
      {"sjis2jis83", &sjis, sjis2jis83},       {"jis2sjis", &jis, jis2sjis},
      {"euc2jis83", &euc, euc2jis83},          {"jis2euc", &jis, jis2euc},
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
#if defined(TOLVANE_BENCH_BASE64) || defined(TOLVANE_BENCH_UU) || defined(TOLVANE_BENCH_BINHEX)
  const std::string data = random_bytes(64 << 20);
  const std::string* raw = keep(data);
#endif
#ifdef TOLVANE_BENCH_BASE64
  add("EncodeBase64", raw, EncodeBase64);
  add("EncodeBase64R/crlf", raw, [](const std::string& d) { return EncodeBase64R(d, "\r\n"); });
  add("DecodeBase64/crlf", keep(EncodeBase64R(data, "\r\n")), DecodeBase64);
#endif
#ifdef TOLVANE_BENCH_UU
  add("EncodeUU/crlf", raw, [](const std::string& d) { return EncodeUU(d, "\r\n"); });
  add("DecodeUU/crlf", keep(EncodeUU(data, "\r\n")), DecodeUU);
#endif
#ifdef TOLVANE_BENCH_BINHEX
  add("EncodeBinHex/crlf", raw, [](const std::string& d) { return EncodeBinHex(d, "\r\n"); });
  add("DecodeBinHex/crlf", keep(EncodeBinHex(data, "\r\n")), DecodeBinHex);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string dir = argc > 1 ? argv[1] : "/tmp/tolvane-bench";
  add_charcode(dir);
  add_transfer();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
