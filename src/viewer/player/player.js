// Plays one movie at a time with Ruffle. The host calls playMovie(url, token, saves, limits) and
// learns through console messages how that start went ("brindle:loaded <token>", "brindle:failed
// <token> <reason>"), of every change to the movie's saves ("brindle:save <json>"), once of a save
// refused over the limits ("brindle:refused <token>") and of the movie's commands to its player
// ("brindle:quit <token>", "brindle:fullscreen <token> true|false"). stopMovie(token) ends the
// movie, whose shared objects Ruffle then saves, and reports that after those changes.
"use strict";

window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
    autoplay: "on",
    unmuteOverlay: "hidden",
    splashScreen: false,
    contextMenu: "off",
    // A movie may open web addresses and call its page, as in Flash Player: the page opens no
    // window itself (the host hands an http(s) address that a click or key press opened to the
    // browser), runs no script of a movie's (see Function below) and reaches nothing beyond the
    // player's scheme (its security policy). Ruffle gives a movie ExternalInterface, fscommand and
    // links only with these three.
    openUrlMode: "allow",
    allowNetworking: "all",
    allowScriptAccess: true,
    upgradeToHttps: false,
    warnOnUnsupportedContent: false,
    showSwfDownload: false,
    polyfills: false,
    // The movie's background fills the whole player and what it draws beyond its stage shows, as
    // in Flash Player: no bars.
    letterbox: "off",
    logLevel: "error",
    // Device text (not in a font the movie embeds) is drawn with this font, which has Chinese and
    // Latin. Ruffle takes a name it does not know ("宋体", "Microsoft YaHei", "Arial") as _sans,
    // "Times New Roman" as _serif, "Courier New" as _typewriter and a "明" or "Ming" font as
    // _明朝; the font registers under its English full name.
    fontSources: ["wqy-microhei-subset.ttf"],
    defaultFonts: Object.fromEntries(
        ["sans", "serif", "typewriter", "japaneseGothic", "japaneseGothicMono", "japaneseMincho"].map(
            (kind) => [kind, ["WenQuanYi Micro Hei"]],
        ),
    ),
};

// The renderer Ruffle draws with, by the graphics the engine gives the page. With a GPU, Ruffle's
// own order (WebGPU, wgpu on WebGL 2, WebGL, canvas), whose wgpu renderers draw the movies'
// filters. Without one the engine offers no WebGL, or one that the processor draws (a software GL
// such as llvmpipe or SwiftShader), where Ruffle would take wgpu: on two idle cores it kept a heavy
// logo with filters near 30 frames a second but took twice the processor time per frame of the
// canvas renderer, 1.7 of the 2 cores, and with the machine busy it fell to 1 or 2 frames a second
// while canvas kept close to 30 (bench/viewer/frame-rate.sh). The canvas renderer then draws,
// without the filters' blur, glow and shadows; Ruffle's WebGL renderer has no filters either and
// took more processor time.
function rendererFor(glRenderer) {
    if (!glRenderer || /llvmpipe|softpipe|swiftshader|software|lavapipe/i.test(glRenderer)) return "canvas";
    return null;
}

// The name of the engine's WebGL renderer, null when the engine offers none.
function webGlRenderer() {
    const gl = document.createElement("canvas").getContext("webgl");
    if (!gl) return null;
    const info = gl.getExtension("WEBGL_debug_renderer_info");
    const name = String(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER));
    const lose = gl.getExtension("WEBGL_lose_context");
    if (lose) lose.loseContext();
    return name;
}

window.RufflePlayer.config.preferredRenderer = rendererFor(webGlRenderer());

// Ruffle answers a movie's ExternalInterface.call by compiling the function's name as script in
// the page. The page holds no functions for movies and runs no script of theirs (its security
// policy forbids compiling text anyway): every call gets null, as in Flash Player on a page
// without that function. Nothing else of the page or of Ruffle compiles text into script.
window.Function = new Proxy(window.Function, {
    apply: () => () => null,
    construct: () => () => null,
});

// Ruffle fetches its font sources again for every movie; the font (3.4 MB) is read once, as the page
// loads, while Ruffle's code is still on its way, and each movie gets that copy. That spares a click
// about 50 ms, more on a busy machine. Ruffle only reads the answer's bytes (and copies them into
// its own memory), so it gets them as they are: a Response made of them would copy them through a
// stream again for every movie, 50 to 150 ms.
const fontFile = window.RufflePlayer.config.fontSources[0];
const pageFetch = window.fetch;
const fontBytes = pageFetch(fontFile)
    .then((response) => (response.ok ? response.arrayBuffer() : null))
    .catch(() => null);
