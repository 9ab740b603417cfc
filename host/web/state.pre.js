// The state store's start in a web page, run before the game's first line: the state folder (/state, the
// game's working folder, where it keeps .zindlestate) is mounted over IndexedDB and filled from it, and this tab
// asks to be the one that keeps the player's progress. It begins as soon as the program's script has run, while
// the program compiles and its data downloads, and the game starts only once it is done.
// Depends on the toolchain's FS and IDBFS. What the page wants to know it reads from Module: quorlixStateOwner
// (false in a tab opened while the game was already open in another), and it may give
// Module.onSecondTab(play), called in such a tab, which starts the game when the player chooses to play there
// without saving.
// NOTE: two tabs writing one record would each save over the other's results. A Web Lock held for the page's
// life makes the first tab the keeper; a reload gives the lock up as the old page goes and takes it again.

Module['preInit'] = Module['preInit'] || [];
Module['preInit'].push(function() {
  addRunDependency('quorlix-state');
  var folderReady = false, ownerKnown = false;
  function begin() {
    if (!folderReady || !ownerKnown) return;
    if (Module.quorlixStateOwner === false && Module['onSecondTab']) {
      Module['onSecondTab'](function() { removeRunDependency('quorlix-state'); });
    } else {
      removeRunDependency('quorlix-state');
    }
  }

  FS.mkdir('/state');
  try {
    FS.mount(IDBFS, {}, '/state');
  } catch (error) {
    Module.quorlixStoreBroken = true;
  }
  FS.chdir('/state');
  FS.syncfs(true, function(error) {
    // NOTE: with IndexedDB refused (some private windows), the game starts with a new record; its first save
    // then tells the player that progress cannot be kept here.
    if (error) Module.quorlixStoreBroken = true;
    folderReady = true;
    begin();
  });

  function decided(owner) {
    if (ownerKnown) return;
    Module.quorlixStateOwner = owner;
    ownerKnown = true;
    begin();
  }
  if (!navigator.locks || !navigator.locks.request) {
    decided(true);
    return;
  }
  // NOTE: waited for a moment rather than asked once: a page reloaded may start before its old self has quite
  // given the lock up.
  var patience = new AbortController();
  var timer = setTimeout(function() { patience.abort(); }, 1500);
  navigator.locks.request('quorlix-progress', {signal: patience.signal}, function() {
    clearTimeout(timer);
    decided(true);
    return new Promise(function() {});  // held until the page goes
  }).catch(function() { decided(false); });
});
