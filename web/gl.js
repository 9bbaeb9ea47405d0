// SPDX-License-Identifier: MIT
// The OpenGL 1.1 and GLU calls the game makes, on WebGL 1: the two matrices,
// light 0 and the front material evaluated per vertex by the GL 1.1 lighting
// equation (normals used at the length given unless GL_NORMALIZE is on), the
// current normal and colour carried into glBegin/glEnd, client vertex and
// normal arrays, the depth test, and bitmaps at a projected raster position.
// Matrices are kept in double precision, column by column, as GL lays them out.
//
// Client arrays: an array is known by its address and length. It is uploaded
// the first time it is drawn and kept in a buffer of its own; once a frame,
// on its first draw after glClear, it is compared with the copy uploaded and
// uploaded again only if it changed. The game's meshes, built once before
// the first frame, are so uploaded once and never again.
//
// Bitmaps are drawn at a whole-number scale that keeps the text the same
// share of the view as 18-pixel glyphs in 600 pixels: 1 up to 899 pixels,
// 2 from 900 (a 390-pixel-wide phone at three device pixels a pixel).
//
// A context the browser took away and gave back is rebuilt by restore():
// the program, the buffers, the uploaded arrays and the state GL keeps.
//
// Left out, as the game needs none of it: flat shading (every strip is
// smooth), positional lights (light 0 is directional), two-sided lighting,
// the matrix stack, and GL's specular term of 1 where the normal is at right
// angles to the half-way vector at shininess 0 (the game's materials with
// shininess 0 have no specular colour).

