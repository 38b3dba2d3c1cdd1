'use strict';
// jQuery on a jsdom page: utilities, selectors, traversal, manipulation,
// attributes, events, Deferred and Callbacks.
const kMarkup = '<ul id="list" class="menu"><li class="a first">one</li><li class="b" data-n="2">two <b>bold</b></li>' +
  '<li class="a" title="t">three</li></ul><form id="f"><input name="x" value="1"><input type="checkbox" name="c" checked>' +
  '<select name="s"><option value="p">P</option><option value="q" selected>Q</option></select><textarea name="t">txt</textarea></form>' +
  '<p id="para">Some <span>inline</span> text &amp; more</p><div id="empty"></div>';
const kSelectors = ['li', '.a', '#list > li:first-child', 'li:eq(1)', 'li:odd', 'li:not(.a)', '[data-n]', 'li:contains("three")',
  'form :input', 'input:checked', 'option:selected', 'p span', 'li:last', 'li:has(b)', 'ul li + li', 'li ~ li', ':header', '#nothing'];

module.exports = function (g, record) {
  const $ = g.jQuery;
  const reset = () => { g.document.getElementById('root').innerHTML = kMarkup; };
  reset();
  const describe = (set) => set.map(function () { return this.nodeName + (this.className ? '.' + this.className : ''); }).get().join(' ');
  for (const s of kSelectors) {
    record('select ' + s, () => describe($(s)));
    record('text ' + s, () => $(s).text());
    record('closest/parents ' + s, () => describe($(s).closest('ul, form, p')) + '|' + describe($(s).parents()));
    record('siblings ' + s, () => describe($(s).siblings()) + '|' + describe($(s).next()) + '|' + describe($(s).prevAll()));
    record('filter ' + s, () => [$(s).filter('.a').length, $(s).is('li'), $(s).index(), $(s).eq(-1).html()]);
  }
  const ops = [
    ['addClass', () => $('li').addClass('x y').attr('class')],
    ['toggleClass', () => $('li').toggleClass('a').map(function () { return this.className; }).get()],
    ['attr', () => [$('li').eq(1).attr('data-n'), $('li').eq(2).attr('title', 'new').attr('title'), $('#f input').attr('name')]],
    ['prop', () => [$('input[type=checkbox]').prop('checked'), $('select').prop('selectedIndex')]],
    ['data', () => { $('li').eq(0).data('k', { v: 1 }); return [$('li').eq(1).data('n'), $('li').eq(0).data('k')]; }],
    ['val', () => [$('input[name=x]').val(), $('select').val(), $('textarea').val('changed').val()]],
    ['html', () => $('#para').html()],
    ['append', () => $('#empty').append('<i>1</i>', $('<b>2</b>')).prepend('<u>0</u>').html()],
    ['wrap', () => { $('#para span').wrap('<em class="w"></em>'); return $('#para').html(); }],
    ['remove', () => { $('li.b').remove(); return $('#list').html(); }],
    ['clone', () => $('#list').clone().attr('id', 'copy').find('li').length],
    ['replaceWith', () => { $('#para span').replaceWith('<strong>replaced</strong>'); return $('#para').html(); }],
    ['serialize', () => $('#f').serialize()],
    ['serializeArray', () => $('#f').serializeArray()],
    ['css', () => { $('#para').css({ color: 'red', 'margin-left': '3px' }); return [$('#para').attr('style'), $('#para').css('color')]; }],
    ['events', () => {
      const log = [];
      $('#list').on('click', 'li', function (e) { log.push('delegated ' + $(this).text() + ' ' + e.type); });
      $('li').first().on('click.ns', () => log.push('direct')).trigger('click');
      $('li').first().off('.ns').trigger('click');
      $('#para').one('custom', (e, a, b) => log.push('custom ' + a + b)).trigger('custom', [1, 2]).trigger('custom', [3, 4]);
      return log;
    }],
    ['each', () => { const out = []; $.each({ a: 1, b: 2 }, (k, v) => { out.push(k + v); }); $.each([3, 4], (i, v) => { out.push(i * v); }); return out; }],
  ];
  for (const [name, op] of ops) { reset(); record(name, op); }
  const utils = [
    ['extend', () => $.extend(true, {}, { a: { b: 1 } }, { a: { c: 2 } }, [1])],
    ['map', () => $.map([1, [2, 3], null, 4], (v) => (v === 4 ? null : v))],
    ['grep', () => $.grep([1, 2, 3, 4], (v) => v % 2, true)],
    ['merge', () => $.merge([1, 2], [3])],
    ['inArray', () => [$.inArray(2, [1, 2]), $.inArray('x', [])]],
    ['type', () => [null, undefined, 1, 's', [], {}, /r/, new Date(0), () => 1, new Error('e')].map((v) => $.type ? $.type(v) : typeof v)],
    ['isPlainObject', () => [$.isPlainObject({}), $.isPlainObject([]), $.isEmptyObject({}), $.isNumeric ? $.isNumeric('1') : '']],
    ['param', () => [$.param({ a: [1, 2], b: { c: 'd e' }, f: 'ü&=' }), $.param({ a: [1, 2] }, true)]],
    ['parseHTML', () => $.parseHTML('<p>a</p><!-- c --><b>b</b>text').map((n) => n.nodeName)],
    ['trim', () => [$.trim ? $.trim('  x  ') : '', $.camelCase ? $.camelCase('background-color') : '']],
    ['makeArray', () => $.makeArray({ 0: 'a', 1: 'b', length: 2 })],
    ['Deferred', () => {
      const log = [];
      const d = $.Deferred();
      d.done((v) => log.push('done ' + v)).fail((v) => log.push('fail ' + v)).always(() => log.push('always'));
      d.resolve(5);
      const r = $.Deferred().reject('no');
      r.fail((v) => log.push('rejected ' + v));
      return [log, d.state(), r.state()];
    }],
    ['Callbacks', () => {
      const log = [];
      const c = $.Callbacks('once memory');
      c.add((v) => log.push('first ' + v));
      c.fire(1); c.fire(2);
      c.add((v) => log.push('late ' + v));
      return log;
    }],
    ['escapeSelector', () => $.escapeSelector('#id.with:chars')],
  ];
  for (const [name, op] of utils) record(name, op);
};
