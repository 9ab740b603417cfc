// The state store's start in a web page, run before the game's first line: the state folder (/state, the
// game's working folder, where it keeps .zindlestate) is filled from IndexedDB, and this tab
// asks to be the one that keeps the player's progress. The asking begins as soon as the program's script has
// run, while the program compiles and its data downloads; the folder is filled once the program is ready; the
// game starts only once both are done.
// Depends on the toolchain's FS, on IndexedDB, and on Module.quorlix (made by the page, web/page/quorlix-page.js),
// where this start writes what it decided for the page and the host (host/web/webhost.js): stateOwner (false in
// a tab opened while the game was already open in another), stateUnread (true when the stored record could not
// be read). It calls the page's onSecondTab(play) in such a tab, which starts the game when the player chooses
// to play there without saving, and the page's onStarting() once its own start has begun.
// NOTE: two tabs writing one record would each save over the other's results. A Web Lock held for the page's
// life makes the first tab the keeper; a reload gives the lock up as the old page goes and takes it again.

(function() {
  var quorlix = Module.quorlix = Module.quorlix || {};
  // How long the browser may take over a read or a write of the record before it counts as failed.
  quorlix.kStoreMs = 5000;

  // Opens the record's database (the layout the toolchain's IndexedDB file system gave it, which records stored
  // before keep: database '/state', store 'FILE_DATA', an entry per path of the folder), making its store if it
  // is new; answers(db) or answers(null, reason).
  quorlix.openStateStore = function(answer) {
    var answered = false;
    function once(db, reason) {
      if (answered) {
        if (db) db.close();
        return;
      }
      answered = true;
      answer(db, reason);
    }
    try {
      var request = indexedDB.open('/state', 21);
      request.onupgradeneeded = function() {
        var db = request.result, files;
        files = db.objectStoreNames.contains('FILE_DATA') ? request.transaction.objectStore('FILE_DATA')
                                                          : db.createObjectStore('FILE_DATA');
        if (!files.indexNames.contains('timestamp')) files.createIndex('timestamp', 'timestamp', {unique: false});
      };
      request.onsuccess = function() { once(request.result); };
      request.onerror = function(event) {
        event.preventDefault();
        once(null, request.error ? request.error.name + ': ' + request.error.message : 'it could not be opened');
      };
      request.onblocked = function() { once(null, 'another page holds it open'); };
    } catch (error) {
      once(null, String(error));
    }
  };

  // Reads every entry of the stored state folder into /state; answers(null) once they are in, or
  // answers(reason) when the record could not be read (nothing stored yet is no failure).
  function readStateFolder(answer) {
    var answered = false;
    var timer = setTimeout(function() { once('the browser did not answer in time'); }, quorlix.kStoreMs);
    function once(failure) {
      if (answered) return;
      answered = true;
      clearTimeout(timer);
      answer(failure);
    }
    quorlix.openStateStore(function(db, failure) {
      if (!db) {
        once(failure);
        return;
      }
      try {
        var transaction = db.transaction(['FILE_DATA'], 'readonly');
        var files = transaction.objectStore('FILE_DATA');
        var keys = files.getAllKeys(), values = files.getAll();
        transaction.onabort = function() {
          db.close();
          once(transaction.error ? transaction.error.name : 'the read was aborted');
        };
        transaction.oncomplete = function() {
          db.close();
          try {
            // Folders before the files in them.
            keys.result.map(function(path, i) { return [String(path), values.result[i]]; })
              .filter(function(entry) { return entry[0].indexOf('/state/') === 0 && entry[1]; })
              .sort(function(a, b) { return a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0; })
              .forEach(function(entry) {
                var path = entry[0], stored = entry[1];
                if (FS.isDir(stored.mode)) {
                  if (!FS.analyzePath(path).exists) FS.mkdir(path, stored.mode);
                } else {
                  FS.writeFile(path, stored.contents, {canOwn: true});
                  FS.chmod(path, stored.mode);
                }
                FS.utime(path, stored.timestamp, stored.timestamp);
              });
            once(null);
          } catch (error) {
            once('its entries were damaged: ' + error);
          }
        };
      } catch (error) {
        db.close();
        once(error && error.name ? error.name : String(error));
      }
    });
  }

  function startStateStore() {
    addRunDependency('quorlix-state-owner');
    FS.mkdir('/state');
    FS.chdir('/state');

    function decided(owner) {
      if (quorlix.stateOwner !== undefined) return;
      quorlix.stateOwner = owner;
      if (!owner && quorlix.onSecondTab) {
        quorlix.onSecondTab(function() { removeRunDependency('quorlix-state-owner'); });
      } else {
        removeRunDependency('quorlix-state-owner');
      }
    }
    // NOTE: without Web Locks (a page served over plain http from another machine, an old browser) no tab can
    // know of another for sure: each keeps the progress, and the player is told that two would save over each
    // other.
    if (!navigator.locks || !navigator.locks.request) {
      if (quorlix.showNotice) {
        quorlix.showNotice('tabs', 'This browser cannot tell tabs of Quorlix apart: play it in one tab only, or ' +
                                   'two tabs will save over each other\'s results.');
      }
      decided(true);
      return;
    }
    // NOTE: asked again a few times before giving up: a page reloaded may start before its old self has quite
    // given the lock up. Each answer comes at once (a lock free now, or none), so a busy page only asks later,
    // never gives up early. The lock is held until the page goes or the game ends (releaseStateLock).
    var tries = 6;
    function ask() {
      navigator.locks.request('quorlix-progress', {ifAvailable: true}, function(lock) {
        if (!lock) {
          if (--tries > 0) setTimeout(ask, 250); else decided(false);
          return undefined;
        }
        decided(true);
        return new Promise(function(release) { quorlix.releaseStateLock = release; });
      });
    }
    ask();
  }

  // NOTE: the steps before the program's first line run in this order: the state store's start, whose lock is
  // worth asking for first, then the page's (onStarting: its sound). The page gives no preInit of its own, and
  // this is the list's one entry, so no step's place hangs on the order the toolchain runs a list in.
  Module.preInit = [function() {
    startStateStore();
    if (quorlix.onStarting) quorlix.onStarting();
  }];

  // NOTE: the folder is filled from IndexedDB only once the program's memory exists, as the data packages fill
  // theirs: the file system writes into that memory. Any failure of the read (IndexedDB refused, as in some
  // private windows, a read that errs or aborts part way, damaged entries, no answer) starts the game without
  // the stored record; the game tells the player, and never saves over it (host/web/webgame.cpp).
  Module.preRun = Module.preRun || [];
  Module.preRun.push(function() {
    addRunDependency('quorlix-state-folder');
    readStateFolder(function(failure) {
      if (failure) {
        quorlix.stateUnread = true;
        quorlix.stateUnreadWhy = String(failure);
      }
      removeRunDependency('quorlix-state-folder');
    });
  });
})();
