'use strict';
// d3 version 7 on a jsdom page: number and UTC time formats, scales, arrays
// (binning, grouping into maps, set operations), colours and interpolators,
// shapes and curves, hierarchies, geography, Delaunay triangulation,
// quadtrees, contours, a seeded force simulation, text formats and
// selections with data joins.
const kNumbers = [0, 1, -1, 0.5, 1234.5678, 1e-7, 1e21, -42.42, NaN, 99.995, 2 ** 53];
const kFormats = [',', '.2f', '%', '.3s', '$,.2f', '+e', 'x', '08.3f', '.0%', 'b', 'o', ',.4r', '^10', '*>12,', '~s', '(.1f'];
const kTimeFormats = ['%Y-%m-%dT%H:%M:%S.%LZ', '%a %A %b %B', '%c', '%x %X', '%j %U %W %V %G %u %w', '%I %p %e %f %Q %s', '%-d/%_m/%0H %%'];
const kTimes = [0, 951827696789, 1720051200000, -86400000 * 365];
const kCurves = ['curveLinear', 'curveStep', 'curveStepAfter', 'curveBasis', 'curveCardinal', 'curveCatmullRom', 'curveMonotoneX',
  'curveNatural', 'curveLinearClosed', 'curveBumpX'];
const kProjections = ['geoMercator', 'geoAlbers', 'geoOrthographic', 'geoEquirectangular', 'geoAzimuthalEqualArea',
  'geoConicConformal', 'geoNaturalEarth1', 'geoTransverseMercator'];
const kTree = { name: 'root', children: [{ name: 'a', size: 3 }, { name: 'b', children: [{ name: 'c', size: 5 }, { name: 'd', size: 1 }] }, { name: 'e', size: 2 }] };

const Fixed = (values) => Array.from(values, (v) => (typeof v === 'number' ? +v.toFixed(6) : v));

function Formats(d3, record) {
  for (const f of kFormats) {
    const format = d3.format(f);
    record('format ' + f, () => kNumbers.map(format));
  }
  record('formatPrefix', () => [d3.formatPrefix(',.0', 1e3)(1234567), d3.precisionFixed(0.01), d3.precisionRound(0.01, 1.01)]);
  record('locale', () => d3.formatLocale({ decimal: ',', thousands: '\u00a0', grouping: [3], currency: ['', '\u00a0€'] }).format('$,.2f')(1234.5));
  for (const f of kTimeFormats) record('utcFormat ' + f, () => kTimes.map((t) => d3.utcFormat(f)(new Date(t))));
  record('utcParse', () => [d3.utcParse('%d/%m/%Y %H:%M')('29/02/2020 12:34'), d3.isoParse('2021-03-04T05:06:07.089Z'), d3.utcParse('%Y')('x')]);
  record('utc intervals', () => [d3.utcDay.range(new Date(0), new Date(86400000 * 5)).map(Number), d3.utcMonday.every(2).range(new Date(0), new Date(86400000 * 40)).map(Number),
    d3.utcMonth.count(new Date(0), new Date(86400000 * 400)), +d3.utcYear.ceil(new Date(12345678901))]);
}

