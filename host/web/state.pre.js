// The state store's start in a web page, run before the game's first line: the state folder (/state, the
// game's working folder, where it keeps .zindlestate) is mounted over IndexedDB and filled from it, and this tab
// asks to be the one that keeps the player's progress. The asking begins as soon as the program's script has
// run, while the program compiles and its data downloads; the folder is filled once the program is ready; the
// game starts only once both are done.
// Depends on the toolchain's FS and IDBFS, and on Module.quorlix (made by the page, web/page/quorlix-page.js),
// where this start writes what it decided for the page and the host (host/web/webhost.js): stateOwner (false in
// a tab opened while the game was already open in another), stateUnread (true when the stored record could not
// be read). It calls the page's onSecondTab(play) in such a tab, which starts the game when the player chooses
// to play there without saving, and the page's onStarting() once its own start has begun.
// NOTE: two tabs writing one record would each save over the other's results. A Web Lock held for the page's
// life makes the first tab the keeper; a reload gives the lock up as the old page goes and takes it again.

(function() {
  var quorlix = Module.quorlix = Module.quorlix || {};

  function startStateStore() {
    addRunDependency('quorlix-state-owner');
    FS.mkdir('/state');
    try {
      FS.mount(IDBFS, {}, '/state');
    } catch (error) {
      quorlix.stateUnread = true;
    }
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
    if (!navigator.locks || !navigator.locks.request) {
      decided(true);
      return;
    }
    // NOTE: asked again a few times before giving up: a page reloaded may start before its old self has quite
    // given the lock up. Each answer comes at once (a lock free now, or none), so a busy page only asks later,
    // never gives up early.
    var tries = 6;
    function ask() {
      navigator.locks.request('quorlix-progress', {ifAvailable: true}, function(lock) {
        if (!lock) {
          if (--tries > 0) setTimeout(ask, 250); else decided(false);
          return undefined;
        }
        decided(true);
        return new Promise(function() {});  // held until the page goes
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
  // theirs: the file system writes into that memory, and a store that answers while the program still compiles
  // would otherwise fail, and the game start without its record.
  Module.preRun = Module.preRun || [];
  Module.preRun.push(function() {
    if (quorlix.stateUnread) return;
    addRunDependency('quorlix-state-folder');
    FS.syncfs(true, function(error) {
      // NOTE: with IndexedDB refused (some private windows) or failing, the game starts without the stored
      // record, tells the player, and never saves over it (host/web/webgame.cpp).
      if (error) quorlix.stateUnread = true;
      removeRunDependency('quorlix-state-folder');
    });
  });
})();
