#include "packer.h"

#include <exception>
#include <new>
#include <utility>

#include "emitter.h"
#include "lexer.h"
#include "platform.h"
#include "text_tables.h"
#include "text_units.h"
#include "vocabulary.h"

namespace {

int32_t livePackers = 0;

// A thread with room for the deepest nesting the parser accepts: about 2 KB
// of stack a level, reserved, not used, until the parse goes that deep.
constexpr size_t kDeepParseStack = size_t{512} << 20;
// The part of it the parse may use. AddressSanitizer cannot follow an
// exception thrown from more than 64 MB down a stack, so under it the parse
// stops shallower.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kDeepParseBudget = size_t{56} << 20;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kDeepParseBudget = size_t{56} << 20;
#else
constexpr size_t kDeepParseBudget = kDeepParseStack - (size_t{16} << 20);
#endif
#else
constexpr size_t kDeepParseBudget = kDeepParseStack - (size_t{16} << 20);
#endif

}  // namespace

trimlet::trimlet() : trimlet(std::make_shared<pack::Session>()) {}

trimlet::trimlet(std::shared_ptr<pack::Session> session) : session_(std::move(session)) {
  ++livePackers;
}

trimlet::~trimlet() { --livePackers; }

int32_t trimlet::LivePackers() { return livePackers; }

bool trimlet::AddSourceUtf8(std::string_view bytes, int32_t source,
                            pack::ProgressCallback progress, pack::SourceGoal goal) {
  return Add(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), source, progress, goal);
}

bool trimlet::AddSource(std::u16string_view text, int32_t source,
                        pack::ProgressCallback progress, pack::SourceGoal goal) {
  return Add(text.data(), text.size(), source, progress, goal);
}

// A source is read as a script first when its goal is to be found: a parse
// that meets import or export at the top level starts again as a module.
template <typename Unit>
bool trimlet::Add(const Unit* text, size_t size, int32_t source, pack::ProgressCallback progress,
                  pack::SourceGoal goal) {
  problem_.reset();
  if (size == 0) return false;
  // Real code holds about one token for every four or five characters; room
  // for one in three is only address space until it is used.
  tokens_.Reserve(tokens_.Size() + size / 3 + 16);
  bool needsModule = false;
  const pack::Goal first = goal == pack::SourceGoal::Module     ? pack::Goal::Module
                           : goal == pack::SourceGoal::CommonJs ? pack::Goal::CommonJs
                                                                : pack::Goal::Script;
  if (Parse(text, size, source, progress, first, needsModule)) return true;
  if (!(needsModule && goal == pack::SourceGoal::Detect)) return false;
  problem_.reset();
  return Parse(text, size, source, progress, pack::Goal::Module, needsModule);
}

namespace {

// The line of the text that holds `offset`, as UTF-8.
template <typename Unit>
std::string LineAround(const Unit* text, size_t size, size_t offset) {
  size_t start = offset < size ? offset : size;
  while (start > 0 && text[start - 1] != u'\n' && text[start - 1] != u'\r') --start;
  size_t end = offset < size ? offset : size;
  while (end < size && text[end] != u'\n' && text[end] != u'\r') ++end;
  if constexpr (sizeof(Unit) == 2) {
    return platform::WideToUtf8(std::u16string_view(text + start, end - start));
  } else {
    return std::string(reinterpret_cast<const char*>(text + start), end - start);
  }
}

}  // namespace

// One parse of a source into the list; on failure the list is as it was and
// problem_ says why. A source nested deeper than an ordinary stack allows is
// parsed again on a thread with room for it.
template <typename Unit>
bool trimlet::Parse(const Unit* text, size_t size, int32_t source, pack::ProgressCallback progress,
                    pack::Goal goal, bool& needsModule) {
  const size_t before = tokens_.Size();
  pack::ParseOptions options;
  options.goal = goal;
  options.source = source;
  options.endPreviousSource = anySource_;
  options.keepHashbang = before == 0;
  auto attempt = [&](int32_t mostNesting, std::unique_ptr<pack::Scopes>& scopes,
                     std::optional<pack::SyntaxError>& error) {
    tokens_.Truncate(before);
    scopes = std::make_unique<pack::Scopes>(size);
    options.mostNesting = mostNesting;
    pack::Lexer<Unit> lexer(text, size,
                            pack::LexTables{session_->identifiers, session_->literals,
                                            session_->regExps},
                            goal == pack::Goal::Module, progress);
    lexer.SetKeptComments(keptComments_);
    try {
      pack::ParseSource(lexer, tokens_, *scopes, options);
      error.reset();
    } catch (const pack::SyntaxError& e) {
      error = e;
    }
  };
  // Anything else thrown on the deep parse's thread (running out of memory)
  // is thrown again here.
  std::exception_ptr thrown;
  std::unique_ptr<pack::Scopes> scopes;
  std::optional<pack::SyntaxError> error;
  attempt(pack::kShallowNesting, scopes, error);
  if (error && error->tooDeep) {
    const bool ran = platform::RunWithStack(kDeepParseStack, [&] {
      try {
        options.stackBudget = kDeepParseBudget;
        attempt(pack::kMostNesting, scopes, error);
      } catch (...) {
        thrown = std::current_exception();
      }
    });
    if (thrown) std::rethrow_exception(thrown);
    if (!ran) error->tooDeep = true;
  }
  if (!error) {
    scopes_.push_back(std::move(scopes));
    anySource_ = true;
    return true;
  }
  tokens_.Truncate(before);
  needsModule = error->needsModule;
  pack::SourceProblem problem;
  problem.source = source;
  pack::Lexer<Unit>::LineAndColumn(text, size, error->offset, problem.line, problem.column);
  problem.message = error->message;
  problem.lineText = LineAround(text, size, error->offset);
  problem_ = std::move(problem);
  return false;
}