function Scales(d3, record) {
  const scales = [
    ['linear', d3.scaleLinear().domain([0, 10]).range([100, 200])],
    ['pow', d3.scalePow().exponent(2).domain([0, 10]).range([0, 1])],
    ['log', d3.scaleLog().domain([1, 1000]).range([0, 3])],
    ['symlog', d3.scaleSymlog().domain([-100, 100]).range([0, 1])],
    ['sqrt', d3.scaleSqrt().domain([0, 100]).range([0, 10]).clamp(true)],
    ['utc', d3.scaleUtc().domain([new Date(0), new Date(86400000 * 40)]).range([0, 100])],
  ];
  for (const [kind, scale] of scales) {
    record('scale ' + kind, () => Fixed([0, 1, 5, 10, 50, 1000].map(scale)));
    record('scale ' + kind + ' invert', () => [0, 1, 2, 150].map((v) => scale.invert(v)).map((v) => (typeof v === 'object' ? +v : +v.toFixed(6))));
    record('scale ' + kind + ' ticks', () => { const ticks = scale.ticks(5); return [ticks.map(Number), ticks.map(scale.tickFormat(5))]; });
    record('scale ' + kind + ' nice', () => scale.copy().nice().domain().map(Number));
  }
  record('band', () => { const b = d3.scaleBand().domain(['a', 'b', 'c']).range([0, 100]).padding(0.1).round(true); return [b('a'), b('c'), b.bandwidth(), b.step()]; });
  record('point', () => { const p = d3.scalePoint(['x', 'y', 'z'], [0, 10]); return [p('y'), p.step()]; });
  record('ordinal', () => ['x', 'y', 'z', 'x', 'w'].map(d3.scaleOrdinal(d3.schemeCategory10)));
  record('quantize', () => [0, 0.3, 0.6, 1].map(d3.scaleQuantize().domain([0, 1]).range(['lo', 'mid', 'hi'])));
  record('quantile', () => d3.scaleQuantile().domain([3, 6, 7, 8, 8, 10, 13, 15, 16, 20]).range([0, 1, 2, 3]).quantiles());
  record('threshold', () => [-1, 0, 0.5, 1, 2].map(d3.scaleThreshold().domain([0, 1]).range(['a', 'b', 'c'])));
  record('sequential', () => [0, 0.5, 1].map(d3.scaleSequential(d3.interpolateViridis)));
  record('diverging', () => [-1, 0, 1].map(d3.scaleDiverging([-1, 0, 1], d3.interpolateRdBu)));
}

function Arrays(d3, record) {
  const people = [{ n: 'ann', a: 31, c: 'x' }, { n: 'bob', a: 25, c: 'y' }, { n: 'cy', a: 31, c: 'x' }, { n: 'di', a: 40, c: 'y' }];
  record('summaries', () => [d3.extent([3, 1, 4]), d3.sum([1, 2, 3]), d3.mean([1, 2]), d3.median([5, 1, 3]), d3.quantile([1, 2, 3, 4], 0.25),
    d3.deviation([1, 2, 3, 4]), d3.variance([1, 2, 3, 4]), d3.mode([1, 2, 2, 3]), d3.fsum([0.1, 0.2, 0.3]), Array.from(d3.cumsum([1, 2, 3]))]);
  record('search', () => [d3.bisect([1, 2, 3], 2.5), d3.bisectLeft([1, 2, 2, 3], 2), d3.bisector((d) => d.a).right(people, 31), d3.least(people, (d) => d.a),
    d3.greatestIndex([1, 9, 3]), d3.leastIndex([4, 1, 1])]);
  record('ticks', () => [d3.ticks(0, 1, 5), d3.ticks(-3.7, 112.2, 7), d3.tickIncrement(0, 10, 3), d3.nice(1.1, 10.9, 5), d3.range(0, 1, 0.25)]);
  record('group', () => [Array.from(d3.group(people, (d) => d.c, (d) => d.a), ([k, m]) => [k, Array.from(m.keys())]),
    Array.from(d3.rollup(people, (v) => v.length, (d) => d.a)), d3.groups(people, (d) => d.c).map(([k, v]) => [k, v.length]),
    d3.flatRollup(people, (v) => d3.sum(v, (d) => d.a), (d) => d.c), d3.index(people, (d) => d.n).get('cy')]);
  record('sets', () => [Array.from(d3.union([1, 2], [2, 3])), Array.from(d3.intersection([1, 2, 3], [2, 3, 4])), Array.from(d3.difference([1, 2, 3], [2])),
    d3.subset([1], [1, 2]), d3.disjoint([1], [2])]);
  record('bin', () => d3.bin().thresholds(4)([1, 2, 2, 3, 5, 8, 13]).map((b) => [b.x0, b.x1, b.length]));
  record('reshape', () => [d3.zip([1, 2], [3, 4]), d3.transpose([[1, 2], [3, 4]]), d3.merge([[1], [2, 3]]), d3.permute(['a', 'b', 'c'], [2, 0, 1]),
    d3.cross([1, 2], ['a', 'b']), d3.pairs([1, 2, 3]), d3.shuffler(d3.randomLcg(0.5))([1, 2, 3, 4, 5]), d3.sort(people, (d) => d.a).map((d) => d.n),
    d3.rank([3, 1, 2]), Array.from(d3.blur([0, 0, 10, 0, 0], 1))]);
  record('intern map', () => { const m = new d3.InternMap([[new Date(5), 'x']]); return [m.get(new Date(5)), m.has(new Date(6)), m.size]; });
  record('random lcg', () => { const r = d3.randomNormal.source(d3.randomLcg(42))(0, 1); return Fixed([r(), r(), d3.randomUniform.source(d3.randomLcg(7))(5)()]); });
}

