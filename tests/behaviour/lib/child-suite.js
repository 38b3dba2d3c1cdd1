'use strict';
// The modern suites are asynchronous (exercisers await promises, child
// processes run side by side) while main.js runs suites one after another
// and synchronously; so each modern suite runs in a child node, prints its
// own lines, and hands back its counts in a file.
//   RunSuiteInChild(name, trimlet, work, report) -> {passed, failed}
//   node lib/child-suite.js NAME TRIMLET WORK COUNTS_FILE
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

const kSuites = {
  'modern-libraries': () => require('./modern-libraries').RunModernLibraries,
  'modern-modules': () => require('./modern-modules').RunModernModules,
  'modern-programs': () => require('./modern-programs').RunModernPrograms,
};

const kSuiteTimeout = 15 * 60 * 1000;
const kRoot = path.join(__dirname, '..');

// run.sh installs node_modules only when it is missing, so a checkout made
// before a package was added lacks it; names what differs from package.json.
function StalePackages() {
  const wanted = JSON.parse(fs.readFileSync(path.join(kRoot, 'package.json'), 'utf8')).devDependencies;
  return Object.keys(wanted).filter((name) => {
    const version = wanted[name].replace(/^npm:.*@/, '');
    try {
      return JSON.parse(fs.readFileSync(path.join(kRoot, 'node_modules', name, 'package.json'), 'utf8')).version !== version;
    } catch (error) {
      return true;
    }
  });
}

function RunSuiteInChild(name, trimlet, work, report) {
  const stale = StalePackages();
  if (stale.length > 0) {
    report('FAIL ' + name + ': node_modules does not match package.json (' + stale.join(', ') + '); run npm ci in tests/behaviour');
    return { passed: 0, failed: 1 };
  }
  const countsFile = path.join(work, name + '.counts.json');
  fs.rmSync(countsFile, { force: true });
  const run = childProcess.spawnSync(process.execPath, [__filename, name, trimlet, work, countsFile], { stdio: 'inherit', timeout: kSuiteTimeout });
  try {
    return JSON.parse(fs.readFileSync(countsFile, 'utf8'));
  } catch (error) {
    const how = run.error ? run.error.message : run.signal ? 'killed by ' + run.signal : 'exit code ' + run.status;
    report('FAIL ' + name + ': the suite stopped before it finished (' + how + ')');
    return { passed: 0, failed: 1 };
  }
}

// In the child: errors that escape every exerciser (a packed library
// throwing from a timer) count as failures instead of ending the run.
async function RunHere(name, trimlet, work, countsFile) {
  let escaped = 0;
  const { DescribeError } = require('./recorder');
  const onEscape = (error) => { ++escaped; console.log('FAIL ' + name + ': escaped ' + DescribeError(error)); };
  process.on('uncaughtException', onEscape);
  process.on('unhandledRejection', onEscape);
  const counts = await kSuites[name]()(trimlet, work, (line) => console.log(line));
  counts.failed += escaped;
  fs.writeFileSync(countsFile, JSON.stringify(counts));
}

if (require.main === module) {
  const [name, trimlet, work, countsFile] = process.argv.slice(2);
  RunHere(name, trimlet, work, countsFile);
}

module.exports = { RunSuiteInChild };
