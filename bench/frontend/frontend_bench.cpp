// Scanner and parser figures. The programs are generated here with the same
// statement mix as the large compile-time program (functions with LOCALs,
// IF/ELSEIF/ELSE, FOR/NEXT, WHILE, DO CASE, string and numeric expressions,
// array literals), already in preprocessed form. With a file argument
// (frontend_bench <file.ppo>) it times that file once instead.
//
// BM_ParseAndGenerate runs the whole front end as the driver does, up to
// the finished C files: statements generated while they are parsed, the
// first source's text spooled. Its "peak MB" counter is the process's peak
// resident set, which should stay flat as the program grows.
#include "codegen/emit_program.h"
#include "orvic_lex.h"
#include "parse_source.h"
#include "ss_yacc.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

// Reduces every production to a plain element, as cheaply as the engine allows.
class CountingParser : public SSYacc {
 public:
  explicit CountingParser(SSLex* lex) : SSYacc(lex, &zeltaYaccTable()) {}
  long reductions = 0;

 protected:
  SSYaccStackElement* reduce(uint32_t, uint32_t) override {
    ++reductions;
    return stackElement();
  }
};

std::string snippet(std::mt19937& rng) {
  int k = int(rng() % 96) + 2, m = int(rng() % 11) + 3;
  std::ostringstream s;
  switch (rng() % 8) {
    case 0:
      s << "   IF nA % " << m << " > " << m / 2 << "\n      nY := ( nY + nA * " << k << " ) % 10007\n"
        << "   ELSEIF nX > " << k << "\n      nY := ( nY + nX - " << k << " ) % 10007\n   ELSE\n"
        << "      nY := nY + " << k % 7 + 1 << "\n   ENDIF\n";
      break;
    case 1:
      s << "   FOR i := 1 TO " << m << "\n      nX := ( nX + i * " << k << " - ( i % 3 ) ) % 100003\n   NEXT\n";
      break;
    case 2:
      s << "   FOR i := " << m << " TO 1 STEP -1\n      cS := Right( cS + Str( i * " << k
        << ", 6, 0 ), 24 )\n   NEXT\n";
      break;
    case 3: s << "   nZ := 0\n   WHILE nZ < " << k << "\n      nZ := nZ + " << m << "\n   ENDDO\n"; break;
    case 4:
      s << "   DO CASE\n   CASE nX % " << m << " == 0\n      nZ := nZ + " << k << "\n   CASE nX % " << m
        << " == 1\n      nZ := nZ - " << k % 11 << "\n   OTHERWISE\n      nZ := nZ + 1\n   ENDCASE\n";
      break;
    case 5:
      s << "   cS := Upper( SubStr( cB + cS + \"q" << k << "z\", 2, " << m + 8 << " ) )\n"
        << "   nX := ( nX + Len( cS ) + At( \"Z\", cS ) + Val( Right( cS, 2 ) ) ) % 100003\n";
      break;
    case 6:
      s << "   aV := { nX % " << k << ", nY % " << m << ", " << k << " }\n"
        << "   nY := ( nY + aV[ 1 ] + aV[ 2 ] * aV[ 3 ] ) % 10007\n";
      break;
    default:
      s << "   nX := Int( ( nX * " << m << " + nY ) / " << k % 5 + 2 << " ) % 100003\n"
        << "   nZ := nZ + Round( nX / " << k << ", 2 ) - Int( nX / " << k << " )\n";
  }
  return s.str();
}

// About `lines` lines of program.
std::string program(long lines) {
  std::mt19937 rng(12345);
  std::string text = "// generated for the front-end figures\n";
  long n = 1, f = 0;
  while (n < lines) {
    std::string fn = "FUNCTION F" + std::to_string(++f) +
                     "( nA, cB )\n   LOCAL nX := 1, nY := 2, nZ := 0\n   LOCAL cS := \"\", i, aV := { 1, 2, 3 }\n";
    while (std::count(fn.begin(), fn.end(), '\n') < 48) fn += snippet(rng);
    fn += "   RETURN ( nX + nY + Int( nZ ) + Len( cS ) ) % 1000003\n\n";
    n += std::count(fn.begin(), fn.end(), '\n');
    text += fn;
  }
  return text;
}

