// SPDX-License-Identifier: MIT
// The freeglut calls the game makes, on the page: one canvas (Module.canvas)
// with a WebGL 1 context, its key events, its size in device pixels, the
// loop and the Gamepad API, and freeglut's 18-point Helvetica bitmaps
// (ZFONT, generated from freeglut's source by make-font.js).
//
// The loop: the idle callback runs from a timer. When it names the time its
// next step is due (zarvelWakeAt), the loop sleeps until just before then
// and turns as the next task from there until it is due; a step that ran
// names none, so the callback is called again at once and names it.
// The redisplay a step asks for is drawn at the browser's next animation
// frame, once, with the world as it is then. While the page is hidden or
// the browser has taken the WebGL context away, the timer stops and the
// game's clock (zarvelGameClock) stands still.
//
// Holds: a key or a finger on an on-screen button (controls.js) holds its
// game key; the game hears the press when the first holder takes it and the
// release when the last one lets go, so a control held by a key and a finger
// stays held until both let go. Keys count as let go when the page loses the
// keyboard or is hidden.

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
    lateness: 0.2, // ms the timer fires after it should, a running median
    port: null, // a message port: a message to it turns the loop as the next task
    posted: false, // a message to the port is on its way
    started: 0,
    pausedSince: null,
    pausedTotal: 0,
    lost: false, // the browser has taken the WebGL context away
    holders: null, // Map of holder ('key:KeyZ', 'pointer:3') to the game key it holds
    frames: 0, // frames drawn
    line: '',

    // Milliseconds of the game running since the start, fractional.
    now: function() {
      var now = ZGLUT.pausedSince !== null ? ZGLUT.pausedSince : performance.now();
      return now - ZGLUT.started - ZGLUT.pausedTotal;
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
    // the idle callback until it names a time, then the wake for that time.
    tick: function() {
      ZGLUT.timer = 0;
      if (ZGLUT.pausedSince !== null) return;
      ZGLUT.deliverReshape();
      var now = ZGLUT.now();
      if (ZGLUT.firesAt !== null) {
        // How late the timer fires, a running median: it moves 0.02 ms
        // toward each lateness seen.
        ZGLUT.lateness += now - ZGLUT.firesAt > ZGLUT.lateness ? 0.02 : -0.02;
        ZGLUT.lateness = Math.min(Math.max(ZGLUT.lateness, 0), 4);
        ZGLUT.firesAt = null;
      }
      if (ZGLUT.callbacks.joystick && now - ZGLUT.lastJoystickPoll >= ZGLUT.joystickPollMs) {
        ZGLUT.lastJoystickPoll = now;
        ZGLUT.pollJoystick();
      }
      ZGLUT.idle();
    },

    // Calls the idle callback until it names a time, then sets the wake for
    // that time (in place of one set before). A timer counts whole ms and
    // fires a little late: it is asked for the whole ms that, as late as
    // it usually is, wakes within 0.8 ms before the due ms begins and 0.2
    // ms after; woken before, the loop turns again as the next task until
    // the step is due, so that a late timer seldom lengthens the step.
    idle: function() {
      ZGLUT.wakeAt = null;
      for (var calls = 0; calls < 3 && ZGLUT.wakeAt === null; calls++) ZGLUT.call('idle', []);
      clearTimeout(ZGLUT.timer);
      ZGLUT.timer = 0;
      ZGLUT.firesAt = null;
      var now = ZGLUT.now();
      var delay = ZGLUT.wakeAt === null ? 0 : Math.ceil(ZGLUT.wakeAt - now - ZGLUT.lateness - 0.8);
      if (delay >= 1) {
        ZGLUT.firesAt = now + delay;
        ZGLUT.timer = setTimeout(ZGLUT.tick, delay);
      } else {
        ZGLUT.turnSoon();
      }
    },

    // Turns the loop as the next task, unless a timer is set meanwhile: a
    // message to a port of the page's own, which no timer clamp delays.
    turnSoon: function() {
      if (ZGLUT.posted) return;
      if (!ZGLUT.port) {
        var channel = new MessageChannel();
        channel.port1.onmessage = function() { ZGLUT.posted = false; if (!ZGLUT.timer) ZGLUT.tick(); };
        ZGLUT.port = channel.port2;
      }
      ZGLUT.posted = true;
      ZGLUT.port.postMessage(0);
    },

    // Draws the frame a step asked for, at the animation frame. A step due
    // meanwhile runs before and after the drawing instead of waiting for
    // the browser to finish the frame.
    // Without a context nothing is drawn; the frame waits for its return.
    drawFrame: function() {
      ZGLUT.frameRequested = false;
      if (!ZGLUT.redisplayPending || ZGLUT.lost) return;
      if (ZGLUT.pausedSince === null && ZGLUT.callbacks.idle) ZGLUT.idle();
      ZGLUT.redisplayPending = false;
      ZGLUT.frames++;
      ZGLUT.call('display', []);
      if (ZGLUT.pausedSince === null && ZGLUT.callbacks.idle) ZGLUT.idle();
    },

    // Asks for the display callback at the next animation frame.
    requestFrame: function() {
      ZGLUT.redisplayPending = true;
      if (!ZGLUT.frameRequested) { ZGLUT.frameRequested = true; requestAnimationFrame(ZGLUT.drawFrame); }
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

    // The press and release of the game key named as a key event names it
    // ('ArrowLeft', ' ', 'z'): the callback and key code of each, the arrows
    // as special keys and one character as a character key; null for others.
    keyOf: function(name) {
      var arrows = { ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103 };
      if (name in arrows) return { down: ['special', arrows[name]], up: ['specialUp', arrows[name]] };
      if (name.length !== 1 || name.charCodeAt(0) >= 256) return null;
      var code = name.charCodeAt(0);
      return { down: ['keyboard', code], up: ['keyboardUp', code] };
    },

    // `holder` takes the game key `key` (from keyOf); the game hears the
    // press unless another holder has it already. Both cases of a letter
    // are one game key.
    press: function(holder, key) {
      if (ZGLUT.holders.has(holder)) return;
      var name = key.up[0] + ':' + String.fromCharCode(key.up[1]).toLowerCase();
      var other = ZGLUT.holding(name);
      if (!other) ZGLUT.call(key.down[0], [key.down[1], 0, 0]);
      ZGLUT.holders.set(holder, { name: name, up: other ? other.up : key.up });
    },

    // `holder` lets its game key go; the game hears the release (of the
    // key it heard pressed) when no other holder has it. False when the
    // holder held nothing.
    release: function(holder) {
      var held = ZGLUT.holders.get(holder);
      if (!held) return false;
      ZGLUT.holders.delete(holder);
      if (!ZGLUT.holding(held.name)) ZGLUT.call(held.up[0], [held.up[1], 0, 0]);
      return true;
    },

    // What a holder of the game key `name` holds ({ name, up }), or undefined.
    holding: function(name) {
      return Array.from(ZGLUT.holders.values()).find(function(held) { return held.name === name; });
    },

    // Lets go of everything the holders whose names start with `kind` hold.
    releaseAll: function(kind) {
      Array.from(ZGLUT.holders.keys()).forEach(function(holder) {
        if (holder.indexOf(kind) === 0) ZGLUT.release(holder);
      });
    },

    // Key down and up on the canvas. A key down with Ctrl, Alt or Meta is
    // the browser's shortcut, not the game's; the key up of a key the game
    // holds is always the game's, whatever modifiers went down meanwhile.
    // Keys still held when the page or the canvas loses the keyboard are
    // let go.
    listen: function(canvas) {
      ZGLUT.holders = new Map();
      canvas.addEventListener('keydown', function(event) {
        var key = ZGLUT.keyOf(event.key);
        if (!key || event.ctrlKey || event.metaKey || event.altKey) return;
        event.preventDefault();
        var holder = 'key:' + (event.code || event.key);
        if (!ZGLUT.holders.has(holder)) ZGLUT.press(holder, key);
        else if (!ZGLUT.ignoreRepeat) ZGLUT.call(key.down[0], [key.down[1], 0, 0]);
      });
      canvas.addEventListener('keyup', function(event) {
        if (ZGLUT.release('key:' + (event.code || event.key))) event.preventDefault();
      });
      var letGo = function() { ZGLUT.releaseAll('key:'); };
      canvas.addEventListener('blur', letGo);
      window.addEventListener('blur', letGo);
      document.addEventListener('visibilitychange', ZGLUT.visibility);
      canvas.addEventListener('webglcontextlost', ZGLUT.contextLost);
      canvas.addEventListener('webglcontextrestored', ZGLUT.contextRestored);
      new ResizeObserver(ZGLUT.resize).observe(canvas);
      window.addEventListener('resize', ZGLUT.resize);
    },

    // The drawing area follows the canvas's size on the page, in the
    // device's pixels.
    resize: function() {
      var canvas = Module['canvas'], box = canvas.getBoundingClientRect();
      var ratio = window.devicePixelRatio || 1;
      var width = Math.round(box.width * ratio), height = Math.round(box.height * ratio);
      if (width === ZGLUT.width && height === ZGLUT.height) return;
      canvas.width = ZGLUT.width = width;
      canvas.height = ZGLUT.height = height;
      ZGLUT.reshapePending = true;
      ZGLUT.requestFrame();
    },

    // Hidden or without a context the timer stops and the clock stands;
    // shown with a context again, both go on.
    pause: function() {
      var paused = document.hidden || ZGLUT.lost;
      if (paused && ZGLUT.pausedSince === null) {
        ZGLUT.pausedSince = performance.now();
        clearTimeout(ZGLUT.timer);
        ZGLUT.timer = 0;
        ZGLUT.firesAt = null;
      } else if (!paused && ZGLUT.pausedSince !== null) {
        ZGLUT.pausedTotal += performance.now() - ZGLUT.pausedSince;
        ZGLUT.pausedSince = null;
        if (ZGLUT.callbacks.idle && !ZGLUT.timer) ZGLUT.timer = setTimeout(ZGLUT.tick, 0);
      }
    },

    // A hidden page has no keyboard and no fingers on it: all is let go.
    visibility: function() {
      if (document.hidden) ZGLUT.releaseAll('');
      ZGLUT.pause();
    },

    // The browser took the context: it may give it back (so the default is
    // prevented), and the game pauses until then.
    contextLost: function(event) {
      event.preventDefault();
      ZGLUT.lost = true;
      ZGLUT.pause();
    },

    // The context is back: the layer rebuilds what it had in it, and the
    // frame is drawn again from the world as it was.
    contextRestored: function() {
      ZGL.restore(Module['canvas'].getContext('webgl'));
      ZGLUT.lost = false;
      ZGLUT.pause();
      ZGLUT.requestFrame();
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
  glutCreateWindow__deps: ['$ZGL', '$ZPAGE'],
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
    ZPAGE.start(canvas);
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
  glutPostRedisplay: function() { ZGLUT.requestFrame(); },
  // The page's own loop runs the game from here on; main returns to it.
  glutMainLoop: function() {
    ZGLUT.pause();
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
