'use strict';
// Finds the test files in scope (test/language and test/annexB/language, less the
// _FIXTURE files that tests import) and tells which ones stay out because they
// exercise a proposal rather than the language.
const fs = require('fs');
const path = require('path');
const { ParseMetadata } = require('./metadata');

const SCOPE = ['test/language', 'test/annexB/language'];

// features.txt is cut into sections by "## Title" lines that follow a blank line;
// a "## ..." line inside a section (a link, a sub-note) does not start a new one.
// Every feature named under a section whose title speaks of proposals is one.
function ProposalFeatures(featuresText) {
  const proposals = new Set();
  let inProposals = false;
  let previous = '';
  for (const raw of featuresText.split(/\r?\n/)) {
    const line = raw.trim();
    if (line.startsWith('## ') && previous === '') inProposals = /propos/i.test(line);
    else if (inProposals && line && !line.startsWith('#')) proposals.add(line);
    previous = line;
  }
  return proposals;
}

function IsFixture(name) {
  return name.includes('_FIXTURE');
}

function ListTestFiles(suiteRoot) {
  const files = [];
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const full = path.join(dir, entry.name);
      if (entry.isDirectory()) walk(full);
      else if (entry.name.endsWith('.js') && !IsFixture(entry.name)) files.push(full);
    }
  };
  for (const part of SCOPE) walk(path.join(suiteRoot, part));
  return files.map((file) => path.relative(suiteRoot, file).split(path.sep).join('/')).sort();
}

// Which ways a test file runs: a module once, a raw file once as it is, others
// in sloppy and strict mode unless a flag keeps only one.
function ModesOf(meta) {
  if (meta.flags.includes('module')) return ['module'];
  if (meta.flags.includes('raw')) return ['raw'];
  if (meta.flags.includes('onlyStrict')) return ['strict'];
  if (meta.flags.includes('noStrict')) return ['sloppy'];
  return ['sloppy', 'strict'];
}

// Returns {tests, leftOut}: each test is {file, meta, modes}; leftOut maps a
// proposal feature to the number of files it kept out (a file counts under the
// first proposal it names). Only the files `wanted` keeps are read.
function LoadScope(suiteRoot, wanted = () => true) {
  const proposals = ProposalFeatures(fs.readFileSync(path.join(suiteRoot, 'features.txt'), 'utf8'));
  const tests = [];
  const leftOut = {};
  for (const file of ListTestFiles(suiteRoot).filter(wanted)) {
    const meta = ParseMetadata(fs.readFileSync(path.join(suiteRoot, file), 'latin1'));
    const proposal = meta.features.find((feature) => proposals.has(feature));
    if (proposal) leftOut[proposal] = (leftOut[proposal] || 0) + 1;
    else tests.push({ file, meta, modes: ModesOf(meta) });
  }
  return { tests, leftOut, proposals: [...proposals] };
}

module.exports = { LoadScope, ProposalFeatures, ModesOf, IsFixture };
