// The wizard's pages and run over a recording stand-in for the windows: every
// box, page change, cursor and caption becomes one line of text, and files
// live in a map with failures planted by name.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "compression_run.h"
#include "wizard_state.h"

namespace wizard {
namespace {

const char* PageName(Page page) {
  switch (page) {
    case Page::Files:
      return "Step1";
    case Page::Destination:
      return "Step2";
    case Page::Options:
      return "Step3";
  }
  return "?";
}

const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return "info";
    case BoxIcon::Warning:
      return "warning";
    case BoxIcon::Error:
      return "error";
  }
  return "?";
}

class RecordingUi : public WizardUi {
 public:
  void ShowMessage(Page owner, const std::string& text, const std::string& caption,
                   BoxIcon icon) override {
    Record(std::string("box ") + PageName(owner) + " [" + caption + "] " + IconName(icon) + " " +
           text);
  }
  void SetCursor(Cursor cursor) override {
    Record(cursor == Cursor::Hourglass ? "cursor wait" : "cursor arrow");
  }
  void SetCompressCaption(const std::string& caption) override { Record("caption " + caption); }
  std::optional<std::string> ShowJsOpenDialog(Page owner) override {
    Record(std::string("file dialog ") + PageName(owner));
    return Next(fileDialogAnswers);
  }
  std::vector<std::string> ShowJsOpenDialogMany(Page owner) override {
    Record(std::string("file dialog (several) ") + PageName(owner));
    std::vector<std::string> chosen;
    if (std::optional<std::string> one = Next(fileDialogAnswers)) {
      for (size_t from = 0, bar; from <= one->size(); from = bar + 1) {  // "a|b": two files
        bar = one->find('|', from);
        if (bar == std::string::npos) bar = one->size();
        chosen.push_back(one->substr(from, bar - from));
      }
    }
    return chosen;
  }
  std::optional<std::string> ShowJsSaveDialog(Page owner) override {
    Record(std::string("save dialog ") + PageName(owner));
    return Next(fileDialogAnswers);
  }
  void FocusInput(Page page) override { Record(std::string("focus ") + PageName(page)); }
  bool IsReadOnly(const std::string& name) override { return readOnly.count(name) > 0; }
  std::optional<std::string> BrowseForFolder(Page owner) override {
    Record(std::string("folder browser ") + PageName(owner));
    return Next(folderAnswers);
  }
  void ShowPage(Page page) override { Record(std::string("show ") + PageName(page)); }
  void CloseApplication() override { Record("close"); }

  FileStatus ReadWholeFile(const std::string& name, std::string& bytes) override {
    if (const auto failure = readFailures.find(name); failure != readFailures.end()) {
      return {false, failure->second};
    }
    const auto file = files.find(name);
    if (file == files.end()) return {false, 2};
    bytes = file->second;
    return {true, 0};
  }
  FileStatus WriteWholeFile(const std::string& name, std::string_view bytes) override {
    if (const auto failure = writeFailures.find(name); failure != writeFailures.end()) {
      return {false, failure->second};
    }
    files[name] = std::string(bytes);
    return {true, 0};
  }
  std::string ErrorText(uint32_t errorCode) override { return "system error " + std::to_string(errorCode); }
  // Runs the items at once, as if Cancel were pressed during item `cancelAfter`.
  void RunFiles(std::vector<RunItem> items, std::function<FileOutcome(const RunItem&)> pack,
                std::function<void(std::vector<FileOutcome>, bool)> done) override {
    Record("run " + std::to_string(items.size()) + " files");
    std::vector<FileOutcome> outcomes;
    for (size_t k = 0; k < items.size() && k < cancelAfter; ++k) outcomes.push_back(pack(items[k]));
    done(outcomes, cancelAfter < items.size());
  }
  size_t cancelAfter = SIZE_MAX;

  std::vector<std::string> events;
  std::deque<std::optional<std::string>> fileDialogAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::map<std::string, std::string> files;
  std::map<std::string, uint32_t> readFailures;   // opened or not, nothing to read
  std::map<std::string, uint32_t> writeFailures;  // cannot create, or a short write
  std::set<std::string> readOnly;

