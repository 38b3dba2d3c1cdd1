'use strict';
// Runs child processes (the console program, lib/host.js) without blocking,
// a few at a time, so that the modern suites keep both cores busy.
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const kParallel = Math.max(1, Math.min(2, os.cpus().length));

// Runs `program` with `args`; resolves {status, signal, stdout, stderr, error}.
function Run(program, args, timeout) {
  return new Promise((resolve) => {
    childProcess.execFile(program, args, {
      encoding: 'utf8',
      maxBuffer: 256 * 1024 * 1024,
      timeout: timeout || 120000,
    }, (error, stdout, stderr) => {
      const status = error ? (typeof error.code === 'number' ? error.code : null) : 0;
      const spawnFailed = error && typeof error.code === 'string' ? error.message : null;
      resolve({ status, signal: error ? error.signal : null, stdout, stderr, error: spawnFailed });
    });
  });
}

// Packs `inputs` into `output` with `args`; resolves null on success or a
// text saying what went wrong (as PackFiles of pack.js does).
async function PackFilesAsync(trimlet, inputs, output, args) {
  fs.rmSync(output, { force: true });
  const run = await Run(trimlet, args.concat(inputs, [output]), 120000);
  if (run.error) return 'cannot run ' + trimlet + ': ' + run.error;
  if (run.status !== 0) {
    const said = (run.stdout + run.stderr).replace(/\s+/g, ' ').slice(-300);
    return 'exit code ' + (run.status === null ? run.signal : run.status) + ': ' + said;
  }
  if (!fs.existsSync(output)) return 'no output written';
  return null;
}

const kHost = path.join(__dirname, 'host.js');

// Runs lib/host.js with `args` in a fresh node; resolves {lines} or
// {problem} when the host did not finish (crash, timeout, no output).
async function RunInHost(args) {
  const run = await Run(process.execPath, [kHost].concat(args), 60000);
  const last = run.stdout.trim().split('\n').pop();
  try {
    if (run.status === 0) return { lines: JSON.parse(last).lines };
  } catch (error) {
    // falls through to the problem below
  }
  const said = (run.error || run.stderr || '').replace(/\s+/g, ' ').slice(-300);
  return { problem: 'the host ' + (run.signal ? 'was killed by ' + run.signal : 'exited with ' + run.status) + ': ' + said };
}

// Maps `items` through the async `work`, at most `kParallel` at once,
// keeping the order of the results.
async function MapParallel(items, work) {
  const results = new Array(items.length);
  let next = 0;
  const worker = async () => {
    while (next < items.length) {
      const i = next++;
      results[i] = await work(items[i], i);
    }
  };
  await Promise.all(Array.from({ length: Math.min(kParallel, items.length) }, worker));
  return results;
}

module.exports = { Run, PackFilesAsync, MapParallel, RunInHost };