window.fetch = function (input, init) {
    if (input !== fontFile) return pageFetch(input, init);
    return fontBytes.then((bytes) =>
        bytes ? { ok: true, status: 200, arrayBuffer: () => Promise.resolve(bytes) } : pageFetch(input, init),
    );
};

let player = null;
let currentToken = 0;

// Ruffle keeps a movie's shared objects in window.localStorage, one entry per object ("host/path/
// name" = the .sol bytes in base64), read and written by index. The page gives it a store of the
// current movie's saves instead, which the host fills before the movie starts and learns every
// change of, so the saves live in files and no movie sees another's.
let saves = new Map();

// Every change goes in a message of its own, also the many a stopping movie makes at once: the
// page's time for a console message grows faster than its length, so one message of a megabyte
// of saves takes several times longer than a hundred of ten kilobytes.
function reportSave(key, value) {
    console.info("brindle:save " + JSON.stringify({ token: currentToken, key: key, value: value }));
}

// What the movie's saves take, by object: a movie keeps at most limits.bytes in limits.files
// objects together, as Flash Player limited what a site stored. A write that would go over throws,
// which Ruffle reports to the movie as a failed flush; the object keeps what it held. The keys of
// one object under several paths name one file, so sizes go by the object's name.
let limits = { bytes: Infinity, files: Infinity };
let sizes = new Map();
let savedBytes = 0;
let refusalReported = false;

// The object's name in a key "<host>/<path>/<name>", where a name holding "/" is marked with "#".
function objectName(key) {
    const marked = key.indexOf("/#");
    return marked >= 0 ? key.slice(marked + 2) : key.slice(key.lastIndexOf("/") + 1);
}

// The length of the .sol file whose base64 text this is.
function fileSize(base64) {
    const padding = base64.endsWith("==") ? 2 : base64.endsWith("=") ? 1 : 0;
    return Math.floor(base64.length / 4) * 3 - padding;
}

function countSizes() {
    sizes = new Map();
    for (const [key, value] of saves) sizes.set(objectName(key), fileSize(value));
    savedBytes = 0;
    for (const size of sizes.values()) savedBytes += size;
}

// Takes name's new size into the count, or throws when that would go over the limits.
function admit(name, size) {
    const before = sizes.get(name);
    const files = sizes.size + (before === undefined ? 1 : 0);
    if (files > limits.files || savedBytes - (before || 0) + size > limits.bytes) {
        if (!refusalReported) console.info("brindle:refused " + currentToken);
        refusalReported = true;
        throw new DOMException("The movie's saves would go over their limit", "QuotaExceededError");
    }
    savedBytes += size - (before || 0);
    sizes.set(name, size);
}

function forget(name) {
    savedBytes -= sizes.get(name) || 0;
    sizes.delete(name);
}

const storage = new Proxy(
    {},
    {
        get(target, key) {
            if (typeof key !== "string") return undefined;
            switch (key) {
            case "length":
                return saves.size;
            case "getItem":
                return (k) => (saves.has(String(k)) ? saves.get(String(k)) : null);
            case "setItem":
                return (k, v) => void (storage[String(k)] = v);
            case "removeItem":
                return (k) => void delete storage[String(k)];
            case "key":
                return (i) => Array.from(saves.keys())[i] ?? null;
            case "clear":
                return () => Array.from(saves.keys()).forEach((k) => delete storage[k]);
            }
            return saves.get(key);
        },
        set(target, key, value) {
            const text = String(value);
            // Ruffle writes every shared object again when a movie ends; unchanged ones need no file.
            if (saves.get(String(key)) === text) return true;
            admit(objectName(String(key)), fileSize(text));
            saves.set(String(key), text);
            reportSave(String(key), text);
            return true;
        },
        deleteProperty(target, key) {
            if (!saves.delete(String(key))) return true;
            forget(objectName(String(key)));
            reportSave(String(key), null);
            return true;
        },
        has(target, key) {
            return saves.has(String(key));
        },
    },
);
Object.defineProperty(window, "localStorage", { value: storage, configurable: false });

