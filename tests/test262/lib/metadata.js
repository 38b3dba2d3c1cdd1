'use strict';
// Reads the frontmatter block of a suite file, /*--- ... ---*/, for the keys the
// harness needs: flags, includes, features and negative {phase, type}. Lists come
// inline or as dash items:
//   flags: [onlyStrict, async]        features:
//                                       - class
//                                       - class-fields-private

const LIST_KEYS = ['flags', 'includes', 'features'];

function FrontmatterText(source) {
  const start = source.indexOf('/*---');
  if (start < 0) return '';
  const end = source.indexOf('---*/', start);
  return end < 0 ? '' : source.slice(start + 5, end);
}

function InlineList(text) {
  return text.replace(/^\[|\]$/g, '').split(',').map((item) => item.trim()).filter(Boolean);
}

// Collects the "  - item" lines that follow a key written without a value.
function DashItems(lines, from) {
  const items = [];
  let i = from;
  for (; i < lines.length; ++i) {
    const match = /^\s+-\s+(\S.*?)\s*$/.exec(lines[i]);
    if (!match) break;
    items.push(match[1]);
  }
  return { items, next: i };
}

function NestedPairs(lines, from) {
  const pairs = {};
  let i = from;
  for (; i < lines.length; ++i) {
    const match = /^\s+(\w+):\s*(\S.*?)\s*$/.exec(lines[i]);
    if (!match) break;
    pairs[match[1]] = match[2];
  }
  return { pairs, next: i };
}

function ParseMetadata(source) {
  const meta = { flags: [], includes: [], features: [], negative: null };
  const lines = FrontmatterText(source).split(/\r?\n/);
  for (let i = 0; i < lines.length; ++i) {
    const match = /^(\w+):\s*(.*?)\s*$/.exec(lines[i]);
    if (!match) continue;
    const [, key, value] = match;
    if (LIST_KEYS.includes(key)) {
      if (value) meta[key] = InlineList(value);
      else {
        const { items, next } = DashItems(lines, i + 1);
        meta[key] = items;
        i = next - 1;
      }
    } else if (key === 'negative') {
      const { pairs, next } = NestedPairs(lines, i + 1);
      meta.negative = { phase: pairs.phase, type: pairs.type };
      i = next - 1;
    }
  }
  return meta;
}

module.exports = { ParseMetadata };
