#!/usr/bin/env bash
# bench_live.sh BUILD_DIR [ROUNDS] [WARMUP_S] [MEASURE_S]
# Plays one module with VO Dezaru (its window shown) and with openmpt123, in alternating rounds,
# on a private Xvfb display and a private PulseAudio server whose only sink is a null sink, and
# prints each round's CPU share of one core, resident memory and (for VO Dezaru) the time from
# start to its first mapped window, then medians, spreads and the CPU ratio; last, how long after a
# press of Pause and of Stop VO Dezaru's sound falls silent at the sound server.
# A bare Qt Widgets window whose one label changes every row (qt_floor) runs beside them as the
# floor under any such program. Audacious joins the rounds in its Qt mode, whose interface is the
# classic skinned one, when it is installed (AUDACIOUS=0 leaves it out).
set -euo pipefail

build=$(realpath "${1:-build}")
rounds=${2:-${ROUNDS:-5}}
warmup_s=${3:-${WARMUP_S:-5}}
measure_s=${4:-${MEASURE_S:-20}}

probe=$build/tools/live_probe
player_bin=${VODEZARU:-$build/vodezaru} # another build of the player to compare with
for f in "$probe" "$build/tools/pause_probe" "$build/tools/make_bench_song" "$player_bin"; do
    [ -x "$f" ] || { echo "bench-live: $f is missing; build first" >&2; exit 1; }
done
for p in Xvfb pulseaudio openmpt123 xdotool bc; do
    command -v $p > /dev/null || { echo "bench-live: $p is not installed" >&2; exit 1; }
done

work=$(mktemp -d /tmp/vd-bench-live.XXXXXX)
xvfb_pid=
pulse_pid=
cleanup() {
    [ -n "$pulse_pid" ] && kill "$pulse_pid" 2> /dev/null && wait "$pulse_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null && wait "$xvfb_pid" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

song=$work/bench.mod
"$build/tools/make_bench_song" "$song"
# The player keeps its settings beside its program: a copy keeps the user's own untouched.
mkdir -p "$work/player" "$work/home"
cp "$player_bin" "$work/player/vodezaru"

# A display of our own, numbered by the server itself.
exec 5> "$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")

# A sound server of our own with a null sink as its card.
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat > "$work/pulse.pa" <<PA
load-module module-null-sink sink_name=bench rate=44100
set-default-sink bench
load-module module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1
PA
printf 'autospawn = no\n' > "$work/client.conf"
export PULSE_CLIENTCONFIG=$work/client.conf PULSE_SERVER=unix:$work/pulse.sock
pulseaudio -n -F "$work/pulse.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --disallow-exit --log-target=file:"$work/pulse.log" > /dev/null 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do [ -S "$work/pulse.sock" ] && break; sleep 0.05; done
[ -S "$work/pulse.sock" ] || { echo "bench-live: PulseAudio did not start" >&2; cat "$work/pulse.log" >&2; exit 1; }

export SDL_AUDIODRIVER=pulseaudio
unset VODEZARU_AUDIO_OUT

players="vodezaru openmpt123"
# The floor: a bare Qt Widgets window whose one label changes every row.
[ -x "$build/tools/qt_floor" ] && players="$players qt-floor"
if [ "${AUDACIOUS:-1}" != 0 ] && command -v audacious > /dev/null; then
    players="$players audacious"
fi

run_one() { # PLAYER -> "cpu_pct=.. rss_kib=.. map_ms=.."
    case $1 in
    vodezaru) "$probe" --map --warmup "$warmup_s" --measure "$measure_s" -- \
        "$work/player/vodezaru" "$song" ;;
    openmpt123) "$probe" --warmup "$warmup_s" --measure "$measure_s" -- \
        openmpt123 --batch --quiet --driver pulseaudio "$song" ;;
    qt-floor) "$probe" --map --warmup "$warmup_s" --measure "$measure_s" -- \
        "$build/tools/qt_floor" ;;
    audacious) "$probe" --map --warmup "$warmup_s" --measure "$measure_s" -- \
        audacious --qt --play "$song" ;;
    esac
}