function ensurePlayer() {
    if (player) return player;
    startAudio();
    player = window.RufflePlayer.newest().createPlayer();
    const own = player;
    own.addEventListener("loadedmetadata", () => {
        // The movie takes the page's keys, so a game needs no click first. Ruffle reports the
        // movie before it has finished starting it and ignores a focus given that early.
        setTimeout(() => own.focus(), 0);
        const token = currentToken;
        console.info("brindle:loaded " + token);
        // Ruffle draws in animation frames: the second one after the start comes once the movie's
        // first frame is on the screen.
        requestAnimationFrame(() => requestAnimationFrame(() => console.info("brindle:drawn " + token)));
    });
    own.ruffle().addFSCommandHandler((command, args) => runCommand(own, command, args));
    document.body.appendChild(own);
    // Ruffle shows a movie it cannot run (a broken file, a player failure) on a panic screen
    // inside the player; the host shows its own note instead.
    const failures = new MutationObserver(() => {
        const panic = own.shadowRoot && own.shadowRoot.getElementById("panic");
        if (!panic || own !== player) return;
        const title = panic.querySelector("#panic-title");
        console.error("brindle:failed " + currentToken + " " + (title ? title.textContent : "panic"));
        failures.disconnect();
        removePlayer();
    });
    if (own.shadowRoot) failures.observe(own.shadowRoot, { childList: true, subtree: true });
    return own;
}

// A movie's fscommand, as Flash Player's own window took it: "quit" closes the viewer and
// "fullscreen" switches its full screen (the host does both); "allowscale" "false" shows the stage
// at its own size in the middle of the player, on the movie's background colour, and "true" fits
// it to the player again. "showmenu" needs nothing: the player shows no menu either way.
//
// Ruffle sets a movie's scaling only when it starts it. A movie whose actions turn scaling off and
// never on starts unscaled (see playMovie) and shows what it draws beyond its stage; one that turns
// it both off and on (a button for each, say), or does so from code the host does not read (built
// names, ActionScript 3), gets the player cut to its stage, which hides that. A movie started
// unscaled stays so.
let startedUnscaled = false;

function runCommand(own, command, args) {
    if (own !== player) return;
    const on = String(args).toLowerCase();
    switch (String(command).toLowerCase()) {
    case "quit":
        console.info("brindle:quit " + currentToken);
        break;
    case "fullscreen":
        if (on === "true" || on === "false") console.info("brindle:fullscreen " + currentToken + " " + on);
        break;
    case "allowscale": {
        const movie = own.ruffle().metadata;
        if (startedUnscaled) break;
        if (on === "false" && movie) {
            own.style.cssText = `position: absolute; left: 50%; top: 50%; width: ${movie.width}px;
                height: ${movie.height}px; margin: ${-movie.height / 2}px 0 0 ${-movie.width / 2}px`;
            document.body.style.background = movie.backgroundColor || "#ffffff";
        } else if (on === "true") {
            own.style.cssText = "";
            document.body.style.background = "";
        }
        break;
    }
    }
}

// Every start is a fresh instance at the movie's first frame, on the saves the host hands over (each
// file's text once, with the keys it goes under): the host starts a movie only after the one before
// has stopped and its saves are on disk. rewrite, when given, is [store folder, folder on this
// scheme]: the movie's loads by absolute address into its store folder go to the same file there,
// as its relative loads do. unscaled starts the movie with its scaling off, at its own size in the
// middle of the player, as its timeline asks with fscommand "allowscale" "false".
function playMovie(url, token, movieSaves, movieLimits, rewrite, unscaled) {
    removePlayer();
    saves = new Map();
    for (const [keys, value] of movieSaves || []) for (const key of keys) saves.set(key, value);
    limits = movieLimits || { bytes: Infinity, files: Infinity };
    countSizes();
    refusalReported = false;
    currentToken = token;
    startedUnscaled = Boolean(unscaled);
    const rules = [];
    if (rewrite && rewrite.length === 2) {
        const escaped = rewrite[0].replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
        rules.push([new RegExp("^" + escaped + "(.*)$"), rewrite[1].replace(/\$/g, "$$$$") + "$1"]);
    }
    // The movie's folder is the base of what it loads by relative address, as a movie expects;
    // Ruffle would take the page's otherwise.
    ensurePlayer()
        .ruffle()
        .load({
            url: url,
            base: new URL(".", url).href,
            urlRewriteRules: rules,
            scale: startedUnscaled ? "noScale" : "showAll",
        })
        .catch((error) => console.error("brindle:failed " + token + " " + error));
}

