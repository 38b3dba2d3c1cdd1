// The console program end to end: modes, messages, exit codes and files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
  int code;
  std::string out;
};

class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trimlet-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Exists(const std::string& name) const {
    struct stat info {};
    return stat(Path(name).c_str(), &info) == 0;
  }

  // Runs trimlet in the test folder with the arguments; the exit code as the
  // program returned it (a signed byte).
  RunResult Run(const std::string& args) const { return Capture(args + " 2>/dev/null"); }
  // The same, with standard error read instead of standard output.
  RunResult RunForErrors(const std::string& args) const { return Capture(args + " 2>&1 >/dev/null"); }
  RunResult Capture(const std::string& args) const {
    const std::string command = "cd '" + dir_ + "' && '" TRIMLET_EXE "' " + args;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    return {static_cast<signed char>(WEXITSTATUS(status)), out};
  }

  // Runs a bash script in the test folder, with $T naming the program; what
  // it prints on standard output.
  std::string Shell(const std::string& script) const {
    Write("script.sh", script);
    return Capture("--version >/dev/null; T='" TRIMLET_EXE "' bash script.sh").out;
  }

  std::string dir_;
};

const char kBanner[] = "\nBrixelPacker 1.1\ntrimlet packs JavaScript files and the scripts of HTML pages\n";

// Each command line and what it prints (on standard output, then standard
// error) and returns; none of them writes a file.
TEST_F(CliTest, UsageVersionAndRefusedCommandLines) {
  Write("in.js", "x = 1\n");
  const std::string usage = "Usage: " TRIMLET_EXE " [options] INPUT OUTPUT\n";
  struct Case {
    const char* args;
    int code;
    std::string out;  // the start of standard output
    std::string err;  // a part of standard error
  };
  const Case cases[] = {
      {"", 0, std::string(kBanner) + usage, ""},
      {"-h", 0, usage, ""},
      {"in.js --help", 0, usage, ""},
      {"--version", 0, "trimlet 1.2.0\n", ""},
      {"in.js", -6, "", ": no output file named"},
      {"in.js -nvc", -6, "", ": no output file named"},
      {"-nse -nvc", -6, "", ": no input file named"},
      {"--minify in.js out.js", -6, "", ": unknown option --minify\nTry '" TRIMLET_EXE " --help'"},
      {"-x in.js out.js", -6, "", ": unknown option -x"},
      {"in.js -o", -6, "", ": -o needs a file name after it"},
      {"-o a.js --outfile=b.js in.js", -6, "", ": the output is named twice"},
      {"--comments=some in.js out.js", -6, "", ": --comments takes none, legal or all, not some"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    if (c.out.empty()) EXPECT_EQ(r.out, "");
    EXPECT_NE(RunForErrors(c.args).out.find(c.err), std::string::npos);
    EXPECT_FALSE(Exists("out.js") || Exists("a.js") || Exists("b.js") || Exists("--help"));
  }
}

// No progress line where no terminal watches: each file's result once, and
// every message ends with a line break.
TEST_F(CliTest, SingleFileWithResultAndCount) {
  Write("in.js", "var a = 1\nb(a)\n");
  const RunResult r = Run("-nse in.js out.js");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string(kBanner) + "in.js - Ok!            \nTotal Identifiers = 2\n");
  EXPECT_EQ(Read("out.js"), "var a=1;b(a)");
  EXPECT_EQ(Run("-q -nse in.js out.js").out, "");
  EXPECT_EQ(Run("-q missing.js out.js").out, "\nError reading file missing.js.\n");
}

