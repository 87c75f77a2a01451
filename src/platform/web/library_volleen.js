// The browser backend's one asynchronous call: a wait that hands control back
// to the browser and resumes the game's call stack afterwards.
mergeInto(LibraryManager.library, {
  volleen_wait__deps: ['$Asyncify'],
  volleen_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      Volleen.wait(ms, wakeUp);
    });
  },
});
