// A large text is scanned by two threads at once: the first part by the caller,
// the second on a worker thread into tokens and tables of its own, as if a ";"
// and a line break came before it. The second scan knows nothing of the
// brackets opened before its start, so the caller then appends its tokens with
// every flag worked out anew, and checks the two things that the brackets could
// have changed in how the text was read: which slashes began a regular
// expression, and which keyword spellings were names. Where either differs,
// the caller scans the second part again itself; the tokens and the tables end
// exactly as one scan from start to end would leave them.
#include <algorithm>

#include "context_rules.h"
#include "platform.h"
#include "scanner.h"
#include "scanner_run.h"
#include "vocabulary.h"

namespace pack {
namespace {

// The texts of `from` interned in `into`, in the order `from` first saw them,
// which is the order one scan of both parts would have added them in.
std::vector<int32_t> InternAll(TextTable& into, const TextTable& from) {
  std::vector<int32_t> indices(static_cast<size_t>(from.Count()));
  for (int32_t i = 0; i < from.Count(); ++i) {
    indices[static_cast<size_t>(i)] = into.Intern(from.Text(i));
  }
  return indices;
}

int32_t Translate(const Token& t, const ScanRemap& values) {
  const std::vector<int32_t>* table = t.kind == Identifier ? &values.identifiers
                                      : t.kind == Literal  ? &values.literals
                                      : t.kind == RegExp   ? &values.regExps
                                                           : nullptr;
  if (table == nullptr || t.value < 0 || static_cast<size_t>(t.value) >= table->size()) {
    return t.value;
  }
  return (*table)[static_cast<size_t>(t.value)];
}

template <typename Unit>
bool IsBlankBeforeLineEnd(Unit c) { return c == u' ' || c == u'\t' || c == u'\r'; }

// The three tables' sizes, to forget what a failed join added.
struct TableCounts {
  int32_t identifiers = IdentifierTable().Count();
  int32_t literals = LiteralTable().Count();
  int32_t regExps = RegExpTable().Count();

