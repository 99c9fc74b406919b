// How fast the colouring lexer cuts every row of a text of about 100 MB into
// tokens, in MB of text per second. Painting and the bracket-state pass
// create one lexer per row; a pass that keeps one lexer and resets it per row
// shows what the allocation of the row copy costs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "bench/common/japanese_text.h"
#include "editor/colour/parser.h"

namespace {

const std::string& Text() {
  static const std::string text = bench::MakeJapaneseText(bench::BenchTextBytes());
  return text;
}

// The rows of the text, without their line breaks.
const std::vector<std::string_view>& Rows() {
  static const std::vector<std::string_view> rows = [] {
    std::vector<std::string_view> result;
    const std::string_view text = Text();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      result.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return result;
  }();
  return rows;
}

struct Owner : editor::TEditorParserOwner {
  const editor::TEditorViewInfo& View() const override { return view; }
  const platform::TStringList& ReserveWordList() const override { return reserve; }
  editor::TEditorViewInfo view;
  platform::TStringList reserve;
};

// The information window: web and mail addresses picked out, nothing else.
const Owner& InformationWindow() {
  static Owner owner;
  owner.view.SetUrl(true);
  owner.view.SetMail(true);
  return owner;
}

// Every rule on: block comment regions, a line comment, strings, hex
// numbers and control codes as a program text would use them.
const Owner& EveryRule() {
  static Owner owner;
  if (owner.view.Brackets().Count() == 0) {
    owner.view.SetUrl(true);
    owner.view.SetMail(true);
    owner.view.SetCommenter("//");
    owner.view.SetQuotation("'");
    owner.view.SetHexPrefix("$");
    owner.view.SetControlCode(true);
    for (auto [left, right] : {std::pair{"{", "}"}, std::pair{"(*", "*)"}}) {
      editor::TEditorBracketItem* item = owner.view.Brackets().Add();
      item->SetLeftBracket(left);
      item->SetRightBracket(right);
    }
  }
  return owner;
}

void SetCounters(benchmark::State& state, std::size_t tokens) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(Text().size()) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["rows"] = static_cast<double>(Rows().size());
  state.counters["tokens"] = static_cast<double>(tokens);
}

// One lexer per row, as painting makes them; the end state of each row is
// the start state of the next, as the bracket-state pass carries it.
void LexerPerRow(benchmark::State& state, const editor::TEditorParserOwner* owner) {
  Rows();
  std::size_t tokens = 0;
  for (auto _ : state) {
    tokens = 0;
    int bracket_state = editor::kNoBracketOpen;
    for (std::string_view row : Rows()) {
      editor::TEditorParser parser(owner, row, bracket_state);
      for (; parser.Token() != editor::tkEnd; parser.NextToken()) ++tokens;
      bracket_state = parser.BracketState();
    }
    benchmark::DoNotOptimize(tokens);
  }
  SetCounters(state, tokens);
}

// One lexer for the whole pass, reset for each row.
void LexerReused(benchmark::State& state, const editor::TEditorParserOwner* owner) {
  Rows();
  std::size_t tokens = 0;
  editor::TEditorParser parser(owner, "", editor::kNoBracketOpen);
  for (auto _ : state) {
    tokens = 0;
    int bracket_state = editor::kNoBracketOpen;
    for (std::string_view row : Rows()) {
      parser.Reset(row, bracket_state);
      for (; parser.Token() != editor::tkEnd; parser.NextToken()) ++tokens;
      bracket_state = parser.BracketState();
    }
    benchmark::DoNotOptimize(tokens);
  }
  SetCounters(state, tokens);
}

void BM_LexerPerRow_InformationWindow(benchmark::State& state) {
  LexerPerRow(state, &InformationWindow());
}
void BM_LexerPerRow_EveryRule(benchmark::State& state) {
  LexerPerRow(state, &EveryRule());
}
void BM_LexerPerRow_Bare(benchmark::State& state) {
  LexerPerRow(state, nullptr);
}
void BM_LexerReused_InformationWindow(benchmark::State& state) {
  LexerReused(state, &InformationWindow());
}

BENCHMARK(BM_LexerPerRow_InformationWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LexerPerRow_EveryRule)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LexerPerRow_Bare)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LexerReused_InformationWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
