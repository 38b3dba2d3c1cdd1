// The packer object: the engine's one entry point. Sources go in as UTF-16
// text or UTF-8 bytes; the parser reads each one into the one token list,
// putting a ";" where a line break ended a statement and refusing input that
// is not JavaScript. The optional stages then rename variables and encode
// strings, and the list comes out as one packed text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parser.h"
#include "scopes.h"
#include "source_map.h"
#include "source_text.h"
#include "text_tables.h"
#include "token.h"

namespace pack {

// How a source is read: as a script, as a module, as node's CommonJS module
// (a script run as a function's body), or as whichever of the first two it
// is (a module when it has a top-level import or export, or uses import.meta).
enum class SourceGoal { Script, Module, Detect, CommonJs };

// Why a source was refused: where (lines and columns from 1, the column in
// UTF-16 units) and what was expected; `lineText` is that line of the source.
struct SourceProblem {
  int32_t source = 0;
  int32_t line = 1;
  int32_t column = 1;
  std::string message;
  std::string lineText;  // UTF-8
};

}  // namespace pack

class trimlet {
 public:
  // A packer with a session of its own.
  trimlet();
  // A packer that shares `session` with others: the script blocks of one page.
  explicit trimlet(std::shared_ptr<pack::Session> session);
  virtual ~trimlet();
  trimlet(const trimlet&) = delete;
  trimlet& operator=(const trimlet&) = delete;

  // Reads `text` and appends its tokens after those of earlier sources; every
  // token records `source`. False, appending nothing, when the text is empty,
  // or when it is not valid JavaScript (Problem() then tells why).
  bool AddSource(std::u16string_view text, int32_t source, pack::ProgressCallback progress,
                 pack::SourceGoal goal = pack::SourceGoal::Script);
  // The same for the bytes of well-formed UTF-8 (ASCII included), read as they are.
  bool AddSourceUtf8(std::string_view bytes, int32_t source, pack::ProgressCallback progress,
                     pack::SourceGoal goal = pack::SourceGoal::Script);
  // Which comments the sources added from now on keep (none unless set).
  void SetKeptComments(pack::KeepComments which) { keptComments_ = which; }
  // Why the last source added was refused; empty when it was not.
  const std::optional<pack::SourceProblem>& Problem() const { return problem_; }

  // Binds every name of the sources to what it stands for, for the stages
  // after it; the statement ends are already in place.
  void Process();

  // Gives the local bindings short names, reused in scopes that cannot see
  // each other; a second call renames nothing more. Renamed text is new text:
  // from then on the output is also compact (see EmitTokens).
  void ChangeVars();

  // Rewrites string literals as unescape("%XX...") expressions.
  void EncodeStrings();

  // The packed text; empty for an empty list, nullopt when memory runs out.
  std::optional<std::u16string> Output() const;

  // The packed text as the bytes of the output file, in `encoding`, after a
  // UTF-8 byte-order mark when asked; nullopt when memory runs out.
  std::optional<std::string> OutputBytes(pack::TextEncoding encoding, bool byteOrderMark) const;

  // Called before the first source: every token remembers where it stood, for
  // OutputWithSourceMap.
  void KeepPositions() { tokens_.KeepPositions(); }
  // The same bytes as OutputBytes, ended by a line that names the source map
  // of the tokens (`mapUrl`, or the map itself when that is empty), which goes
  // to `map` as JSON: `file` names the output, `sources` the inputs by number.
  std::optional<std::string> OutputWithSourceMap(pack::TextEncoding encoding, bool byteOrderMark,
                                                 const std::string& file,
                                                 const std::vector<pack::MapSource>& sources,
                                                 const std::string& mapUrl, std::string& map) const;

  // Moves `position` forward to the next punctuator whose code is one of the
  // stops (-1: none) at the starting bracket depth, stepping over whole
  // { }, ( ) and [ ] groups; the list end when there is none.
  void SkipTo(pack::TokenIterator& position, int32_t stop1, int32_t stop2 = -1,
              int32_t stop3 = -1) const;

  pack::TokenList& Tokens() { return tokens_; }
  const pack::TokenList& Tokens() const { return tokens_; }
  // The scopes of each source added, in order.
  const std::vector<std::unique_ptr<pack::Scopes>>& SourceScopes() const { return scopes_; }

  // The texts this packer's token values index.
  pack::Session& Texts() { return *session_; }
  const pack::Session& Texts() const { return *session_; }

  // Packer objects alive in the process.
  static int32_t LivePackers();

 private:
  template <typename Unit>
  bool Add(const Unit* text, size_t size, int32_t source, pack::ProgressCallback progress,
           pack::SourceGoal goal);
  template <typename Unit>
  bool Parse(const Unit* text, size_t size, int32_t source, pack::ProgressCallback progress,
             pack::Goal goal, bool& needsModule);

  std::shared_ptr<pack::Session> session_;
  pack::TokenList tokens_;
  std::vector<std::unique_ptr<pack::Scopes>> scopes_;
  std::optional<pack::SourceProblem> problem_;
  bool anySource_ = false;
  pack::KeepComments keptComments_ = pack::KeepComments::None;
  bool renamed_ = false;
};
