// The page's script (web/page/index.html): checks what the browser can do, downloads the program and its
// packages of art and sounds, and shows what the game tells the player (loading, notices, the second tab's
// choice, the closing words). Everything the page and the program say to each other goes through one object,
// Module.quorlix, made here; the canvas stays Module.canvas, where the toolchain looks for it.
// Depends on the art levels written by the build (art-levels.js, loaded just before: quorlixArtLevels), on the
// program's file system and run dependencies (FS, addRunDependency), where it puts the packages' files, and on
// the program's side of Module.quorlix: host/web/webhost.js calls its callbacks, host/web/state.pre.js starts
// the state store and writes what it decided.
'use strict';
(function() {
  var canvas = document.getElementById('canvas');
  function show(id) { document.getElementById(id).hidden = false; }
  function hide(id) { document.getElementById(id).hidden = true; }
  var notLoaded = 'Quorlix could not be loaded. Check the connection and try again.';
  function unsupported(why) {
    hide('loading');
    document.getElementById('unsupported-why').textContent = why;
    // A download that failed may work the next time; a browser without what the game needs will not.
    document.getElementById('try-again').hidden = why !== notLoaded;
    show('unsupported');
    canvas.hidden = true;
  }
  document.getElementById('try-again').onclick = function() { location.reload(); };

  // What the game needs of the browser, asked before anything is fetched.
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function' ||
      typeof createImageBitmap !== 'function') {
    unsupported('This browser cannot run Quorlix: it has no WebAssembly, or cannot decode pictures for it. Any ' +
                'recent version of Chrome, Edge, Firefox or Safari can.');
    return;
  }
  function noWebGL() {
    unsupported('This browser cannot draw Quorlix: WebGL is missing or switched off. Switch on hardware ' +
                'acceleration in its settings, or try another browser.');
  }
  if (!window.WebGLRenderingContext) {
    noWebGL();
    return;
  }
  if (typeof quorlixArtLevels !== 'object') {
    unsupported(notLoaded);
    return;
  }

  // The notices the game gives the player, in a bar at the foot of the page. Those about progress that is not
  // being kept stay until the game settles them; any other (a first visit, a damaged file) goes after a while.
  var notices = {};
  var lasting = {'save': true, 'state-store': true, 'state-unreadable': true, 'unsaved': true};
  function showNotices() {
    var bar = document.getElementById('notice');
    var texts = Object.keys(notices).map(function(kind) { return notices[kind]; });
    bar.textContent = texts.join(' ');
    bar.hidden = texts.length === 0;
  }
  function notice(kind, text) {
    if (text) notices[kind] = text; else delete notices[kind];
    showNotices();
    if (text && !lasting[kind]) {
      setTimeout(function() {
        if (notices[kind] === text) notice(kind, '');
      }, 8000);
    }
  }

  // The program's script (and the art's decoder, where the page decodes), run in the order they are added.
  function addScript(name) {
    var script = document.createElement('script');
    script.src = name;
    script.async = false;
    script.onerror = function() { unsupported(notLoaded); };
    document.body.appendChild(script);
    return script;
  }

  // The art comes in a package for each art level. The game picks its level from the window's size in pixels
  // (the first level whose side the window's longer side reaches; game/art_levels.h), of the levels that have
  // arrived, and takes a sharper one as soon as it arrives (host/web/webhost.js asks for it).
  // NOTE: a first visit downloads the smallest level before the game starts, a few hundred kilobytes, and the
  // level its window wants while the game runs: a player sees a slightly soft menu for a few seconds instead of
  // waiting for megabytes of art. A page the service worker keeps has every level at hand, and starts sharp.
  var levels = quorlixArtLevels.levels;
  function levelOf(number) {
    return levels.filter(function(entry) { return entry.level === number; })[0];
  }
  var artAsked = {};
  function artLevel(width, height) {
    var side = Math.max(width, height);
    return levels.filter(function(entry) { return side >= entry.side; })[0].level;
  }
  // The packages of the data folder: each a .data file holding its files end to end and a .json listing where
  // each lies, downloaded together and tried again after a failure, a little later each time (kRetryMs, then
  // its last value on). Each is put in place under /data once the program's file system exists.
  var kRetryMs = [1000, 2000, 4000, 8000, 15000];
  function fetched(name, as) {
    return fetch(name).then(function(response) {
      if (!response.ok) throw new Error(name + ': ' + response.status);
      return response[as]();
    });
  }
  function download(name, tries) {
    function attempt(tried) {
      var files = fetched('quorlix-' + name + '.json', 'json');
      return Promise.all([files, fetched('quorlix-' + name + '.data', 'arrayBuffer')])
        .then(function(got) {
          if (got[1].byteLength !== got[0].remote_package_size) throw new Error(name + ': cut short');
          return {files: got[0].files, bytes: new Uint8Array(got[1])};
        })
        .catch(function(error) {
          if (tried + 1 >= tries) throw error;
          var wait = kRetryMs[Math.min(tried, kRetryMs.length - 1)];
          return new Promise(function(resolve) { setTimeout(resolve, wait); }).then(function() {
            return attempt(tried + 1);
          });
        });
    }
    return attempt(0);
  }
  function putInPlace(content) {
    content.files.forEach(function(file) {
      var folder = file.filename.slice(1, file.filename.lastIndexOf('/'));
      FS.createPath('/', folder, true, true);
      FS.createDataFile(file.filename, null, content.bytes.subarray(file.start, file.end), true, true, true);
    });
  }
  // NOTE: a level the game asks for while it runs is downloaded until it arrives; meanwhile the game keeps the
  // art it has.
  function loadArt(level) {
    if (artAsked[level]) return;
    artAsked[level] = true;
    download(levelOf(level).package, Infinity).then(putInPlace);
  }
  function loadAllArt() {
    levels.slice().reverse().forEach(function(entry) { loadArt(entry.level); });
  }
  // The level the canvas's size wants, and the one the game shows (0 until it has loaded).
  var wantedLevel = 0, shownLevel = 0, afterSharp = [];
  function whenSharp(then) {
    if (shownLevel !== 0 && shownLevel >= wantedLevel) then(); else afterSharp.push(then);
  }
  function wantArt(level) {
    wantedLevel = level;
    loadArt(level);
  }
  function artShown(level) {
    shownLevel = quorlix.artShown = level;
    if (level >= wantedLevel) afterSharp.splice(0).forEach(function(then) { then(); });
  }
  // Decodes a picture on the page's own thread, where workers cannot draw (host/web/webhost.js).
  var pageDecoder = null;
  function decodeOnPage(job) {
    if (!pageDecoder) {
      pageDecoder = new Promise(function(resolve, reject) {
        var script = addScript('quorlix-decoder.js');
        script.onload = resolve;
        script.onerror = reject;
      });
    }
    return pageDecoder.then(function() {
      return quorlixDecodePicture(job.bytes, job.type, function(width, height) {
        var canvas = document.createElement('canvas');
        canvas.width = width;
        canvas.height = height;
        return canvas;
      });
    });
  }

  var unsaved = false;
  function onExit(status) {
    // The game has ended: another tab may keep the progress now ("Play again" reloads, and asks again).
    if (quorlix.releaseStateLock) quorlix.releaseStateLock();
    canvas.hidden = true;
    hide('loading');
    document.getElementById('notice').hidden = true;
    if (status !== 0) {
      document.querySelector('#ended h1').textContent = 'Quorlix stopped';
      document.getElementById('ended-why').textContent =
        'The game stopped on an error. Your progress up to the last finished puzzle is saved.';
    } else if (unsaved || notices['state-unreadable']) {
      document.getElementById('ended-why').textContent = 'Nothing was saved in this tab.';
    } else if (notices['state-store'] || notices['save']) {
      document.getElementById('ended-why').textContent =
        'Your latest progress could not be stored in this browser; what was stored before is kept.';
    }
    show('ended');
  }

  // Between the page and the program, every call in one object. The page gives:
  //   showNotice(kind, text)   a notice for the foot of the page; an empty text takes the kind's away
  //   onFirstFrame()           the game has drawn its first frame
  //   onSecondTab(play)        another tab keeps the progress; play() starts this one without saving
  //   onExit(status)           the program has ended (0: the player left it), or stopped on an error
  //   onNoWebGL()              the browser gave the canvas no drawing context
  //   onStarting()             the state store's start has begun, before the program's first line
  //   onArtShown(level)        the game shows art of this level now (kept as artShown)
  //   artLevel(width, height)  the art level a canvas of this many device pixels wants
  //   wantArt(level)           the canvas wants this level: its package is downloaded, once
  //   decodeOnPage(job)        decodes a picture on the page's thread (the art's decoder's job and answer)
  // and the state store's start (host/web/state.pre.js) writes what it decided:
  //   stateOwner               false in a tab opened while the game was already open in another
  //   stateUnread              true when the stored record could not be read
  var quorlix = {
    showNotice: notice,
    onFirstFrame: function() {
      hide('loading');
      // The other levels of art, for a window that changes size: from the service worker's copy once it keeps
      // the page, else from the network once the sharp art is in (or after a while).
      if (!('serviceWorker' in navigator)) {
        whenSharp(loadAllArt);
      } else if (navigator.serviceWorker.controller) {
        loadAllArt();
      } else {
        navigator.serviceWorker.addEventListener('controllerchange', loadAllArt);
        setTimeout(loadAllArt, 30000);
      }
    },
    onArtShown: artShown,
    onSecondTab: function(play) {
      hide('loading');
      show('second-tab');
      document.getElementById('play-unsaved').onclick = function() {
        hide('second-tab');
        show('loading');
        unsaved = true;
        notice('unsaved', 'Playing without saving: Quorlix is open in another tab, which keeps your results.');
        play();
      };
    },
    onExit: onExit,
    onNoWebGL: noWebGL,
    // NOTE: sound starts last, once the program's script has run and the state store and the data are on their
    // way.
    onStarting: function() {
      try {
        var Audio = window.AudioContext || window.webkitAudioContext;
        if (Audio) new Audio().close();
      } catch (error) {
        // a browser without sound: the game plays silently
      }
    },
    artShown: 0,
    artLevel: artLevel,
    wantArt: wantArt,
    decodeOnPage: decodeOnPage,
  };

  // The program compiles while everything else downloads, from the page's first moment.
  // NOTE: compiling as it downloads needs the host to send the program as application/wasm; from a host that
  // does not, it is fetched again and compiled from its bytes.
  function compileBytes() {
    return fetch('quorlix.wasm').then(function(response) {
      if (!response.ok) throw new Error('quorlix.wasm: ' + response.status);
      return response.arrayBuffer();
    }).then(function(bytes) { return WebAssembly.compile(bytes); });
  }
  var compiled = WebAssembly.compileStreaming
                   ? WebAssembly.compileStreaming(fetch('quorlix.wasm')).catch(compileBytes)
                   : compileBytes();
  window.Module = {
    canvas: canvas,
    quorlix: quorlix,
    // The toolchain's own hooks: an abort ends the game as an error does, and the program comes from the
    // module compiled above.
    onAbort: function() { onExit(1); },
    instantiateWasm: function(imports, receive) {
      compiled.then(function(module) {
        return WebAssembly.instantiate(module, imports).then(function(instance) { receive(instance, module); });
      }).catch(function() {
        unsupported(notLoaded);
      });
      return {};
    },
  };
  document.getElementById('play-again').onclick = function() { location.reload(); };
  // The game's canvas is the game's: no menu of the browser's over it, no scrolling or zooming it (its
  // touch-action keeps pinches off it too). The page's words (a second tab, the closing words) zoom as any page.
  canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
  canvas.addEventListener('wheel', function(event) { event.preventDefault(); }, {passive: false});
  canvas.addEventListener('gesturestart', function(event) { event.preventDefault(); });

  var ratio = window.devicePixelRatio || 1, box = canvas.getBoundingClientRect();
  // The sounds and the first art before the game starts: a program that runs waits for them (its run
  // dependency), and a page that cannot get them after a few tries says so, with a button to try again.
  var kept = 'serviceWorker' in navigator && navigator.serviceWorker.controller;
  var firstLevel = kept ? artLevel(Math.round(box.width * ratio), Math.round(box.height * ratio))
                        : levels[levels.length - 1].level;
  artAsked[firstLevel] = true;
  var firstPackages = Promise.all([download(quorlixArtLevels.base, kRetryMs.length),
                                   download(levelOf(firstLevel).package, kRetryMs.length)]);
  firstPackages.catch(function() { unsupported(notLoaded); });
  window.Module.preRun = [function() {
    addRunDependency('quorlix-first-packages');
    firstPackages.then(function(contents) {
      contents.forEach(putInPlace);
      removeRunDependency('quorlix-first-packages');
    }, function() {});
  }];
  var program = addScript('quorlix.js');
  // NOTE: a browser may take a long moment over its first drawing context (a few hundred milliseconds with
  // software drawing), over opening this site's IndexedDB for the first time, and over starting its sound. All
  // three begin here, while the program and its data download and the page would only wait: the game then finds
  // its context made (with the attributes it asks for, host/web/webhost.js, which a context keeps from its
  // making), the state store's database open, and its sound ready to open at once (quorlix.onStarting).
  try {
    indexedDB.open('/state').onsuccess = function(event) { event.target.result.close(); };
  } catch (error) {
    // no IndexedDB here: the state store says so when the game starts
  }
  if (!canvas.getContext('webgl', {alpha: false, depth: false, stencil: false, antialias: false,
                                   premultipliedAlpha: true, preserveDrawingBuffer: true})) {
    noWebGL();
    program.remove();
    return;
  }
  // The service worker keeps every file of the site for a visit with no connection. It fetches all of them,
  // so it starts once the sharp art is in (or after a while), not to slow the first start and the sharp art.
  // A new version of the site, once its worker has fetched it, waits until this page goes: the page says so and
  // offers to reload into it (the player's progress is saved as the page is left).
  function offerNewVersion(registration) {
    if (!registration.waiting || !navigator.serviceWorker.controller) return;
    show('update');
    document.getElementById('update-reload').onclick = function() {
      var reloading = false;
      navigator.serviceWorker.addEventListener('controllerchange', function() {
        if (reloading) return;
        reloading = true;
        location.reload();
      });
      if (registration.waiting) registration.waiting.postMessage({type: 'SKIP_WAITING'});
    };
  }
  function followVersions(registration) {
    offerNewVersion(registration);
    registration.addEventListener('updatefound', function() {
      var worker = registration.installing;
      if (!worker) return;
      worker.addEventListener('statechange', function() {
        if (worker.state === 'installed') offerNewVersion(registration);
      });
    });
  }
  if ('serviceWorker' in navigator) {
    var registered = false;
    var register = function() {
      if (registered) return;
      registered = true;
      navigator.serviceWorker.register('sw.js').then(followVersions, function() {});
    };
    window.addEventListener('load', function() {
      whenSharp(register);
      setTimeout(register, 20000);
    });
  }
})();
