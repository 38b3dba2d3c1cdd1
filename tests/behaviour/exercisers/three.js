'use strict';
// three.js without a renderer: vector and matrix maths, rotations, colours,
// bounding volumes and intersections, curves and shapes, generated geometry,
// scene graphs, cameras and picking, keyframe animation.
const Round = (values) => Array.from(values, (v) => +v.toFixed(5));
const Sample = (array, count) => Round(Array.from(array).filter((_, i) => i % Math.ceil(array.length / count) === 0));

function Vectors(T, record) {
  const a = () => new T.Vector3(1, 2, 3);
  const b = () => new T.Vector3(-4, 0.5, 2);
  record('vector3', () => [a().add(b()).toArray(), a().cross(b()).toArray(), a().dot(b()), Round(a().normalize().toArray()), a().distanceTo(b()),
    Round(a().lerp(b(), 0.25).toArray()), Round(a().applyAxisAngle(new T.Vector3(0, 1, 0), Math.PI / 3).toArray()), Round(a().projectOnPlane(new T.Vector3(0, 0, 1)).toArray()),
    Round(a().reflect(new T.Vector3(0, 1, 0)).toArray()), a().angleTo(b()).toFixed(6), [...a()], a().equals(a()), a().clampLength(0, 1).length().toFixed(6)]);
  record('vector2 and 4', () => [new T.Vector2(3, 4).length(), new T.Vector2(1, 0).rotateAround(new T.Vector2(), Math.PI / 2).toArray().map((v) => +v.toFixed(6)),
    new T.Vector4(1, 2, 3, 4).multiplyScalar(2).toArray(), new T.Vector2(1, 1).angle().toFixed(6), [...new T.Vector4(1, 2, 3, 4)]]);
  record('spherical', () => { const s = new T.Spherical().setFromVector3(a()); return [Round([s.radius, s.phi, s.theta]), Round(new T.Vector3().setFromSpherical(s).toArray()),
    Round(Object.values(new T.Cylindrical().setFromVector3(b())))]; });
}

function Matrices(T, record) {
  record('matrix4', () => {
    const m = new T.Matrix4().compose(new T.Vector3(1, 2, 3), new T.Quaternion().setFromEuler(new T.Euler(0.1, 0.2, 0.3, 'YXZ')), new T.Vector3(2, 2, 2));
    const position = new T.Vector3(); const rotation = new T.Quaternion(); const scale = new T.Vector3();
    m.clone().decompose(position, rotation, scale);
    return [Round(m.elements), m.determinant().toFixed(6), Round(m.clone().invert().elements), Round(position.toArray()), Round(rotation.toArray()),
      Round(scale.toArray()), Round(new T.Matrix4().makePerspective(-1, 1, 1, -1, 0.1, 100).elements), Round(new T.Matrix4().lookAt(new T.Vector3(1, 1, 1), new T.Vector3(), new T.Vector3(0, 1, 0)).elements)];
  });
  record('matrix3', () => { const m = new T.Matrix3().set(2, 0, 1, 1, 3, 0, 0, 1, 4); return [m.determinant(), Round(m.clone().invert().elements), Round(m.clone().transpose().elements),
    Round(new T.Matrix3().getNormalMatrix(new T.Matrix4().makeScale(1, 2, 3)).elements), Round(new T.Matrix3().setUvTransform(0.1, 0.2, 2, 2, 0.5, 0.5, 0.5).elements)]; });
  record('quaternion', () => {
    const q = new T.Quaternion().setFromAxisAngle(new T.Vector3(0, 0, 1), Math.PI / 2);
    const r = new T.Quaternion().setFromUnitVectors(new T.Vector3(1, 0, 0), new T.Vector3(0, 1, 0));
    return [Round(q.toArray()), q.angleTo(r).toFixed(6), Round(q.clone().slerp(new T.Quaternion(), 0.3).toArray()), Round(new T.Vector3(1, 0, 0).applyQuaternion(q).toArray()),
      Round(new T.Euler().setFromQuaternion(q, 'ZYX').toArray().slice(0, 3)), Round(q.clone().invert().multiply(r).toArray())];
  });
  record('math utils', () => [T.MathUtils.clamp(5, 0, 3), T.MathUtils.lerp(1, 3, 0.25), T.MathUtils.smoothstep(0.3, 0, 1).toFixed(6), T.MathUtils.degToRad(90).toFixed(6),
    T.MathUtils.euclideanModulo(-7, 3), T.MathUtils.isPowerOfTwo(64), T.MathUtils.ceilPowerOfTwo(100), T.MathUtils.pingpong(5, 3), T.MathUtils.damp(0, 10, 2, 0.1).toFixed(6),
    T.MathUtils.seededRandom(42).toFixed(8), T.MathUtils.mapLinear(5, 0, 10, 100, 200)]);
}

