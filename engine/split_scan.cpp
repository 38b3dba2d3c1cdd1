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
#include <new>

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

int32_t Translate(const Token& t, const Scanner::Run::Remap& values) {
  const std::vector<int32_t>* table = t.kind == Identifier ? &values.identifiers
                                      : t.kind == Literal  ? &values.literals
                                      : t.kind == RegExp   ? &values.regExps
                                                           : nullptr;
  if (table == nullptr || t.value < 0 || static_cast<size_t>(t.value) >= table->size()) {
    return t.value;
  }
  return (*table)[static_cast<size_t>(t.value)];
}

bool IsBlankBeforeLineEnd(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

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

}  // namespace

size_t Scanner::SplitPoint(std::u16string_view text) {
  for (size_t i = text.size() / 2; i + 1 < text.size(); ++i) {
    if (text[i] != u'\n') continue;
    size_t j = i;
    while (j > 0 && IsBlankBeforeLineEnd(text[j - 1])) --j;
    if (j > 0 && text[j - 1] == u';') return i + 1;
  }
  return 0;
}

bool Scanner::AddSourceInTwo(std::u16string_view text, int32_t sourceIndex,
                             ProgressCallback progress, size_t split) {
  if (text.empty()) return false;
  tokens_.Reserve(tokens_.Size() + text.size() / 3 + 16);
  TokenList secondTokens;
  TextTable identifiers, literals, regExps;
  Run second(secondTokens, text, sourceIndex, nullptr, {identifiers, literals, regExps});
  bool secondDone = false;
  Run first(tokens_, text, sourceIndex, progress, ProcessTables());
  {
    platform::Worker worker([&] {
      try {
        secondTokens.Reserve((text.size() - split) / 3 + 16);
        second.StartAfterStatement(split);
        second.ScanAll();
        secondDone = true;
      } catch (const std::bad_alloc&) {
        // the first scan goes on alone
      }
    });
    first.ScanUntil(split);
  }
  const bool aligned = secondDone && first.Position() == split && first.AtFreshLine() &&
                       first.Prev() != nullptr &&
                       first.Prev()->IsPunct(kSemicolon);
  if (aligned) {
    const size_t tokensAtSplit = tokens_.Size();
    const TableCounts counts;
    const Run atSplit = first;
    const Run::Remap values{InternAll(IdentifierTable(), identifiers),
                            InternAll(LiteralTable(), literals), InternAll(RegExpTable(), regExps)};
    if (first.Adopt(second, values, identifiers)) {
      first.ReportUpTo(text.size());
      return true;
    }
    tokens_.Truncate(tokensAtSplit);
    counts.Restore();
    first.Restore(atSplit);
  }
  first.ScanAll();
  return false;
}

void Scanner::Run::StartAfterStatement(size_t position) {
  tokens_.Append(Token{kSemicolon, 0, source_, Punctuator, 0, 0});
  p_ = begin_ + position;
  newLine_ = true;
  lineHasToken_ = false;
  notesGroups_ = true;
}

// Whether this scan would have read the slash that begins `t` as the other one
// did: a regular expression only where one is allowed, and a division where
// none is allowed or none could be read (`refused`).
bool Scanner::Run::SlashReadAlike(const Token& t, bool refused) const {
  if (t.kind == RegExp) return SlashStartsRegExp(Prev());
  if (t.IsPunct(kSlash) || t.IsPunct(kSlashAssign)) return refused || !SlashStartsRegExp(Prev());
  return true;
}

bool Scanner::Run::Adopt(const Run& other, const Remap& values, const TextTable& keywordNames) {
  const TokenList& theirs = other.tokens_;
  const std::vector<size_t>& refused = other.refusedRegExps_;
  size_t nextRefused = 0;
  size_t nextGroup = 0;
  const int32_t lines = line_ - 1;
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
        CopyTokens(theirs, k + 1, stop, values, lines);
        k = stop - 1;
      }
    }
  }
  line_ += other.line_ - 1;
  return true;
}

void Scanner::Run::CopyTokens(const TokenList& theirs, size_t first, size_t stop,
                              const Remap& values, int32_t lines) {
  for (size_t j = first; j < stop; ++j) {
    Token t = theirs[j];
    t.value = Translate(t, values);
    t.line += lines;
    tokens_.Append(t);
  }
}

void Scanner::Run::ReportUpTo(size_t position) {
  p_ = begin_ + position;
  if (progress_ == nullptr) return;
  for (; static_cast<size_t>(nextReport_) <= position; nextReport_ += 1024) progress_(nextReport_);
  reportAt_ = end_;
}

void Scanner::Run::Restore(const Run& saved) {
  p_ = saved.p_;
  line_ = saved.line_;
  nextReport_ = saved.nextReport_;
  reportAt_ = saved.reportAt_;
  newLine_ = saved.newLine_;
  lineHasToken_ = saved.lineHasToken_;
  open_ = saved.open_;
  topLevel_ = saved.topLevel_;
  pendingBodies_ = saved.pendingBodies_;
}

}  // namespace pack
