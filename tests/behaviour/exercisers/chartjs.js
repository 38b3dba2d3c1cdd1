'use strict';
// Chart.js (UMD build) without a browser: charts draw on a canvas stand-in
// whose 2D context records every call and property set, so the drawing
// itself is compared; also layout, scale ticks, element positions, legend
// items, updates, events through the platform, and the helpers.
const Round = (v) => (typeof v === 'number' ? +v.toFixed(3) : v);

// A 2D context that writes what is done to it into `log`.
function RecordingContext(canvas, log) {
  const state = { font: '12px sans-serif' };
  const target = {
    canvas,
    measureText: (text) => { const size = parseFloat(/(\d+(\.\d+)?)px/.exec(state.font)[1]); return { width: String(text).length * size * 0.55, actualBoundingBoxAscent: size * 0.8, actualBoundingBoxDescent: size * 0.2 }; },
    createLinearGradient: (...args) => ({ addColorStop: (...stop) => log.push('stop ' + stop.map(Round).join(',')), args }),
    getImageData: () => ({ data: new Uint8ClampedArray(4) }),
    isPointInPath: () => false,
    setLineDash: (dash) => log.push('setLineDash ' + dash.map(Round).join(',')),
    getLineDash: () => [],
  };
  return new Proxy(target, {
    get(object, key) {
      if (key in object) return object[key];
      if (typeof key === 'symbol') return undefined;
      if (key in state) return state[key];
      return (...args) => { log.push(key + ' ' + args.map(Round).join(',')); };
    },
    set(object, key, value) {
      state[key] = value;
      log.push(key + '=' + (typeof value === 'object' ? 'gradient' : Round(value)));
      return true;
    },
  });
}

function RecordingCanvas(log) {
  const canvas = { width: 400, height: 300, style: {}, getAttribute: () => null, setAttribute: () => {} };
  const context = RecordingContext(canvas, log);
  canvas.getContext = () => context;
  return canvas;
}

// A short, stable fingerprint of the drawing log, and a sample of it.
function Fingerprint(log) {
  let hash = 2166136261;
  const text = log.join('\n');
  for (let i = 0; i < text.length; ++i) hash = Math.imul(hash ^ text.charCodeAt(i), 16777619) >>> 0;
  return [log.length, hash.toString(16), log.slice(0, 12), log.filter((l) => l.startsWith('fillText')).slice(0, 30)];
}

const kLabels = ['Jan', 'Feb', 'Mar', 'Apr', 'May'];
const kCharts = [
  ['bar', { labels: kLabels, datasets: [{ label: 'a', data: [12, -19, 3, 5, 2] }, { label: 'b', data: [2, 3, 20, 5, 1], stack: 's' }] }, { scales: { y: { beginAtZero: true } } }],
  ['line', { labels: kLabels, datasets: [{ label: 'l', data: [1, null, 3, 8, 4], tension: 0.4, fill: 'origin', spanGaps: true, stepped: false }] }, { plugins: { title: { display: true, text: 'Line' } } }],
  ['pie', { labels: ['x', 'y', 'z'], datasets: [{ data: [300, 50, 100], backgroundColor: ['#f00', '#0f0', '#00f'] }] }, {}],
  ['doughnut', { labels: ['x', 'y'], datasets: [{ data: [1, 3], circumference: 180, rotation: -90 }] }, { cutout: '60%' }],
  ['radar', { labels: ['s', 't', 'u', 'v'], datasets: [{ label: 'r', data: [3, 5, 2, 4] }] }, { scales: { r: { suggestedMax: 6 } } }],
  ['polarArea', { labels: ['p', 'q', 'r'], datasets: [{ data: [11, 16, 7] }] }, {}],
  ['scatter', { datasets: [{ label: 's', data: [{ x: -10, y: 0 }, { x: 0, y: 10 }, { x: 10, y: 5 }, { x: 0.5, y: 5.5 }] }] }, { scales: { x: { type: 'linear', position: 'bottom' } } }],
  ['bubble', { datasets: [{ label: 'b', data: [{ x: 20, y: 30, r: 15 }, { x: 40, y: 10, r: 10 }] }] }, { scales: { y: { type: 'logarithmic' } } }],
  ['line', { labels: kLabels, datasets: [{ data: [5, 4, 3, 2, 1], indexAxis: 'y' }, { data: [1, 2, 3, 4, 5], hidden: true }] }, { indexAxis: 'y', plugins: { legend: { position: 'left' } } }],
];

