// The site's own settings, edited by whoever puts the site up.
//
// VOLLEEN_RELAY: the relay the "Play online" panel uses, as a WebSocket URL,
// e.g. "wss://relay.example.org/" (a page served over https needs wss://).
// Empty: the site has no relay, and the panel says so. A page opened with
// ?relay=ws://HOST:PORT/ uses that relay instead.
window.VOLLEEN_RELAY = "";
