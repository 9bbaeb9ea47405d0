// SPDX-License-Identifier: MIT
// The page's controls, where the device's main pointer is coarse (a touch
// screen): the on-screen buttons of index.html (#controls, each naming the
// key it stands for in data-key) and the view fitted beside them.
//
// A button holds its key while a finger (or a pen or mouse button) is on
// it, through the holds of glut.js, so the game hears the same key presses
// and releases as from the keyboard. Each finger holds the button it went
// down on; lifting it, sliding it off or the browser cancelling the touch
// lets go. A button pressed with no pointer on it (a screen reader, the
// keyboard) holds its key for a moment.
//
// The canvas takes the largest square of whole device pixels that fits the
// page's #view; where the pointer is fine it keeps the window's size.

var LibraryZarvelPage = {
  $ZPAGE: {
    CLICK_MS: 150, // how long a button pressed without a pointer holds its key
    coarse: null, // the media query of a coarse main pointer
    view: null, // the page's #view, the room the canvas fits in
    windowSize: '', // the canvas's CSS side where the pointer is fine ('600px')
    fitted: false, // the canvas is sized to the view

    // Sets the buttons and the fitting of the view going, when the page has
    // them.
    start: function(canvas) {
      var controls = document.getElementById('controls');
      ZPAGE.view = document.getElementById('view');
      if (!controls || !ZPAGE.view) return;
      ZPAGE.windowSize = canvas.style.width;
      ZPAGE.coarse = window.matchMedia('(pointer: coarse)');
      controls.querySelectorAll('button[data-key]').forEach(ZPAGE.button);
      // With a coarse pointer nothing over the game scrolls, zooms or opens
      // a menu, and a touch makes no mouse events.
      var prevent = function(event) { if (ZPAGE.coarse.matches) event.preventDefault(); };
      ['touchstart', 'touchmove', 'gesturestart', 'contextmenu'].forEach(function(type) {
        ZPAGE.view.parentNode.addEventListener(type, prevent, { passive: false });
      });
      // A mouse on a button leaves the keyboard with the canvas.
      controls.addEventListener('mousedown', prevent);
      ZPAGE.coarse.addEventListener('change', ZPAGE.fit);
      new ResizeObserver(ZPAGE.fit).observe(ZPAGE.view);
      window.addEventListener('resize', ZPAGE.fit);
      ZPAGE.fit();
    },

    // Makes one button hold its key while a pointer is on it.
    button: function(button) {
      var key = ZGLUT.keyOf(button.dataset.key);
      var released = false; // a pointer let the button go in this task
      button.addEventListener('pointerdown', function(event) {
        if (event.button !== 0) return;
        event.preventDefault();
        // A touch is captured by the element it starts on; without the
        // capture, a finger sliding off the button leaves it.
        if (button.hasPointerCapture(event.pointerId)) button.releasePointerCapture(event.pointerId);
        ZGLUT.press('pointer:' + event.pointerId, key);
      });
      ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
        button.addEventListener(type, function(event) {
          if (!ZGLUT.release('pointer:' + event.pointerId)) return;
          released = true;
          setTimeout(function() { released = false; }, 0);
        });
      });
      // The click that follows a mouse's release has been played already.
      button.addEventListener('click', function() {
        if (released) return;
        var holder = 'click:' + button.dataset.key;
        ZGLUT.press(holder, key);
        setTimeout(function() { ZGLUT.release(holder); }, ZPAGE.CLICK_MS);
      });
    },

    // Sizes the canvas: with a coarse pointer the largest square of whole
    // device pixels in the view; when the pointer turns fine, the window's
    // size in CSS pixels again.
    fit: function() {
      var canvas = Module['canvas'], size = ZPAGE.windowSize;
      if (ZPAGE.coarse.matches) {
        var ratio = window.devicePixelRatio || 1, box = ZPAGE.view.getBoundingClientRect();
        size = Math.max(1, Math.floor(Math.min(box.width, box.height) * ratio)) / ratio + 'px';
      } else if (!ZPAGE.fitted) {
        return;
      }
      ZPAGE.fitted = ZPAGE.coarse.matches;
      if (canvas.style.width === size && canvas.style.height === size) return;
      canvas.style.width = size;
      canvas.style.height = size;
    },
  },
};

autoAddDeps(LibraryZarvelPage, '$ZPAGE');
mergeInto(LibraryManager.library, LibraryZarvelPage);