// Named parts of what a chart computed, each small enough to compare whole.
function Describe(chart, log, stage) {
  const parts = {};
  for (const id of Object.keys(chart.scales)) {
    const scale = chart.scales[id];
    parts[stage + ' scale ' + id] = [Round(scale.min), Round(scale.max), scale.ticks.map((t) => [Round(t.value), t.label])];
  }
  parts[stage + ' elements'] = chart.getDatasetMeta(0).data.map((el) => [Round(el.x), Round(el.y)]);
  parts[stage + ' legend'] = chart.legend ? chart.legend.legendItems.map((i) => [i.text, i.hidden, i.fillStyle]) : null;
  parts[stage + ' area'] = ['left', 'top', 'right', 'bottom'].map((side) => Round(chart.chartArea[side]));
  parts[stage + ' drawing'] = Fingerprint(log);
  log.length = 0;
  return parts;
}

// `data` and `options` are made in the library's realm: it tells plain
// objects from others by their prototype.
function DrawChart(Chart, kind, data, options) {
  const log = [];
  const chart = new Chart(RecordingCanvas(log), { type: kind, data, options: Object.assign(options, { animation: false, responsive: false, devicePixelRatio: 1 }) });
  const parts = Describe(chart, log, 'first');
  chart.data.datasets[0].data.push(kind === 'scatter' || kind === 'bubble' ? { x: 7, y: 7, r: 3 } : 9);
  if (chart.data.labels) chart.data.labels.push('Jun');
  chart.options.plugins.legend.display = !chart.options.plugins.legend.display;
  chart.update();
  Object.assign(parts, Describe(chart, log, 'updated'));
  chart.setDatasetVisibility(0, false);
  chart.update('none');
  const area = chart.chartArea;
  parts.found = chart.getElementsAtEventForMode({ type: 'click', x: (area.left + area.right) / 2, y: (area.top + area.bottom) / 2, native: null }, 'nearest', { intersect: false }, false)
    .map((e) => [e.datasetIndex, e.index]);
  Object.assign(parts, Describe(chart, log, 'hidden'));
  parts.visible = [chart.isDatasetVisible(0), chart.getVisibleDatasetCount()];
  chart.destroy();
  return parts;
}

function Helpers(Chart, record) {
  const h = Chart.helpers;
  record('helpers', () => [h.niceNum(123.4, true), h.toFont({ size: 14, family: 'x', weight: 'bold' }), h.toPadding({ x: 2, top: 5 }), h.toTRBLCorners(3),
    h.color('#ff000080').rgbString(), h.getHoverColor('#336699'), h.formatNumber(1234567.891, 'en-US', { maximumFractionDigits: 1 }),
    h.splineCurve({ x: 0, y: 0 }, { x: 1, y: 2 }, { x: 2, y: 0 }, 0.4), h._factorize(360), h.toDimension('50%', 300), h.merge({ a: { b: 1 } }, { a: { c: 2 } })]);
  record('ticks', () => {
    const scale = { chart: { options: { locale: 'en-US' } }, options: { ticks: { format: {} } } };
    const ticks = [0.0001, 0.0002, 0.0003].map((value) => ({ value }));
    return [Chart.Ticks.formatters.numeric.call(scale, 0.0002, 1, ticks), Chart.Ticks.formatters.numeric.call(scale, 25e6, 0, [{ value: 25e6 }, { value: 5e7 }]),
      Chart.Ticks.formatters.logarithmic.call(scale, 1000, 0, [{ value: 1000 }])];
  });
  record('registry', () => [Chart.registry.getController('bar') === Chart.BarController, Chart.registry.getScale('linear').id, Chart.defaults.font.size,
    Chart.defaults.elements.line.borderWidth, Object.keys(Chart.overrides).sort()]);
}

module.exports = function (Chart, record, g) {
  const Copy = (value) => g.JSON.parse(JSON.stringify(value));
  kCharts.forEach(([kind, data, options], i) => {
    let parts = {};
    record('chart#' + i + ' ' + kind, () => { parts = DrawChart(Chart, kind, Copy(data), Copy(options)); return Object.keys(parts); });
    for (const name of Object.keys(parts)) record('chart#' + i + ' ' + name, () => JSON.stringify(parts[name]));
  });
  Helpers(Chart, record);
  record('version', () => Chart.version);
};