long scanAndParse(const std::string& text) {
  SSLexStringConsumer consumer(text);
  OrvicLexClass lex(&consumer);
  CountingParser parser(&lex);
  if (parser.parse() != 0) std::abort();
  return parser.reductions;
}

void BM_TableLoad(benchmark::State& state) {
  for (auto _ : state) {
    SSLexTable lex = SSLexTable::fromResource("ZELTA_DFA");
    SSYaccTable yacc = SSYaccTable::fromResource("ZELTA_LLR");
    benchmark::DoNotOptimize(lex.lists() + yacc.states());
  }
}
BENCHMARK(BM_TableLoad)->Unit(benchmark::kMillisecond);

void BM_ScanAndParse(benchmark::State& state) {
  std::string text = program(state.range(0));
  zeltaYaccTable();
  zeltaLexTable();
  for (auto _ : state) benchmark::DoNotOptimize(scanAndParse(text));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["lines"] = double(std::count(text.begin(), text.end(), '\n'));
}
BENCHMARK(BM_ScanAndParse)->Arg(12500)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The scanner alone: the window loop over the bytes already read, and the
// same text character by character (double-byte mode, which the loop leaves
// to the slow path) for comparison.
void BM_Scan(benchmark::State& state) {
  std::string text = program(100000);
  zeltaLexTable();
  long lexemes = 0;
  for (auto _ : state) {
    SSLexStringConsumer consumer(text);
    consumer.setDbcs(state.range(0) != 0);
    OrvicLexClass lex(&consumer);
    while (SSRef<SSLexLexeme> l = lex.next()) benchmark::DoNotOptimize(l.get());
    lexemes = lex.lexemeCount();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["lexemes"] = double(lexemes);
}
BENCHMARK(BM_Scan)->ArgName("charwise")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Parses and generates the text as ".ppo" in a scratch folder; returns the
// bytes of C written.
long parseAndGenerateText(const std::string& text) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/frontend_bench_XXXXXX";
  if (!mkdtemp(pattern)) std::abort();
  fs::path work = pattern, old = fs::current_path();
  fs::current_path(work);
  long bytes = 0;
  {
    tProgram program;
    program.autoPublicPauseMs = 0;
    program.activate();
    program.options.moduleName = "BIG";
    program.options.sourcePath = "big.prg";
    program.options.sectionIndex = 1;
    program.options.lineTracking = true;
    tProgramWriter writer(program);
    // The entry point needs a main function.
    std::ofstream("big.ppo", std::ios::binary) << "FUNCTION Main()\n   RETURN NIL\n" << text << "\n";
    std::string error;
    // The front end's progress lines would drown the figures.
    std::fflush(stdout);
    int console = dup(STDOUT_FILENO), quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    bool ok = parseAndGenerate(writer, {"big.prg", "big.ppo", "big.cpp"}, error) && writer.writeFirstSource();
    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);
    close(console);
    close(quiet);
    if (!ok) std::abort();
    bytes = long(fs::file_size("big.cpp"));
  }
  fs::current_path(old);
  fs::remove_all(work);
  return bytes;
}

void BM_ParseAndGenerate(benchmark::State& state) {
  std::string text = program(state.range(0));
  zeltaYaccTable();
  zeltaLexTable();
  long bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bytes = parseAndGenerateText(text));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["C bytes"] = double(bytes);
  state.counters["peak MB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_ParseAndGenerate)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') {
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    auto t0 = std::chrono::steady_clock::now();
    long reductions = scanAndParse(text);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%s: %zu bytes, %ld reductions, %.3f s (tables included)\n", argv[1], text.size(), reductions, s);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