function Colors(T, record) {
  record('color', () => {
    const c = new T.Color('#336699');
    const hsl = {};
    c.getHSL(hsl);
    return [c.getHexString(), Round([c.r, c.g, c.b]), Round(Object.values(hsl)), new T.Color('hsl(120, 50%, 50%)').getHex(), new T.Color('skyblue').getStyle(),
      new T.Color(1, 0, 0).lerp(new T.Color(0, 0, 1), 0.5).getHexString(), new T.Color().setRGB(0.5, 0.5, 0.5, T.SRGBColorSpace).getHexString(T.LinearSRGBColorSpace)];
  });
}

function Volumes(T, record) {
  record('box and sphere', () => {
    const box = new T.Box3().setFromPoints([new T.Vector3(-1, 0, 2), new T.Vector3(3, -2, 1), new T.Vector3(0, 4, -1)]);
    const sphere = box.getBoundingSphere(new T.Sphere());
    return [box.min.toArray(), box.max.toArray(), box.getSize(new T.Vector3()).toArray(), box.containsPoint(new T.Vector3(0, 0, 0)), Round(sphere.center.toArray()), sphere.radius.toFixed(6),
      box.intersectsSphere(new T.Sphere(new T.Vector3(10, 0, 0), 7)), box.clone().expandByScalar(1).distanceToPoint(new T.Vector3(10, 0, 0)), box.clone().applyMatrix4(new T.Matrix4().makeRotationY(1)).max.toArray().map((v) => +v.toFixed(5))];
  });
  record('ray', () => {
    const ray = new T.Ray(new T.Vector3(0, 0, -5), new T.Vector3(0, 0, 1));
    return [ray.intersectBox(new T.Box3(new T.Vector3(-1, -1, -1), new T.Vector3(1, 1, 1)), new T.Vector3()).toArray(), ray.intersectsSphere(new T.Sphere(new T.Vector3(0, 2, 0), 1)),
      ray.intersectPlane(new T.Plane(new T.Vector3(0, 0, 1), -2), new T.Vector3()).toArray(), ray.distanceToPoint(new T.Vector3(3, 4, 0)),
      ray.intersectTriangle(new T.Vector3(-1, -1, 0), new T.Vector3(1, -1, 0), new T.Vector3(0, 1, 0), false, new T.Vector3()).toArray()];
  });
  record('plane triangle line', () => {
    const plane = new T.Plane().setFromCoplanarPoints(new T.Vector3(0, 0, 0), new T.Vector3(1, 0, 0), new T.Vector3(0, 1, 1));
    const triangle = new T.Triangle(new T.Vector3(0, 0, 0), new T.Vector3(4, 0, 0), new T.Vector3(0, 3, 0));
    const line = new T.Line3(new T.Vector3(0, 0, 0), new T.Vector3(10, 0, 0));
    return [Round(plane.normal.toArray()), plane.constant, plane.distanceToPoint(new T.Vector3(0, 0, 5)).toFixed(6), triangle.getArea(), Round(triangle.getBarycoord(new T.Vector3(1, 1, 0), new T.Vector3()).toArray()),
      triangle.containsPoint(new T.Vector3(1, 1, 0)), line.closestPointToPointParameter(new T.Vector3(3, 5, 0), true), Round(triangle.closestPointToPoint(new T.Vector3(5, 5, 5), new T.Vector3()).toArray())];
  });
  record('frustum', () => {
    const camera = new T.PerspectiveCamera(60, 1.5, 0.1, 100);
    camera.position.set(0, 0, 10);
    camera.updateMatrixWorld();
    const frustum = new T.Frustum().setFromProjectionMatrix(new T.Matrix4().multiplyMatrices(camera.projectionMatrix, camera.matrixWorldInverse));
    return [frustum.containsPoint(new T.Vector3(0, 0, 0)), frustum.containsPoint(new T.Vector3(0, 0, 20)), frustum.intersectsSphere(new T.Sphere(new T.Vector3(30, 0, 0), 1)),
      Round(new T.Vector3(1, 1, 0).project(camera).toArray()), Round(new T.Vector3(0.5, 0.5, 0.5).unproject(camera).toArray())];
  });
}

