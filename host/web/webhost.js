// The web host's calls into the page: the drawing context, the canvas's size, fullscreen, the pointer, decoding
// the art, the state store in IndexedDB and the notices the player reads on the page. A library of the
// toolchain's kind: each function here is called from C++ by its name, as host/web/webhost.h lists them.
// Depends on the toolchain's Browser (which makes the context the way its fixed-function layer needs), FS and
// IDBFS, on the canvas (Module.canvas), on the art's decoder (web/page/quorlix-decoder.js), and on
// Module.quorlix: the page's callbacks and art levels (web/page/quorlix-page.js) and what the state store's
// start decided (host/web/state.pre.js).
// NOTE: the state kept between calls lives in the library's own variables ($quorlixStore, $quorlixFit,
// $quorlixFullscreen, $quorlixDecoder), not on Module.

mergeInto(LibraryManager.library, {
  // The state store's writes: one under way (busy), another asked for meanwhile (again), and whether the page
  // has asked the browser to keep its storage.
  $quorlixStore: {busy: false, again: false, persistAsked: false},
  // The canvas's fitting: whether it has had its first size, and a new size waiting to settle since when.
  $quorlixFit: {fitted: false, pending: '', since: 0, kSettleMs: 250},
  // Whether the page's fullscreen changes are listened to yet.
  $quorlixFullscreen: {watched: false},
  // The art's decoder: the worker (quorlix-decoder.js), each decoding's answer by its number, and whether the
  // page decodes on its own thread instead (a browser with no worker that can draw off the page).
  $quorlixDecoder: {worker: null, answers: {}, onPage: false},

  // Makes the WebGL context of the canvas current; 0 when the browser has none.
  quorlix_create_context__deps: ['$Browser'],
  quorlix_create_context: function() {
    var canvas = Module.canvas;
    if (!canvas) return 0;
    // NOTE: no alpha, depth or stencil: the game clears every pixel and draws in order. Premultiplied alpha is
    // how it blends; the drawing buffer is kept so that a test can read the canvas between frames.
    // NOTE: the game draws with WebGL 1 alone, so no extension is switched on: switching on every one the browser
    // has, as the toolchain does by default, took 200 ms of the start with software drawing.
    var attributes = {alpha: false, depth: false, stencil: false, antialias: false, premultipliedAlpha: true,
                      preserveDrawingBuffer: true, majorVersion: 1, minorVersion: 0, enableExtensionsByDefault: false};
    var context = Browser.createContext(canvas, true, true, attributes);
    if (!context && Module.quorlix.onNoWebGL) Module.quorlix.onNoWebGL();
    return context ? 1 : 0;
  },

  // Runs the game's frame (quorlix_frame, host/web/webgame.cpp) at every animation frame until the program ends.
  // NOTE: the program ends inside a frame (F4, Back in the menu, or an internal error), by an exit the toolchain
  // throws to unwind it. Main left the runtime alive for the frames, so the toolchain itself tells the page
  // nothing: the end is caught here, the program marked ended and the page told (onExit), and no further
  // frame is asked for. Anything else thrown is an abort, which the toolchain has told the page of already.
  quorlix_run_frames: function() {
    function tick() {
      try {
        _quorlix_frame();
      } catch (error) {
        if (!(error instanceof ExitStatus)) throw error;
        ABORT = true;
        if (Module.quorlix.onExit) Module.quorlix.onExit(error.status);
        return;
      }
      requestAnimationFrame(tick);
    }
    requestAnimationFrame(tick);
  },

  // Fits the canvas's pixels to its size on the page at the screen's pixel ratio, so letters are sharp on
  // every screen; answers 1 when the size changed.
  // NOTE: the art level a new size wants is downloaded from then on; until it has arrived, the game shows the
  // largest level it has, and takes the sharper one when it comes, without loading again.
  // NOTE: a new size is taken once the page has kept it for kSettleMs: a window dragged larger, or a phone
  // turning, passes through many sizes, and each would start the game's loading again. Meanwhile the browser
  // stretches the canvas as it is. The first size is taken at once; and no size beyond what the context can
  // draw (a canvas larger than that would be drawn at a smaller size than the game believes).
  quorlix_fit_canvas__deps: ['$quorlixFit'],
  quorlix_fit_canvas: function() {
    var canvas = Module.canvas;
    if (!canvas) return 0;
    var ratio = window.devicePixelRatio || 1;
    var rect = canvas.getBoundingClientRect();
    var width = Math.max(1, Math.round(rect.width * ratio));
    var height = Math.max(1, Math.round(rect.height * ratio));
    var gl = Module.ctx;
    if (gl) {
      var most = gl.getParameter(gl.MAX_VIEWPORT_DIMS), largest = gl.getParameter(gl.MAX_RENDERBUFFER_SIZE);
      var scale = Math.min(1, Math.min(most[0], largest) / width, Math.min(most[1], largest) / height);
      width = Math.max(1, Math.floor(width * scale));
      height = Math.max(1, Math.floor(height * scale));
    }
    var fit = quorlixFit, size = width + 'x' + height, now = performance.now();
    if (canvas.width === width && canvas.height === height) {
      fit.pending = '';
      return 0;
    }
    if (fit.fitted) {
      if (fit.pending !== size) {
        fit.pending = size;
        fit.since = now;
        return 0;
      }
      if (now - fit.since < fit.kSettleMs) return 0;
    }
    fit.fitted = true;
    fit.pending = '';
    var page = Module.quorlix;
    if (page.wantArt) page.wantArt(page.artLevel(width, height));
    canvas.width = width;
    canvas.height = height;
    return 1;
  },

  // Writes a point of the page (client coordinates) into out[0], out[1] in the canvas's pixels.
  quorlix_canvas_point: function(clientX, clientY, out) {
    var canvas = Module.canvas;
    var box = canvas.getBoundingClientRect();
    HEAPF32[out >> 2] = box.width > 0 ? (clientX - box.left) * canvas.width / box.width : 0;
    HEAPF32[(out >> 2) + 1] = box.height > 0 ? (clientY - box.top) * canvas.height / box.height : 0;
  },

  quorlix_canvas_width: function() { return Module.canvas ? Module.canvas.width : 0; },
  quorlix_canvas_height: function() { return Module.canvas ? Module.canvas.height : 0; },
  quorlix_screen_width: function() { return Math.round(screen.width * (window.devicePixelRatio || 1)); },
  quorlix_screen_height: function() { return Math.round(screen.height * (window.devicePixelRatio || 1)); },

  // Enters (1) or leaves (0) the browser's fullscreen with the whole page. A request the browser refuses, and
  // fullscreen left by the browser itself (its Escape key), are told to the game.
  quorlix_set_fullscreen__deps: ['$quorlixFullscreen'],
  quorlix_set_fullscreen: function(on) {
    if (!quorlixFullscreen.watched) {
      quorlixFullscreen.watched = true;
      document.addEventListener('fullscreenchange', function() {
        if (!document.fullscreenElement) _quorlix_fullscreen_left();
      });
    }
    var page = document.documentElement;
    if (on) {
      if (document.fullscreenElement || !page.requestFullscreen) return;
      page.requestFullscreen({navigationUI: 'hide'}).catch(function() { _quorlix_fullscreen_left(); });
    } else if (document.fullscreenElement && document.exitFullscreen) {
      document.exitFullscreen().catch(function() {});
    }
  },

  // The game has drawn its first frame: the page takes its loading line away.
  quorlix_first_frame_drawn: function() {
    if (Module.quorlix.onFirstFrame) Module.quorlix.onFirstFrame();
  },

  quorlix_set_cursor: function(visible) {
    if (Module.canvas) Module.canvas.style.cursor = visible ? '' : 'none';
  },

  quorlix_open_url: function(url) {
    window.open(UTF8ToString(url), '_blank', 'noopener');
  },

  // Whether the sound device's output runs: a browser starts it only after the page's first key, click or touch
  // (the toolchain's OpenAL resumes it then).
  quorlix_audio_running__deps: ['$AL'],
  quorlix_audio_running: function() {
    var context = typeof AL !== 'undefined' && AL.currentCtx;
    return context && context.audioCtx && context.audioCtx.state === 'running' ? 1 : 0;
  },

  // Starts the sound device's output at the page's first key, click or touch that a browser lets start sound.
  // NOTE: the toolchain tries once, at the first key down, mouse down or touch start; a phone's browser lets only
  // a finished touch start sound, so every gesture tries until the output runs.
  quorlix_start_audio_on_gestures__deps: ['$AL'],
  quorlix_start_audio_on_gestures: function() {
    var gestures = ['keydown', 'mousedown', 'pointerup', 'touchend', 'click'];
    function start() {
      var context = AL.currentCtx && AL.currentCtx.audioCtx;
      if (!context) return;
      if (context.state === 'running') {
        gestures.forEach(function(name) { document.removeEventListener(name, start, true); });
        return;
      }
      context.resume();
    }
    gestures.forEach(function(name) { document.addEventListener(name, start, true); });
  },

  // Whether this tab keeps the player's progress: false when another tab of the game was open first.
  quorlix_state_owner: function() { return Module.quorlix.stateOwner === false ? 0 : 1; },
  // Whether the stored record could not be read from IndexedDB as the game started.
  quorlix_state_unread: function() { return Module.quorlix.stateUnread ? 1 : 0; },

  // Stores the state folder in IndexedDB: every entry of it, in one transaction that also drops entries no
  // longer there, as the start reads them back (host/web/state.pre.js). The outcome goes to the game
  // (quorlix_state_stored): stored only once the transaction has completed; not stored, with the browser's
  // reason, when it errs or aborts, or does not answer within kStoreMs. A store asked for while one is under
  // way runs once that one ends, so the newest state is always the last stored.
  // NOTE: the transaction is all or nothing: a write refused or aborted leaves the record stored before whole.
  // The first store of a page also asks the browser to keep the site's storage (navigator.storage.persist):
  // without that, a browser may delete it when its disk runs short, or after days without a visit.
  quorlix_store_state__deps: ['$FS', '$quorlixStore', '$stringToNewUTF8', 'free'],
  quorlix_store_state: function() {
    var store = quorlixStore;
    if (store.busy) {
      store.again = true;
      return;
    }
    store.busy = true;
    if (!store.persistAsked) {
      store.persistAsked = true;
      try {
        if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function() {});
      } catch (error) {
        // a browser that cannot be asked keeps the storage as it chooses
      }
    }
    var answered = false;
    function outcome(failure) {
      if (ABORT) return;
      if (!answered) {
        answered = true;
        clearTimeout(timer);
        store.busy = false;
      } else if (failure) {
        return;  // the time limit has told the game already
      }
      var reason = failure ? String(failure).slice(0, 200) : '';
      var text = stringToNewUTF8(reason);
      _quorlix_state_stored(failure ? 0 : 1, text);
      _free(text);
      if (store.again && !store.busy) {
        store.again = false;
        _quorlix_store_state();
      }
    }
    var timer = setTimeout(function() {
      outcome('the browser did not answer within ' + (Module.quorlix.kStoreMs / 1000) + ' seconds');
    }, Module.quorlix.kStoreMs);
    var entries = {};
    try {
      (function walk(path) {
        var stat = FS.stat(path);
        if (FS.isDir(stat.mode)) {
          entries[path] = {timestamp: stat.mtime, mode: stat.mode};
          FS.readdir(path).forEach(function(name) {
            if (name !== '.' && name !== '..') walk(path + '/' + name);
          });
        } else {
          entries[path] = {timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path)};
        }
      })('/state');
    } catch (error) {
      outcome('the state folder could not be read: ' + error);
      return;
    }
    Module.quorlix.openStateStore(function(db, failure) {
      if (!db) {
        outcome(failure);
        return;
      }
      var transaction, thrown = null;
      function described(error) {
        return error && error.name ? error.name + ': ' + error.message : String(error);
      }
      try {
        transaction = db.transaction(['FILE_DATA'], 'readwrite');
        transaction.oncomplete = function() {
          db.close();
          outcome(null);
        };
        transaction.onabort = function() {
          db.close();
          var error = transaction.error || thrown;
          outcome(error ? described(error) : 'AbortError: the browser aborted the write');
        };
        var files = transaction.objectStore('FILE_DATA');
        Object.keys(entries).forEach(function(path) { files.put(entries[path], path); });
        var keys = files.getAllKeys();
        keys.onsuccess = function() {
          keys.result.forEach(function(path) {
            if (!(path in entries) && String(path).indexOf('/state/') === 0) files.delete(path);
          });
        };
      } catch (error) {
        // NOTE: a transaction made is aborted, and its abort event tells the outcome (the first reason kept);
        // one the browser has aborted already tells it anyway.
        if (transaction) {
          // A write refused because the transaction has ended already: the ending is the reason.
          if (!thrown && !(error && error.name === 'TransactionInactiveError')) thrown = error;
          try {
            transaction.abort();
          } catch (ignored) {
            // finished already
          }
          return;
        }
        db.close();
        outcome(described(error));
      }
    });
  },

  // Decodes the picture at a file-system path (a WebP of the data folder) apart from the page's main thread,
  // in the art's decoder; the pixels, copied into the program's memory, go to quorlix_image_decoded with the id
  // (none when the file cannot be decoded).
  // NOTE: the browser decodes what it shows: no decoder of the program's own, and the page's thread only copies
  // the pixels it gets back. A browser whose workers cannot draw decodes on the page's thread instead.
  quorlix_decode_image__deps: ['$FS', '$quorlixDecoder', 'malloc'],
  quorlix_decode_image: function(file, id) {
    var decoder = quorlixDecoder;
    var path = UTF8ToString(file);
    // NOTE: the pixels are copied a megabyte a task: a sheet of the largest art in one copy held the page's
    // thread for a quarter of a second on a slow phone.
    var kCopyBytes = 1 << 20;
    function answer(picture) {
      if (ABORT) return;
      if (!picture || !picture.pixels || !(picture.width > 0 && picture.height > 0)) {
        _quorlix_image_decoded(id, 0, 0, 0);
        return;
      }
      var source = new Uint8Array(picture.pixels), pixels = _malloc(source.length), done = 0;
      if (!pixels) {
        _quorlix_image_decoded(id, 0, 0, 0);
        return;
      }
      (function copy() {
        if (ABORT) return;
        var end = Math.min(source.length, done + kCopyBytes);
        HEAPU8.set(source.subarray(done, end), pixels + done);
        done = end;
        if (done < source.length) {
          setTimeout(copy, 0);
        } else {
          _quorlix_image_decoded(id, pixels, picture.width, picture.height);
        }
      })();
    }
    var bytes;
    try {
      bytes = FS.readFile(path);
    } catch (error) {
      setTimeout(answer, 0, null);
      return;
    }
    var job = {id: id, bytes: bytes, type: 'image/webp'};
    if (!decoder.worker && !decoder.onPage) {
      try {
        if (typeof OffscreenCanvas !== 'function') throw new Error('no drawing off the page');
        decoder.worker = new Worker('quorlix-decoder.js');
        decoder.worker.onmessage = function(event) {
          var reply = decoder.answers[event.data.id];
          delete decoder.answers[event.data.id];
          if (reply) reply(event.data);
        };
      } catch (error) {
        decoder.onPage = true;
      }
    }
    if (decoder.worker) {
      decoder.answers[id] = answer;
      decoder.worker.postMessage(job, [bytes.buffer]);
      return;
    }
    Module.quorlix.decodeOnPage(job).then(answer, function() { answer(null); });
  },

  // Follows whether the page is in use: shown, its window focused, neither frozen by the browser nor being
  // left (pagehide: the tab closing, or the page going into the back-forward cache). Each change goes to the
  // game (quorlix_page_active), which suspends and saves when the page is no longer in use.
  // NOTE: a closing tab may give the page no visibility change before it goes, only pagehide; and a page left
  // for another window stays visible, where a desktop window losing the focus suspends the game.
  quorlix_follow_page_activity: function() {
    var blurred = false, frozen = false, left = false, active = true;
    function follow() {
      var now = document.visibilityState !== 'hidden' && !blurred && !frozen && !left;
      if (now === active || ABORT) return;
      active = now;
      _quorlix_page_active(now ? 1 : 0);
    }
    function on(target, name, change) {
      target.addEventListener(name, function() {
        change();
        follow();
      });
    }
    on(document, 'visibilitychange', function() {});
    on(window, 'blur', function() { blurred = true; });
    on(window, 'focus', function() { blurred = false; });
    on(document, 'freeze', function() { frozen = true; });
    on(document, 'resume', function() { frozen = false; });
    on(window, 'pagehide', function() { left = true; });
    on(window, 'pageshow', function() { left = false; });
    follow();
  },

  // The art level the game shows now.
  quorlix_art_shown: function(level) {
    if (Module.quorlix.onArtShown) Module.quorlix.onArtShown(level);
  },

  // A notice to the player, shown on the page (an empty text takes it away).
  quorlix_show_notice: function(kind, text) {
    if (Module.quorlix.showNotice) Module.quorlix.showNotice(UTF8ToString(kind), UTF8ToString(text));
  },
});
