'use strict';
// zod (version 3, UMD build): schemas of every kind parse a table of inputs;
// each result is the parsed value or the issues, flattened and formatted.
// Also object schema algebra, recursion, coercion, transforms and
// refinements, function schemas and asynchronous parsing.
const kInputs = [undefined, null, 0, -1.5, 42, 1n, '', 'Ada@Example.com', ' 2024-02-29 ', 'http://x.test/a?b', true, [], [1, 'a'],
  { id: 1, name: 'n', tags: ['t'] }, { id: 'x', extra: 1 }, new Date(0)];

function Schemas(z) {
  const user = z.object({ id: z.number().int().positive(), name: z.string().min(1).max(10), tags: z.array(z.string()).default([]), email: z.string().email().optional() });
  return {
    string: z.string().trim().toLowerCase().min(2),
    email: z.string().email(),
    url: z.string().url().startsWith('http'),
    regex: z.string().regex(/^\s*\d{4}-\d\d-\d\d\s*$/, { message: 'not a day' }),
    dateString: z.string().trim().date(),
    number: z.number().int().gte(0).lt(100).multipleOf(2),
    bigint: z.bigint().positive(),
    coerce: z.coerce.number().finite(),
    coerceDate: z.coerce.date(),
    boolean: z.boolean().catch(false),
    literal: z.union([z.literal(42), z.literal(''), z.null()]),
    enum: z.enum(['', 'Ada@Example.com']),
    array: z.array(z.union([z.number(), z.string()])).nonempty().max(3),
    tuple: z.tuple([z.number(), z.string()]).rest(z.boolean()),
    user,
    strictUser: user.strict(),
    partial: user.partial().pick({ id: true, name: true }),
    passthrough: user.omit({ tags: true }).partial().passthrough(),
    record: z.record(z.string(), z.unknown()),
    nullish: z.string().nullish().transform((v) => v ?? 'fallback'),
    transform: z.string().transform((s) => s.split('@')).pipe(z.array(z.string()).length(2)),
    refine: z.any().refine((v) => v !== null && v !== undefined, { message: 'required', path: ['here'] }),
    superRefine: z.array(z.any()).superRefine((list, ctx) => { if (list.length < 2) ctx.addIssue({ code: z.ZodIssueCode.too_small, minimum: 2, type: 'array', inclusive: true }); }),
    preprocess: z.preprocess((v) => (typeof v === 'string' ? v.length : v), z.number().max(10)),
    discriminated: z.discriminatedUnion('kind', [z.object({ kind: z.literal('a'), a: z.number() }), z.object({ kind: z.literal('b'), b: z.string() })]),
    intersection: z.intersection(z.object({ id: z.any() }), z.object({ name: z.string() })),
    date: z.date().min(new Date(-1)),
    map: z.map(z.string(), z.number()),
    set: z.set(z.number()).min(1),
    brand: z.number().brand('Id'),
    readonly: z.object({ id: z.any() }).readonly(),
  };
}

function Outcome(result) {
  if (result.success) return ['ok', result.data];
  return ['issues', result.error.issues.map((i) => [i.code, i.path.join('.'), i.message]), result.error.flatten()];
}

function Algebra(z, record) {
  const base = z.object({ a: z.string(), b: z.number().optional() });
  record('shapes', () => [Object.keys(base.extend({ c: z.boolean() }).shape), base.keyof().options, Object.keys(base.merge(z.object({ d: z.null() })).shape),
    base.deepPartial().safeParse({}).success, base.required().safeParse({ a: 'x' }).success, base.isOptional(), z.string().optional().isOptional()]);
  record('recursive', () => {
    const Tree = z.lazy(() => z.object({ v: z.number(), kids: z.array(Tree) }));
    return [Outcome(Tree.safeParse({ v: 1, kids: [{ v: 2, kids: [] }, { v: 'x', kids: [{}] }] })), Outcome(Tree.safeParse({ v: 0, kids: [] }))];
  });
  record('format', () => z.object({ a: z.object({ b: z.string() }), c: z.array(z.number()) }).safeParse({ a: { b: 1 }, c: ['x', 2] }).error.format());
  record('error map', () => z.string({ errorMap: (issue, ctx) => ({ message: `custom ${issue.code} ${ctx.data === undefined ? 'missing' : typeof ctx.data}` }) }).safeParse(3).error.issues[0].message);
  record('parse throws', () => z.number().parse('3'));
  record('function schema', () => {
    const add = z.function().args(z.number(), z.number()).returns(z.number()).implement((a, b) => a + b);
    const bad = z.function().args(z.string()).returns(z.number()).implement((s) => s);
    const attempt = (f) => { try { return f(); } catch (e) { return e.issues.map((i) => i.code); } };
    return [add(2, 3), attempt(() => add('2', 3)), attempt(() => bad('x'))];
  });
  record('enums', () => { const E = z.enum(['x', 'y']); return [E.enum, E.options, E.exclude(['x']).options, z.nativeEnum({ A: 1, B: 'b' }).safeParse(1).success]; });
}

async function Async(z, record) {
  const slow = z.string().refine(async (s) => { await null; return s.length > 2; }, 'too short').transform(async (s) => s.toUpperCase());
  await record('parse async', async () => [Outcome(await slow.safeParseAsync('abc')), Outcome(await slow.safeParseAsync('ab')), await slow.parseAsync('xyz')]);
  record('sync on async', () => slow.safeParse('abcd'));
  await record('promise schema', async () => z.promise(z.number()).parse(Promise.resolve(5)));
}

module.exports = async function (z, record) {
  const schemas = Schemas(z);
  for (const name of Object.keys(schemas)) {
    record('schema ' + name, () => kInputs.map((input) => {
      try {
        return JSON.stringify(Outcome(schemas[name].safeParse(input)), (k, v) => (typeof v === 'bigint' ? v + 'n' : v));
      } catch (error) {
        return 'throws ' + error.message;
      }
    }));
  }
  Algebra(z, record);
  await Async(z, record);
};