  void Restore() const {
    IdentifierTable().Truncate(identifiers);
    LiteralTable().Truncate(literals);
    RegExpTable().Truncate(regExps);
  }
};

template <typename Unit>
size_t SplitAt(const Unit* text, size_t size) {
  for (size_t i = size / 2; i + 1 < size; ++i) {
    if (text[i] != u'\n') continue;
    size_t j = i;
    while (j > 0 && IsBlankBeforeLineEnd(text[j - 1])) --j;
    if (j > 0 && text[j - 1] == u';') return i + 1;
  }
  return 0;
}

}  // namespace

size_t Scanner::SplitPoint(std::u16string_view text) { return SplitAt(text.data(), text.size()); }

size_t Scanner::SplitPoint(std::string_view bytes) {
  return SplitAt(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool Scanner::AddSourceInTwo(std::u16string_view text, int32_t sourceIndex,
                             ProgressCallback progress, size_t split) {
  return ScanInTwo(text.data(), text.size(), sourceIndex, progress, split);
}

bool Scanner::AddSourceUtf8InTwo(std::string_view bytes, int32_t sourceIndex,
                                 ProgressCallback progress, size_t split) {
  return ScanInTwo(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sourceIndex,
                   progress, split);
}

template <typename Unit>
bool Scanner::ScanInTwo(const Unit* text, size_t size, int32_t sourceIndex,
                        ProgressCallback progress, size_t split) {
  if (size == 0) return false;
  tokens_.Reserve(tokens_.Size() + size / 3 + 16);
  TokenList secondTokens;
  TextTable identifiers, literals, regExps;
  Run<Unit> second(secondTokens, text, size, sourceIndex, nullptr,
                   {identifiers, literals, regExps});
  Run<Unit> first(tokens_, text, size, sourceIndex, progress, ProcessTables());
  // Made here, not on the worker, so that its memory goes back to the heap the
  // later stages allocate from.
  secondTokens.Reserve((size - split) / 3 + 16);
  const bool secondDone = platform::RunBeside(
      [&] {
        second.StartAfterStatement(split, progress != nullptr);
        second.ScanAll();
      },
      [&] { first.ScanUntil(split); });
  const bool aligned = secondDone && first.Position() == split && first.AtFreshLine() &&
                       first.Prev() != nullptr &&
                       first.Prev()->IsPunct(kSemicolon);
  if (aligned) {
    const size_t tokensAtSplit = tokens_.Size();
    const TableCounts counts;
    const Run<Unit> atSplit = first;
    const ScanRemap values{InternAll(IdentifierTable(), identifiers),
                           InternAll(LiteralTable(), literals), InternAll(RegExpTable(), regExps)};
    if (first.Adopt(second, values, identifiers)) {
      first.ReportRest(second);
      return true;
    }
    tokens_.Truncate(tokensAtSplit);
    counts.Restore();
    first.Restore(atSplit);
  }
  first.ScanAll();
  return false;
}

template <typename Unit>
void Scanner::Run<Unit>::StartAfterStatement(size_t position, bool noteReports) {
  tokens_.Append(Token{kSemicolon, 0, source_, Punctuator, 0, 0});
  p_ = begin_ + position;
  if (noteReports) {
    // One scan has counted to here, and its next report is due at the latest
    // at the multiple of 1024 below; an earlier one is dropped when joined.
    reporting_ = true;
    counted_ = p_;
    countedUnits_ = static_cast<int32_t>(Units::CodeUnits(begin_, p_));
    nextReport_ = countedUnits_ - countedUnits_ % 1024;
    reportAt_ = p_;
  }
  newLine_ = true;
  lineHasToken_ = false;
  notesGroups_ = true;
}

// Whether this scan would have read the slash that begins `t` as the other one
// did: a regular expression only where one is allowed, and a division where
// none is allowed or none could be read (`refused`).
template <typename Unit>
bool Scanner::Run<Unit>::SlashReadAlike(const Token& t, bool refused) const {
  if (t.kind == RegExp) return SlashStartsRegExp(Prev());
  if (t.IsPunct(kSlash) || t.IsPunct(kSlashAssign)) return refused || !SlashStartsRegExp(Prev());
  return true;
}

template <typename Unit>
bool Scanner::Run<Unit>::Adopt(const Run& other, const Remap& values,
                               const TextTable& keywordNames) {
  const TokenList& theirs = other.tokens_;
  const std::vector<size_t>& refused = other.refusedRegExps_;
  size_t nextRefused = 0;
  size_t nextGroup = 0;
  const int32_t lines = line_ - 1;
  std::vector<GroupCopy> copies;
  for (size_t k = 1; k < theirs.Size(); ++k) {  // 0 is the ";" it started after
    Token t = theirs[k];
    if (t.Has(kKeywordName)) {  // scanned as a keyword first, named by what followed
      t.kind = Keyword;
      t.value = FindKeyword(keywordNames.Text(t.value));
    } else {
      t.value = Translate(t, values);
    }
    while (nextRefused < refused.size() && refused[nextRefused] < k) ++nextRefused;
    if (!SlashReadAlike(t, nextRefused < refused.size() && refused[nextRefused] == k)) {
      return false;
    }
    t.line += lines;
    t.flags = 0;
    const bool afterKeyword = Prev() != nullptr && Prev()->kind == Keyword;
    Push(t);
    if (afterKeyword) {
      const Token& word = tokens_[tokens_.Size() - 2];
      if ((word.kind == Identifier) != theirs[k - 1].Has(kKeywordName)) return false;
    }
    // A group that both scans see as the same kind reads the same inside: its
    // tokens are taken as they are, up to the closer, which is added as above.
    if (nextGroup < other.baseGroups_.size() && other.baseGroups_[nextGroup].opener == k) {
      const BaseGroup& group = other.baseGroups_[nextGroup++];
      if (!open_.empty() && open_.back().kind == group.kind) {
        const size_t stop = std::min(group.closer, theirs.Size());
        // The closer's context reads the two tokens before it: those are taken
        // now, the rest once every group is placed, on two threads.
        const size_t now = std::max(k + 1, stop >= 2 ? stop - 2 : 0);
        if (now > k + 1) copies.push_back({tokens_.AppendUnwritten(now - (k + 1)), k + 1, now});
        CopyTokens(theirs, now, stop, values, lines);
        k = stop - 1;
      }
    }
  }
  line_ += other.line_ - 1;
  FillCopies(theirs, copies, values, lines);
  return true;
}

// Writes each group's tokens into the room left for them, with this scan's
// values and lines; many of them are written in two halves at once.
template <typename Unit>
void Scanner::Run<Unit>::FillCopies(const TokenList& theirs, const std::vector<GroupCopy>& copies,
                                    const Remap& values, int32_t lines) {
  const auto fill = [&](size_t first, size_t stop) {
    for (size_t c = first; c < stop; ++c) {
      const GroupCopy& copy = copies[c];
      for (size_t j = copy.first; j < copy.stop; ++j) {
        Token t = theirs[j];
        t.value = Translate(t, values);
        t.line += lines;
        tokens_[copy.to + (j - copy.first)] = t;
      }
    }
  };
  size_t total = 0;
  for (const GroupCopy& copy : copies) total += copy.stop - copy.first;
  constexpr size_t kTwoHalvesFrom = size_t{1} << 16;
  size_t half = 0;
  for (size_t seen = 0; half < copies.size() && seen < total / 2; ++half) {
    seen += copies[half].stop - copies[half].first;
  }
  if (total < kTwoHalvesFrom ||
      !platform::RunBeside([&] { fill(half, copies.size()); }, [&] { fill(0, half); })) {
    fill(0, copies.size());
  }
}

template <typename Unit>
void Scanner::Run<Unit>::CopyTokens(const TokenList& theirs, size_t first, size_t stop,
                              const Remap& values, int32_t lines) {
  if (first >= stop) return;
  const size_t start = tokens_.Size();
  tokens_.AppendCopies(theirs, first, stop);
  for (size_t j = start; j < tokens_.Size(); ++j) {
    Token& t = tokens_[j];
    t.value = Translate(t, values);
    t.line += lines;
  }
}

template <typename Unit>
void Scanner::Run<Unit>::ReportRest(const Run& other) {
  p_ = end_;
  if (progress_ == nullptr) return;
  for (const int32_t step : other.recordedReports_) {
    if (step < nextReport_) continue;
    progress_(step);
    nextReport_ = step + 1024;
  }
  reportAt_ = end_;
}

template <typename Unit>
void Scanner::Run<Unit>::Restore(const Run& saved) {
  p_ = saved.p_;
  counted_ = saved.counted_;
  countedUnits_ = saved.countedUnits_;
  line_ = saved.line_;
  nextReport_ = saved.nextReport_;
  reportAt_ = saved.reportAt_;
  newLine_ = saved.newLine_;
  lineHasToken_ = saved.lineHasToken_;
  open_ = saved.open_;
  topLevel_ = saved.topLevel_;
  pendingBodies_ = saved.pendingBodies_;
}

// The members above, for both forms of text.
#define TRIMLET_SPLIT_SCAN_FOR(Unit)                                                       \
  template bool Scanner::ScanInTwo(const Unit*, size_t, int32_t, ProgressCallback, size_t); \
  template void Scanner::Run<Unit>::StartAfterStatement(size_t, bool);                     \
  template bool Scanner::Run<Unit>::SlashReadAlike(const Token&, bool) const;              \
  template bool Scanner::Run<Unit>::Adopt(const Run&, const Remap&, const TextTable&);     \
  template void Scanner::Run<Unit>::CopyTokens(const TokenList&, size_t, size_t,           \
                                               const Remap&, int32_t);                     \
  template void Scanner::Run<Unit>::FillCopies(const TokenList&, const std::vector<GroupCopy>&, \
                                               const Remap&, int32_t);                     \
  template void Scanner::Run<Unit>::ReportRest(const Run&);                                \
  template void Scanner::Run<Unit>::Restore(const Run&);
TRIMLET_SPLIT_SCAN_FOR(char16_t)
TRIMLET_SPLIT_SCAN_FOR(uint8_t)
#undef TRIMLET_SPLIT_SCAN_FOR

}  // namespace pack