function Curves(T, record) {
  record('curves', () => {
    const points = [new T.Vector3(0, 0, 0), new T.Vector3(1, 2, 0), new T.Vector3(3, 1, 1), new T.Vector3(4, 3, 2)];
    const spline = new T.CatmullRomCurve3(points, false, 'centripetal');
    const bezier = new T.CubicBezierCurve(new T.Vector2(0, 0), new T.Vector2(1, 2), new T.Vector2(3, 2), new T.Vector2(4, 0));
    return [spline.getPoints(4).map((p) => Round(p.toArray())), spline.getLength().toFixed(5), Round(spline.getTangentAt(0.5).toArray()),
      bezier.getSpacedPoints(3).map((p) => Round(p.toArray())), Round(new T.EllipseCurve(0, 0, 2, 1, 0, Math.PI, false, 0.2).getPoint(0.5).toArray()),
      new T.QuadraticBezierCurve3(points[0], points[1], points[2]).getLengths(4).map((v) => +v.toFixed(5))];
  });
  record('shape geometry', () => {
    const shape = new T.Shape().moveTo(0, 0).lineTo(4, 0).quadraticCurveTo(5, 2, 4, 4).lineTo(0, 4).lineTo(0, 0);
    shape.holes.push(new T.Path().absarc(2, 2, 1, 0, Math.PI * 2, true));
    const flat = new T.ShapeGeometry(shape, 4);
    const extruded = new T.ExtrudeGeometry(shape, { depth: 1, bevelEnabled: true, bevelSegments: 1, steps: 2, curveSegments: 4 });
    return [flat.attributes.position.count, flat.index.count, T.ShapeUtils.area(shape.getPoints()).toFixed(5), T.ShapeUtils.isClockWise(shape.getPoints()),
      extruded.attributes.position.count, Sample(extruded.attributes.position.array, 12), extruded.groups.length];
  });
}

function Geometries(T, record) {
  const kinds = [
    ['box', () => new T.BoxGeometry(1, 2, 3, 2, 1, 1)], ['sphere', () => new T.SphereGeometry(2, 8, 6)], ['torus knot', () => new T.TorusKnotGeometry(1, 0.3, 16, 4)],
    ['cylinder', () => new T.CylinderGeometry(1, 2, 3, 6)], ['icosahedron', () => new T.IcosahedronGeometry(1, 1)], ['lathe', () => new T.LatheGeometry([new T.Vector2(0, 0), new T.Vector2(1, 1), new T.Vector2(0.5, 2)], 5)],
    ['tube', () => new T.TubeGeometry(new T.CatmullRomCurve3([new T.Vector3(), new T.Vector3(1, 1, 0), new T.Vector3(2, 0, 1)]), 6, 0.2, 4)], ['capsule', () => new T.CapsuleGeometry(1, 2, 2, 4)],
  ];
  for (const [kind, make] of kinds) {
    record('geometry ' + kind, () => {
      const g = make();
      g.computeBoundingBox(); g.computeBoundingSphere();
      const flat = g.index ? g.toNonIndexed() : g.clone();
      flat.computeVertexNormals();
      return [g.attributes.position.count, g.index ? g.index.count : -1, Sample(g.attributes.position.array, 9), Sample(g.attributes.uv.array, 6),
        Round(g.boundingBox.max.toArray()), g.boundingSphere.radius.toFixed(5), Sample(flat.attributes.normal.array, 6), g.parameters];
    });
  }
  record('buffer attributes', () => {
    const g = new T.BufferGeometry().setFromPoints([new T.Vector3(0, 0, 0), new T.Vector3(1, 0, 0), new T.Vector3(0, 1, 0)]);
    g.setAttribute('color', new T.Float32BufferAttribute([1, 0, 0, 0, 1, 0, 0, 0, 1], 3));
    g.setIndex([0, 1, 2]);
    g.translate(1, 1, 1).scale(2, 2, 2).rotateZ(Math.PI / 2);
    const interleaved = new T.InterleavedBuffer(new Float32Array([1, 2, 3, 4, 5, 6]), 3);
    return [Sample(g.attributes.position.array, 9), g.attributes.color.getY(1), Object.keys(g.attributes), new T.InterleavedBufferAttribute(interleaved, 2, 1).getX(1),
      Array.from(new T.Uint16BufferAttribute([1, 2, 3], 1).array)];
  });
}

