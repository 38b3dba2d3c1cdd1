'use strict';
// preact with its hooks, JSX runtime and test utilities, as modules on a
// jsdom page: rendering, keyed reordering, state and reducer updates flushed
// by act(), effects and their clean-ups in order, context, refs, memo and
// class components with lifecycles, and the static JSX text renderer.
// `api` holds one namespace per module: preact, hooks, jsx, utils.

function Counter(p, hooks, log) {
  return function Counting({ start, label }) {
    const [n, setN] = hooks.useState(start);
    const [items, dispatch] = hooks.useReducer((state, action) => (action.type === 'add' ? [...state, action.value] : state.slice(1)), []);
    const doubled = hooks.useMemo(() => n * 2, [n]);
    const ref = hooks.useRef(0);
    ref.current += 1;
    hooks.useLayoutEffect(() => { log.push(`layout ${label} ${n}`); return () => log.push(`layout cleanup ${label} ${n}`); }, [n]);
    hooks.useEffect(() => { log.push(`effect ${label} ${n}`); return () => log.push(`cleanup ${label} ${n}`); }, [n]);
    const add = hooks.useCallback(() => { setN((v) => v + 1); dispatch({ type: 'add', value: n }); }, [n]);
    return p.h('div', { class: 'counter', 'data-renders': ref.current },
      p.h('button', { onClick: add }, `${label}: ${n} (${doubled})`), p.h('ul', null, items.map((i) => p.h('li', { key: i }, i))));
  };
}

function Lists(p, ordering) {
  return p.h('ol', null, ordering.map((k) => p.h('li', { key: k, id: 'item-' + k }, k)));
}

class Clock {
  static Make(p, log) {
    return class Timer extends p.Component {
      constructor(props) { super(props); this.state = { ticks: props.from }; Timer.last = this; }
      componentDidMount() { log.push('mounted ' + this.state.ticks); }
      shouldComponentUpdate(next, state) { return state.ticks !== 3; }
      componentDidUpdate(previous, state) { log.push(`updated ${state.ticks}->${this.state.ticks}`); }
      componentWillUnmount() { log.push('unmounting'); }
      render(props, state) { return p.h('time', { title: props.label }, state.ticks); }
    };
  }
}

async function Render(api, g, record) {
  const { preact: p, hooks, utils } = api;
  const root = g.document.getElementById('root');
  const log = [];
  const Counting = Counter(p, hooks, log);
  const Theme = p.createContext('light');
  const Themed = () => p.h('em', null, hooks.useContext(Theme));
  await record('first render', async () => {
    await utils.act(() => p.render(p.h(p.Fragment, null, p.h(Counting, { start: 1, label: 'a' }), p.h(Theme.Provider, { value: 'dark' }, p.h(Themed)), p.h(Themed)), root));
    return [root.innerHTML, log.splice(0)];
  });
  await record('click', async () => {
    await utils.act(() => root.querySelector('button').dispatchEvent(new g.MouseEvent('click', { bubbles: true })));
    await utils.act(() => root.querySelector('button').click());
    return [root.innerHTML, log.splice(0)];
  });
  await record('keyed reorder', async () => {
    const seen = [];
    let marked = null;
    for (const ordering of [['a', 'b', 'c', 'd'], ['d', 'a', 'c'], ['c', 'x', 'a', 'd', 'b'], []]) {
      await utils.act(() => p.render(Lists(p, ordering), root));
      if (!marked) { marked = root.querySelector('#item-a'); marked.setAttribute('data-kept', 'yes'); }
      seen.push(root.innerHTML);
    }
    return seen;
  });
  await record('class component', async () => {
    const Timer = Clock.Make(p, log);
    await utils.act(() => p.render(p.h(Timer, { from: 1, label: 't' }), root));
    for (let i = 0; i < 3; ++i) await utils.act(() => Timer.last.setState((s) => ({ ticks: s.ticks + 1 })));
    const html = root.innerHTML;
    await utils.act(() => p.render(null, root));
    return [html, root.innerHTML, log.splice(0)];
  });
}

function Static(api, record) {
  const { preact: p, jsx } = api;
  record('vnodes', () => {
    const vnode = p.h('a', { href: '/x', key: 'k', ref: null }, 'text', [p.h('b', null, 1), null, false, 'more']);
    const clone = p.cloneElement(vnode, { title: 't' }, 'replaced');
    return [vnode.type, vnode.key, vnode.props.href, p.toChildArray(vnode.props.children).length, clone.props.title, clone.props.children, p.isValidElement(clone), p.isValidElement({})];
  });
  record('jsx runtime', () => {
    const node = jsx.jsx('div', { class: 'c', children: [jsx.jsxs('p', { children: ['a', 1] }), 'x'] }, 'key');
    return [node.type, node.key, node.props.class, jsx.jsxTemplate ? typeof jsx.jsxTemplate : 'none', jsx.jsxEscape ? jsx.jsxEscape('<&">') : 'none',
      jsx.jsxAttr ? jsx.jsxAttr('data-x', 'a"b') : 'none'];
  });
}

module.exports = async function (api, record, g) {
  Static(api, record);
  await Render(api, g, record);
};