var LibraryZarvelGL = {
  $ZGL: {
    gl: null,
    program: null,
    uniforms: {},
    immediateBuffer: null,
    meshes: null, // Map of address:length to { buffer, copy, frame }
    frame: 0,
    matrices: [null, null], // modelview, projection
    mode: 0,
    lighting: false,
    light0: false,
    normalize: false,
    lightAmbient: [0, 0, 0, 1],
    lightDiffuse: [1, 1, 1, 1],
    lightSpecular: [1, 1, 1, 1],
    lightEye: [0, 0, 1], // direction to light 0 in eye space, unit length
    sceneAmbient: [0.2, 0.2, 0.2, 1],
    ambient: [0.2, 0.2, 0.2, 1],
    diffuse: [0.8, 0.8, 0.8, 1],
    specular: [0, 0, 0, 1],
    emission: [0, 0, 0, 1],
    shininess: 0,
    normal: [0, 0, 1],
    colour: [1, 1, 1, 1],
    primitive: -1,
    vertices: [], // x y z nx ny nz of each vertex since glBegin
    vertexArray: { enabled: false, pointer: 0 },
    normalArray: { enabled: false, pointer: 0 },
    viewport: [0, 0, 0, 0],
    clearColour: [0, 0, 0, 0],
    depthTest: false,
    packAlignment: 4,
    raster: { x: 0, y: 0, z: 0, valid: true, colour: [1, 1, 1, 1] },
    pending: { points: [], colour: [1, 1, 1, 1], viewport: null }, // bitmaps not drawn yet

    // The identity, 16 doubles column by column.
    identity: function() { return new Float64Array([1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]); },

    // Multiplies the selected matrix by m on the right, as glMultMatrix does.
    multiply: function(m) {
      var a = ZGL.matrices[ZGL.mode], r = new Float64Array(16);
      for (var col = 0; col < 4; col++) {
        for (var row = 0; row < 4; row++) {
          var sum = 0;
          for (var k = 0; k < 4; k++) sum += a[k * 4 + row] * m[col * 4 + k];
          r[col * 4 + row] = sum;
        }
      }
      ZGL.matrices[ZGL.mode] = r;
    },

    // The 4-vector m * v.
    transform: function(m, v) {
      var r = [0, 0, 0, 0];
      for (var row = 0; row < 4; row++) {
        for (var k = 0; k < 4; k++) r[row] += m[k * 4 + row] * v[k];
      }
      return r;
    },

    // The matrix that takes object normals to eye space: the transposed
    // inverse of the modelview's upper 3 x 3, as 9 floats column by column.
    normalMatrix: function() {
      var m = ZGL.matrices[0];
      var a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
      var A = e * i - f * h, B = f * g - d * i, C = d * h - e * g;
      var det = a * A + b * B + c * C;
      // The cofactors over the determinant, row by row, are the transposed
      // inverse; GL takes it column by column.
      var D = c * h - b * i, E = a * i - c * g, F = b * g - a * h;
      var G = b * f - c * e, H = c * d - a * f, I = a * e - b * d;
      return new Float32Array([A / det, D / det, G / det, B / det, E / det, H / det,
        C / det, F / det, I / det]);
    },

    // Compiles the one program: position and lit or plain colour per vertex.
    makeProgram: function(gl) {
      var vertex = [
        'attribute vec3 position; attribute vec3 normal;',
        'uniform mat4 modelview, projection; uniform mat3 normalMatrix;',
        'uniform bool lit, normalizing; uniform vec4 plain, ambient;',
        'uniform vec3 diffuse, specular, toLight, halfway; uniform float shininess, pointSize;',
        'varying vec4 colour;',
        'void main() {',
        '  gl_Position = projection * (modelview * vec4(position, 1.0));',
        '  gl_PointSize = pointSize;',
        '  if (!lit) { colour = plain; return; }',
        '  vec3 n = normalMatrix * normal;',
        '  if (normalizing) n = normalize(n);',
        '  float facing = max(dot(n, toLight), 0.0);',
        '  float shine = max(dot(n, halfway), 0.0);',
        '  vec3 c = ambient.rgb + facing * diffuse;',
        '  if (facing > 0.0 && shine > 0.0) c += pow(shine, shininess) * specular;',
        '  colour = clamp(vec4(c, ambient.a), 0.0, 1.0);',
        '}'].join('\n');
      var fragment = 'precision highp float; varying vec4 colour;\n' +
        'void main() { gl_FragColor = colour; }';
      var program = gl.createProgram();
      [[gl.VERTEX_SHADER, vertex], [gl.FRAGMENT_SHADER, fragment]].forEach(function(s) {
        var shader = gl.createShader(s[0]);
        gl.shaderSource(shader, s[1]);
        gl.compileShader(shader);
        gl.attachShader(program, shader);
      });
      gl.bindAttribLocation(program, 0, 'position');
      gl.bindAttribLocation(program, 1, 'normal');
      gl.linkProgram(program);
      if (!gl.getProgramParameter(program, gl.LINK_STATUS)) throw new Error(gl.getProgramInfoLog(program));
      gl.useProgram(program);
      ['modelview', 'projection', 'normalMatrix', 'lit', 'normalizing', 'plain', 'ambient',
       'diffuse', 'specular', 'toLight', 'halfway', 'shininess', 'pointSize'].forEach(function(name) {
        ZGL.uniforms[name] = gl.getUniformLocation(program, name);
      });
      gl.uniform1f(ZGL.uniforms.pointSize, 1);
      return program;
    },

    // Starts the layer on a WebGL context: GL's initial state.
    start: function(gl) {
      ZGL.meshes = new Map();
      ZGL.matrices = [ZGL.identity(), ZGL.identity()];
      ZGL.viewport = [0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight];
      ZGL.restore(gl);
    },

    // Builds in a context (a new one, or one given back after a loss) what
    // the layer keeps there: the program, the buffers with the arrays as
    // last uploaded, and the clear colour, depth test and viewport; the
    // rest is set again by every draw.
    restore: function(gl) {
      ZGL.gl = gl;
      ZGL.program = ZGL.makeProgram(gl);
      ZGL.immediateBuffer = gl.createBuffer();
      ZGL.meshes.forEach(ZGL.upload);
      var c = ZGL.clearColour, v = ZGL.viewport;
      gl.clearColor(c[0], c[1], c[2], c[3]);
      if (ZGL.depthTest) gl.enable(gl.DEPTH_TEST);
      gl.viewport(v[0], v[1], v[2], v[3]);
    },

    // The whole-number scale bitmaps are drawn at in a viewport this size.
    bitmapScale: function(viewport) {
      return Math.max(1, Math.round(Math.min(viewport[2], viewport[3]) / 600));
    },

    // Sets the uniforms of a draw: matrices, then light 0 and the material
    // as the lighting equation combines them, or the plain current colour.
    prepare: function(projection) {
      var gl = ZGL.gl, u = ZGL.uniforms;
      gl.uniformMatrix4fv(u.modelview, false, new Float32Array(ZGL.matrices[0]));
      gl.uniformMatrix4fv(u.projection, false, new Float32Array(projection || ZGL.matrices[1]));
      gl.uniform1i(u.lit, ZGL.lighting ? 1 : 0);
      gl.uniform4fv(u.plain, ZGL.colour);
      if (!ZGL.lighting) return;
      var on = ZGL.light0 ? 1 : 0, ambient = [], diffuse = [], specular = [];
      for (var c = 0; c < 3; c++) {
        ambient[c] = ZGL.emission[c] + ZGL.ambient[c] * (ZGL.sceneAmbient[c] + on * ZGL.lightAmbient[c]);
        diffuse[c] = on * ZGL.diffuse[c] * ZGL.lightDiffuse[c];
        specular[c] = on * ZGL.specular[c] * ZGL.lightSpecular[c];
      }
      ambient[3] = ZGL.diffuse[3];
      var l = ZGL.lightEye, h = [l[0], l[1], l[2] + 1];
      var length = Math.hypot(h[0], h[1], h[2]) || 1;
      gl.uniformMatrix3fv(u.normalMatrix, false, ZGL.normalMatrix());
      gl.uniform1i(u.normalizing, ZGL.normalize ? 1 : 0);
      gl.uniform4fv(u.ambient, ambient);
      gl.uniform3fv(u.diffuse, diffuse);
      gl.uniform3fv(u.specular, specular);
      gl.uniform3fv(u.toLight, l);
      gl.uniform3fv(u.halfway, [h[0] / length, h[1] / length, h[2] / length]);
      gl.uniform1f(u.shininess, ZGL.shininess);
    },

    // The buffer holding `floats` floats of client memory at `pointer`,
    // uploaded again only when they changed since (checked once a frame).
    meshBuffer: function(pointer, floats) {
      var gl = ZGL.gl, key = pointer + ':' + floats;
      var data = HEAPF32.subarray(pointer >> 2, (pointer >> 2) + floats);
      var mesh = ZGL.meshes.get(key);
      if (!mesh) {
        mesh = { buffer: null, copy: new Float32Array(data), frame: ZGL.frame };
        ZGL.upload(mesh);
        ZGL.meshes.set(key, mesh);
        return mesh.buffer;
      }
      gl.bindBuffer(gl.ARRAY_BUFFER, mesh.buffer);
      if (mesh.frame === ZGL.frame) return mesh.buffer;
      mesh.frame = ZGL.frame;
      for (var i = 0; i < floats; i++) {
        if (data[i] !== mesh.copy[i]) {
          mesh.copy.set(data);
          gl.bufferData(gl.ARRAY_BUFFER, mesh.copy, gl.STATIC_DRAW);
          break;
        }
      }
      return mesh.buffer;
    },

    // Puts a mesh's copy in a new buffer of the context, left bound.
    upload: function(mesh) {
      var gl = ZGL.gl;
      mesh.buffer = gl.createBuffer();
      gl.bindBuffer(gl.ARRAY_BUFFER, mesh.buffer);
      gl.bufferData(gl.ARRAY_BUFFER, mesh.copy, gl.STATIC_DRAW);
    },

    // Sets what an off matrix or array leaves: attribute 1 is the current normal.
    constantNormal: function() {
      ZGL.gl.disableVertexAttribArray(1);
      ZGL.gl.vertexAttrib3f(1, ZGL.normal[0], ZGL.normal[1], ZGL.normal[2]);
    },

    // Sets one of light 0's or the material's four-float parameters.
    store: function(target, pointer) {
      for (var c = 0; c < 4; c++) target[c] = HEAPF32[(pointer >> 2) + c];
    },

    // Adds a bitmap of width x height bits, rows of whole bytes from the
    // bottom up, at the raster position less the origin, in the raster
    // colour and depth, to the points of the next flushBitmaps, each bit a
    // square of the bitmap scale; then moves the raster position on by
    // xmove times the scale.
    bitmap: function(width, height, xorig, yorig, xmove, bits) {
      var r = ZGL.raster, pending = ZGL.pending;
      if (!r.valid) return;
      if (pending.viewport !== ZGL.viewport || pending.colour.join() !== r.colour.join()) ZGL.flushBitmaps();
      pending.viewport = ZGL.viewport;
      pending.colour = r.colour;
      var s = ZGL.bitmapScale(ZGL.viewport);
      var left = Math.floor(r.x - xorig * s), bottom = Math.floor(r.y - yorig * s), depth = 2 * r.z - 1;
      var rowBytes = (width + 7) >> 3;
      for (var j = 0; j < height; j++) {
        for (var i = 0; i < width; i++) {
          if (bits[j * rowBytes + (i >> 3)] & (0x80 >> (i & 7))) {
            pending.points.push(left + (i + 0.5) * s, bottom + (j + 0.5) * s, depth);
          }
        }
      }
      r.x += xmove * s;
    },

    // Draws the bitmaps given since the last draw as one draw of points,
    // one a bit, from window coordinates straight to clip space. Called
    // before anything else is drawn or read, so the order is kept.
    flushBitmaps: function() {
      var pending = ZGL.pending, gl = ZGL.gl;
      if (pending.points.length === 0) return;
      var v = pending.viewport, projection = new Float64Array(16);
      projection[0] = 2 / v[2]; projection[5] = 2 / v[3]; projection[10] = 1; projection[15] = 1;
      projection[12] = -1 - 2 * v[0] / v[2]; projection[13] = -1 - 2 * v[1] / v[3];
      var saved = [ZGL.matrices[0], ZGL.lighting, ZGL.colour];
      ZGL.matrices[0] = ZGL.identity(); ZGL.lighting = false; ZGL.colour = pending.colour;
      ZGL.prepare(projection);
      ZGL.matrices[0] = saved[0]; ZGL.lighting = saved[1]; ZGL.colour = saved[2];
      gl.bindBuffer(gl.ARRAY_BUFFER, ZGL.immediateBuffer);
      gl.bufferData(gl.ARRAY_BUFFER, new Float32Array(pending.points), gl.STREAM_DRAW);
      gl.enableVertexAttribArray(0);
      gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 0, 0);
      ZGL.constantNormal();
      gl.uniform1f(ZGL.uniforms.pointSize, ZGL.bitmapScale(v));
      gl.drawArrays(gl.POINTS, 0, pending.points.length / 3);
      gl.uniform1f(ZGL.uniforms.pointSize, 1);
      pending.points = [];
    },
  },

  glClear: function(mask) { ZGL.flushBitmaps(); ZGL.frame++; ZGL.gl.clear(mask); },
  glClearColor: function(r, g, b, a) { ZGL.clearColour = [r, g, b, a]; ZGL.gl.clearColor(r, g, b, a); },
  glViewport: function(x, y, width, height) {
    ZGL.viewport = [x, y, width, height];
    ZGL.gl.viewport(x, y, width, height);
  },
  glShadeModel: function(mode) {}, // every strip the game draws is smooth
  glFinish: function() { ZGL.flushBitmaps(); ZGL.gl.finish(); },
  glReadBuffer: function(mode) {}, // WebGL reads the frame being drawn
  glPixelStorei: function(name, value) { if (name === 0x0D05) ZGL.packAlignment = value; },

  // Lighting, light 0, GL_NORMALIZE and the depth test; other capabilities are ignored.
  glEnable: function(cap) {
    if (cap === 0x0B50) ZGL.lighting = true;
    else if (cap === 0x4000) ZGL.light0 = true;
    else if (cap === 0x0BA1) ZGL.normalize = true;
    else if (cap === 0x0B71) { ZGL.depthTest = true; ZGL.gl.enable(ZGL.gl.DEPTH_TEST); }
  },
  glDisable: function(cap) {
    if (cap === 0x0B50) ZGL.lighting = false;
    else if (cap === 0x4000) ZGL.light0 = false;
    else if (cap === 0x0BA1) ZGL.normalize = false;
    else if (cap === 0x0B71) { ZGL.depthTest = false; ZGL.gl.disable(ZGL.gl.DEPTH_TEST); }
  },

  glMatrixMode: function(mode) { ZGL.mode = mode === 0x1701 ? 1 : 0; },
  glLoadIdentity: function() { ZGL.matrices[ZGL.mode] = ZGL.identity(); },
  glTranslated: function(x, y, z) { ZGL.multiply([1,0,0,0, 0,1,0,0, 0,0,1,0, x,y,z,1]); },
  glTranslatef: function(x, y, z) { ZGL.multiply([1,0,0,0, 0,1,0,0, 0,0,1,0, x,y,z,1]); },
  // A rotation of angle degrees about the axis (x, y, z), counter-clockwise
  // when the axis points at the viewer.
  glRotatef: function(angle, x, y, z) {
    var length = Math.hypot(x, y, z);
    if (length === 0) return;
    x /= length; y /= length; z /= length;
    var radians = angle * Math.PI / 180, c = Math.cos(radians), s = Math.sin(radians), t = 1 - c;
    ZGL.multiply([x * x * t + c, y * x * t + z * s, x * z * t - y * s, 0,
                  x * y * t - z * s, y * y * t + c, y * z * t + x * s, 0,
                  x * z * t + y * s, y * z * t - x * s, z * z * t + c, 0,
                  0, 0, 0, 1]);
  },
  // GLU's perspective: fovy degrees in y, near and far planes in eye units.
  gluPerspective: function(fovy, aspect, near, far) {
    var radians = fovy / 2 * Math.PI / 180, depth = far - near, sine = Math.sin(radians);
    if (depth === 0 || sine === 0 || aspect === 0) return;
    var cotangent = Math.cos(radians) / sine;
    ZGL.multiply([cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0,
                  0, 0, -(far + near) / depth, -1, 0, 0, -2 * near * far / depth, 0]);
  },
  // GLU's look-at: rows side, up and -forward, then the eye moved to the origin.
  gluLookAt: function(ex, ey, ez, cx, cy, cz, ux, uy, uz) {
    var f = [cx - ex, cy - ey, cz - ez], fl = Math.hypot(f[0], f[1], f[2]);
    f = [f[0] / fl, f[1] / fl, f[2] / fl];
    var s = [f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux];
    var sl = Math.hypot(s[0], s[1], s[2]);
    s = [s[0] / sl, s[1] / sl, s[2] / sl];
    var u = [s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]];
    ZGL.multiply([s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1]);
    ZGL.multiply([1,0,0,0, 0,1,0,0, 0,0,1,0, -ex,-ey,-ez,1]);
  },

  // Light 0's colours, and its position taken through the modelview now.
  // Light 0 is directional (w 0), as the game sets it.
  glLightfv: function(light, name, pointer) {
    if (light !== 0x4000) return;
    if (name === 0x1200) ZGL.store(ZGL.lightAmbient, pointer);
    else if (name === 0x1201) ZGL.store(ZGL.lightDiffuse, pointer);
    else if (name === 0x1202) ZGL.store(ZGL.lightSpecular, pointer);
    else if (name === 0x1203) {
      var p = [0, 0, 0, 0];
      ZGL.store(p, pointer);
      var e = ZGL.transform(ZGL.matrices[0], [p[0], p[1], p[2], 0]);
      var length = Math.hypot(e[0], e[1], e[2]) || 1;
      ZGL.lightEye = [e[0] / length, e[1] / length, e[2] / length];
    }
  },
  // The front material; without two-sided lighting it lights both faces.
  glMaterialfv: function(face, name, pointer) {
    if (face === 0x0405) return;
    if (name === 0x1200 || name === 0x1602) ZGL.store(ZGL.ambient, pointer);
    if (name === 0x1201 || name === 0x1602) ZGL.store(ZGL.diffuse, pointer);
    if (name === 0x1202) ZGL.store(ZGL.specular, pointer);
    if (name === 0x1600) ZGL.store(ZGL.emission, pointer);
    if (name === 0x1601) ZGL.shininess = HEAPF32[pointer >> 2];
  },
  glMaterialf: function(face, name, value) {
    if (face !== 0x0405 && name === 0x1601) ZGL.shininess = value;
  },

  glColor3f: function(r, g, b) { ZGL.colour = [r, g, b, 1]; },
  glNormal3f: function(x, y, z) { ZGL.normal = [x, y, z]; },
  glBegin: function(mode) { ZGL.primitive = mode; ZGL.vertices = []; },
  // Each vertex takes the normal current when it is given.
  glVertex3f: function(x, y, z) {
    ZGL.vertices.push(x, y, z, ZGL.normal[0], ZGL.normal[1], ZGL.normal[2]);
  },
  glEnd: function() {
    var gl = ZGL.gl;
    ZGL.flushBitmaps();
    if (ZGL.vertices.length === 0) return;
    ZGL.prepare();
    gl.bindBuffer(gl.ARRAY_BUFFER, ZGL.immediateBuffer);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array(ZGL.vertices), gl.STREAM_DRAW);
    gl.enableVertexAttribArray(0);
    gl.enableVertexAttribArray(1);
    gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 24, 0);
    gl.vertexAttribPointer(1, 3, gl.FLOAT, false, 24, 12);
    gl.drawArrays(ZGL.primitive, 0, ZGL.vertices.length / 6);
    ZGL.primitive = -1;
  },

  // Client arrays of packed float triples (type GL_FLOAT, stride 0 or 12).
  glEnableClientState: function(array) {
    if (array === 0x8074) ZGL.vertexArray.enabled = true;
    if (array === 0x8075) ZGL.normalArray.enabled = true;
  },
  glDisableClientState: function(array) {
    if (array === 0x8074) ZGL.vertexArray.enabled = false;
    if (array === 0x8075) ZGL.normalArray.enabled = false;
  },
  glVertexPointer: function(size, type, stride, pointer) { ZGL.vertexArray.pointer = pointer; },
  glNormalPointer: function(type, stride, pointer) { ZGL.normalArray.pointer = pointer; },
  glDrawArrays: function(mode, first, count) {
    var gl = ZGL.gl;
    ZGL.flushBitmaps();
    if (!ZGL.vertexArray.enabled || count <= 0) return;
    ZGL.prepare();
    ZGL.meshBuffer(ZGL.vertexArray.pointer, 3 * (first + count));
    gl.enableVertexAttribArray(0);
    gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 0, 0);
    if (ZGL.normalArray.enabled) {
      ZGL.meshBuffer(ZGL.normalArray.pointer, 3 * (first + count));
      gl.enableVertexAttribArray(1);
      gl.vertexAttribPointer(1, 3, gl.FLOAT, false, 0, 0);
    } else {
      ZGL.constantNormal();
    }
    gl.drawArrays(mode, first, count);
  },

  // The raster position: the point through both matrices and the viewport,
  // in single precision as GL computes it (so -0.95, 0.9 in a 600 x 600
  // viewport is 15, 570 exactly, and the bitmaps start on those pixels);
  // outside the view volume it is invalid and bitmaps draw nothing.
  glRasterPos3f: function(x, y, z) {
    var c = ZGL.transform(ZGL.matrices[1], ZGL.transform(ZGL.matrices[0], [x, y, z, 1]));
    var r = ZGL.raster, v = ZGL.viewport, f = Math.fround;
    r.valid = Math.abs(c[0]) <= c[3] && Math.abs(c[1]) <= c[3] && Math.abs(c[2]) <= c[3];
    r.x = f(f(f(c[0] / c[3]) * f(v[2] / 2)) + f(v[0] + v[2] / 2));
    r.y = f(f(f(c[1] / c[3]) * f(v[3] / 2)) + f(v[1] + v[3] / 2));
    r.z = f(f(f(c[2] / c[3]) * 0.5) + 0.5);
    r.colour = ZGL.colour.slice();
  },

  // Reads RGB or RGBA bytes, rows from the bottom, padded to the pack alignment.
  glReadPixels: function(x, y, width, height, format, type, pointer) {
    ZGL.flushBitmaps();
    var rgba = new Uint8Array(width * height * 4), channels = format === 0x1907 ? 3 : 4;
    ZGL.gl.readPixels(x, y, width, height, ZGL.gl.RGBA, ZGL.gl.UNSIGNED_BYTE, rgba);
    var a = ZGL.packAlignment, rowBytes = Math.ceil(width * channels / a) * a;
    for (var j = 0; j < height; j++) {
      for (var i = 0; i < width; i++) {
        for (var c = 0; c < channels; c++) {
          HEAPU8[pointer + j * rowBytes + i * channels + c] = rgba[(j * width + i) * 4 + c];
        }
      }
    }
  },
};

autoAddDeps(LibraryZarvelGL, '$ZGL');
mergeInto(LibraryManager.library, LibraryZarvelGL);
