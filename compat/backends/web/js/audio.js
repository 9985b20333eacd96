// Web Audio for the audio contract (WebAudio.cpp): the page's timer pulls the game's mix and
// schedules it on one AudioContext, made at the player's first key or click.
mergeInto(LibraryManager.library, {
  $QuibboAudio__postset: 'Module["audio"] = QuibboAudio;',
  $QuibboAudio: {
    // A period of 1024 frames (23 ms at 44100 Hz); about 100 ms scheduled ahead covers a late
    // timer or a slow frame of the game. A hidden tab's timers may come once a second: there
    // latency does not matter, and the mix is scheduled far enough ahead to play on.
    periodFrames: 1024,
    aheadSeconds: 0.1,
    hiddenAheadSeconds: 1.5,
    pumpEveryMs: 20,
    // A stall longer than this is dropped from the mix at most: a sound started before it still
    // ends in time, and catching up costs no more than a second's mixing.
    longestDropSeconds: 1,
    devices: [],
    context: null,
    listening: false,
    // What the devices have scheduled and dropped so far, in frames, and how often the playing
    // context ran out of scheduled sound (for players' tools and tests).
    scheduledFrames: 0,
    droppedFrames: 0,
    underruns: 0,

    // The player's first key or click (a key-down that gives the page no user activation, such
    // as Escape, does not count: a context made then would stay silent and warn).
    wake: function() {
      if (navigator.userActivation && !navigator.userActivation.isActive) return;
      var rate = QuibboAudio.devices.length ? QuibboAudio.devices[0].rate : 44100;
      var AudioContextType = window.AudioContext || window.webkitAudioContext;
      if (!QuibboAudio.context && AudioContextType) {
        try {
          QuibboAudio.context = new AudioContextType({sampleRate: rate});
        } catch (e) {
          // A browser that cannot run a context at the mix's rate converts each buffer.
          QuibboAudio.context = new AudioContextType();
        }
      }
      var context = QuibboAudio.context;
      if (context && context.state === 'suspended') {
        context.resume().catch(function() {});
      }
    },

    listen: function() {
      if (QuibboAudio.listening) return;
      QuibboAudio.listening = true;
      // Kept for the page's life: a context the browser suspends later (another tab took the
      // output, a phone call) resumes at the next key or click.
      ['keydown', 'pointerdown', 'mousedown', 'touchend'].forEach(function(type) {
        window.addEventListener(type, QuibboAudio.wake, {capture: true, passive: true});
      });
    },

    // Mixes `frames` frames and drops them, a period at a time.
    drop: function(device, frames) {
      while (frames > 0) {
        var now = Math.min(frames, QuibboAudio.periodFrames);
        _quibbo_audio_mix(device.pointer, now);
        frames -= now;
        QuibboAudio.droppedFrames += now;
      }
    },

    schedule: function(device, context) {
      var frames = QuibboAudio.periodFrames;
      var at = _quibbo_audio_mix(device.pointer, frames) >> 1;
      var buffer = context.createBuffer(2, frames, device.rate);
      var left = buffer.getChannelData(0);
      var right = buffer.getChannelData(1);
      for (var i = 0; i < frames; ++i) {
        left[i] = HEAP16[at + 2 * i] / 32768;
        right[i] = HEAP16[at + 2 * i + 1] / 32768;
      }
      var source = context.createBufferSource();
      source.buffer = buffer;
      source.connect(context.destination);
      source.start(device.frame / device.rate);
      device.sources.push({source: source, end: (device.frame + frames) / device.rate});
      device.frame += frames;
      device.scheduled = true;
      QuibboAudio.scheduledFrames += frames;
    },

    // Brings one device's mix up to now, and while the context plays, a little past it. Its
    // clock is the context's while that runs, else the page's.
    pump: function(device) {
      var context = QuibboAudio.context;
      var playing = !!context && context.state === 'running';
      var now = playing ? context.currentTime : performance.now() / 1000;
      var frameNow = Math.floor(now * device.rate);
      if (playing !== device.playing) {
        device.playing = playing;
        device.frame = frameNow;
        device.scheduled = false;
      }
      // Behind (before the first click, a stalled page, a throttled tab): what was not played is
      // dropped from the mix, so sounds keep their time.
      if (device.frame < frameNow) {
        var late = frameNow - device.frame;
        QuibboAudio.drop(device, Math.min(late, Math.round(QuibboAudio.longestDropSeconds * device.rate)));
        device.frame = frameNow;
      }
      if (!playing) return;
      while (device.sources.length && device.sources[0].end <= now) device.sources.shift();
      var ahead = document.hidden ? QuibboAudio.hiddenAheadSeconds : QuibboAudio.aheadSeconds;
      // The first period goes out a little after now, never at a time already past.
      if (!device.sources.length) {
        if (device.scheduled) ++QuibboAudio.underruns;
        device.frame = Math.max(device.frame, frameNow + 256);
      }
      while (device.frame < (now + ahead) * device.rate) QuibboAudio.schedule(device, context);
    },

    find: function(pointer) {
      for (var i = 0; i < QuibboAudio.devices.length; ++i)
        if (QuibboAudio.devices[i].pointer === pointer) return i;
      return -1;
    },
  },

  quibbo_audio_open__deps: ['$QuibboAudio'],
  quibbo_audio_open: function(pointer, rate) {
    QuibboAudio.devices.push(
        {pointer: pointer, rate: rate, timer: 0, frame: 0, playing: false, scheduled: false, sources: []});
    QuibboAudio.listen();
  },

  quibbo_audio_start__deps: ['$QuibboAudio'],
  quibbo_audio_start: function(pointer) {
    var device = QuibboAudio.devices[QuibboAudio.find(pointer)];
    if (!device || device.timer) return;
    device.playing = null;
    QuibboAudio.pump(device);
    device.timer = setInterval(function() { QuibboAudio.pump(device); }, QuibboAudio.pumpEveryMs);
  },

  quibbo_audio_close__deps: ['$QuibboAudio'],
  quibbo_audio_close: function(pointer) {
    var index = QuibboAudio.find(pointer);
    if (index < 0) return;
    var device = QuibboAudio.devices[index];
    if (device.timer) clearInterval(device.timer);
    // What is scheduled stops with the device: nothing plays once it is closed.
    device.sources.forEach(function(each) {
      try {
        each.source.stop();
      } catch (e) {
      }
    });
    QuibboAudio.devices.splice(index, 1);
  },
});