 private:
  void Record(std::string line) { events.push_back(std::move(line)); }
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

using Events = std::vector<std::string>;

// Moves a fresh wizard to Step 3 with one single file and a destination.
void ReachOptions(WizardState& state, const std::string& source, const std::string& output) {
  state.FilesNext(source);
  state.DestinationNext(output);
}

TEST(WizardPagesTest, PageFlow) {
  struct Row {
    const char* what;
    std::function<void(WizardState&, RecordingUi&)> setUp;
    std::function<void(WizardState&)> event;
    Events expected;
  };
  const std::vector<Row> rows = {
      {"Step 1 Next, single file, empty edit",
       nullptr,
       [](WizardState& s) { s.FilesNext(""); },
       {"box Step1 [Warning] warning Please specify a file name.", "focus Step1"}},
      {"Step 1 Next, single file, a name",
       nullptr,
       [](WizardState& s) { s.FilesNext("C:\\js\\a.js"); },
       {"show Step2"}},
      {"Step 1 Next, group, empty group",
       nullptr,
       [](WizardState& s) {
         s.SetFileGroupMode();
         s.FilesNext("C:\\typed.js");
       },
       {"box Step1 [Warning] warning Please specify at least one file name.", "focus Step1"}},
      {"Step 1 Next, group, one file",
       [](WizardState& s, RecordingUi& ui) {
         ui.fileDialogAnswers.push_back("C:\\js\\a.js");
         s.SetFileGroupMode();
         s.AddFiles();
       },
       [](WizardState& s) { s.FilesNext(""); },
       {"show Step2"}},
      {"Step 1 Cancel, or the close box of any page",
       nullptr,
       [](WizardState& s) { s.Close(); },
       {"close"}},
      {"Step 2 Back", nullptr, [](WizardState& s) { s.DestinationBack(); }, {"show Step1"}},
      {"Step 2 Next, empty edit",
       nullptr,
       [](WizardState& s) { s.DestinationNext(""); },
       {"box Step2 [Warning] warning Please specify a destination folder.", "focus Step2"}},
      {"Step 2 Next, a destination",
       nullptr,
       [](WizardState& s) { s.DestinationNext("C:\\out.js"); },
       {"show Step3"}},
      {"Step 3 Back",
       nullptr,
       [](WizardState& s) { s.OptionsBack(true, false); },
       {"caption Co&mpress", "show Step2"}},
      {"Step 3 Compress",
       [](WizardState& s, RecordingUi& ui) {
         ui.files["C:\\a.js"] = "var x = 1\n";
         ReachOptions(s, "C:\\a.js", "C:\\a.min.js");
       },
       [](WizardState& s) { s.OnCompress(false, false); },
       {"run 1 files", "box Step3 [] info Compression completed.\n\nWritten:\nC:\\a.min.js",
        "caption C&lose"}},
      {"Step 3 Close after a run",
       [](WizardState& s, RecordingUi& ui) {
         ui.files["C:\\a.js"] = "var x = 1\n";
         ReachOptions(s, "C:\\a.js", "C:\\a.min.js");
         s.OnCompress(false, false);
       },
       [](WizardState& s) { s.OnCompress(true, true); },
       {"close"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    RecordingUi ui;
    WizardState state(ui);
    if (row.setUp) row.setUp(state, ui);
    ui.events.clear();
    row.event(state);
    EXPECT_EQ(ui.events, row.expected);
  }
}

TEST(WizardPagesTest, NextStoresTheInputOnlyWhenItGoesOn) {
  RecordingUi ui;
  WizardState state(ui);
  EXPECT_TRUE(state.Files().singleFileMode);
  state.FilesNext("   ");  // only the empty text is refused
  EXPECT_EQ(state.Files().singleFileName, "   ");
  state.FilesNext("");
  EXPECT_EQ(state.Files().singleFileName, "   ");
  state.DestinationNext("D:\\out");
  state.DestinationBack();
  state.DestinationNext("");
  EXPECT_EQ(state.Destination().destination, "D:\\out");

  state.OnCompress(true, false);
  EXPECT_TRUE(state.Options().completed);
  state.OptionsBack(false, true);
  EXPECT_FALSE(state.Options().completed);
  EXPECT_EQ(state.Options().encodeStrings, 0);
  EXPECT_EQ(state.Options().changeVariableNames, 1);
}

TEST(WizardPagesTest, GroupKeepsOrderOfAdditionAndSaysSoForDuplicates) {
  RecordingUi ui;
  WizardState state(ui);
  state.SetFileGroupMode();
  ui.fileDialogAnswers = {"C:\\b.js|C:\\a.js", "C:\\B.js|C:\\c.js", std::nullopt};
  EXPECT_EQ(state.AddFiles(), (std::vector<std::string>{"C:\\b.js", "C:\\a.js"}));
  ui.events.clear();
  EXPECT_EQ(state.AddFiles(), (std::vector<std::string>{"C:\\c.js"}));  // letter case does not count
  EXPECT_EQ(ui.events, (Events{"file dialog (several) Step1",
                               "box Step1 [Warning] warning Already in the group, so not added again:\nC:\\B.js"}));
  EXPECT_EQ(state.AddFiles(), std::vector<std::string>{});  // cancelled
  EXPECT_EQ(state.Files().groupFiles, (std::vector<std::string>{"C:\\b.js", "C:\\a.js", "C:\\c.js"}));
  EXPECT_EQ(GroupEntryText("C:\\js\\lib\\a.js"), "a.js  (C:\\js\\lib)");

  state.RemoveFile(1);
  state.RemoveFile(7);  // no such entry
  EXPECT_EQ(state.Files().groupFiles, (std::vector<std::string>{"C:\\b.js", "C:\\c.js"}));

  // Switching modes keeps both the typed name and the group.
  state.SetSingleFileMode();
  state.FilesNext("C:\\single.js");
  state.SetFileGroupMode();
  EXPECT_EQ(state.Files().singleFileName, "C:\\single.js");
  EXPECT_EQ(CollectSources(state.Files()), (std::vector<std::string>{"C:\\b.js", "C:\\c.js"}));
  state.SetSingleFileMode();
  EXPECT_EQ(CollectSources(state.Files()), (std::vector<std::string>{"C:\\single.js"}));
}

TEST(WizardPagesTest, DestinationBrowserFollowsTheMode) {
  RecordingUi ui;
  WizardState state(ui);
  ui.fileDialogAnswers = {"C:\\out.js"};
  ui.folderAnswers = {"D:\\packed", std::nullopt};
  EXPECT_EQ(state.BrowseDestination(), "C:\\out.js");
  state.SetFileGroupMode();
  EXPECT_EQ(state.BrowseDestination(), "D:\\packed");
  EXPECT_EQ(state.BrowseDestination(), std::nullopt);
  EXPECT_EQ(ui.events,
            (Events{"save dialog Step2", "folder browser Step2", "folder browser Step2"}));
}

// Step 2 refuses a destination that would replace a source or that is
// read-only, with the focus back on the field; anything else goes on.
TEST(WizardPagesTest, DestinationsThatWouldLoseDataAreRefused) {
  struct Row {
    bool single;
    const char* destination;
    const char* warning;  // null: goes on to Step 3
  };
  const Row rows[] = {
      {true, "c:\\JS\\A.JS", "The destination is the source file itself"},
      {true, "C:\\out\\locked.js", "The destination file is read-only"},
      {true, "min\\a.js", nullptr},
      {false, "C:\\JS", "The destination folder holds the files of the group"},
      {false, "C:\\out", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.destination);
    RecordingUi ui;
    ui.readOnly.insert("C:\\out\\locked.js");
    ui.fileDialogAnswers = {std::string("C:\\js\\a.js")};
    WizardState state(ui);
    if (row.single) {
      state.FilesNext("C:\\js\\a.js");
    } else {
      state.SetFileGroupMode();
      state.AddFiles();
      state.FilesNext("");
    }
    ui.events.clear();
    state.DestinationNext(row.destination);
    if (row.warning == nullptr) {
      EXPECT_EQ(ui.events, Events{"show Step3"});
    } else {
      ASSERT_EQ(ui.events.size(), 2u);
      EXPECT_EQ(ui.events[0].find(std::string("box Step2 [Warning] warning ") + row.warning), 0u) << ui.events[0];
      EXPECT_EQ(ui.events[1], "focus Step2");
    }
  }
}

TEST(CompressionRunTest, MakeOutputName) {
  struct Row {
    const char* source;
    const char* destination;
    bool singleFileMode;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {"C:\\js\\a.js", "D:\\out.js", true, "D:\\out.js"},
      {"C:\\js\\a.js", "C:\\js\\a.js", true, "C:\\js\\a.js"},
      {"a.js", "D:\\out.js", true, std::nullopt},
      {"C:\\a\\x.js", "D", false, "C:\\a\\D\\x.js"},
      {"C:\\js\\a.js", "min\\a.js", true, "C:\\js\\min\\a.js"},
      {"C:\\js\\a.js", "\\\\server\\share\\a.js", true, "\\\\server\\share\\a.js"},
      {"C:\\b\\y.js", "D:\\packed", false, "D:\\packed\\y.js"},
      {"C:\\b\\y.js", "C:\\", false, "C:\\\\y.js"},
      {"C:/b/y.js", "D:\\packed", false, std::nullopt},
      {"y.js", "D:\\packed", false, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.source) + " -> " + row.destination);
    EXPECT_EQ(MakeOutputName(row.source, row.destination, row.singleFileMode), row.expected);
  }
}

// Packers that fail on the planted source only ("var a = 1;").
PackedText FailingPacker(std::string_view bytes, const pack::PackOptions& options, pack::ProgressCallback) {
  if (bytes == "var a = 1;") return {std::nullopt, "out of memory"};
  return PackText(bytes, options);
}

PackedText ThrowingPacker(std::string_view bytes, const pack::PackOptions& options, pack::ProgressCallback) {
  if (bytes == "var a = 1;") throw std::runtime_error("engine fault");
  return PackText(bytes, options);
}

// Every row runs a group of two: the failing source first, then a good one,
// which must still be packed. The run ends in one box that names what failed
// and why, and every output written; never "Compression completed." then.
TEST(CompressionRunTest, FailuresEndInOneTruthfulSummary) {
  struct Row {
    const char* what;
    const char* source;
    std::function<void(RecordingUi&)> plant;
    PackFunction packer;
    std::string why;  // empty: packed
    std::optional<std::string> badOutput;  // what D\bad.js holds afterwards
  };
  const std::string old = "old output";
  const std::vector<Row> rows = {
      {"source without a backslash", "bad.js", [](RecordingUi& ui) { ui.files["bad.js"] = "x"; }, PackText,
       "the name has no folder; give its full path", old},
      {"source cannot be opened", "C:\\in\\bad.js", [](RecordingUi&) {}, PackText,
       "cannot be read: system error 2", old},
      {"reading fails after the file opened", "C:\\in\\bad.js",
       [](RecordingUi& ui) {
         ui.files["C:\\in\\bad.js"] = "var a = 1;";
         ui.readFailures["C:\\in\\bad.js"] = 23;
       },
       PackText, "cannot be read: system error 23", old},
      {"engine fails", "C:\\in\\bad.js", [](RecordingUi& ui) { ui.files["C:\\in\\bad.js"] = "var a = 1;"; },
       FailingPacker, "cannot be packed: out of memory", old},
      {"engine throws", "C:\\in\\bad.js", [](RecordingUi& ui) { ui.files["C:\\in\\bad.js"] = "var a = 1;"; },
       ThrowingPacker, "cannot be packed: the packing engine failed", old},
      {"not JavaScript", "C:\\in\\bad.js", [](RecordingUi& ui) { ui.files["C:\\in\\bad.js"] = "var = 1;"; },
       PackText, "cannot be packed: line 1, column 5: unexpected token", old},
      {"output cannot be written", "C:\\in\\bad.js",
       [](RecordingUi& ui) {
         ui.files["C:\\in\\bad.js"] = "var a = 1;";
         ui.writeFailures["D:\\out\\bad.js"] = 5;
       },
       PackText, "cannot be written to D:\\out\\bad.js: system error 5", old},
      {"empty source", "C:\\in\\bad.js", [](RecordingUi& ui) { ui.files["C:\\in\\bad.js"] = ""; }, PackText,
       "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    RecordingUi ui;
    ui.files["D:\\out\\bad.js"] = old;
    ui.files["C:\\in\\good.js"] = "var  b = 2 ;\n";
    ui.fileDialogAnswers = {std::string(row.source), "C:\\in\\good.js"};
    row.plant(ui);
    WizardState state(ui, row.packer);
    state.SetFileGroupMode();
    state.AddFiles();
    state.AddFiles();
    state.FilesNext("");
    state.DestinationNext("D:\\out");
    ui.events.clear();
    state.OnCompress(false, false);
    const std::string box =
        row.why.empty() ? "box Step3 [] info Compression completed.\n\nWritten:\nD:\\out\\bad.js\nD:\\out\\good.js"
                        : "box Step3 [Warning] warning 1 of 2 files were packed.\n\nNot packed:\n" +
                              std::string(row.source) + "\n    " + row.why + "\n\nWritten:\nD:\\out\\good.js";
    EXPECT_EQ(ui.events, Events({"run 2 files", box, "caption C&lose"}));
    EXPECT_EQ(ui.files["D:\\out\\bad.js"], row.badOutput);
    EXPECT_EQ(ui.files.count("D:\\out\\good.js"), 1u);
  }
  // Cancel during the first of three files: it is packed, the others are left as they were.
  RecordingUi ui;
  ui.cancelAfter = 1;
  ui.fileDialogAnswers = {std::string("C:\\in\\a.js|C:\\in\\b.js|C:\\in\\c.js")};
  for (const char* name : {"a", "b", "c"}) ui.files[std::string("C:\\in\\") + name + ".js"] = "x = 1\n";
  ui.files["D:\\out\\b.js"] = old;
  WizardState state(ui);
  state.SetFileGroupMode();
  state.AddFiles();
  state.FilesNext("");
  state.DestinationNext("D:\\out");
  ui.events.clear();
  state.OnCompress(false, false);
  EXPECT_EQ(ui.events, (Events{"run 3 files",
                               "box Step3 [Warning] warning The run was cancelled. 1 of 3 files were packed.\n\n"
                               "Left as they were:\nC:\\in\\b.js\nC:\\in\\c.js\n\nWritten:\nD:\\out\\a.js",
                               "caption C&lose"}));
  EXPECT_EQ(ui.files["D:\\out\\a.js"], "x=1");
  EXPECT_EQ(ui.files["D:\\out\\b.js"], old);
  EXPECT_EQ(ui.files.count("D:\\out\\c.js"), 0u);

  // Nothing packed: an error icon.
  const RunSummary none = SummarizeRun({FileOutcome{"C:\\a.js", "D\\a.js", "cannot be read: x"}});
  EXPECT_EQ(none.text, "No file was packed.\n\nNot packed:\nC:\\a.js\n    cannot be read: x");
  EXPECT_EQ(none.icon, BoxIcon::Error);
}

TEST(CompressionRunTest, PackedFileMatchesTheEngineAndReplacesItsSource) {
  RecordingUi ui;
  const std::string script = "var text = 'x';\n// note\nfunction f ( a ) { return a + 1 }\n";
  const std::string page = "<html><script>\nvar a = 1\nvar b = 2\n</script></html>";
  ui.files["C:\\a.js"] = script;
  ui.files["C:\\p.html"] = page;
  WizardState state(ui);
  ReachOptions(state, "C:\\a.js", "C:\\a.min.js");
  state.OnCompress(true, true);
  pack::PackOptions both;
  const pack::PackResult engine = pack::PackDocument(script, both);
  EXPECT_EQ(ui.files["C:\\a.min.js"], engine.bytes);
  EXPECT_EQ(ui.files["C:\\a.js"], script);

  // A second run after "<<Back" with other options packs again.
  state.OptionsBack(false, false);
  state.DestinationBack();
  state.FilesNext("C:\\p.html");
  state.DestinationNext("C:\\p.min.html");
  state.OnCompress(false, false);
  pack::PackOptions neither;
  neither.encodeStrings = neither.changeVariableNames = false;
  EXPECT_EQ(ui.files["C:\\p.min.html"], pack::PackDocument(page, neither).bytes);
  EXPECT_TRUE(state.Files().singleFileMode);
  EXPECT_FALSE(state.Files().encodeStrings);
}

TEST(CompressionRunTest, FormattedKeepsLongNamesWhole) {
  const std::string name = "C:\\" + std::string(2000, 'x') + ".js";
  EXPECT_EQ(Formatted("cannot be written to %s", name), "cannot be written to " + name);
}

}  // namespace
}  // namespace wizard