void trimlet::Process() {
  for (const auto& scopes : scopes_) scopes->Resolve();
}

std::optional<std::u16string> trimlet::Output() const {
  try {
    return pack::EmitTokens(*session_, Tokens(), 0, Tokens().Size(), renamed_);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

// A long list is written in two parts at once, the second on a worker thread;
// the output stage itself knows nothing of threads.
std::optional<std::string> trimlet::OutputBytes(pack::TextEncoding encoding,
                                                bool byteOrderMark) const {
  constexpr size_t kTwoPartsFrom = size_t{1} << 17;
  if (pack::IsUtf16(encoding)) {  // written as UTF-8 first, then turned into UTF-16
    const std::optional<std::string> utf8 = OutputBytes(pack::TextEncoding::Utf8, false);
    if (!utf8) return std::nullopt;
    try {
      return pack::EncodeOutput(platform::Utf8ToWide(*utf8), encoding, true);
    } catch (const std::bad_alloc&) {
      return std::nullopt;
    }
  }
  try {
    const pack::TokenList& tokens = Tokens();
    const size_t end = tokens.Size();
    const auto texts = pack::EncodeTableTexts(*session_, 0, end, encoding);
    // Packed code averages about two bytes a token; room for four costs only
    // address space until it is used.
    const size_t cut = end >= kTwoPartsFrom ? pack::EmitCutPoint(tokens, 0, end) : end;
    if (cut == end) {
      return pack::EmitBytesPart(*session_, tokens, 0, end, end, encoding, byteOrderMark, texts.get(), end * 4, renamed_);
    }
    std::string first;
    std::string second;
    const bool secondDone = platform::RunBeside(
        [&] {
          second = pack::EmitBytesPart(*session_, tokens, cut, end, end, encoding, false, texts.get(),
                                       (end - cut) * 4, renamed_);
        },
        [&] {
          first = pack::EmitBytesPart(*session_, tokens, 0, cut, end, encoding, byteOrderMark, texts.get(),
                                      cut * 4, renamed_);
        });
    if (!secondDone) {  // memory ran out on the worker: written here instead
      second = pack::EmitBytesPart(*session_, tokens, cut, end, end, encoding, false, texts.get(), end - cut, renamed_);
    }
    first += second;
    return first;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> trimlet::OutputWithSourceMap(pack::TextEncoding encoding, bool byteOrderMark,
                                                        const std::string& file,
                                                        const std::vector<pack::MapSource>& sources,
                                                        const std::string& mapUrl,
                                                        std::string& map) const {
  try {
    std::vector<pack::Mapping> mappings;
    std::u16string text = pack::EmitTokensMapped(*session_, tokens_, renamed_, mappings);
    map = pack::SourceMapJson(file, sources, mappings, session_->identifiers);
    if (!text.empty() && text.back() != u'\n') text.push_back(u'\n');
    text += platform::Utf8ToWide(pack::SourceMapComment(mapUrl, map));
    text.push_back(u'\n');
    return pack::EncodeOutput(text, encoding, byteOrderMark || pack::IsUtf16(encoding));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void trimlet::SkipTo(pack::TokenIterator& position, int32_t stop1, int32_t stop2,
                     int32_t stop3) const {
  const pack::TokenList& tokens = Tokens();
  const std::vector<uint32_t>& matches = tokens.Matches();
  const size_t end = tokens.Size();
  while (position < end) {
    const pack::Token& t = tokens[position];
    if (t.kind != pack::Punctuator) {
      ++position;
      continue;
    }
    if (t.value == stop1 || t.value == stop2 || t.value == stop3) return;
    if (t.value == pack::kOpenBrace || t.value == pack::kOpenParen ||
        t.value == pack::kOpenBracket) {
      position = matches[position];  // the closer, or the end for an unclosed group
      if (position < end) ++position;
      continue;
    }
    ++position;
  }
}

template bool trimlet::Add(const char16_t*, size_t, int32_t, pack::ProgressCallback, pack::SourceGoal);
template bool trimlet::Add(const uint8_t*, size_t, int32_t, pack::ProgressCallback, pack::SourceGoal);