// Ruffle writes every shared object of a movie when its instance goes, as Flash Player did when a
// movie was unloaded: removing the player does that at once, and each change is reported as it is
// made. "brindle:stopped <token>" follows them. Nothing the page does afterwards carries that token.
function stopMovie(token) {
    try {
        removePlayer();
    } finally {
        saves = new Map();
        countSizes();
        currentToken = 0;
        keepAudioStarted();
        console.info("brindle:stopped " + token);
    }
}

// Ruffle leaves the audio context of a player it destroys running: silent, but its audio thread
// keeps working and the page's memory grows by tens of MiB, for every movie played and for the
// warm-up. The page closes the audio contexts of every player it removes; one player exists at a
// time, so every context open when a player goes is that player's.
//
// The engine starts its audio process for the page's first audio context, and a new Ruffle player
// waits for that, 0.1 to 0.5 s. The page opens a context of its own while Ruffle's code compiles, so
// the process starts meanwhile, and closes it once Ruffle has made its own. The engine ends that
// process 10 s after a page's last context closed, so a page that waits for its next movie keeps a
// context of its own open (silent, about 1 ms of processor time a second) until Ruffle makes one.
const audioContexts = new Set();
let audioStarter = null;
let audioStarted = false;
window.AudioContext = new Proxy(window.AudioContext, {
    construct(target, args, newTarget) {
        if (audioStarter) {
            audioStarter.close().catch(() => {});
            audioContexts.delete(audioStarter);
            audioStarter = null;
        }
        const context = Reflect.construct(target, args, newTarget);
        audioContexts.add(context);
        return context;
    },
});

// The page's own context starts the audio process when the page first wants a Ruffle player, while
// Ruffle's code still compiles.
function startAudio() {
    if (audioStarted) return;
    audioStarted = true;
    audioStarter = new AudioContext();
}

function closeAudio() {
    for (const context of audioContexts) context.close().catch(() => {});
    audioContexts.clear();
    audioStarter = null;
}

function keepAudioStarted() {
    if (!audioStarter) audioStarter = new AudioContext();
}

function removePlayer() {
    removeWarmUp();
    if (!player) return;
    const old = player;
    player = null;
    old.remove();
    document.body.style.background = "";
    closeAudio();
}

// A page kept ready for the next movie starts Ruffle once, on an empty movie of one frame, so that
// Ruffle's code is fetched and compiled before that movie comes (Ruffle keeps it for every later
// player of the page), and reports "brindle:warm" then. Ruffle reads the device font into every
// player it starts; the empty movie shows no text, so it starts without it and the warm-up is over
// sooner. A movie that comes earlier ends the warm-up: its own start does the same.
//
// The empty movie starts once Ruffle's code is compiled. Ruffle's first player in a page takes longest
// to start, as its code runs before the engine has optimised it, and Ruffle goes on starting a player
// removed before its code was there, which then stays: a movie that comes while the code compiles
// would wait for the warm-up's player to start, unseen, before its own, and that player would keep
// its memory for as long as the page lives.
const emptyMovie = [70, 87, 83, 10, 24, 0, 0, 0, 104, 0, 15, 160, 0, 3, 232, 0, 0, 24, 1, 0, 64, 0, 0, 0];
let warming = null;

function warmUp() {
    if (player || warming) return;
    const warm = window.RufflePlayer.newest().createPlayer();
    warming = warm;
    warm.style.cssText = "position: absolute; width: 1px; height: 1px; visibility: hidden";
    warm.addEventListener("loadedmetadata", () => {
        if (warm !== warming) return;
        removeWarmUp();
        keepAudioStarted();
        console.info("brindle:warm");
    });
    document.body.appendChild(warm);
    startAudio();
    ruffleCodeReady.then(() => {
        if (warm !== warming) return;
        warm.ruffle()
            .load({ data: emptyMovie, fontSources: [], defaultFonts: {} })
            .catch(() => warm === warming && removeWarmUp());
    });
}

function removeWarmUp() {
    if (!warming) return;
    warming.remove();
    warming = null;
    closeAudio();
}
