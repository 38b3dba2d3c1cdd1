'use strict';
// moment: parsing, formatting, arithmetic, comparison and durations on fixed dates.
const kDates = ['2020-02-29T12:34:56.789Z', '1999-12-31T23:59:59Z', '2024-07-04T00:00:00Z', '1970-01-01T00:00:00Z', 'not a date'];
const kFormats = ['YYYY-MM-DD', 'dddd, MMMM Do YYYY, h:mm:ss a', 'ddd MMM D YY', 'Q [quarter] W w gggg', 'X x',
  'HH:mm:ss.SSS', 'LT LTS L LL LLL LLLL', 'DDDD DDD E e', 'kk k A', 'YYYYYY'];
const kUnits = ['years', 'months', 'weeks', 'days', 'hours', 'minutes', 'seconds', 'milliseconds', 'quarters'];

module.exports = function (g, record) {
  const moment = g.moment;
  const at = (text) => moment.utc(text);
  for (const d of kDates) {
    for (const f of kFormats) record('format ' + d + ' ' + f, () => at(d).format(f));
    for (const u of kUnits) {
      record('add ' + d + ' ' + u, () => at(d).add(7, u).toISOString());
      record('subtract ' + d + ' ' + u, () => at(d).subtract(13, u).toISOString());
      record('startOf ' + d + ' ' + u, () => at(d).startOf(u.replace(/s$/, '')).toISOString());
      record('endOf ' + d + ' ' + u, () => at(d).endOf(u.replace(/s$/, '')).toISOString());
      record('diff ' + d + ' ' + u, () => at(d).diff(at('2000-01-01T00:00:00Z'), u, true));
    }
    record('from ' + d, () => at(d).from(at('2021-01-01T00:00:00Z')));
    record('valid ' + d, () => [at(d).isValid(), at(d).isLeapYear(), at(d).daysInMonth(), at(d).isoWeekday()]);
    record('compare ' + d, () => [at(d).isBefore('2001-01-01'), at(d).isSame(at(d)), at(d).isBetween('1990-01-01', '2030-01-01')]);
    record('toObject ' + d, () => at(d).toObject());
  }
  const inputs = [['12-25-1995', 'MM-DD-YYYY'], ['1995 12 25', 'YYYY MM DD'], ['25/12/95 14:03', 'DD/MM/YY HH:mm'],
    ['Dec 25th 1995', 'MMM Do YYYY'], ['2010-10-20 4:30', 'YYYY-MM-DD HH:mm'], ['garbage', 'YYYY'], ['2016 is a date', 'YYYY', true]];
  for (const input of inputs) {
    record('parse ' + input.join(' '), () => { const m = moment.utc(input[0], input[1], input[2]); return [m.isValid(), m.isValid() && m.toISOString()]; });
  }
  const durations = [[90061001, undefined], [2, 'hours'], ['P1Y2M3DT4H5M6S'], ['23:59:59'], [{ days: 3, minutes: 30 }]];
  for (const args of durations) {
    record('duration ' + JSON.stringify(args), () => {
      const d = moment.duration.apply(null, args);
      return [d.humanize(), d.toISOString(), d.asHours(), d.get('minutes'), d.asMilliseconds()];
    });
  }
  const locales = ['fr', 'de', 'ru', 'ja'];
  for (const l of locales) {
    record('locale ' + l, () => { try { return at(kDates[0]).locale(l).format('LLLL'); } catch (e) { return 'locale ' + l + ' missing'; } });
  }
  record('min max', () => [moment.max(at(kDates[0]), at(kDates[1])).toISOString(), moment.min(at(kDates[0]), at(kDates[1])).toISOString()]);
  record('unix', () => moment.unix(1234567890).utc().format());
  record('calendar', () => at(kDates[0]).calendar(at('2020-03-01T00:00:00Z')));
  record('months', () => [moment.months(), moment.weekdaysShort(), moment.monthsShort('-MMM-', 3)]);
  record('relative', () => [0, 44, 45, 89, 90, 3600, 86400 * 26, 86400 * 400].map((s) => moment.duration(s, 's').humanize(true)));
};