function Colors(d3, record) {
  record('colors', () => [d3.rgb('steelblue').brighter(1).formatHex(), d3.hsl('red').darker().toString(), d3.lab('#abc').toString(), d3.hcl('#123456').rgb().toString(),
    d3.color('rgba(10, 20, 30, 0.5)').formatHsl(), d3.cubehelix('#abcdef').toString(), d3.color('nonsense'), d3.gray(50).formatRgb()]);
  const pairs = [[0, 10], ['red', 'blue'], ['10px 20px', '30px 40px'], [[1, 2], [3, 6]], [{ a: 1 }, { a: 3, b: 2 }], ['#fff', 'rgb(0,0,0)'],
    [new Date(0), new Date(1000)], ['rotate(10deg)', 'rotate(50deg)']];
  for (const [a, b] of pairs) record('interpolate ' + JSON.stringify([a, b]), () => [0, 0.25, 0.5, 1].map(d3.interpolate(a, b)));
  record('interpolators', () => [d3.interpolateHcl('red', 'blue')(0.3), d3.interpolateCubehelixLong('purple', 'orange')(0.5),
d3.interpolateZoom([0, 0, 1], [10, 10, 5])(0.5).map((v) => v.toFixed(6)),
    d3.quantize(d3.interpolateRound(0, 100), 5), d3.piecewise(d3.interpolateRgb, ['red', 'green', 'blue'])(0.75), d3.interpolateTurbo(0.2)]);
  record('eases', () => ['easeLinear', 'easeQuadIn', 'easeCubicOut', 'easeSinInOut', 'easeElastic', 'easeBounce', 'easeBack', 'easeExpIn', 'easeCircleOut']
    .map((e) => d3[e](0.3).toFixed(8)));
}

function Shapes(d3, record) {
  const points = [[0, 0], [10, 20], [20, 5], [30, 25], [40, 10]];
  for (const curve of kCurves) {
    record('line ' + curve, () => d3.line().curve(d3[curve])(points));
    record('area ' + curve, () => d3.area().curve(d3[curve]).y0(30)(points));
  }
  record('bundle', () => d3.line().curve(d3.curveBundle.beta(0.5))(points));
  record('radial', () => [d3.lineRadial().curve(d3.curveCardinalClosed)([[0, 10], [1, 20], [2, 15]]), d3.link(d3.curveBumpY)({ source: [0, 0], target: [10, 20] })]);
  record('arc', () => [0, 1, 2].map((i) => d3.arc().innerRadius(10 * i).outerRadius(50).cornerRadius(i).padAngle(0.02)({ startAngle: i, endAngle: i + 1.5 })));
  record('pie', () => d3.pie().sort(null)([1, 2, 3, 4]).map((a) => Fixed([a.startAngle, a.endAngle])));
  record('symbols', () => d3.symbolsFill.concat(d3.symbolsStroke).map((t) => d3.symbol(t, 64)()));
  record('stack', () => d3.stack().keys(['a', 'b']).offset(d3.stackOffsetWiggle).order(d3.stackOrderInsideOut)([{ a: 1, b: 2 }, { a: 3, b: 4 }, { a: 0, b: 5 }])
    .map((s) => [s.key, s.index, Array.from(s, (p) => Array.from(p))]));
  record('path', () => { const p = d3.path(); p.moveTo(1, 2); p.arcTo(10, 10, 20, 0, 5); p.quadraticCurveTo(3, 4, 5, 6); p.rect(0, 0, 2, 2); p.closePath(); return p.toString(); });
  record('pathRound', () => { const p = d3.pathRound(2); p.moveTo(1.23456, 2.34567); p.lineTo(3.14159, 2.71828); return String(p); });
}