echo "bench-live: $rounds rounds, ${warmup_s} s warm-up, ${measure_s} s measured; $(nproc) cores"
echo "load before: $(uptime)"
declare -A cpu rss map ratio
round_vd=0
for r in $(seq "$rounds"); do
    for p in $players; do
        line=$(run_one "$p") || { echo "round $r $p: failed" >&2; continue; }
        eval "$line"
        printf 'round %d  %-10s  cpu %6.2f %%  rss %6.1f MiB  first map %s ms\n' "$r" "$p" \
            "$cpu_pct" "$(echo "$rss_kib / 1024" | bc -l)" "$map_ms"
        cpu[$p]+="$cpu_pct "
        [ "$p" = vodezaru ] && round_vd=$cpu_pct
        [ "$p" != vodezaru ] && ratio[$p]+="$(echo "$round_vd / $cpu_pct" | bc -l) "
        rss[$p]+="$rss_kib "
        map[$p]+="$map_ms "
    done
done
echo "load after: $(uptime)"

# median and spread (min..max) of a list of numbers
stats() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{v[NR]=$1} END {
    m = (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2; printf "%.2f %.2f %.2f", m, v[1], v[NR] }'; }

echo
printf '%-10s  %-24s  %-24s  %-22s\n' player "CPU % of a core (min..max)" "RSS MiB (min..max)" "first map ms"
declare -A median_cpu
for p in $players; do
    read -r cm cl ch <<< "$(echo "${cpu[$p]}" | stats)"
    read -r rm rl rh <<< "$(echo "${rss[$p]}" | stats)"
    read -r mm ml mh <<< "$(echo "${map[$p]}" | stats)"
    median_cpu[$p]=$cm
    mapped="-"
    [ "$p" != openmpt123 ] && mapped=$(printf '%.0f (%.0f..%.0f)' "$mm" "$ml" "$mh")
    printf '%-10s  %-24s  %-24s  %-22s\n' "$p" "$cm ($cl..$ch)" \
        "$(printf '%.1f (%.1f..%.1f)' "$(echo "$rm/1024" | bc -l)" "$(echo "$rl/1024" | bc -l)" "$(echo "$rh/1024" | bc -l)")" \
        "$mapped"
done
echo
for p in $players; do
    [ "$p" = vodezaru ] && continue
    read -r qm ql qh <<< "$(echo "${ratio[$p]}" | stats)"
    printf 'CPU ratio vodezaru / %s: %.2f of the medians; per round %.2f (%.2f..%.2f)\n' "$p" \
        "$(echo "${median_cpu[vodezaru]} / ${median_cpu[$p]}" | bc -l)" "$qm" "$ql" "$qh"
done

# Pause and Stop, pressed as a person would (a press and release on the button), timed to
# silence at the null sink's monitor.
press() { # WINDOW X Y
    echo "xdotool mousemove --window $1 $2 $3 mousedown 1 mouseup 1"
}
echo
declare -A halt
for r in $(seq "$rounds"); do
    for button in pause stop; do
        "$work/player/vodezaru" "$song" > /dev/null 2>&1 &
        pid=$!
        window=
        for _ in $(seq 100); do
            window=$(xdotool search --pid "$pid" 2> /dev/null | tail -n1) && [ -n "$window" ] && break
            sleep 0.05
        done
        if [ "$button" = pause ]; then x=69; else x=92; fi # the buttons' centres in the window
        line=$("$build/tools/pause_probe" bench.monitor $(press "$window" $x 202)) ||
            line="silence_ms=nan"
        kill "$pid" 2> /dev/null
        wait "$pid" 2> /dev/null || true
        eval "$line"
        printf 'round %d  %-5s to silence  %s ms\n' "$r" "$button" "$silence_ms"
        halt[$button]+="$silence_ms "
    done
done
for button in pause stop; do
    read -r hm hl hh <<< "$(echo "${halt[$button]}" | tr ' ' '\n' | grep -v nan | tr '\n' ' ' | stats)"
    printf '%-5s to silence: %.1f ms (%.1f..%.1f)\n' "$button" "$hm" "$hl" "$hh"
done
