'use strict';
// axios (the node build) with no network: every request goes to a fake
// adapter that reports what reached it. Covers config merging across
// defaults, instances and calls; request and response interceptors (sync,
// async, conditional, ejected); transformers; headers; URL building and
// parameter serialisation; status validation and errors; cancellation; form
// data helpers.

// Answers with what the request looked like once axios prepared it, and
// settles by the request's status check as the real adapters do.
function FakeAdapter(log, axios) {
  return async (config) => {
    const headers = config.headers.toJSON();
    delete headers['User-Agent'];
    log.push([config.method, config.url, config.baseURL, config.params, headers, config.data, config.timeout, config.responseType]);
    const status = /status\/(\d+)/.exec(config.url);
    const response = {
      data: JSON.stringify({ echoed: config.data === undefined ? null : String(config.data), at: config.url }),
      status: status ? Number(status[1]) : 200,
      statusText: 'X',
      headers: { 'content-type': 'application/json', 'x-count': String(log.length) },
      config,
      request: {},
    };
    if (!config.validateStatus || config.validateStatus(response.status)) return response;
    throw new axios.AxiosError('status ' + response.status, axios.AxiosError.ERR_BAD_RESPONSE, config, response.request, response);
  };
}

function Outcome(response) {
  return [response.status, response.data, response.headers['x-count'], response.config.method];
}

function Failure(error, axios) {
  return ['failed', error.name, error.message, error.code, axios.isAxiosError(error), axios.isCancel(error), error.response ? error.response.status : null];
}

async function Send(instance, axios, config) {
  try {
    return Outcome(await instance.request(config));
  } catch (error) {
    return Failure(error, axios);
  }
}

async function Requests(axios, record) {
  const log = [];
  const api = axios.create({ baseURL: 'http://api.test/v1/', adapter: FakeAdapter(log, axios), headers: { common: { 'X-App': 'a' }, post: { 'X-Post': 'p' } }, timeout: 50 });
  api.defaults.headers.common.Authorization = 'Bearer t';
  const calls = [
    { url: 'items', params: { q: 'a b', page: 2, list: [1, 2], nested: { k: 'v' }, skip: undefined, when: new Date(0) } },
    { url: 'items', method: 'post', data: { name: 'x', tags: ['a'] } },
    { url: '/absolute', method: 'PUT', data: 'raw text', headers: { 'Content-Type': 'text/plain' } },
    { url: 'status/404' },
    { url: 'status/500', validateStatus: (s) => s < 600 },
    { url: 'http://other.test/full', method: 'delete', params: new URLSearchParams('a=1&b=2') },
    { url: 'items', method: 'patch', data: new URLSearchParams({ x: '1', y: 'two' }) },
    { url: 'items', paramsSerializer: { serialize: (p) => Object.keys(p).sort().join('|') }, params: { z: 1, a: 2 } },
    { url: 'items', responseType: 'text', transformResponse: [(data) => data.length] },
    { url: 'items', method: 'post', data: { n: 1 }, transformRequest: [(data, headers) => { headers.set('X-T', 'yes'); return JSON.stringify(data) + '!'; }] },
  ];
  for (let i = 0; i < calls.length; ++i) await record('request#' + i, () => Send(api, axios, calls[i]));
  record('adapter saw', () => log.map((entry) => JSON.stringify(entry)));
  await record('shorthands', async () => [Outcome(await api.get('g', { params: { x: 1 } })), Outcome(await api.post('p', { a: 1 })), Outcome(await api.head('h')),
    Outcome(await api.postForm('f', { a: 1, b: [2, 3] }).catch((e) => ({ status: e.message, data: null, headers: {}, config: {} })))]);
}

