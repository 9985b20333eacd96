// The page's input for the game: its key and pointer events wait in a queue until the game's
// next peek takes them (PumpEvents in WebEvents.cpp), on the page's one thread.
mergeInto(LibraryManager.library, {
  $QuibboEvents: {
    queue: [],
    listening: false,
    // The codes of the keys held down, to let them go when the page loses the keyboard.
    held: {},
    push: function(event) {
      // A game that stopped taking events (it ended) does not make the queue grow for ever.
      if (QuibboEvents.queue.length < 4096) QuibboEvents.queue.push(event);
    },
  },

  quibbo_web_listen__deps: ['$QuibboEvents'],
  quibbo_web_listen: function() {
    if (QuibboEvents.listening) return;
    QuibboEvents.listening = true;
    var canvas = document.getElementById('screen');
    // The mode's pixel under the pointer: the canvas's own pixels are the mode's.
    function modePixel(event) {
      var box = canvas.getBoundingClientRect();
      if (box.width <= 0 || box.height <= 0) return [0, 0];
      return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
              Math.floor((event.clientY - box.top) * canvas.height / box.height)];
    }
    // Keys the browser would act on itself (scrolling, moving the focus, finding as you type)
    // are the game's alone; with Ctrl or Meta, and F5, F11 and F12, they stay the browser's.
    function gameOnly(event) {
      return !(event.ctrlKey || event.metaKey) && !/^F(5|11|12)$/.test(event.code);
    }
    function key(type) {
      return function(event) {
        if (Module.quibboEnded) return;
        if (gameOnly(event)) event.preventDefault();
        if (type === 1) QuibboEvents.held[event.code] = event.key;
        else delete QuibboEvents.held[event.code];
        QuibboEvents.push({type: type, x: 0, y: 0,
                           flags: (event.altKey ? 1 : 0) | (event.repeat ? 2 : 0),
                           code: event.code || '', key: event.key || ''});
      };
    }
    window.addEventListener('keydown', key(1), true);
    window.addEventListener('keyup', key(2), true);
    // A key let go while the page had not the keyboard never comes up: let go of them all.
    window.addEventListener('blur', function() {
      for (var code in QuibboEvents.held)
        QuibboEvents.push({type: 2, x: 0, y: 0, flags: 0, code: code,
                           key: QuibboEvents.held[code]});
      QuibboEvents.held = {};
    });
    window.addEventListener('mousemove', function(event) {
      var at = modePixel(event);
      QuibboEvents.push({type: 3, x: at[0], y: at[1], flags: 0, code: '', key: ''});
    });
    function button(type) {
      return function(event) {
        if (event.button !== 0 || Module.quibboEnded) return;
        var at = modePixel(event);
        QuibboEvents.push({type: type, x: at[0], y: at[1], flags: (event.detail || 1) << 8,
                           code: '', key: ''});
      };
    }
    canvas.addEventListener('mousedown', function(event) {
      // No text selection, no dragging of the picture.
      event.preventDefault();
      button(4)(event);
    });
    window.addEventListener('mouseup', button(5));
    canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
  },

  // Fills a WebEvent (WebPage.h): type, x, y and flags, then code (32 bytes) and key (16).
  quibbo_web_next_event__deps: ['$QuibboEvents'],
  quibbo_web_next_event: function(pointer) {
    var event = QuibboEvents.queue.shift();
    if (!event) return 0;
    HEAP32[pointer >> 2] = event.type;
    HEAP32[(pointer >> 2) + 1] = event.x;
    HEAP32[(pointer >> 2) + 2] = event.y;
    HEAP32[(pointer >> 2) + 3] = event.flags;
    stringToUTF8(event.code, pointer + 16, 32);
    stringToUTF8(event.key, pointer + 48, 16);
    return 1;
  },
});
