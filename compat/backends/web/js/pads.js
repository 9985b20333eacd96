// The Gamepad API for the pads (WebPad.cpp): the standard gamepads' buttons and axes as ints.
mergeInto(LibraryManager.library, {
  $QuibboPads: {
    // The gamepads already told about in the console as not of the standard mapping.
    told: {},
  },
  quibbo_pads_read__deps: ['$QuibboPads'],
  quibbo_pads_read: function(out, count) {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var ints = 24;
    var scale = function(value) {
      return Math.max(-32768, Math.min(32767, Math.round((+value || 0) * 32767)));
    };
    var read = 0;
    for (var i = 0; pads && i < pads.length && read < count; ++i) {
      var pad = pads[i];
      if (!pad || !pad.connected || pad.index >= count) continue;
      if (pad.mapping !== 'standard') {
        if (!QuibboPads.told[pad.id]) {
          QuibboPads.told[pad.id] = true;
          console.info('quibbo: the gamepad "' + pad.id +
                       '" has no standard mapping in this browser; it is ignored');
        }
        continue;
      }
      var at = (out >> 2) + read * ints;
      HEAP32[at] = pad.index;
      for (var b = 0; b < 17; ++b) {
        var button = pad.buttons[b];
        HEAP32[at + 1 + b] = button && button.pressed ? 1 : 0;
      }
      HEAP32[at + 18] = pad.buttons[6] ? Math.max(0, scale(pad.buttons[6].value)) : 0;
      HEAP32[at + 19] = pad.buttons[7] ? Math.max(0, scale(pad.buttons[7].value)) : 0;
      for (var a = 0; a < 4; ++a) HEAP32[at + 20 + a] = scale(pad.axes[a]);
      ++read;
    }
    return read;
  },
});
