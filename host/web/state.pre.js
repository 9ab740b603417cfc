// The state store's start in a web page, run before the game's first line: the state folder (/state, the
// game's working folder, where it keeps .zindlestate) is mounted over IndexedDB and filled from it, and this tab
// asks to be the one that keeps the player's progress. The asking begins as soon as the program's script has
// run, while the program compiles and its data downloads; the folder is filled once the program is ready; the
// game starts only once both are done.
// Depends on the toolchain's FS and IDBFS. What the page and the host want to know they read from Module:
// quorlixStateOwner (false in a tab opened while the game was already open in another), quorlixStateUnread
// (true when the stored record could not be read); the page may give Module.onSecondTab(play), called in such
// a tab, which starts the game when the player chooses to play there without saving.
// NOTE: two tabs writing one record would each save over the other's results. A Web Lock held for the page's
// life makes the first tab the keeper; a reload gives the lock up as the old page goes and takes it again.

Module['preInit'] = Module['preInit'] || [];
Module['preInit'].push(function() {
  addRunDependency('quorlix-state-owner');
  FS.mkdir('/state');
  try {
    FS.mount(IDBFS, {}, '/state');
  } catch (error) {
    Module.quorlixStateUnread = true;
  }
  FS.chdir('/state');

  function decided(owner) {
    if (Module.quorlixStateOwner !== undefined) return;
    Module.quorlixStateOwner = owner;
    if (!owner && Module['onSecondTab']) {
      Module['onSecondTab'](function() { removeRunDependency('quorlix-state-owner'); });
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
});

// NOTE: the folder is filled from IndexedDB only once the program's memory exists, as the data packages fill
// theirs: the file system writes into that memory, and a store that answers while the program still compiles
// would otherwise fail, and the game start without its record.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  if (Module.quorlixStateUnread) return;
  addRunDependency('quorlix-state-folder');
  FS.syncfs(true, function(error) {
    // NOTE: with IndexedDB refused (some private windows) or failing, the game starts without the stored
    // record, tells the player, and never saves over it (host/web/webgame.cpp).
    if (error) Module.quorlixStateUnread = true;
    removeRunDependency('quorlix-state-folder');
  });
});
