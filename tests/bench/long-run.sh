#!/usr/bin/env bash
# One whole show measured by pulsar-long-run with its music on a PulseAudio null sink started
# here: a sink that consumes samples on the system clock, as a sound card does on its own, so
# the music's position can be held against show time. Prints memory per scene and the music's
# difference to show time per scene.
#
#   tests/bench/long-run.sh [BUILD_DIR] [pulsar-long-run options]
set -euo pipefail
build=$(realpath "${1:-build}")
shift || true
for tool in pulseaudio pactl; do
  command -v "$tool" >/dev/null || { echo "long-run.sh needs $tool (see scripts/packages.txt)" >&2; exit 1; }
done

work=$(mktemp -d)
sound_pid=''
cleanup() {
  if [[ -n $sound_pid ]]; then kill "$sound_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

mkdir -p "$work/home" && install -d -m 700 "$work/runtime" "$work/pulse"
HOME="$work/home" XDG_RUNTIME_DIR="$work/pulse" PULSE_RUNTIME_PATH="$work/pulse" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=file:"$work/pulse.log" \
  -L "module-null-sink sink_name=pulsar_null rate=44100" \
  -L "module-native-protocol-unix socket=$work/native auth-anonymous=1" &
sound_pid=$!
export PULSE_SERVER="unix:$work/native"
deadline=$((SECONDS + 30))
until pactl info >/dev/null 2>&1; do
  ((SECONDS < deadline)) || { echo "PulseAudio did not start: $(tail -n 5 "$work/pulse.log")" >&2; exit 1; }
  sleep 0.1
done

HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=pulseaudio SDL_VIDEODRIVER=offscreen \
  "$build/tests/bench/pulsar-long-run" --data "$build/demo.dat" "$@"
