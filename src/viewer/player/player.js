// Plays one movie at a time with Ruffle. The host calls playMovie(url, token) and learns through the
// console messages "brindle:loaded <token>" and "brindle:failed <token> <reason>" how that start went.
"use strict";

window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
    autoplay: "on",
    unmuteOverlay: "hidden",
    splashScreen: false,
    contextMenu: "off",
    openUrlMode: "deny",
    allowNetworking: "internal",
    allowScriptAccess: false,
    upgradeToHttps: false,
    warnOnUnsupportedContent: false,
    showSwfDownload: false,
    polyfills: false,
    letterbox: "on",
    logLevel: "error",
};

let player = null;
let currentToken = 0;

function ensurePlayer() {
    if (player) return player;
    player = window.RufflePlayer.newest().createPlayer();
    player.addEventListener("loadedmetadata", () => console.info("brindle:loaded " + currentToken));
    document.body.appendChild(player);
    return player;
}

// Loading again, also the same address, starts a fresh instance at the movie's first frame.
function playMovie(url, token) {
    currentToken = token;
    ensurePlayer()
        .ruffle()
        .load({ url: url })
        .catch((error) => console.error("brindle:failed " + token + " " + error));
}

function stopMovie() {
    if (player) {
        player.remove();
        player = null;
    }
}
