'use strict';
// handlebars: compiles and runs templates with helpers, partials and escaping.
const kTemplates = [
  'Hello {{name}}!', '{{#each items}}<li>{{@index}}:{{this}}</li>{{/each}}', '{{#if flag}}yes{{else}}no{{/if}}',
  '{{#unless flag}}not{{/unless}}', '{{#with person}}{{first}} {{last}}{{/with}}', '{{{raw}}} vs {{raw}}',
  '{{! comment }}{{name}}', '{{#each obj}}{{@key}}={{this}};{{/each}}', '{{shout name}}', '{{> part}}',
  '{{#list items}}{{this}}{{/list}}', '{{lookup items 1}}', '{{#each items as |x i|}}{{i}}-{{x}} {{/each}}',
  '{{log "logged"}}done', '\\{{escaped}}', '{{person.first}}/{{person.missing}}/{{../name}}', '{{#if}}{{/if}}',
  '{{unclosed', '{{#each}}{{/with}}', '{{missingHelper 1 2}}', '{{name.}}', '{{add 1 2}}{{add "a" "b"}}',
];
const kContexts = [
  { name: 'World <&>', items: ['a', 'b<', 'c'], flag: true, raw: '<b>bold</b>', obj: { x: 1, y: 2 }, person: { first: 'Ada', last: 'L' } },
  { name: '', items: [], flag: false, raw: '', obj: {}, person: null },
  { name: 'Ünïcode ✓', items: [0, null, false], flag: 0, raw: '"quotes"', obj: { 'a b': [1] }, person: { first: 1 } },
];

module.exports = function (g, record) {
  const Handlebars = g.Handlebars.create();
  Handlebars.registerHelper('shout', (s) => String(s).toUpperCase() + '!');
  Handlebars.registerHelper('add', (a, b) => a + b);
  Handlebars.registerHelper('list', function (items, options) {
    return '<ul>' + (items || []).map((item) => '<li>' + options.fn(item) + '</li>').join('') + '</ul>';
  });
  Handlebars.registerPartial('part', '[partial {{name}}]');
  kTemplates.forEach((template, i) => {
    let compiled = null;
    record('compile#' + i, () => { compiled = Handlebars.compile(template); return typeof compiled; });
    kContexts.forEach((context, j) => record('run#' + i + '.' + j, () => compiled(context)));
    record('precompile#' + i, () => Handlebars.precompile(template));
    record('parse#' + i, () => JSON.stringify(Handlebars.parse(template)));
  });
  record('escape', () => Handlebars.Utils.escapeExpression('<a href="x">&\'`=</a>'));
  record('safe', () => String(new Handlebars.SafeString('<i>')));
};