function Scene(T, record) {
  record('scene graph', () => {
    const scene = new T.Scene();
    const group = new T.Group();
    group.position.set(1, 0, 0); group.rotation.y = Math.PI / 2; group.scale.setScalar(2);
    const mesh = new T.Mesh(new T.BoxGeometry(1, 1, 1), new T.MeshBasicMaterial({ color: 0xff0000 }));
    mesh.name = 'box'; mesh.position.set(0, 0, 1);
    group.add(mesh); scene.add(group, new T.AmbientLight(0x404040), new T.Line(new T.BufferGeometry()));
    scene.updateMatrixWorld(true);
    const visited = [];
    scene.traverse((o) => visited.push(o.type));
    mesh.lookAt(0, 10, 0);
    return [visited, Round(mesh.getWorldPosition(new T.Vector3()).toArray()), Round(mesh.quaternion.toArray()), scene.getObjectByName('box') === mesh,
      mesh.material.color.getHexString(), mesh.material.type, mesh.material.transparent, scene.children.length, group.remove(mesh).children.length];
  });
  record('raycaster', () => {
    const scene = new T.Scene();
    for (let i = 0; i < 3; ++i) { const m = new T.Mesh(new T.SphereGeometry(0.5, 8, 8)); m.position.set(i * 2, 0, -5); m.name = 's' + i; scene.add(m); }
    scene.updateMatrixWorld();
    const camera = new T.PerspectiveCamera(50, 1, 0.1, 100);
    const raycaster = new T.Raycaster();
    raycaster.setFromCamera(new T.Vector2(0.2, 0), camera);
    const hits = raycaster.intersectObjects(scene.children, true);
    return hits.map((h) => [h.object.name, h.distance.toFixed(4), h.faceIndex, Round(h.point.toArray())]);
  });
  record('cameras', () => {
    const p = new T.PerspectiveCamera(75, 2, 0.5, 50);
    p.zoom = 2; p.setViewOffset(200, 100, 10, 10, 100, 50); p.updateProjectionMatrix();
    const o = new T.OrthographicCamera(-2, 2, 1, -1, 0, 10);
    return [Round(p.projectionMatrix.elements), p.getEffectiveFOV().toFixed(5), Round(o.projectionMatrix.elements), p.getFilmWidth().toFixed(5)];
  });
}

function Animation(T, record) {
  record('animation', () => {
    const target = new T.Object3D();
    const track = new T.VectorKeyframeTrack('.position', [0, 1, 2], [0, 0, 0, 10, 5, 0, 0, 10, 5]);
    const turn = new T.QuaternionKeyframeTrack('.quaternion', [0, 2], [0, 0, 0, 1, 0, 1, 0, 0]);
    const clip = new T.AnimationClip('move', -1, [track, turn]);
    const mixer = new T.AnimationMixer(target);
    const action = mixer.clipAction(clip);
    action.setLoop(T.LoopPingPong, 3).play();
    const seen = [];
    for (const dt of [0.25, 0.5, 0.75, 1.5]) { mixer.update(dt); seen.push(Round(target.position.toArray()).concat(Round(target.quaternion.toArray()))); }
    return [clip.duration, seen, T.AnimationUtils.subclip(clip, 'part', 0, 1, 1).tracks.map((t) => t.times.length), clip.validate(), track.ValueTypeName];
  });
  record('interpolants', () => {
    const times = new Float32Array([0, 1, 2]);
    const values = new Float32Array([0, 10, 0]);
    return [new T.CubicInterpolant(times, values, 1, new Float32Array(1)).evaluate(0.5)[0].toFixed(5), new T.DiscreteInterpolant(times, values, 1, new Float32Array(1)).evaluate(1.5)[0]];
  });
}

module.exports = function (T, record) {
  Vectors(T, record);
  Matrices(T, record);
  Colors(T, record);
  Volumes(T, record);
  Curves(T, record);
  Geometries(T, record);
  Scene(T, record);
  Animation(T, record);
  record('constants', () => [T.REVISION, T.DoubleSide, T.SRGBColorSpace, T.MathUtils.RAD2DEG.toFixed(6)]);
};
