// SPDX-License-Identifier: MIT
// The freeglut calls the game makes, on the page: one canvas (Module.canvas)
// with a WebGL 1 context, its key events, its size, the loop and the
// Gamepad API, and freeglut's 18-point Helvetica bitmaps (ZFONT, generated
// from freeglut's source by make-font.js).
//
// The loop: the idle callback runs from a timer. When it names the time its
// next step is due (zarvelWakeAt), the timer sleeps until then; a step that
// ran names none, so the callback is called again at once and names it.
// The redisplay a step asks for is drawn at the browser's next animation
// frame, once, with the world as it is then. While the page is hidden the
// timer stops and the game's clock (zarvelGameClock) stands still.

var LibraryZarvelGLUT = {
  $ZGLUT: {
    callbacks: {},
    joystickPollMs: 0,
    lastJoystickPoll: 0,
    width: 600,
    height: 600,
    ignoreRepeat: false,
    reshapePending: true,
    redisplayPending: false,
    frameRequested: false,
    timer: 0,
    wakeAt: null,
    firesAt: null, // when the timer set last should fire, ms of the clock
    lateness: 0, // ms the timer has lately fired after it should
    started: 0,
    hiddenSince: null,
    hiddenTotal: 0,
    held: null, // Map of key code to the key up that lets it go
    line: '',

    // Milliseconds of the page being shown since the start, fractional.
    now: function() {
      var now = ZGLUT.hiddenSince !== null ? ZGLUT.hiddenSince : performance.now();
      return now - ZGLUT.started - ZGLUT.hiddenTotal;
    },

    // Calls a registered callback by its name, with integer arguments.
    call: function(name, args) {
      var callback = ZGLUT.callbacks[name];
      if (callback) getWasmTableEntry(callback).apply(null, args);
    },

    // Delivers a pending reshape with the canvas's size.
    deliverReshape: function() {
      if (!ZGLUT.reshapePending) return;
      ZGLUT.reshapePending = false;
      ZGLUT.call('reshape', [ZGLUT.width, ZGLUT.height]);
    },

    // One turn of the loop: the joystick when its interval has passed, then
    // the idle callback until it names a time, then the timer for that time.
    tick: function() {
      ZGLUT.timer = 0;
      if (ZGLUT.hiddenSince !== null) return;
      ZGLUT.deliverReshape();
      var now = ZGLUT.now();
      if (ZGLUT.firesAt !== null) {
        // The smallest lateness seen lately: it falls to any smaller one at
        // once and creeps up by 0.01 ms a wake, so the timer seldom wakes early.
        var late = Math.min(Math.max(now - ZGLUT.firesAt, 0), 2);
        ZGLUT.lateness = Math.min(late, ZGLUT.lateness + 0.01);
      }
      if (ZGLUT.callbacks.joystick && now - ZGLUT.lastJoystickPoll >= ZGLUT.joystickPollMs) {
        ZGLUT.lastJoystickPoll = now;
        ZGLUT.pollJoystick();
      }
      ZGLUT.idle();
    },

    // Calls the idle callback until it names a time, then sets the timer
    // for that time (in place of one set before).
    idle: function() {
      ZGLUT.wakeAt = null;
      for (var calls = 0; calls < 3 && ZGLUT.wakeAt === null; calls++) ZGLUT.call('idle', []);
      // A timer counts whole ms and fires a little late: ask for the whole
      // ms that, with the lateness seen lately, wakes in the ms the step is
      // due rather than the one after, which would lengthen the step.
      var now = ZGLUT.now();
      var delay = 0;
      if (ZGLUT.wakeAt !== null) {
        var left = ZGLUT.wakeAt - now;
        delay = Math.max(0, Math.ceil(left - ZGLUT.lateness));
        // Were it 0.2 ms later than lately, that wake would fall in the next
        // ms: with time to spare, wake once on the way (at most once a
        // step), where the wake after starts from another fraction of a ms.
        if (delay + ZGLUT.lateness + 0.2 >= left + 1 && left > 6) delay = 4;
      }
      ZGLUT.firesAt = ZGLUT.wakeAt === null ? null : now + delay;
      clearTimeout(ZGLUT.timer);
      ZGLUT.timer = setTimeout(ZGLUT.tick, delay);
    },

    // Draws the frame a step asked for, at the animation frame. A step due
    // meanwhile runs before and after the drawing instead of waiting for
    // the browser to finish the frame.
    drawFrame: function() {
      ZGLUT.frameRequested = false;
      if (!ZGLUT.redisplayPending) return;
      if (ZGLUT.hiddenSince === null && ZGLUT.callbacks.idle) ZGLUT.idle();
      ZGLUT.redisplayPending = false;
      ZGLUT.call('display', []);
      if (ZGLUT.hiddenSince === null && ZGLUT.callbacks.idle) ZGLUT.idle();
    },

    // Sends the first gamepad's first two axes (and a third, when it has
    // one) as -1000..1000 and its first four buttons as a mask; sends
    // nothing when no gamepad is connected.
    pollJoystick: function() {
      var pads = navigator.getGamepads ? navigator.getGamepads() : [];
      var pad = null;
      for (var i = 0; i < pads.length && !pad; i++) if (pads[i] && pads[i].connected !== false) pad = pads[i];
      if (!pad) return;
      var axis = function(k) { return k < pad.axes.length ? Math.trunc(pad.axes[k] * 1000) : 0; };
      var mask = 0;
      for (var b = 0; b < 4 && b < pad.buttons.length; b++) if (pad.buttons[b].pressed) mask |= 1 << b;
      ZGLUT.call('joystick', [mask, axis(0), axis(1), axis(2)]);
    },

    // The callback and key code of a key event: the arrows as special keys,
    // one character as a character key; null for other keys.
    keyOf: function(event, up) {
      if (event.ctrlKey || event.metaKey || event.altKey) return null; // the browser's shortcuts
      var arrows = { ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103 };
      if (event.key in arrows) return [up ? 'specialUp' : 'special', arrows[event.key]];
      if (event.key.length === 1 && event.key.charCodeAt(0) < 256) {
        return [up ? 'keyboardUp' : 'keyboard', event.key.charCodeAt(0)];
      }
      return null;
    },

    // Key down and up on the canvas; a key still held when the canvas
    // loses the keyboard is let go.
    listen: function(canvas) {
      ZGLUT.held = new Map();
      canvas.addEventListener('keydown', function(event) {
        var key = ZGLUT.keyOf(event, false);
        if (!key) return;
        event.preventDefault();
        if (event.repeat && ZGLUT.ignoreRepeat) return;
        ZGLUT.held.set(event.code, ZGLUT.keyOf(event, true));
        ZGLUT.call(key[0], [key[1], 0, 0]);
      });
      canvas.addEventListener('keyup', function(event) {
        var key = ZGLUT.keyOf(event, true);
        if (!key) return;
        event.preventDefault();
        ZGLUT.held.delete(event.code);
        ZGLUT.call(key[0], [key[1], 0, 0]);
      });
      canvas.addEventListener('blur', function() {
        ZGLUT.held.forEach(function(key) { ZGLUT.call(key[0], [key[1], 0, 0]); });
        ZGLUT.held.clear();
      });
      document.addEventListener('visibilitychange', ZGLUT.visibility);
      new ResizeObserver(ZGLUT.resize).observe(canvas);
    },

    // The drawing area follows the canvas's size on the page.
    resize: function() {
      var canvas = Module['canvas'];
      var width = Math.round(canvas.clientWidth), height = Math.round(canvas.clientHeight);
      if (width === ZGLUT.width && height === ZGLUT.height) return;
      canvas.width = ZGLUT.width = width;
      canvas.height = ZGLUT.height = height;
      ZGLUT.reshapePending = true;
      ZGLUT.redisplayPending = true;
      if (!ZGLUT.frameRequested) { ZGLUT.frameRequested = true; requestAnimationFrame(ZGLUT.drawFrame); }
    },

    // Hidden: the timer stops and the clock stands; shown: both go on.
    visibility: function() {
      if (document.hidden && ZGLUT.hiddenSince === null) {
        ZGLUT.hiddenSince = performance.now();
        clearTimeout(ZGLUT.timer);
        ZGLUT.timer = 0;
        ZGLUT.firesAt = null;
      } else if (!document.hidden && ZGLUT.hiddenSince !== null) {
        ZGLUT.hiddenTotal += performance.now() - ZGLUT.hiddenSince;
        ZGLUT.hiddenSince = null;
        if (ZGLUT.callbacks.idle && !ZGLUT.timer) ZGLUT.timer = setTimeout(ZGLUT.tick, 0);
      }
    },
  },

  zarvelGameClock: function() { return Math.floor(ZGLUT.now()) | 0; },
  zarvelWakeAt: function(dueMs) {
    // The due time is the clock's int reading, unwrapped near the clock's
    // value: the moment the clock turns to it.
    var reading = Math.floor(ZGLUT.now());
    ZGLUT.wakeAt = reading + ((dueMs - reading) | 0);
  },

  glutInit: function(argc, argv) { ZGLUT.started = performance.now(); },
  glutInitDisplayMode: function(mode) {},
  glutInitWindowSize: function(width, height) { ZGLUT.width = width; ZGLUT.height = height; },
  glutCreateWindow__deps: ['$ZGL'],
  glutCreateWindow: function(title) {
    var canvas = Module['canvas'];
    document.title = UTF8ToString(title);
    canvas.width = ZGLUT.width;
    canvas.height = ZGLUT.height;
    canvas.style.width = ZGLUT.width + 'px';
    canvas.style.height = ZGLUT.height + 'px';
    var gl = canvas.getContext('webgl', { alpha: false, depth: true, stencil: false, antialias: false });
    if (!gl) throw new Error('this browser gives the page no WebGL');
    ZGL.start(gl);
    ZGLUT.listen(canvas);
    return 1;
  },
  glutIgnoreKeyRepeat: function(ignore) { ZGLUT.ignoreRepeat = ignore !== 0; },
  glutReshapeFunc: function(callback) { ZGLUT.callbacks.reshape = callback; },
  glutIdleFunc: function(callback) { ZGLUT.callbacks.idle = callback; },
  glutSpecialFunc: function(callback) { ZGLUT.callbacks.special = callback; },
  glutSpecialUpFunc: function(callback) { ZGLUT.callbacks.specialUp = callback; },
  glutKeyboardFunc: function(callback) { ZGLUT.callbacks.keyboard = callback; },
  glutKeyboardUpFunc: function(callback) { ZGLUT.callbacks.keyboardUp = callback; },
  glutDisplayFunc: function(callback) { ZGLUT.callbacks.display = callback; },
  glutJoystickFunc: function(callback, pollMs) {
    ZGLUT.callbacks.joystick = callback;
    ZGLUT.joystickPollMs = pollMs;
  },
  // A joystick is there whenever the browser has the Gamepad API: a gamepad
  // connected later is read from then on, and one that goes is let go.
  glutDeviceGet: function(query) {
    return query === 0x0264 && typeof navigator.getGamepads === 'function' ? 1 : 0;
  },
  glutForceJoystickFunc: function() { if (ZGLUT.callbacks.joystick) ZGLUT.pollJoystick(); },
  glutPostRedisplay: function() {
    ZGLUT.redisplayPending = true;
    if (!ZGLUT.frameRequested) { ZGLUT.frameRequested = true; requestAnimationFrame(ZGLUT.drawFrame); }
  },
  // The page's own loop runs the game from here on; main returns to it.
  glutMainLoop: function() {
    ZGLUT.visibility();
    ZGLUT.deliverReshape();
    if (ZGLUT.callbacks.idle) ZGLUT.timer = setTimeout(ZGLUT.tick, 0);
  },
  glutMainLoopEvent: function() { ZGLUT.deliverReshape(); },
  // The browser shows the frame when the task that drew it ends; the line
  // the frame wrote is also put in the page (#overlay) for screen readers.
  glutSwapBuffers__deps: ['$ZGL'],
  glutSwapBuffers: function() {
    ZGL.flushBitmaps();
    var overlay = document.getElementById('overlay');
    if (overlay && overlay.textContent !== ZGLUT.line) overlay.textContent = ZGLUT.line;
    ZGLUT.line = '';
  },
  glutBitmapCharacter__deps: ['$ZGL', '$ZFONT'],
  glutBitmapCharacter: function(font, character) {
    var glyph = ZFONT.glyphs[character];
    if (font !== 8 || !glyph) return;
    ZGLUT.line += String.fromCharCode(character);
    ZGL.bitmap(glyph[0], ZFONT.height, ZFONT.xorig, ZFONT.yorig, glyph[0], glyph.slice(1));
  },
};

autoAddDeps(LibraryZarvelGLUT, '$ZGLUT');
mergeInto(LibraryManager.library, LibraryZarvelGLUT);
