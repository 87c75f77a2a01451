// The page side of the browser backend: canvas, input events, Web Audio and
// the saved files. Runs inside the module, before the game starts.
var Volleen = (function() {
  var GameFolder = '/volleen';
  var Width = 640;
  var Height = 480;

  var screen = null;    // 640 x 480, the game's picture as it is
  var picture = null;   // its 2D context
  var view = null;      // the canvas on the page, enlarged
  var viewContext = null;
  var captureWanted = false;
  var keySet1 = new Map();
  var audio = null;
  var audioState = {blocks: 0, loudBlocks: 0};
  var mixBuffer = 0;
  var mixSize = 0;
  var shipped = new Set();
  var saving = false;
  var saveAgain = false;
  var saveTimer = null;
  var channel = new MessageChannel();
  var pending = [];

  var untilInput = false;  // the next wait ends early on input
  var sleeper = null;      // ends the wait in progress, when input may

  // A timer set from a message handler is not a nested timer, so the browser
  // keeps it to the millisecond instead of its 4 ms floor.
  channel.port1.onmessage = function() {
    var next = pending.shift();
    var done = false;
    var timer = 0;
    var wake = function() {
      if (done) return;
      done = true;
      clearTimeout(timer);
      if (sleeper === wake) sleeper = null;
      next.wakeUp();
    };
    timer = setTimeout(wake, next.ms);
    if (next.untilInput) sleeper = wake;
  };

  function wait(ms, wakeUp) {
    pending.push({ms: ms, wakeUp: wakeUp, untilInput: untilInput});
    untilInput = false;
    channel.port2.postMessage(0);
  }

  // The player did something: a screen waiting for that goes on now, after
  // the event has reached the game.
  function inputArrived() {
    var wake = sleeper;
    if (wake) Promise.resolve().then(wake);
  }

  // --- picture -----------------------------------------------------------

  // The picture is enlarged by the largest whole multiple that fits, with
  // sharp pixels, then smoothly to the largest 4:3 rectangle the page has.
  function layout() {
    if (!view) return;
    var stage = view.parentElement;
    var room = stage.getBoundingClientRect();
    var ratio = window.devicePixelRatio || 1;
    var fit = Math.min(room.width / Width, room.height / Height);
    var cssWidth = Math.max(1, Math.floor(Width * fit));
    var cssHeight = Math.max(1, Math.floor(Height * fit));
    var multiple = Math.max(1, Math.floor(fit * ratio));
    view.style.width = cssWidth + 'px';
    view.style.height = cssHeight + 'px';
    if (view.width !== Width * multiple || view.height !== Height * multiple) {
      view.width = Width * multiple;
      view.height = Height * multiple;
    }
    view.style.imageRendering = Width * multiple >= cssWidth * ratio ? 'auto' : 'pixelated';
    repaint();
  }

  function repaint() {
    if (!viewContext) return;
    viewContext.imageSmoothingEnabled = false;
    viewContext.drawImage(screen, 0, 0, view.width, view.height);
  }

  function show(rgba, width, height) {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    picture.putImageData(new ImageData(bytes, width, height), 0, 0);
    repaint();
  }

  function blank() {
    picture.fillStyle = '#000';
    picture.fillRect(0, 0, Width, Height);
    repaint();
  }

  function toggleFullScreen() {
    var stage = document.getElementById('stage');
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function() {});
    }
  }

  // --- input -------------------------------------------------------------

  function locked() { return document.pointerLockElement === view; }

  function lockPointer() {
    if (!captureWanted || locked() || !view.requestPointerLock) return;
    var asked = view.requestPointerLock();
    if (asked && asked.catch) asked.catch(function() {});
  }

  // Keys the browser must keep for itself: reload. (F12 is the game's
  // screenshot here, as in the window.)
  var BrowserKeys = new Set(['F5']);

  // F12: the picture as the player sees it, downloaded as a PNG.
  function screenshot() {
    var stamp = new Date().toISOString().slice(0, 19).replace('T', '_').replace(/:/g, '-');
    screen.toBlob(function(blob) {
      if (!blob) return;
      var link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = 'volleen_' + stamp + '.png';
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function() { URL.revokeObjectURL(link.href); }, 1000);
    }, 'image/png');
  }

  // Keys typed into the page's own fields and buttons are theirs.
  function pageControl(target) {
    return !!(target && target.closest && target.closest('input, textarea, select, button, a[href]'));
  }

  function onKey(event, down) {
    var set1 = keySet1.get(event.code);
    if (set1 === undefined || pageControl(event.target)) return;
    if (!BrowserKeys.has(event.code) && !event.ctrlKey && !event.metaKey) {
      // The game's keys never scroll, move the focus or open menus.
      event.preventDefault();
    }
    if (down && !event.repeat && event.code === 'F12') screenshot();
    if (down && !event.repeat && event.altKey &&
        (event.code === 'Enter' || event.code === 'NumpadEnter')) {
      toggleFullScreen();
    }
    // The player's layout: what this key types, learnt before the game reads it.
    if (down && event.key && event.key.length === 1 && !event.ctrlKey && !event.altKey &&
        !event.metaKey && Module['_volleen_key_label']) {
      Module['_volleen_key_label'](set1, event.key.charCodeAt(0));
    }
    if (Module['_volleen_key']) Module['_volleen_key'](set1, down ? 1 : 0);
    inputArrived();
  }

  function installInput() {
    for (var i = 0;; ++i) {
      var name = Module['_volleen_key_code'](i);
      if (!name) break;
      keySet1.set(UTF8ToString(name), Module['_volleen_key_set1'](i));
    }
    window.addEventListener('keydown', function(e) { onKey(e, true); });
    window.addEventListener('keyup', function(e) { onKey(e, false); });
    // A player who looks away (another window, another tab) pauses a match.
    window.addEventListener('blur', function() {
      Module['_volleen_keys_released']();
      Module['_volleen_away'](1);
    });
    window.addEventListener('focus', function() { Module['_volleen_away'](document.hidden ? 1 : 0); });
    document.addEventListener('visibilitychange', function() {
      Module['_volleen_away'](document.hidden ? 1 : 0);
    });
    view.addEventListener('mousedown', function(e) {
      lockPointer();
      Module['_volleen_mouse_button'](ButtonIndex(e.button), 1);
      inputArrived();
    });
    window.addEventListener('mouseup', function(e) {
      Module['_volleen_mouse_button'](ButtonIndex(e.button), 0);
    });
    // Held, the pointer moves the game; free, only motion over the picture does.
    document.addEventListener('mousemove', function(e) {
      if (!captureWanted) return;
      if (!locked() && e.target !== view) return;
      Module['_volleen_mouse_motion'](e.movementX | 0, e.movementY | 0);
    });
    view.addEventListener('wheel', function(e) {
      e.preventDefault();
      if (e.deltaY !== 0) Module['_volleen_mouse_wheel'](e.deltaY < 0 ? 1 : -1);
    }, {passive: false});
    view.addEventListener('contextmenu', function(e) { e.preventDefault(); });
  }

  // The browser's numbering: 0 left, 1 middle, 2 right, 3 back; the game's:
  // left, right, middle, then the first extra button.
  var GameButtons = [0, 2, 1, 3];
  function ButtonIndex(button) {
    return button >= 0 && button < GameButtons.length ? GameButtons[button] : -1;
  }

  function pointer(capture) {
    captureWanted = !!capture;
    view.style.cursor = captureWanted ? 'none' : 'default';
    if (!captureWanted && locked()) document.exitPointerLock();
  }

  // --- gamepads ------------------------------------------------------------

  // A pad keeps its number while it stays plugged in; the next pad plugged
  // in takes a free number. The browser's standard layout, in the game's
  // order of buttons (A, B, X, Y, Back, Guide, Start, the sticks, the
  // shoulders, the pad's four directions); the triggers are axes.
  var padNumbers = [null, null];
  var PadButtons = [0, 1, 2, 3, 8, 16, 9, 10, 11, 4, 5, 12, 13, 14, 15];
  // The browser tells only how a pad is now, so while one is plugged in the
  // page looks at the pads every few milliseconds, and a button pressed and
  // let go between two of the game's reads still reaches the game, once.
  var PadWatchMs = 8;
  var padWatch = 0;
  var padHeld = [0, 0];     // the game's buttons each pad held when last looked at
  var padPressed = [0, 0];  // the buttons gone down since the game last read the pad

  function numberPads() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var present = [];
    for (var i = 0; i < pads.length; ++i) {
      if (pads[i] && pads[i].connected) present.push(pads[i].index);
    }
    for (var n = 0; n < padNumbers.length; ++n) {
      if (padNumbers[n] !== null && present.indexOf(padNumbers[n]) < 0) {
        padNumbers[n] = null;
        padHeld[n] = padPressed[n] = 0;
      }
    }
    present.forEach(function(index) {
      if (padNumbers.indexOf(index) >= 0) return;
      var free = padNumbers.indexOf(null);
      if (free >= 0) padNumbers[free] = index;
    });
    return pads;
  }

  function watchPads() {
    var pads = numberPads();
    var any = false;
    padNumbers.forEach(function(index, number) {
      var pad = index === null ? null : pads[index];
      var held = 0;
      if (pad) {
        any = true;
        PadButtons.forEach(function(from, to) {
          if (pad.buttons[from] && pad.buttons[from].pressed) held |= 1 << to;
        });
      }
      padPressed[number] |= held & ~padHeld[number];
      padHeld[number] = held;
    });
    if (any && !padWatch) padWatch = setInterval(watchPads, PadWatchMs);
    if (!any && padWatch) {
      clearInterval(padWatch);
      padWatch = 0;
    }
    return pads;
  }

  // The browser makes a pad known at its first press: that press counts too.
  window.addEventListener('gamepadconnected', watchPads);

  function axis(value) { return Math.max(-32768, Math.min(32767, Math.round(value * 32767))); }

  // The buttons held now, and those pressed since the last read as held too.
  function readPad(number, buttons, axes) {
    var pads = watchPads();
    var pad = padNumbers[number] === null ? null : pads[padNumbers[number]];
    if (!pad) return 0;
    var shown = padHeld[number] | padPressed[number];
    padPressed[number] = 0;
    PadButtons.forEach(function(from, to) { HEAPU8[buttons + to] = (shown >> to) & 1 ? 0x80 : 0; });
    var values = [pad.axes[0] || 0, pad.axes[1] || 0, pad.axes[2] || 0, pad.axes[3] || 0,
                  pad.buttons[6] ? pad.buttons[6].value : 0, pad.buttons[7] ? pad.buttons[7].value : 0];
    values.forEach(function(value, i) { HEAP16[(axes >> 1) + i] = axis(value); });
    return 1;
  }

  // --- sound -------------------------------------------------------------

  // Fills `out` (samples at the context's rate) from the game's mixer, which
  // runs at 11025 Hz: each output sample takes the mixed sample it falls on.
  var phase = 0;
  function fill(out) {
    var step = 11025 / audio.sampleRate;
    var count = Math.ceil(out.length * step) + 1;
    if (!Module['_volleen_mix'] || !Module['_malloc']) { out.fill(0); return; }
    if (count > mixSize) {
      if (mixBuffer) Module['_free'](mixBuffer);
      mixBuffer = Module['_malloc'](count);
      mixSize = count;
    }
    var wanted = Math.floor(phase + out.length * step);
    Module['_volleen_mix'](mixBuffer, wanted);
    var samples = HEAPU8.subarray(mixBuffer, mixBuffer + wanted + 1);
    var loud = false;
    for (var i = 0; i < out.length; ++i) {
      var at = Math.min(wanted - 1, Math.floor(phase + i * step));
      var value = (samples[at] - 128) / 128;
      if (value !== 0) loud = true;
      out[i] = value;
    }
    phase = phase + out.length * step - wanted;
    audioState.blocks++;
    if (loud) audioState.loudBlocks++;
  }

  // The audio thread plays blocks the page mixes; it asks for the next one
  // while two are still to play, and plays silence if none has come.
  var WorkletBlock = 2048;
  var WorkletSource = [
    'class VolleenOut extends AudioWorkletProcessor {',
    '  constructor() {',
    '    super();',
    '    this.blocks = []; this.at = 0; this.left = 0; this.asked = false;',
    '    this.port.onmessage = (e) => {',
    '      this.blocks.push(e.data); this.left += e.data.length; this.asked = false;',
    '    };',
    '  }',
    '  process(inputs, outputs) {',
    '    const out = outputs[0][0];',
    '    for (let i = 0; i < out.length; ++i) {',
    '      if (this.blocks.length === 0) { out[i] = 0; continue; }',
    '      const block = this.blocks[0];',
    '      out[i] = block[this.at++]; this.left--;',
    '      if (this.at >= block.length) { this.blocks.shift(); this.at = 0; }',
    '    }',
    '    if (!this.asked && this.left < ' + 2 * WorkletBlock + ') {',
    '      this.asked = true; this.port.postMessage(0);',
    '    }',
    '    return true;',
    '  }',
    '}',
    "registerProcessor('volleen-out', VolleenOut);",
  ].join('\n');

  function startWorklet() {
    var url = URL.createObjectURL(new Blob([WorkletSource], {type: 'text/javascript'}));
    audio.audioWorklet.addModule(url).then(function() {
      var node = new AudioWorkletNode(audio, 'volleen-out',
                                      {numberOfInputs: 0, outputChannelCount: [1]});
      node.port.onmessage = function() {
        var block = new Float32Array(WorkletBlock);
        fill(block);
        node.port.postMessage(block, [block.buffer]);
      };
      node.connect(audio.destination);
    }, startScriptProcessor);
  }

  // Where worklets are missing: the older node, mixed on the page's thread.
  function startScriptProcessor() {
    var node = audio.createScriptProcessor(1024, 0, 1);
    node.onaudioprocess = function(event) { fill(event.outputBuffer.getChannelData(0)); };
    node.connect(audio.destination);
  }

  // Made by the player's first click or key: browsers allow sound only then.
  function startAudio() {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    try {
      audio = new Context({sampleRate: 11025});
    } catch (e) {
      audio = new Context();
    }
    if (audio.audioWorklet && window.AudioWorkletNode) {
      startWorklet();
    } else {
      startScriptProcessor();
    }
    if (audio.resume) audio.resume().catch(function() {});
  }

  // --- saved files ---------------------------------------------------------

  // The game keeps keys.dat (and its newest replays) in its folder. The folder lives in
  // memory with the packaged data; whatever the game writes there itself is
  // kept in IndexedDB, one entry a file (its name and its bytes), and put back
  // before the game starts. Storage never stops the game: without it, or with
  // entries it cannot use, the game starts with its defaults and says so.
  var StoreName = 'files';
  // As the game's own limits: keys.dat 4 KiB, a replay 1 MiB.
  var MaxSavedBytes = 1 << 20;
  var restored = [];         // [name, bytes] read before the start

  function isFile(path) {
    try { return FS.isFile(FS.stat(path).mode); } catch (e) { return false; }
  }

  function notice(text) {
    console.warn('volleen: ' + text);
    if (Module['onNotice']) Module['onNotice'](text);
  }

  // Calls back with the database, or null with the reason.
  function openStore(done) {
    if (typeof indexedDB === 'undefined' || !indexedDB) {
      done(null, 'this browser keeps no storage');
      return;
    }
    var request;
    try {
      request = indexedDB.open('volleen', 1);
    } catch (e) {
      done(null, e && e.message ? e.message : String(e));
      return;
    }
    request.onupgradeneeded = function() { request.result.createObjectStore(StoreName); };
    request.onsuccess = function() { done(request.result, ''); };
    request.onerror = function() { done(null, request.error ? request.error.message : 'refused'); };
    request.onblocked = function() { done(null, 'blocked by another page'); };
  }

  function restoreSaved(done) {
    var finished = false;
    function finish(problem) {
      if (finished) return;
      finished = true;
      if (problem) notice('saved settings could not be read (' + problem + '); starting with the defaults');
      done();
    }
    // A store that never answers must not keep the game from starting.
    setTimeout(function() { finish('no answer'); }, 5000);
    openStore(function(db, problem) {
      if (!db) { finish(problem); return; }
      try {
        var store = db.transaction(StoreName, 'readonly').objectStore(StoreName);
        var cursor = store.openCursor();
        cursor.onsuccess = function() {
          var at = cursor.result;
          if (!at) { db.close(); finish(''); return; }
          restored.push([at.key, at.value]);
          at.continue();
        };
        cursor.onerror = function() { db.close(); finish(cursor.error ? cursor.error.message : 'refused'); };
      } catch (e) {
        db.close();
        finish(e.message || String(e));
      }
    });
  }

  // Puts back what was saved, once the packaged files are in place: an entry
  // named like one of them, or not a file's bytes, is left out (the next save
  // replaces or removes it).
  function putBackSaved() {
    var left = [];
    restored.forEach(function(entry) {
      var name = entry[0];
      var bytes = entry[1];
      var usable = typeof name === 'string' && /^[^\/]+$/.test(name) && name !== '.' &&
                   name !== '..' && !shipped.has(name) && bytes instanceof Uint8Array &&
                   bytes.length <= MaxSavedBytes;
      if (!usable) { left.push(String(name)); return; }
      try {
        FS.writeFile(GameFolder + '/' + name, bytes);
      } catch (e) {
        left.push(name);
      }
    });
    restored = [];
    if (left.length) notice('saved entries left out: ' + left.join(', '));
  }

  // Each save stands alone: one that fails is said, and the next one tries
  // again with everything the folder holds.
  function save() {
    saveTimer = null;
    if (saving) { saveAgain = true; return; }
    saving = true;
    var files = {};
    FS.readdir(GameFolder).forEach(function(name) {
      if (!shipped.has(name) && isFile(GameFolder + '/' + name)) {
        files[name] = FS.readFile(GameFolder + '/' + name);
      }
    });
    function finish(problem) {
      if (!saving) return;
      saving = false;
      if (problem) notice('settings could not be saved (' + problem + ')');
      if (saveAgain) { saveAgain = false; save(); }
    }
    openStore(function(db, problem) {
      if (!db) { finish(problem); return; }
      try {
        var transaction = db.transaction(StoreName, 'readwrite');
        var store = transaction.objectStore(StoreName);
        // Whatever else the store holds (a file since removed, an entry
        // that was never ours) goes.
        var keys = store.getAllKeys();
        keys.onsuccess = function() {
          keys.result.forEach(function(key) {
            if (!Object.prototype.hasOwnProperty.call(files, key)) store.delete(key);
          });
          Object.keys(files).forEach(function(name) { store.put(files[name], name); });
        };
        transaction.oncomplete = function() { db.close(); finish(''); };
        transaction.onerror = function(event) { event.preventDefault(); };
        transaction.onabort = function() {
          db.close();
          finish(transaction.error ? transaction.error.name : 'aborted');
        };
      } catch (e) {
        db.close();
        finish(e.message || String(e));
      }
    });
  }

  // A file in the game's folder was written or renamed into place: saved at
  // the game's next wait, when the write is complete.
  function written(path) {
    if (!path || path.indexOf(GameFolder + '/') !== 0) return;
    if (saveTimer === null) saveTimer = setTimeout(save, 0);
  }

  function watchWrites() {
    var rename = FS.rename;
    FS.rename = function(from, to) {
      rename(from, to);
      written(to);
    };
    var close = FS.close;
    FS.close = function(stream) {
      var wrote = (stream.flags & 3) !== 0;  // opened for writing
      var path = stream.path;
      close(stream);
      if (wrote) written(path);
    };
  }

  // --- start ---------------------------------------------------------------

  Module['noInitialRun'] = true;
  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function() {
    addRunDependency('volleen-saved');
    restoreSaved(function() { removeRunDependency('volleen-saved'); });
  });
  Module['onRuntimeInitialized'] = function() {
    // Everything in the folder now came with the page (read-only); what
    // was saved joins it.
    FS.mkdirTree(GameFolder);
    FS.readdir(GameFolder).forEach(function(name) {
      if (name === '.' || name === '..') return;
      shipped.add(name);
      FS.chmod(GameFolder + '/' + name, 292);  // 0444
    });
    putBackSaved();
    FS.chdir(GameFolder);
    watchWrites();
    attach(document.getElementById('game'));
    installInput();
    if (Module['onReady']) Module['onReady']();
  };

  function attach(canvas) {
    view = canvas;
    viewContext = view.getContext('2d');
    screen = document.createElement('canvas');
    screen.width = Width;
    screen.height = Height;
    // Read back by screenPixels; kept in memory, where reading is cheap.
    picture = screen.getContext('2d', {willReadFrequently: true});
    blank();
    // The room for the picture changes with the window, full screen, and the
    // page's own lines settling.
    if (window.ResizeObserver) {
      new ResizeObserver(layout).observe(view.parentElement);
    } else {
      window.addEventListener('resize', layout);
      document.addEventListener('fullscreenchange', layout);
    }
    layout();
  }

  return {
    // `args`: the game's command line (['--replay', 'last'] plays the newest
    // replay kept).
    start: function(args) {
      startAudio();
      Module['callMain'](args || []);
    },
    wait: wait,
    // Whether a match has been kept as a replay in the page's storage.
    hasReplay: function() {
      return FS.readdir(GameFolder).some(function(name) { return /\.replay$/.test(name); });
    },
    wakeOnInput: function() { untilInput = true; },
    show: show,
    blank: blank,
    pointer: pointer,
    readPad: readPad,
    toggleFullScreen: toggleFullScreen,
    audioReady: function() { return audio !== null; },
    audioState: audioState,
    screenPixels: function() { return picture.getImageData(0, 0, Width, Height).data; },
    open: function(title) { document.title = title; },
    close: function() { if (Module['onEnded']) Module['onEnded'](); },
    fail: function(text) { if (Module['onFailed']) Module['onFailed'](text); },
    // A room code as typed (any case, spaces around it), as the game reads
    // it; '' when it is not one.
    roomCode: function(text) {
      var code = String(text).trim().toUpperCase();
      if (code.length !== VolleenRoomCode.length) return '';
      for (var i = 0; i < code.length; ++i) {
        if (VolleenRoomCode.letters.indexOf(code.charAt(i)) < 0) return '';
      }
      return code;
    },
  };
})();