// With -o every name is an input; "--" ends the options; "-" is standard
// input, and "-o -" standard output, which then holds only the packed text.
TEST_F(CliTest, OutputOptionAndStandardStreams) {
  Write("a.js", "x = 1\n");
  Write("b.js", "y = 2\n");
  Write("-odd.js", "z = 3\n");
  EXPECT_EQ(Run("-nse -nvc -o out.js a.js").code, 0);
  EXPECT_EQ(Read("out.js"), "x=1");
  EXPECT_EQ(Read("a.js"), "x = 1\n");
  EXPECT_EQ(Run("-nse -nvc a.js b.js --outfile=out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "x=1;y=2");
  EXPECT_EQ(Run("-nse -nvc -o out.js -- -odd.js a.js").code, 0);
  EXPECT_EQ(Read("out.js"), "z=3;x=1");
  EXPECT_EQ(Run("-nse -nvc - -o - < b.js").out, "y=2");
  EXPECT_NE(RunForErrors("-nse -nvc a.js -o - ").out.find("a.js - Ok!"), std::string::npos);
  EXPECT_EQ(Run("-nse -nvc a.js - out.js < b.js").code, 0);
  EXPECT_EQ(Read("out.js"), "x=1;y=2");
}

TEST_F(CliTest, OptionsSwitchStagesOff) {
  Write("in.js", "function f() { var x = 'a'; return x }\n");
  EXPECT_EQ(Run("-nse /nvc in.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "function f(){var x='a';\nreturn x}");
  EXPECT_EQ(Run("in.js /nse -nvc out2.js").code, 0);
  EXPECT_EQ(Read("out2.js"), Read("out.js"));
  Write("lic.js", "/*! keep */ x = 1 // note\n");
  EXPECT_EQ(Run("lic.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "/*! keep */x=1");
  EXPECT_EQ(Run("--comments=none lic.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "x=1");
  EXPECT_EQ(Run("--comments=all lic.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "/*! keep */x=1// note\n");
}

TEST_F(CliTest, SeveralFilesInOrder) {
  Write("a.js", "x = 1\n");
  Write("b.js", "y = 2\n");
  Write("c.js", "--> an HTML-like comment of a script\nz = 3\n");
  const RunResult r = Run("-nse -nvc a.js b.js c.js out.js");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string(kBanner) + "a.js Ok!                       \n" +
                       "b.js Ok!                       \n" + "c.js Ok!                       \n");
  EXPECT_EQ(Read("out.js"), "x=1;y=2;z=3");
}

// Nothing is written unless every input was read and packed, and an output
// that is also an input is refused.
TEST_F(CliTest, NothingIsLost) {
  Write("a.js", "x = 1\n");
  Write("c.js", "z = 3\n");
  Write("keep.js", "kept");
  const RunResult r = Run("-nse -nvc a.js missing.js c.js keep.js");
  EXPECT_EQ(r.code, -2);
  EXPECT_NE(r.out.find("\nError reading file missing.js.\n"), std::string::npos);
  EXPECT_EQ(Run("missing1.js missing2.js keep.js").code, -2);
  EXPECT_EQ(Read("keep.js"), "kept");
  for (const char* args : {"a.js c.js a.js", "a.js c.js ./c.js", "-o c.js a.js c.js"}) {
    SCOPED_TRACE(args);
    EXPECT_EQ(Run(args).code, -6);
    EXPECT_NE(RunForErrors(args).out.find("the output is also an input"), std::string::npos);
    EXPECT_EQ(Read("a.js"), "x = 1\n");
    EXPECT_EQ(Read("c.js"), "z = 3\n");
  }
}

TEST_F(CliTest, UnreadableInputFailsAndWritesNothing) {
  Write("empty.js", "");
  Write("out.js", "old");
  for (const char* input : {"missing.js", "empty.js", "."}) {
    SCOPED_TRACE(input);
    const RunResult r = Run(std::string(input) + " out.js");
    EXPECT_EQ(r.code, -2);
    EXPECT_EQ(r.out, std::string(kBanner) + "\nError reading file " + input + ".\n");
    EXPECT_EQ(Read("out.js"), "old");
  }
}

TEST_F(CliTest, UnwritableOutputIsAnError) {
  Write("in.js", "x = 1\n");
  Write("locked.js", "old");
  chmod(Path("locked.js").c_str(), 0444);
  mkdir(Path("folder").c_str(), 0755);
  for (const char* output : {"no/such/dir/out.js", "folder", "locked.js"}) {
    SCOPED_TRACE(output);
    const RunResult r = Run(std::string("in.js ") + output);
    EXPECT_EQ(r.code, -4);
    EXPECT_NE(r.out.find(std::string("\nError writing file ") + output + ".\n"), std::string::npos);
  }
  EXPECT_EQ(Read("locked.js"), "old");
  struct stat info {};
  EXPECT_EQ(stat(Path("folder").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  // A file of someone else's in a folder anyone may write is not replaced.
  if (geteuid() == 0 && system("command -v runuser >/dev/null") == 0) {
    chmod(dir_.c_str(), 0777);
    Write("theirs.js", "old");
    EXPECT_EQ(Shell("runuser -u nobody -- \"$T\" in.js theirs.js >/dev/null 2>&1; echo $?"), "252\n");
    EXPECT_EQ(Read("theirs.js"), "old");
    EXPECT_EQ(stat(Path("theirs.js").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
  }
}

// Streams and devices are written in place: a log given as /dev/stdout is
// appended to, a pipe is fed. A closed pipe and the file-size limit end the
// run with exit -4 (252 in the shell) and leave no temporary file; so does a
// signal, at whatever moment it comes.
TEST_F(CliTest, SpecialOutputsAndSignals) {
  Write("in.js", "x = 1\n");
  std::string big;
  for (int i = 0; i < 100000; ++i) big += "value = value + 1;\n";
  Write("big.js", big);
  Write("log", "earlier\n");
  EXPECT_EQ(Shell("\"$T\" -q -nse -nvc in.js /dev/stdout >> log; echo $?"), "0\n");
  EXPECT_EQ(Read("log"), "earlier\nx=1");
  EXPECT_EQ(Shell("mkfifo pipe; cat pipe > fed & \"$T\" -q -nse -nvc in.js pipe; echo $?; wait"), "0\n");
  EXPECT_EQ(Read("fed"), "x=1");
  EXPECT_EQ(Shell("\"$T\" -q in.js /dev/null; echo $?"), "0\n");
  EXPECT_EQ(Shell("\"$T\" big.js -o - 2>/dev/null | head -c 1 >/dev/null; echo ${PIPESTATUS[0]}"), "252\n");
  Write("out.js", "old");
  EXPECT_EQ(Shell("(ulimit -f 1; \"$T\" -q -nvc big.js out.js &>/dev/null); echo $?"), "252\n");
  EXPECT_EQ(Read("out.js"), "old");
  EXPECT_EQ(Shell("for d in 0.01 0.03 0.06 0.1 0.15; do \"$T\" -q big.js out.js & sleep $d; kill -TERM $! 2>/dev/null;"
                  " wait; done; ls -a | grep -c trimlet-"),
            "0\n");
  const std::string packed = Read("out.js");
  EXPECT_TRUE(packed == "old" || packed.size() > 100000) << packed.size();
}

TEST_F(CliTest, PackingAFileOntoItself) {
  Write("in.js", "x = 1\ny = 2\n");
  EXPECT_EQ(Run("-nse -nvc in.js in.js").code, 0);
  EXPECT_EQ(Read("in.js"), "x=1;y=2");
}

// Input that is not JavaScript: file:line:col: error:, the line and a caret on
// standard error, exit -5, and the output left as it was; in several-files
// mode nothing is written.
TEST_F(CliTest, InvalidInputIsRefusedAndNothingWritten) {
  Write("bad.js", "var a = 1;\nif (a) {\n  a = = 2\n}\n");
  Write("good.js", "var b = 2\n");
  Write("out.js", "old");
  const RunResult refused = RunForErrors("bad.js out.js");
  EXPECT_EQ(refused.code, -5);
  EXPECT_EQ(refused.out, "bad.js:3:7: error: unexpected token\n  a = = 2\n      ^\n");
  EXPECT_EQ(Read("out.js"), "old");
  EXPECT_EQ(Run("good.js bad.js good.js out.js").code, -5);
  EXPECT_EQ(Read("out.js"), "old");
}

// The goal: by the options, by .mjs and .cjs, or found from import and export.
TEST_F(CliTest, ModulesAndScripts) {
  Write("m.js", "import a from './a.js'\nexport const b = a\n");
  EXPECT_EQ(Run("-nse -nvc m.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "import a from './a.js';export const b=a");
  Write("t.mjs", "await f()\n");
  EXPECT_EQ(Run("t.mjs out.js").code, 0);
  EXPECT_EQ(Run("--script t.mjs out.js").code, -5);
  Write("h.js", "#!/usr/bin/env node\nf()\n");
  EXPECT_EQ(Run("--module h.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "#!/usr/bin/env node\nf()");
  // a .cjs file runs as a function's body: it may return, and its top level is its own
  Write("c.cjs", "const value = require('x');\nif (!value) return;\nmodule.exports = value;\n");
  EXPECT_EQ(Run("-nse c.cjs out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "const e=require('x');if(!e)return;module.exports=e;");
  EXPECT_EQ(Run("-nse --script c.cjs out.js").code, -5);
}

// A page is a page by its first character after blanks, or by its name; it
// is packed alone. UTF-16 comes back as UTF-16 with its mark; --charset
// decides how bytes are read; an XHTML page keeps its CDATA sections.
TEST_F(CliTest, InputForms) {
  using std::string_literals::operator""s;
  const std::string block = "<script>var a = 1\n</script>";
  const std::string packedBlock = "<script><!--\nvar a=1\n//--></script>";
  struct Case {
    const char* name;
    std::string bytes;
    const char* options;
    std::string packed;
  } cases[] = {
      {"lead.txt", "\n <p>x;y</p>" + block, "", "\n <p>x;y</p>" + packedBlock},
      {"frag.html", "x;y" + block, "", "x;y" + packedBlock},
      {"w.js", "\xFF\xFEx\0 \0=\0 \0'\0\x16\x04'\0"s, "", "\xFF\xFEx\0=\0'\0\x16\x04'\0"s},
      {"l.js", "s = 'caf\xE9'", "--charset=latin1", "s='caf\xE9'"},
      {"u.js", "// \xFF\ns = 'caf\xC3\xA9'", "--charset=utf-8", "s='caf\xC3\xA9'"},
      {"x.xhtml", "<script>//<![CDATA[\nvar a = 1 < 2\n//]]>\n</script>", "",
       "<script>//<![CDATA[\nvar a=1<2\n//]]></script>"},
      {"d.html", "<?xml version='1.0'?><script>var a = 1\n</script>", "", "<?xml version='1.0'?><script>var a=1</script>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.name, c.bytes);
    EXPECT_EQ(Run(std::string("-nse -nvc ") + c.options + " " + c.name + " out").code, 0);
    EXPECT_EQ(Read("out"), c.packed);
  }
  Write("out.js", "old");
  EXPECT_EQ(Run("l.js frag.html out.js").code, -6);
  EXPECT_NE(RunForErrors("l.js lead.txt out.js").out.find("an HTML page is packed alone"), std::string::npos);
  EXPECT_EQ(Read("out.js"), "old");
  EXPECT_EQ(Run("--charset=koi8 l.js out.js").code, -6);
}

// --source-map writes OUT.map beside the output, whose last line names it;
// the packed text is the same as without. (Where each name maps: the
// behaviour suite checks that with the source-map package.)
TEST_F(CliTest, SourceMaps) {
  mkdir(Path("src").c_str(), 0755);
  mkdir(Path("dist").c_str(), 0755);
  Write("src/a.js", "function add(first, second) {\n  return first + second\n}\n");
  Write("src/b.js", "var s = 'x'\n");
  EXPECT_EQ(Run("-o dist/plain.js src/a.js src/b.js").code, 0);
  EXPECT_EQ(Run("--source-map -o dist/out.js src/a.js src/b.js").code, 0);
  EXPECT_EQ(Read("dist/out.js"), Read("dist/plain.js") + "\n//# sourceMappingURL=out.js.map\n");
  const std::string map = Read("dist/out.js.map");
  EXPECT_EQ(map.rfind("{\"version\":3,\"file\":\"out.js\",\"sources\":[\"../src/a.js\",\"../src/b.js\"],"
                      "\"sourcesContent\":[\"function add(first, second) {\\n", 0), 0u) << map;
  EXPECT_NE(map.find("\"names\":[\"first\",\"second\""), std::string::npos) << map;
  EXPECT_EQ(Run("-nse --source-map=inline src/b.js -o -").out.find("var s='x'\n//# sourceMappingURL=data:application/json;"), 0u);
  EXPECT_EQ(Run("--source-map src/b.js -o -").code, -6);
  Write("p.html", "<script>var a = 1</script>");
  EXPECT_EQ(Run("--source-map p.html out.html").code, -6);
  EXPECT_FALSE(Exists("out.html") || Exists("out.html.map"));
}

TEST_F(CliTest, BytesOutsideTheCodePageSurvive) {
  // UTF-8 input stays UTF-8; code page 1251 input stays code page 1251.
  Write("u.js", "s = '\xD0\x96\xE2\x82\xAC \xF0\x9F\x9A\x80'\n");
  EXPECT_EQ(Run("-nse -nvc u.js u.out").code, 0);
  EXPECT_EQ(Read("u.out"), "s='\xD0\x96\xE2\x82\xAC \xF0\x9F\x9A\x80'");
  Write("c.js", "s = '\xC6\x98'\n");
  EXPECT_EQ(Run("-nse -nvc c.js c.out").code, 0);
  EXPECT_EQ(Read("c.out"), "s='\xC6\x98'");
  Write("bom.js", "\xEF\xBB\xBFx = 1\n");
  EXPECT_EQ(Run("-nse -nvc bom.js bom.out").code, 0);
  EXPECT_EQ(Read("bom.out"), "\xEF\xBB\xBFx=1");
}

}  // namespace