async function Interceptors(axios, record) {
  const log = [];
  const api = axios.create({ adapter: FakeAdapter(log, axios) });
  const order = [];
  api.interceptors.request.use((config) => { order.push('req sync'); config.headers.set('X-One', '1'); return config; }, null, { synchronous: true });
  api.interceptors.request.use(async (config) => { order.push('req async ' + config.url); config.params = Object.assign({ added: true }, config.params); return config; });
  api.interceptors.request.use((config) => { order.push('only posts'); return config; }, null, { runWhen: (config) => config.method === 'post' });
  const ejected = api.interceptors.request.use(() => { throw new Error('should be ejected'); });
  api.interceptors.request.eject(ejected);
  api.interceptors.response.use((response) => { order.push('res ' + response.status); response.data.seen = true; return response; },
    (error) => { order.push('res error ' + error.message); return { status: 299, data: 'recovered', headers: {}, config: error.config }; });
  await record('interceptors', async () => [await Send(api, axios, { url: '/a' }), await Send(api, axios, { url: '/status/503', method: 'post', data: { x: 1 } }), order, log.map((e) => JSON.stringify(e))]);
  record('interceptor list', () => { const seen = []; api.interceptors.request.forEach((h) => seen.push(typeof h.fulfilled)); api.interceptors.response.clear(); return seen; });
}

function Configs(axios, record) {
  record('merge config', () => {
    const merged = axios.mergeConfig({ url: 'a', headers: { A: 1, common: { B: 2 } }, params: { x: 1 }, timeout: 5, auth: { username: 'u' } },
      { url: 'b', headers: { C: 3 }, params: { y: 2 }, data: { d: 1 }, validateStatus: null });
    return [merged.url, merged.headers, merged.params, merged.timeout, merged.auth, merged.data, merged.validateStatus];
  });
  record('get uri', () => [axios.getUri({ url: '/x', baseURL: 'http://h.test/base', params: { a: [1, 2], b: 'c d', e: null } }),
    axios.create({ baseURL: 'http://h.test/' }).getUri({ url: 'y?z=1', params: { w: 2 } }), axios.getUri({ url: 'http://abs.test/p', baseURL: 'http://ignored.test', allowAbsoluteUrls: false })]);
  record('headers', () => {
    const headers = new axios.AxiosHeaders({ 'content-type': 'text/html', 'X-Multi': ['a', 'b'] });
    headers.set('Accept', 'application/json').set({ 'x-a': '1', 'X-B': '2' }).delete('x-a');
    headers.setContentType('application/json; charset=utf-8');
    return [headers.toJSON(), headers.get('CONTENT-TYPE'), headers.has('x-b'), headers.get('content-type', /charset=(\S+)/)[1], String(headers),
      axios.AxiosHeaders.from('A: 1\r\nB: 2\r\nset-cookie: c1\r\nset-cookie: c2').toJSON(), axios.AxiosHeaders.concat({ a: 1 }, { b: 2 }).toJSON(), headers.normalize(true).toJSON()];
  });
  record('defaults', () => [Object.keys(axios.defaults).sort(), axios.defaults.headers.common, axios.defaults.timeout, axios.defaults.xsrfCookieName,
    axios.defaults.transitional, typeof axios.getAdapter(['http', 'fetch'])]);
}

async function Errors(axios, record) {
  record('axios error', () => {
    const error = new axios.AxiosError('boom', axios.AxiosError.ERR_BAD_REQUEST, { url: '/x', method: 'get' }, null, { status: 418, data: 'teapot', headers: {} });
    const json = error.toJSON();
    return [error.message, error.code, error.status, json.status, json.config && json.config.url, error instanceof Error, axios.isAxiosError({}),
      axios.AxiosError.from(new TypeError('inner'), 'E_X').message];
  });
  await record('cancel', async () => {
    const controller = new AbortController();
    controller.abort();
    const source = axios.CancelToken.source();
    source.cancel('stop');
    const adapter = async () => { throw new Error('adapter must not run'); };
    return [await Send(axios, axios, { url: '/c', adapter, signal: controller.signal }), await Send(axios, axios, { url: '/d', adapter, cancelToken: source.token }),
      axios.isCancel(new axios.CanceledError('x'))];
  });
  record('form data helpers', () => {
    const form = axios.toFormData({ a: 1, b: { c: [1, 2], d: true }, e: null }, new FormData());
    const fields = [];
    form.forEach((value, key) => fields.push([key, String(value)]));
    return [fields, axios.formToJSON(form), axios.spread((a, b) => a + b)([2, 3]), axios.HttpStatusCode.ImATeapot];
  });
}

module.exports = async function (axios, record) {
  await Requests(axios, record);
  await Interceptors(axios, record);
  Configs(axios, record);
  await Errors(axios, record);
  record('version', () => axios.VERSION);
};
