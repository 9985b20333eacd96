// The page's canvas for the game's frames: its pixels are the display mode's; the page scales it
// to the window (packaging/web/page.js).
mergeInto(LibraryManager.library, {
  $QuibboCanvas: {
    context: null,
    image: null,
    pointer: 0,
    rate: 0,
    measuring: false,
    // The display's frame rate, from the intervals of the first animation frames.
    measure: function() {
      if (QuibboCanvas.measuring) return;
      QuibboCanvas.measuring = true;
      var times = [];
      function step(time) {
        times.push(time);
        if (times.length < 31) {
          requestAnimationFrame(step);
          return;
        }
        var gaps = [];
        for (var i = 1; i < times.length; ++i) gaps.push(times[i] - times[i - 1]);
        gaps.sort(function(a, b) { return a - b; });
        var middle = gaps[gaps.length >> 1];
        if (middle > 0) QuibboCanvas.rate = Math.round(1000 / middle);
      }
      requestAnimationFrame(step);
    },
  },

  quibbo_web_show_canvas__deps: ['$QuibboCanvas'],
  quibbo_web_show_canvas: function(width, height, title, pointerShown) {
    var canvas = document.getElementById('screen');
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    QuibboCanvas.context = canvas.getContext('2d', {alpha: false});
    QuibboCanvas.image = null;
    QuibboCanvas.context.fillStyle = '#000';
    QuibboCanvas.context.fillRect(0, 0, width, height);
    document.title = UTF8ToString(title);
    canvas.style.cursor = pointerShown ? '' : 'none';
    if (Module.fitCanvas) Module.fitCanvas();
    QuibboCanvas.measure();
  },

  quibbo_web_show_pointer: function(shown) {
    document.getElementById('screen').style.cursor = shown ? '' : 'none';
  },

  quibbo_web_put__deps: ['$QuibboCanvas'],
  quibbo_web_put: function(rgba, width, height, x, y, w, h) {
    var c = QuibboCanvas;
    if (!c.context) return;
    // The whole frame's pixels in the program's memory, without a copy; made again when the
    // memory grew (a new buffer) or the frame moved.
    if (!c.image || c.image.data.buffer !== HEAPU8.buffer || c.pointer !== rgba ||
        c.image.width !== width || c.image.height !== height) {
      c.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4),
                              width, height);
      c.pointer = rgba;
    }
    c.context.putImageData(c.image, 0, 0, x, y, w, h);
  },

  // Hands the time to the page until its next animation frame, or a tenth of a second where
  // none comes (the page hidden meanwhile). The game's own callback wakes it, as
  // emscripten_sleep's does, so that the program's end after it ends the page's program too.
  quibbo_web_wait_for_frame__deps: ['$callUserCallback', '$runtimeKeepalivePush',
                                    '$runtimeKeepalivePop'],
  quibbo_web_wait_for_frame: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      {{{ runtimeKeepalivePush() }}}
      var frame = 0;
      var timer = 0;
      function woken(time) {
        clearTimeout(timer);
        cancelAnimationFrame(frame);
        {{{ runtimeKeepalivePop() }}}
        if (window.Quibbo) {
          window.Quibbo.framesShown++;
          // The animation frame's own time (when the browser shows it), not when this ran.
          window.Quibbo.frameTime = time === undefined ? performance.now() : time;
        }
        callUserCallback(wakeUp);
      }
      timer = setTimeout(function() { woken(); }, 100);
      frame = requestAnimationFrame(woken);
    });
  },

  quibbo_web_visible: function() {
    return document.visibilityState === 'hidden' ? 0 : 1;
  },

  quibbo_web_refresh_rate__deps: ['$QuibboCanvas'],
  quibbo_web_refresh_rate: function() {
    return QuibboCanvas.rate;
  },

  quibbo_web_screen_size: function(width, height) {
    HEAP32[width >> 2] = window.screen.width;
    HEAP32[height >> 2] = window.screen.height;
  },

  quibbo_web_switch_full_screen: function() {
    if (Module.switchFullScreen) Module.switchFullScreen();
  },
});
