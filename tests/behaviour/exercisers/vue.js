'use strict';
// Vue 2 on a jsdom page: template compilation, rendering with synchronous
// updates, computed values, watchers, directives and filters.
const kTemplates = ['<div>{{ msg }}</div>', '<ul><li v-for="(item, i) in items" :key="i" :class="{odd: i % 2}">{{ i }} {{ item }}</li></ul>',
  '<div><p v-if="flag">yes</p><p v-else-if="n > 1">many</p><p v-else>no</p></div>', '<input v-model="msg" :disabled="!flag">',
  '<div :style="{color: c, fontSize: n + \'px\'}" v-show="flag">styled</div>', '<div v-html="raw"></div>', '<span v-text="msg | upper"></span>',
  '<div><template v-for="x in 3"><b>{{ x }}</b></template></div>', '<div @click="n++" :title="`x`">{{ n }}</div>', '<div>{{ unclosed </div>',
  '<div><span v-once>{{ msg }}</span><slot>fallback</slot></div>', '<p>{{ items.map(function (x) { return x.toUpperCase() }).join("+") }}</p>'];

const kData = [
  { msg: 'hello <world>', items: ['a', 'b', 'c'], flag: true, n: 2, c: 'red', raw: '<i>raw</i>' },
  { msg: '', items: [], flag: false, n: 0, c: '', raw: '' },
  { msg: 'Ünïcode ✓ "quoted"', items: ['x'], flag: true, n: -1.5, c: 'rgb(1, 2, 3)', raw: '<b>b</b><i>i</i>' },
];

module.exports = function (g, record) {
  const Vue = g.Vue;
  Vue.config.async = false;
  Vue.config.productionTip = false;
  Vue.config.devtools = false;
  Vue.config.silent = true;
  Vue.filter('upper', (s) => String(s).toUpperCase());
  kTemplates.forEach((template, i) => {
    record('compile#' + i, () => { const r = Vue.compile(template); return [r.render.toString(), r.staticRenderFns.map(String)]; });
    kData.forEach((data, j) => record('render#' + i + '.' + j, () => {
      const vm = new Vue({ template, data: JSON.parse(JSON.stringify(data)) }).$mount();
      const before = vm.$el.outerHTML;
      vm.msg = 'changed'; vm.items.push('d'); vm.flag = !vm.flag; vm.n = 7;
      const middle = vm.$el.outerHTML;
      vm.items.splice(0, 1); vm.msg = ''; vm.n = 0;
      return [before, middle, vm.$el.outerHTML];
    }));
  });
  record('computed and watch', () => {
    const log = [];
    const vm = new Vue({
      data: { first: 'Ada', last: 'Lovelace', list: [1, 2] },
      computed: { full: function () { return this.first + ' ' + this.last; }, total: function () { return this.list.reduce((a, b) => a + b, 0); } },
      watch: { first: function (n, o) { log.push(o + '->' + n); }, list: { handler: function (n) { log.push('list ' + n.length); }, deep: true } },
    });
    vm.first = 'Grace'; vm.list.push(3); vm.$set(vm.list, 0, 10);
    return [vm.full, vm.total, log];
  });
  record('components', () => {
    const Child = Vue.extend({ props: ['label', 'count'], template: '<button :data-count="count">{{ label }}: {{ count * 2 }}</button>' });
    const vm = new Vue({ components: { child: Child }, data: { k: 1 }, template: '<div><child label="go" :count="k"></child><child v-for="j in 2" :key="j" :label="\'n\' + j" :count="j"></child></div>' }).$mount();
    vm.k = 5;
    return vm.$el.outerHTML;
  });
  record('events', () => {
    const log = [];
    const vm = new Vue({});
    vm.$on('e', (a, b) => log.push('e ' + a + b));
    vm.$once('o', () => log.push('once'));
    vm.$emit('e', 1, 2); vm.$emit('o'); vm.$emit('o'); vm.$off('e'); vm.$emit('e', 3);
    return log;
  });
  record('observable', () => { const s = Vue.observable({ x: 1 }); s.x = 2; return [s.x, Object.keys(s)]; });
  record('version', () => Vue.version);
};
