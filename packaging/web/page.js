// The page around the game (built into the head of quibbo.js): the game's folder, the settings
// kept in the browser, the canvas's place in the window, full screen, the quit view, levels
// dropped on the page, the bug report download, and window.Quibbo for players' tools and tests.
(function() {
  'use strict';
  var GAME = '/quibbo';    // the game's folder: the data file's content, the working folder
  var KEPT = '/persist';   // IndexedDB (IDBFS): what the browser keeps between visits
  var SETTINGS = 'quibbo.ini';

  function full(path) {
    return path.charAt(0) === '/' ? path : GAME + '/' + path;
  }

  function readBytes(path) {
    try {
      var found = FS.analyzePath(full(path));
      if (!found.exists || FS.isDir(found.object.mode)) return null;
      return FS.readFile(full(path));
    } catch (error) {
      return null;
    }
  }

  function writeFile(path, bytes) {
    var at = full(path);
    var folder = at.substring(0, at.lastIndexOf('/'));
    if (folder) FS.mkdirTree(folder);
    FS.writeFile(at, bytes);
  }

  function sameBytes(a, b) {
    if (!a || !b || a.length !== b.length) return false;
    for (var i = 0; i < a.length; ++i)
      if (a[i] !== b[i]) return false;
    return true;
  }

  // --- The settings: quibbo.ini goes to IndexedDB whenever it changed, and comes back from it
  // before the game starts.
  var keptSettings = null;
  var saving = Promise.resolve();

  function saveSettings() {
    saving = saving.then(function() {
      var now = readBytes(SETTINGS);
      if (!now || sameBytes(now, keptSettings)) return;
      FS.writeFile(KEPT + '/' + SETTINGS, now);
      return new Promise(function(resolve) {
        FS.syncfs(false, function(error) {
          if (error) console.warn('Quibbo: the settings could not be kept:', error);
          else keptSettings = now;
          resolve();
        });
      });
    });
    return saving;
  }

  function prepareFolder() {
    try { FS.mkdir(GAME); } catch (error) { /* the data file made it first */ }
    FS.mkdir(KEPT);
    FS.mount(IDBFS, {}, KEPT);
    FS.chdir(GAME);
    addRunDependency('quibbo-settings');
    FS.syncfs(true, function(error) {
      if (error) console.warn('Quibbo: no settings kept by this browser:', error);
      var kept = readBytes(KEPT + '/' + SETTINGS);
      if (kept) {
        FS.writeFile(GAME + '/' + SETTINGS, kept);
        keptSettings = kept;
      }
      removeRunDependency('quibbo-settings');
    });
  }

  // --- The bug report: logs/ (the game's logs and its recordings) and quibbo.ini, as one tar.
  function tarOf(entries) {
    var blocks = [];
    var encoder = new TextEncoder();
    function field(header, offset, length, text) {
      var bytes = encoder.encode(text);
      header.set(bytes.subarray(0, length), offset);
    }
    function octal(value, length) {
      var text = value.toString(8);
      while (text.length < length - 1) text = '0' + text;
      return text + '\0';
    }
    var now = Math.floor(Date.now() / 1000);
    entries.forEach(function(entry) {
      var header = new Uint8Array(512);
      field(header, 0, 100, entry.name);
      field(header, 100, 8, '0000644\0');
      field(header, 108, 8, '0000000\0');
      field(header, 116, 8, '0000000\0');
      field(header, 124, 12, octal(entry.bytes.length, 12));
      field(header, 136, 12, octal(now, 12));
      field(header, 148, 8, '        ');
      header[156] = 48; // '0': a file
      field(header, 257, 8, 'ustar\u000000');
      var sum = 0;
      for (var i = 0; i < 512; ++i) sum += header[i];
      field(header, 148, 8, octal(sum, 7) + ' ');
      blocks.push(header, entry.bytes);
      var padding = (512 - entry.bytes.length % 512) % 512;
      if (padding) blocks.push(new Uint8Array(padding));
    });
    blocks.push(new Uint8Array(1024));
    var length = blocks.reduce(function(total, block) { return total + block.length; }, 0);
    var tar = new Uint8Array(length);
    var at = 0;
    blocks.forEach(function(block) { tar.set(block, at); at += block.length; });
    return tar;
  }

  function filesUnder(folder, into) {
    var names;
    try { names = FS.readdir(full(folder)); } catch (error) { return into; }
    names.sort().forEach(function(name) {
      if (name === '.' || name === '..') return;
      var path = folder + '/' + name;
      if (FS.isDir(FS.stat(full(path)).mode)) filesUnder(path, into);
      else into.push(path);
    });
    return into;
  }

  function report() {
    var paths = filesUnder('logs', []);
    if (readBytes(SETTINGS)) paths.push(SETTINGS);
    return tarOf(paths.map(function(path) {
      return {name: 'quibbo-report/' + path, bytes: readBytes(path) || new Uint8Array(0)};
    }));
  }

  // --- The canvas in the window: as large as fits, the picture's shape kept, black bars.
  function fitCanvas() {
    var canvas = document.getElementById('screen');
    var scale = Math.min(window.innerWidth / canvas.width, window.innerHeight / canvas.height);
    canvas.style.width = Math.floor(canvas.width * scale) + 'px';
    canvas.style.height = Math.floor(canvas.height * scale) + 'px';
  }

  // --- Full screen: Escape stays the game's (the quit question) through Keyboard Lock;
  // holding it leaves full screen, as the browser does.
  function enterFullScreen() {
    var page = document.documentElement;
    if (!page.requestFullscreen) return;
    page.requestFullscreen({navigationUI: 'hide'}).then(function() {
      if (navigator.keyboard && navigator.keyboard.lock)
        return navigator.keyboard.lock(['Escape']);
    }).catch(function(error) {
      console.warn('Quibbo: no full screen:', error);
    });
  }

  function switchFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else enterFullScreen();
  }

  function showNote(text) {
    var note = document.getElementById('note');
    note.textContent = text;
    note.classList.add('shown');
    clearTimeout(showNote.timer);
    showNote.timer = setTimeout(function() { note.classList.remove('shown'); }, 4000);
  }

  // --- A level file dropped on the page goes into levels/, where Custom Level finds it.
  function takeDrop(event) {
    event.preventDefault();
    var files = event.dataTransfer ? Array.prototype.slice.call(event.dataTransfer.files) : [];
    files.forEach(function(file) {
      var name = file.name.replace(/^.*[\\\/]/, '');
      if (!/\.lev$/i.test(name)) {
        showNote(name + ' is not a level file (.lev)');
        return;
      }
      file.arrayBuffer().then(function(buffer) {
        writeFile('levels/' + name, new Uint8Array(buffer));
        showNote(name + ' added: Custom Level lists it');
      });
    });
  }

  function ended() {
    Module.quibboEnded = true;
    window.Quibbo.status = 'ended';
    document.getElementById('ended').classList.add('shown');
    document.body.classList.add('ended');
    if (document.fullscreenElement) document.exitFullscreen();
    saveSettings();
  }

  window.Quibbo = {
    status: 'loading',
    framesShown: 0,
    frameTime: 0,
    readBytes: readBytes,
    readText: function(path) {
      var bytes = readBytes(path);
      return bytes ? new TextDecoder().decode(bytes) : null;
    },
    writeFile: writeFile,
    saved: saveSettings,
    report: report,
  };

  Module.preRun = Module.preRun || [];
  Module.preRun.push(prepareFolder);
  Module.onRuntimeInitialized = function() {
    window.Quibbo.status = 'running';
    document.getElementById('loading').classList.remove('shown');
  };
  Module.onExit = ended;
  Module.onAbort = function(what) {
    document.getElementById('ended-text').textContent = 'The game stopped: ' + what;
    ended();
  };
  Module.setStatus = function(text) {
    var loading = document.getElementById('loading');
    if (loading && window.Quibbo.status === 'loading') loading.textContent = text || 'Loading…';
  };
  Module.fitCanvas = fitCanvas;
  Module.switchFullScreen = switchFullScreen;

  window.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', function() {
    if (!document.fullscreenElement && navigator.keyboard && navigator.keyboard.unlock)
      navigator.keyboard.unlock();
    fitCanvas();
  });
  document.addEventListener('visibilitychange', function() {
    if (document.visibilityState === 'hidden') saveSettings();
  });
  window.addEventListener('pagehide', saveSettings);
  setInterval(function() {
    if (window.Quibbo.status === 'running') saveSettings();
  }, 1000);
  document.addEventListener('dragover', function(event) { event.preventDefault(); });
  document.addEventListener('drop', takeDrop);
  document.getElementById('fullscreen').addEventListener('click', function(event) {
    event.currentTarget.blur();
    enterFullScreen();
  });
  document.getElementById('again').addEventListener('click', function() {
    saveSettings().then(function() { location.reload(); });
  });
  document.getElementById('report').addEventListener('click', function(event) {
    var link = event.currentTarget;
    if (link.href && link.href.indexOf('blob:') === 0) URL.revokeObjectURL(link.href);
    var stamp = new Date().toISOString().replace(/[-:]/g, '').replace(/\..*$/, '');
    link.href = URL.createObjectURL(new Blob([report()], {type: 'application/x-tar'}));
    link.download = 'quibbo-report-' + stamp + '.tar';
    link.blur();
  });
  // The buttons show for a while at the start and whenever the mouse moves, so that they do not
  // lie over the score and the lives during play.
  var bar = document.getElementById('bar'), barSleep = 0;
  function wakeBar(seconds) {
    bar.classList.add('awake');
    clearTimeout(barSleep);
    barSleep = setTimeout(function() { bar.classList.remove('awake'); }, seconds * 1000);
  }
  document.addEventListener('mousemove', function() { wakeBar(2.5); });
  wakeBar(5);
  fitCanvas();
})();
