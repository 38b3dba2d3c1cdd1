'use strict';
// d3 version 3: scales, formats, time, interpolation, shapes, layouts, geography and parsing.
module.exports = function (g, record) {
  const d3 = g.d3;
  const numbers = [0, 1, -1, 0.5, 1234.5678, 1e-7, 1e21, -42.42, NaN, 99.995];
  const formats = [',', '.2f', '%', '.3s', '$,.2f', '+e', 'x', '08.3f', '.0%', 'b', 'o', ',.4r', '^10', '*>12,'];
  for (const f of formats) {
    const format = d3.format(f);
    for (const n of numbers) record('format ' + f + ' ' + n, () => format(n));
  }
  const scales = [
    ['linear', (s) => s.domain([0, 10]).range([100, 200])],
    ['pow', (s) => s.exponent(2).domain([0, 10]).range([0, 1])],
    ['log', (s) => s.domain([1, 1000]).range([0, 3])],
    ['sqrt', (s) => s.domain([0, 100]).range([0, 10]).clamp(true)],
  ];
  for (const [kind, setup] of scales) {
    const scale = setup(d3.scale[kind]());
    record('scale ' + kind, () => [0, 1, 5, 10, 50, 1000].map(scale));
    record('scale ' + kind + ' invert', () => [0, 1, 2, 150].map(scale.invert));
    record('scale ' + kind + ' ticks', () => [scale.ticks(5), scale.ticks(5).map(scale.tickFormat(5))]);
    record('scale ' + kind + ' nice', () => scale.copy().nice().domain());
  }
  record('ordinal', () => { const o = d3.scale.ordinal().domain(['a', 'b', 'c']).rangeRoundBands([0, 100], 0.1); return [o('a'), o('c'), o.rangeBand()]; });
  record('category', () => ['x', 'y', 'z', 'x'].map(d3.scale.category10()));
  record('quantize', () => [0, 0.3, 0.6, 1].map(d3.scale.quantize().domain([0, 1]).range(['lo', 'mid', 'hi'])));
  record('threshold', () => [-1, 0, 0.5, 1, 2].map(d3.scale.threshold().domain([0, 1]).range(['a', 'b', 'c'])));
  const specifiers = ['%Y-%m-%dT%H:%M:%S', '%a %A %b %B', '%c', '%x %X', '%j %U %W %w', '%I %p %L %e', '%y %Z %%', '%-d/%_m/%0H'];
  for (const pattern of specifiers) {
    for (const t of [0, 951827696000, 1720051200000, -86400000 * 365]) {
      record('time format ' + pattern + ' ' + t, () => d3.time.format.utc(pattern)(new Date(t)));
    }
  }
  record('time parse', () => String(d3.time.format.utc('%d/%m/%Y %H:%M').parse('29/02/2020 12:34')));
  record('time scale', () => d3.time.scale.utc().domain([new Date(0), new Date(86400000 * 40)]).ticks(6).map(Number));
  record('time intervals', () => d3.time.days.utc(new Date(0), new Date(86400000 * 5)).map(Number));
  const interpolations = [[0, 10], ['red', 'blue'], ['10px 20px', '30px 40px'], [[1, 2], [3, 6]], [{ a: 1 }, { a: 3, b: 2 }], ['#fff', 'rgb(0,0,0)']];
  for (const [a, b] of interpolations) record('interpolate ' + JSON.stringify([a, b]), () => [0, 0.25, 0.5, 1].map(d3.interpolate(a, b)));
  record('colors', () => [d3.rgb('steelblue').brighter(1).toString(), d3.hsl('red').darker().toString(), d3.lab('#abc').toString(), d3.hcl('#123456').rgb().toString()]);
  const points = [[0, 0], [10, 20], [20, 5], [30, 25], [40, 10]];
  for (const curve of ['linear', 'step', 'basis', 'cardinal', 'monotone', 'bundle', 'linear-closed']) {
    record('line ' + curve, () => d3.svg.line().interpolate(curve)(points));
    record('area ' + curve, () => d3.svg.area().interpolate(curve).y0(30)(points));
  }
  record('arc', () => [0, 1, 2].map((i) => d3.svg.arc().innerRadius(10 * i).outerRadius(50)({ startAngle: i, endAngle: i + 1.5 })));
  record('pie', () => d3.layout.pie()([1, 2, 3, 4]).map((a) => [a.startAngle.toFixed(6), a.endAngle.toFixed(6)]));
  record('symbol', () => d3.svg.symbolTypes.map((t) => d3.svg.symbol().type(t).size(64)()));
  record('diagonal', () => d3.svg.diagonal()({ source: { x: 0, y: 0 }, target: { x: 10, y: 20 } }));
  const tree = { name: 'root', children: [{ name: 'a', size: 3 }, { name: 'b', children: [{ name: 'c', size: 5 }, { name: 'd', size: 1 }] }] };
  const copy = () => JSON.parse(JSON.stringify(tree));
  record('tree', () => d3.layout.tree().size([100, 100]).nodes(copy()).map((n) => [n.name, n.x, n.y, n.depth]));
  record('cluster', () => d3.layout.cluster().size([100, 100]).nodes(copy()).map((n) => [n.name, n.x, n.y]));
  record('pack', () => d3.layout.pack().size([100, 100]).value((d) => d.size).nodes(copy()).map((n) => [n.name, n.x.toFixed(6), n.r.toFixed(6)]));
  record('treemap', () => d3.layout.treemap().size([100, 100]).value((d) => d.size).nodes(copy()).map((n) => [n.name, n.x, n.dx, n.y, n.dy]));
  record('partition', () => d3.layout.partition().size([1, 1]).value((d) => d.size).nodes(copy()).map((n) => [n.name, n.x, n.dx]));
  record('histogram', () => d3.layout.histogram().bins(4)([1, 2, 2, 3, 5, 8, 13]).map((b) => [b.x, b.dx, b.y]));
  record('stack', () => d3.layout.stack()([[{ x: 0, y: 1 }, { x: 1, y: 2 }], [{ x: 0, y: 3 }, { x: 1, y: 4 }]]));
  record('arrays', () => [d3.range(0, 1, 0.25), d3.extent([3, 1, 4]), d3.sum([1, 2, 3]), d3.mean([1, 2]), d3.median([5, 1, 3]),
    d3.quantile([1, 2, 3, 4], 0.25), d3.deviation([1, 2, 3, 4]), d3.bisect([1, 2, 3], 2.5), d3.shuffle ? 'has shuffle' : '',
    d3.zip([1, 2], [3, 4]), d3.transpose([[1, 2], [3, 4]]), d3.merge([[1], [2, 3]]), d3.permute(['a', 'b', 'c'], [2, 0, 1])]);
  record('nest', () => d3.nest().key((d) => d.k).sortKeys(d3.ascending).rollup((v) => v.length).entries([{ k: 'b' }, { k: 'a' }, { k: 'b' }]));
  record('map set', () => [d3.map({ a: 1, b: 2 }).entries(), d3.set(['x', 'y', 'x']).values()]);
  record('csv', () => d3.csv.parse('name,value\n"quoted, name",3\nplain,4\n'));
  record('tsv', () => d3.tsv.formatRows([['a', 'b'], ['c\td', 'e']]));
  for (const projection of ['mercator', 'albers', 'orthographic', 'equirectangular', 'azimuthalEqualArea', 'conicConformal']) {
    record('geo ' + projection, () => {
      const p = d3.geo[projection]().scale(100).translate([0, 0]);
      const path = d3.geo.path().projection(p);
      const shape = { type: 'Polygon', coordinates: [[[-10, -10], [10, -10], [10, 10], [-10, 10], [-10, -10]]] };
      return [p([12, 34]).map((v) => v.toFixed(6)), path(shape), path.area(shape).toFixed(4), String(p.invert([1, 2]).map((v) => v.toFixed(6)))];
    });
  }
  record('geo distance', () => [d3.geo.distance([0, 0], [90, 0]), d3.geo.area({ type: 'Point', coordinates: [0, 0] }), d3.geo.graticule()().coordinates.length]);
  record('quadtree', () => { const q = d3.geom.quadtree()([[0, 0], [1, 1], [5, 5]]); return q.find([4, 4]); });
  record('hull voronoi', () => [d3.geom.hull([[0, 0], [2, 0], [1, 1], [0, 2], [2, 2]]), d3.geom.voronoi().links([[0, 0], [1, 0], [0, 1]])]);
  record('ease', () => ['linear', 'quad-in', 'cubic-out', 'sin-in-out', 'elastic', 'bounce', 'back'].map((e) => d3.ease(e)(0.3).toFixed(8)));
  record('requote', () => [d3.requote('a.b*c'), d3.round(1.23456, 2), d3.formatPrefix(12345).symbol]);
};
