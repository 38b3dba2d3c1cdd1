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

  std::string dir_;
};

const char kBanner[] = "\nBrixelPacker 1.1\ntrimlet packs JavaScript files and the scripts of HTML pages\n";

TEST_F(CliTest, UsageForTooFewNames) {
  for (const char* args : {"", "in.js", "in.js -nvc", "-nse -nvc"}) {
    SCOPED_TRACE(args);
    const RunResult r = Run(args);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, std::string(kBanner) + "\nUsage trimlet.exe inputfile [outfile] \n");
  }
}

TEST_F(CliTest, SingleFileWithProgressResultAndCount) {
  Write("in.js", "var a = 1\nb(a)\n");
  const RunResult r = Run("-nse in.js out.js");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string(kBanner) + "\rin.js (0/15)\rin.js - Ok!            \nTotal Identifiers = 2\n");
  EXPECT_EQ(Read("out.js"), "var a=1;b(a)");
}

TEST_F(CliTest, OptionsSwitchStagesOff) {
  Write("in.js", "function f() { var x = 'a'; return x }\n");
  EXPECT_EQ(Run("-nse /nvc in.js out.js").code, 0);
  EXPECT_EQ(Read("out.js"), "function f(){var x='a';\nreturn x}");
  EXPECT_EQ(Run("in.js /nse -nvc out2.js").code, 0);
  EXPECT_EQ(Read("out2.js"), Read("out.js"));
}

TEST_F(CliTest, SeveralFilesInOrder) {
  Write("a.js", "x = 1\n");
  Write("b.js", "y = 2\n");
  Write("c.js", "<!-- a page would start like this\nz = 3\n");
  const RunResult r = Run("-nse -nvc a.js b.js c.js out.js");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string(kBanner) + "\ra.js (0/6)\ra.js Ok!                       \n" +
                       "\rb.js (0/6)\rb.js Ok!                       \n" +
                       "\rc.js (0/40)\rc.js Ok!                       \n");
  EXPECT_EQ(Read("out.js"), "x=1;y=2;z=3");
}

TEST_F(CliTest, MissingMiddleInputStillWritesTheOthers) {
  Write("a.js", "x = 1\n");
  Write("c.js", "z = 3\n");
  const RunResult r = Run("-nse -nvc a.js missing.js c.js out.js");
  EXPECT_EQ(r.code, -2);
  EXPECT_NE(r.out.find("\nError reading file missing.js."), std::string::npos);
  EXPECT_EQ(Read("out.js"), "x=1;z=3");
}

TEST_F(CliTest, UnreadableInputFailsAndWritesNothing) {
  Write("empty.js", "");
  Write("out.js", "old");
  for (const char* input : {"missing.js", "empty.js", "."}) {
    SCOPED_TRACE(input);
    const RunResult r = Run(std::string(input) + " out.js");
    EXPECT_EQ(r.code, -2);
    EXPECT_EQ(r.out, std::string(kBanner) + "\nError reading file " + input + ".");
    EXPECT_EQ(Read("out.js"), "old");
  }
}

TEST_F(CliTest, UnwritableOutputIsAnError) {
  Write("in.js", "x = 1\n");
  mkdir(Path("folder").c_str(), 0755);
  for (const char* output : {"no/such/dir/out.js", "folder"}) {
    SCOPED_TRACE(output);
    const RunResult r = Run(std::string("in.js ") + output);
    EXPECT_EQ(r.code, -4);
    EXPECT_NE(r.out.find(std::string("\nError writing file ") + output + "."), std::string::npos);
  }
  struct stat info {};
  EXPECT_EQ(stat(Path("folder").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
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
