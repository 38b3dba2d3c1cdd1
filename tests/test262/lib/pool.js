'use strict';
// Worker processes that take the test files one at a time. A worker that
// overruns the time of its current step (a packing or a run) is killed and the
// file is reported broken with the step named; a worker that dies is replaced.
// The step is passed on with the loss, as a hang or crash of node running an
// original test is node's failure, not the packer's.
// Workers are also replaced after a number of files: dead realms are collected
// late, so a worker's memory grows, and with it the cost of each fork of the
// packer.
const { fork } = require('child_process');
const path = require('path');

const WORKER = path.join(__dirname, 'worker.js');
const EXEC_ARGV = ['--experimental-vm-modules', '--expose-gc', '--no-warnings'];
const FILES_PER_WORKER = 250;
const STDERR_KEPT = 2000;
// A file lost to a hang or crash gets one more go in a fresh worker, since a
// busy machine can stretch a run past its time.
const TRIES = 2;

function RunPool({ tests, jobs, settings, onResult }) {
  return new Promise((resolve) => {
    const queue = tests.slice();
    const attempts = new Map();
    let finished = 0;
    const workers = new Set();

    const Finish = (worker, file, units, broken) => {
      clearTimeout(worker.timer);
      worker.current = null;
      ++finished;
      onResult(file, units, broken, broken ? worker.label : '');
      if (finished === tests.length) {
        for (const other of workers) other.child.kill('SIGKILL');
        resolve();
      }
    };

    const Next = (worker) => {
      if (finished === tests.length) return;
      if (worker.done >= FILES_PER_WORKER) {
        worker.retired = true;
        worker.child.send({ type: 'stop' });
        if (queue.length) Start();
        return;
      }
      if (!queue.length) return;
      worker.current = queue.shift();
      worker.child.send({ type: 'job', test: worker.current });
    };

    const Start = () => {
      const child = fork(WORKER, [], { execArgv: EXEC_ARGV, stdio: ['ignore', 'ignore', 'pipe', 'ipc'] });
      const worker = { child, current: null, timer: null, label: '', done: 0, stderr: '', killedFor: null, retired: false };
      workers.add(worker);
      child.on('error', () => {});
      child.stderr.on('data', (data) => { worker.stderr = (worker.stderr + data).slice(-STDERR_KEPT); });
      child.on('message', (message) => {
        if (message.type === 'step') {
          clearTimeout(worker.timer);
          worker.label = message.label;
          worker.timer = setTimeout(() => {
            worker.killedFor = 'timeout (over ' + message.limitMs + ' ms) in ' + message.label;
            child.kill('SIGKILL');
          }, message.limitMs);
        } else if (message.type === 'result') {
          ++worker.done;
          Finish(worker, message.file, message.units, message.broken);
          Next(worker);
        }
      });
      child.on('exit', (code, signal) => {
        workers.delete(worker);
        clearTimeout(worker.timer);
        const test = worker.current;
        if (!test) return;
        const reason = worker.killedFor || 'worker died (' + (signal || 'exit ' + code) + ') in ' + worker.label + ': ' + worker.stderr.trim().split('\n').slice(-3).join(' | ');
        const tries = (attempts.get(test.file) || 0) + 1;
        attempts.set(test.file, tries);
        if (tries < TRIES) {
          worker.current = null;
          queue.unshift(test);
        } else {
          Finish(worker, test.file, [], reason);
        }
        if (queue.length) Start();
      });
      child.send({ type: 'init', settings });
      Next(worker);
    };

    if (!tests.length) return resolve();
    for (let i = 0; i < Math.min(jobs, tests.length); ++i) Start();
  });
}

module.exports = { RunPool };