function Hierarchies(d3, record) {
  const root = () => d3.hierarchy(kTree).sum((d) => d.size || 0).sort((a, b) => b.value - a.value);
  record('tree', () => d3.tree().size([100, 100])(root()).descendants().map((n) => [n.data.name, Fixed([n.x, n.y]), n.depth]));
  record('cluster', () => d3.cluster().size([100, 100])(root()).leaves().map((n) => [n.data.name, Fixed([n.x, n.y])]));
  record('pack', () => d3.pack().size([100, 100]).padding(1)(root()).descendants().map((n) => [n.data.name, Fixed([n.x, n.y, n.r])]));
  record('treemap', () => d3.treemap().size([100, 100]).tile(d3.treemapSquarify).paddingInner(1)(root()).leaves().map((n) => [n.data.name, Fixed([n.x0, n.y0, n.x1, n.y1])]));
  record('partition', () => d3.partition().size([1, 1])(root()).descendants().map((n) => [n.data.name, Fixed([n.x0, n.x1])]));
  record('iterate', () => { const r = root(); return [[...r].map((n) => n.data.name), r.links().length, r.find((n) => n.data.name === 'c').ancestors().map((n) => n.data.name),
    r.path(r.find((n) => n.data.name === 'e')).map((n) => n.data.name), r.copy().count().value]; });
  record('stratify', () => d3.stratify()([{ id: 'r' }, { id: 'x', parentId: 'r' }, { id: 'y', parentId: 'x' }]).height);
  record('packSiblings', () => d3.packSiblings([{ r: 3 }, { r: 2 }, { r: 1 }]).map((c) => Fixed([c.x, c.y])));
}

function Geometry(d3, record) {
  const shape = { type: 'Polygon', coordinates: [[[-10, -10], [10, -10], [10, 10], [-10, 10], [-10, -10]]] };
  for (const projection of kProjections) {
    record('geo ' + projection, () => {
      const p = d3[projection]().scale(100).translate([0, 0]).precision(0.1);
      const path = d3.geoPath(p).digits(4);
      return [Fixed(p([12, 34])), path(shape), path.area(shape).toFixed(4), Fixed(p.invert([1, 2])), path.bounds(shape).map(Fixed)];
    });
  }
  record('geo measures', () => Fixed([d3.geoDistance([0, 0], [90, 0]), d3.geoArea(shape), d3.geoLength({ type: 'LineString', coordinates: [[0, 0], [10, 10]] }),
    d3.geoGraticule10().coordinates.length, d3.geoContains(shape, [1, 1]) ? 1 : 0, ...d3.geoCentroid(shape), ...d3.geoInterpolate([0, 0], [90, 45])(0.5)]));
  record('geo circle', () => d3.geoCircle().radius(5).precision(30)().coordinates[0].map(Fixed));
  const points = [[0, 0], [10, 0], [0, 10], [10, 10], [5, 4], [3, 7]];
  record('delaunay', () => {
    const delaunay = d3.Delaunay.from(points);
    const voronoi = delaunay.voronoi([-1, -1, 11, 11]);
    return [Array.from(delaunay.triangles), Array.from(delaunay.hull), delaunay.find(6, 6), [...delaunay.neighbors(4)],
      voronoi.cellPolygon(4).map(Fixed), [...voronoi.cellPolygons()].length, voronoi.contains(4, 5, 4)];
  });
  record('polygon', () => [d3.polygonArea(points.slice(0, 4)), d3.polygonHull(points), d3.polygonContains(points.slice(0, 3), [1, 1]), d3.polygonLength([[0, 0], [3, 4]])]);
  record('quadtree', () => { const q = d3.quadtree(points); const seen = []; q.visit((n, x0, y0) => { seen.push(x0); }); return [q.find(4, 4), q.size(), seen.length, q.extent()]; });
  record('contours', () => {
    const values = Array.from({ length: 100 }, (_, i) => Math.sin(i / 7) * Math.cos(i % 10));
    return d3.contours().size([10, 10]).thresholds([-0.5, 0, 0.5])(values).map((c) => [c.value, c.coordinates.length, JSON.stringify(c.coordinates).length]);
  });
  record('density', () => d3.contourDensity().size([20, 20]).bandwidth(3)(points).map((c) => c.value.toFixed(8)));
  record('chord', () => d3.chord().padAngle(0.1)([[1, 2], [3, 4]]).map((c) => Fixed([c.source.startAngle, c.target.endAngle])));
}

