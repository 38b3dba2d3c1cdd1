'use strict';
// The files a test may import: every './name' string in its text that names a
// file beside it, and so on through the files found; a script test may import
// itself as a module, so the test file is among them when named. Tests name
// their fixtures only that way:
//   import { x } from './instn-iee-bndng-let_FIXTURE.js';
//   import('./module-code_FIXTURE.js')
const fs = require('fs');
const path = require('path');

const RELATIVE_NAME = /(['"])\.\/([^'"\n\\]+)\1/g;

function NamedFiles(file, text) {
  const found = [];
  for (const match of text.matchAll(RELATIVE_NAME)) {
    const named = path.join(path.dirname(file), match[2]);
    if (fs.existsSync(named) && fs.statSync(named).isFile()) found.push(named);
  }
  return found;
}

function IsScriptFile(file) {
  return file.endsWith('.js') || file.endsWith('.mjs');
}

function FixtureClosure(testFile, text) {
  const seen = new Set();
  const queue = NamedFiles(testFile, text);
  while (queue.length) {
    const file = queue.shift();
    if (seen.has(file)) continue;
    seen.add(file);
    if (IsScriptFile(file)) queue.push(...NamedFiles(file, fs.readFileSync(file, 'utf8')));
  }
  return [...seen];
}

module.exports = { FixtureClosure, IsScriptFile };
