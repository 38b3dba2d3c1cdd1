'use strict';
// A pool worker: takes test files from the main process one at a time and
// answers with the outcome of each of their modes. Before every packing and
// every run it tells the main process what it is doing and for how long at
// most, so that a hang is killed and named.
const { TestJob } = require('./test-job');

let settings = null;

function Step(label, limitMs) {
  process.send({ type: 'step', label, limitMs });
}

async function RunJob(test) {
  try {
    const units = await new TestJob(settings, test, Step).Run();
    process.send({ type: 'result', file: test.file, units });
  } catch (error) {
    process.send({ type: 'result', file: test.file, units: [], broken: 'harness error: ' + (error && error.stack) });
  }
}

// Rejections and late throws from test code belong to tests already judged or
// waiting for their async result; they must not end the worker.
process.on('unhandledRejection', () => {});
process.on('uncaughtException', () => {});

process.on('message', (message) => {
  if (message.type === 'init') settings = message.settings;
  else if (message.type === 'job') RunJob(message.test);
  else if (message.type === 'stop') process.exit(0);
});