function Force(d3, record) {
  record('force', () => {
    const nodes = [{ id: 'a' }, { id: 'b' }, { id: 'c' }, { id: 'd' }];
    const links = [{ source: 'a', target: 'b' }, { source: 'b', target: 'c' }, { source: 'c', target: 'a' }];
    const simulation = d3.forceSimulation(nodes).randomSource(d3.randomLcg(3))
      .force('link', d3.forceLink(links).id((d) => d.id)).force('charge', d3.forceManyBody()).force('center', d3.forceCenter(0, 0))
      .force('collide', d3.forceCollide(5)).stop();
    simulation.tick(30);
    return nodes.map((n) => [n.id, Fixed([n.x, n.y])]);
  });
}

function Text(d3, record) {
  record('csv', () => d3.csvParse('name,value\n"quoted, name",3\nplain,4\n', d3.autoType));
  record('csv format', () => [d3.csvFormat([{ a: 'x,y', b: 'q"r' }, { a: new Date(0), b: null }]), d3.tsvFormatRows([['a', 'b'], ['c\td', 'e']])]);
  record('dsv', () => d3.dsvFormat('|').parseRows('a|b\n1|"2|3"'));
}

function Selections(d3, record, g) {
  record('selection join', () => {
    const svg = d3.select(g.document.body).append('svg').attr('width', 100);
    const draw = (data) => svg.selectAll('rect').data(data, (d) => d.k)
      .join((enter) => enter.append('rect').attr('class', 'new'), (update) => update.attr('class', 'kept'), (exit) => exit.remove())
      .attr('x', (d, i) => i * 10).attr('height', (d) => d.v).text((d) => `${d.k}`);
    draw([{ k: 'a', v: 1 }, { k: 'b', v: 2 }]);
    draw([{ k: 'b', v: 3 }, { k: 'c', v: 4 }]);
    const html = svg.node().outerHTML;
    svg.remove();
    return html;
  });
  record('selection api', () => {
    const div = d3.create('div').classed('x y', true).style('color', 'red').property('title', 't').html('<p>1</p><p>2</p>');
    const ps = div.selectAll('p');
    return [div.attr('class'), ps.size(), ps.nodes().map((n) => n.textContent), div.select('p').datum(7).datum(), d3.namespace('svg:text'), div.node().outerHTML];
  });
}

module.exports = function (d3, record, g) {
  Formats(d3, record);
  Scales(d3, record);
  Arrays(d3, record);
  Colors(d3, record);
  Shapes(d3, record);
  Hierarchies(d3, record);
  Geometry(d3, record);
  Force(d3, record);
  Text(d3, record);
  Selections(d3, record, g);
  record('version', () => d3.version);
};
