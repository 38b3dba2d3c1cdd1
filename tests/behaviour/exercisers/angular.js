'use strict';
// AngularJS 1 on a jsdom page: expressions, interpolation, filters and compiled templates.
const kExpressions = ['1 + 2 * 3', 'a.b.c', 'items[1].name | uppercase', 'fn(2, 3)', 'x = 5; x * 2', 'a && b || "c"',
  '!flag ? "no" : "yes"', 'items.length > 2', '{k: 1, l: [1, 2]}', 'missing.deep.path', 'items | filter:{name: "b"}',
  'items | orderBy:"-name" | limitTo:2', 'num | number:2', 'num | currency:"€"', 'when | date:"yyyy-MM-dd HH:mm":"UTC"',
  'obj | json', '"text" | lowercase', 'a.b.c + 1', 'undefinedFn()', '1 +', 'a = {}; a.x = 1; a'];

module.exports = function (g, record) {
  const angular = g.angular;
  const injector = angular.injector(['ng']);
  const $parse = injector.get('$parse');
  const $interpolate = injector.get('$interpolate');
  const $filter = injector.get('$filter');
  const $compile = injector.get('$compile');
  const $rootScope = injector.get('$rootScope');
  const scope = () => ({
    a: { b: { c: 41 } }, b: 0, flag: false, num: 1234.5678, when: new Date(0), obj: { k: [1, { v: 'x' }] },
    items: [{ name: 'a' }, { name: 'c' }, { name: 'b' }], fn: (x, y) => x * y,
  });
  const locals = [{}, { a: { b: { c: 'local' } }, num: -0.5 }, { items: [], flag: true, b: 1 }];
  for (const expression of kExpressions) {
    locals.forEach((l, i) => record('parse with locals#' + i + ' ' + expression, () => $parse(expression)(scope(), l)));
    record('parse ' + expression, () => $parse(expression)(scope()));
    record('interpolate ' + expression, () => $interpolate('[{{' + expression + '}}]')(scope()));
  }
  const filters = [['number', [3.14159, 3]], ['currency', [-12.5, '$', 1]], ['date', [86400000 * 400, 'EEEE MMM d, y h:mm a Z', 'UTC']],
    ['limitTo', ['abcdef', -2]], ['orderBy', [[{ n: 2 }, { n: 1 }], 'n']], ['filter', [['apple', 'banana', 'cherry'], 'an']],
    ['json', [{ a: [1, 2] }, 0]], ['uppercase', ['ünï']], ['number', [1e21]], ['date', ['2020-02-29T12:00:00Z', 'shortDate', 'UTC']]];
  for (const [name, args] of filters) record('filter ' + name + ' ' + JSON.stringify(args), () => $filter(name).apply(null, args));
  const templates = ['<p>{{a.b.c}} {{num | number:1}}</p>', '<ul><li ng-repeat="i in items | orderBy:\'name\'">{{$index}}:{{i.name}}</li></ul>',
    '<div ng-if="flag">shown</div><div ng-show="!flag" class="x">visible</div>', '<span ng-class="{on: !flag, off: flag}" ng-bind="obj | json"></span>',
    '<div ng-switch="num > 1000"><b ng-switch-when="true">big</b><b ng-switch-default>small</b></div>', '<input ng-model="a.b.c"><i>{{a.b.c * 2}}</i>',
    '<div ng-init="z = 3">{{z * z}}</div>', '<p ng-bind-template="{{b}}-{{flag}}"></p>', '<a ng-href="/x/{{a.b.c}}">link</a>'];
  for (const template of templates) {
    record('compile ' + template, () => {
      const s = $rootScope.$new();
      angular.extend(s, scope());
      const element = $compile('<div>' + template + '</div>')(s);
      s.$digest();
      return element[0].innerHTML.replace(/<!--[\s\S]*?-->/g, '');
    });
  }
  record('utilities', () => [angular.toJson({ $$hidden: 1, a: [1] }), angular.fromJson('{"x":[1]}'), angular.equals({ a: [1] }, { a: [1] }),
    angular.copy({ d: new Date(0), r: /x/ }), angular.isArray([]), angular.version.full, angular.merge({ a: { b: 1 } }, { a: { c: 2 } })]);
  record('watch', () => {
    const s = $rootScope.$new();
    const log = [];
    s.v = 1;
    s.$watch('v', (n, o) => log.push(o + '->' + n));
    s.$digest(); s.v = 2; s.$digest();
    s.$watchCollection('list', (n) => log.push('list ' + (n && n.length)));
    s.list = [1]; s.$digest(); s.list.push(2); s.$digest();
    return log;
  });
};
