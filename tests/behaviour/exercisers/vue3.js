'use strict';
// Vue 3 (global build with the template compiler) on a jsdom page: compiled
// templates rendered and updated through the scheduler, reactivity (refs,
// reactive objects, computed values, watchers, effect scopes), components
// with props, emits, slots, provide/inject and lifecycle hooks.
const kTemplates = [
  '<div>{{ msg }}</div>',
  '<ul><li v-for="(item, i) in items" :key="item" :class="{ odd: i % 2 }">{{ i }}: {{ item }}</li></ul>',
  '<div><p v-if="flag">yes</p><p v-else-if="n > 1">many</p><p v-else>no</p></div>',
  '<input v-model="msg" :disabled="!flag">',
  '<div :style="{ color: c, fontSize: n + \'px\' }" v-show="flag">styled</div>',
  '<div v-html="raw"></div>',
  '<template v-for="x in 3" :key="x"><b>{{ x }}</b>{{ `t${x}` }}</template>',
  '<div @click="n++" :title="`n is ${n}`" :[dyn]="msg">{{ n ** 2 }} {{ items?.[0] ?? "none" }}</div>',
  '<p>{{ items.map((x) => x.toUpperCase()).join("+") }} {{ [...msg].reverse().join("") }}</p>',
  '<div>{{ unclosed </div>',
  '<section><span v-once>{{ msg }}</span><span v-text="msg"></span><!-- a comment --></section>',
];

const kData = [
  { msg: 'hello <world>', items: ['a', 'b', 'c'], flag: true, n: 2, c: 'red', raw: '<i>raw</i>', dyn: 'data-x' },
  { msg: '', items: [], flag: false, n: 0, c: '', raw: '', dyn: 'aria-label' },
  { msg: 'Ünïcode ✓ "quoted"', items: ['x'], flag: true, n: -1.5, c: 'rgb(1, 2, 3)', raw: '<b>b</b>', dyn: 'title' },
];

async function RenderAndUpdate(Vue, g, template, data) {
  const root = g.document.createElement('div');
  const app = Vue.createApp({ template, data: () => JSON.parse(JSON.stringify(data)) });
  app.config.warnHandler = () => {};
  const vm = app.mount(root);
  const seen = [root.innerHTML];
  vm.msg = 'changed'; vm.items.push('d'); vm.flag = !vm.flag; vm.n = 7;
  await Vue.nextTick();
  seen.push(root.innerHTML);
  vm.items.splice(0, 1); vm.msg = ''; vm.n = 0;
  await Vue.nextTick();
  seen.push(root.innerHTML);
  app.unmount();
  seen.push(root.innerHTML);
  return seen;
}

function Reactivity(Vue) {
  const log = [];
  const state = Vue.reactive({ first: 'Ada', last: 'Lovelace', list: [1, 2], nested: { deep: { v: 1 } } });
  const count = Vue.ref(1);
  const full = Vue.computed(() => `${state.first} ${state.last}`);
  const total = Vue.computed(() => state.list.reduce((a, b) => a + b, 0) * count.value);
  Vue.watch(() => state.first, (now, before) => log.push(`${before}->${now}`), { flush: 'sync' });
  Vue.watch(() => state.nested, () => log.push('deep ' + state.nested.deep.v), { deep: true, flush: 'sync' });
  Vue.watchEffect(() => log.push('effect ' + count.value), { flush: 'sync' });
  state.first = 'Grace'; state.list.push(3); count.value++; state.nested.deep.v = 5;
  const raw = Vue.toRaw(state);
  return [full.value, total.value, log, Vue.isReactive(state), Vue.isRef(count), Vue.isProxy(raw),
    Vue.unref(count), Object.keys(Vue.toRefs(state)), Vue.shallowReadonly({ a: 1 }).a];
}

function EffectScope(Vue) {
  const log = [];
  const scope = Vue.effectScope();
  const n = Vue.ref(0);
  scope.run(() => {
    Vue.watchEffect(() => log.push('a' + n.value), { flush: 'sync' });
    Vue.onScopeDispose(() => log.push('disposed'));
  });
  n.value = 1;
  scope.stop();
  n.value = 2;
  return log;
}

async function Components(Vue, g) {
  const log = [];
  const Child = Vue.defineComponent({
    props: { label: String, count: { type: Number, default: 3 } },
    emits: ['bump'],
    setup(props, { emit, slots }) {
      Vue.onMounted(() => log.push('mounted ' + props.label));
      Vue.onUpdated(() => log.push('updated ' + props.label));
      Vue.onUnmounted(() => log.push('unmounted ' + props.label));
      const theme = Vue.inject('theme', 'none');
      return () => Vue.h('button', { 'data-count': props.count, class: theme, onClick: () => emit('bump', props.count) },
        [`${props.label}: ${props.count * 2}`, slots.default ? slots.default({ n: props.count }) : 'no slot']);
    },
  });
  const root = g.document.createElement('div');
  const app = Vue.createApp({
    components: { Child },
    setup() {
      const k = Vue.ref(1);
      Vue.provide('theme', 'dark');
      const onBump = (v) => { log.push('bump ' + v); k.value += v; };
      return { k, onBump };
    },
    template: '<div><Child label="go" :count="k" @bump="onBump"><template #default="{ n }"><i>{{ n }}</i></template></Child>' +
      '<Child v-for="j in k" :key="j" :label="\'n\' + j"/></div>',
  });
  app.mount(root);
  const before = root.innerHTML;
  root.querySelector('button').dispatchEvent(new g.MouseEvent('click'));
  await Vue.nextTick();
  const after = root.innerHTML;
  app.unmount();
  return [before, after, log];
}

module.exports = async function (Vue, record, g) {
  for (let i = 0; i < kTemplates.length; ++i) {
    const template = kTemplates[i];
    // The render function's text is what the compiler generated, not packed source.
    record('compile#' + i, () => String(Vue.compile(template, { onError: () => {}, onWarn: () => {} })));
    for (let j = 0; j < kData.length; ++j) await record('render#' + i + '.' + j, () => RenderAndUpdate(Vue, g, template, kData[j]));
  }
  record('reactivity', () => Reactivity(Vue));
  record('effect scope', () => EffectScope(Vue));
  await record('components', () => Components(Vue, g));
  record('ssr-like vnode', () => {
    const v = Vue.h('div', { id: 'x', class: ['a', { b: true }], style: { color: 'red' } }, [Vue.h('span', null, 'text')]);
    return [v.type, v.props, v.children.length, Vue.isVNode(v), Vue.normalizeClass(['a', { b: 1, c: 0 }]), Vue.normalizeStyle([{ a: 1 }, 'b: 2'])];
  });
  await record('next tick', async () => { const order = []; Vue.nextTick(() => order.push(1)); order.push(0); await Vue.nextTick(); return order; });
  record('version', () => Vue.version);
};
