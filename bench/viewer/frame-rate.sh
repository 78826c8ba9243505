#!/usr/bin/env bash
# Frame rate of a heavy movie of the era (800 x 480, declared 30 fps) in Brindle's player, beside a
# bare Ruffle page in the same web engine, for each renderer Ruffle can draw with and the engine's
# GPU switches that make it available:
#   canvas       Ruffle's canvas renderer, the engine as it starts by default
#   canvas-gl    the canvas renderer with the engine's GPU blocklist ignored (its 2D canvas and
#                compositing then draw through the system's OpenGL, a software one without a GPU)
#   webgl        Ruffle's WebGL renderer, the blocklist ignored
#   wgpu-webgl   Ruffle's wgpu renderer on WebGL 2, the blocklist ignored
#   webgpu       Ruffle's WebGPU renderer, the engine's WebGPU switched on (Ruffle falls back to
#                another renderer when the engine has none; the renderer column says which drew)
#   default      what Brindle's player chooses by itself, the engine as Brindle starts it; the bare
#                page with Ruffle's own choice
#   default-gl   the same with the blocklist ignored, so that the engine offers a WebGL that the
#                processor draws (as other builds of the engine do with SwiftShader)
# The movie's two parts are timed apart: its logo (blur, glow and drop shadow filters changing
# every frame; 120 frames, 4 s at 30 fps) and its scene (many vector figures, bitmaps, shadowed
# fighters, text). Each run counts the frames the movie sees per second of its own clock and the
# CPU time of all processes per frame. Runs take turns (every configuration once, then again), so
# that a busy machine weighs on all alike; the load is printed with each run.
# Usage: frame-rate.sh BUILD [ROUNDS (2)] [SECONDS (8)] [CONFIG...] (default: all of them)
set -euo pipefail
build=$(realpath "${1:-build}")
rounds=${2:-2}
seconds=${3:-8}
shift 3 2>/dev/null || shift $#
only=" $* "
bench="$build/bench/viewer/frame_rate_bench"
player="$build/app/player"
export QTWEBENGINE_DISABLE_SANDBOX=1
results=$(mktemp)
trap 'rm -f "$results"' EXIT

configs=(
    "canvas||canvas"
    "canvas-gl|--ignore-gpu-blocklist|canvas"
    "webgl|--ignore-gpu-blocklist|webgl"
    "wgpu-webgl|--ignore-gpu-blocklist|wgpu-webgl"
    "webgpu|--ignore-gpu-blocklist --enable-unsafe-webgpu|webgpu"
    "default||default"
    "default-gl|--ignore-gpu-blocklist|default"
)
value() { awk -v k="$1" '$1 == k { print $2 }'; }

for round in $(seq "$rounds"); do
    for part in logo play; do
        for config in "${configs[@]}"; do
            IFS='|' read -r name flags renderer <<<"$config"
            [ "$only" = "  " ] || [[ "$only" == *" $name "* ]] || continue
            for page in brindle bare; do
                out=$(QTWEBENGINE_CHROMIUM_FLAGS="$flags" timeout 300 xvfb-run -a -s "-screen 0 1280x800x24" \
                    "$bench" "$page" "$player" "$build/bench/viewer/heavy-$part.swf" "$renderer" "$seconds" \
                    2>/dev/null || true)
                load=$(cut -d' ' -f1 /proc/loadavg)
                fps=$(value fps <<<"$out")
                cpu=$(value cpu_ms_per_frame <<<"$out")
                percent=$(value cpu_percent <<<"$out")
                used=$(value renderer <<<"$out")
                line="$round $part $name $page ${fps:-failed} ${cpu:--} ${percent:--} ${used:--} $load"
                echo "$line" >>"$results"
                echo "run: $line"
            done
        done
    done
done

echo
echo "frames per second the movie saw (declared 30), CPU ms per frame; each run with the load average"
echo "(1 min) as it ended; Brindle beside the bare Ruffle page"
printf "%-5s %-11s %-10s %-24s %-24s %-14s %s\n" part config "drew with" "Brindle fps (cpu ms)" "bare fps (cpu ms)" \
    Brindle/bare load
awk '
{ key = $2 " " $3; keys[key] = 1; n[key, $4]++; fps[key, $4, n[key, $4]] = $5; cpu[key, $4, n[key, $4]] = $6;
  used[key, $4] = $8; load[key, n[key, $4]] = load[key, n[key, $4]] " " $9 }
END {
  for (key in keys) {
    split(key, k, " ")
    b = ""; r = ""; sb = 0; sr = 0; ok = 1
    for (i = 1; i <= n[key, "brindle"]; i++) { b = b sprintf("%s(%s) ", fps[key, "brindle", i], cpu[key, "brindle", i]); sb += fps[key, "brindle", i] }
    for (i = 1; i <= n[key, "bare"]; i++) { r = r sprintf("%s(%s) ", fps[key, "bare", i], cpu[key, "bare", i]); sr += fps[key, "bare", i] }
    ratio = sr > 0 ? sprintf("%.2f", sb / sr) : "-"
    l = ""; for (i = 1; i <= n[key, "brindle"]; i++) l = l load[key, i]
    printf "%-5s %-11s %-10s %-24s %-24s %-14s%s\n", k[1], k[2], used[key, "brindle"], b, r, ratio, l
  }
}' "$results" | sort
echo "uptime at the end: $(uptime)"
