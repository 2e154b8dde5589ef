#!/usr/bin/env bash
# Measures the rendered score.
#
#   tools/music/measure.sh BUILD_DIR [OUT_DIR]
#
# Renders music.mp3 with BUILD_DIR/tools/music/pulsar-music (timing the render), decodes it
# with ffmpeg (which honours the LAME tag's delay and padding, as libmpg123 does), and reports:
#   - the share of the flasher key starts with a detected onset within ±30 ms (aubioonset with
#     its default detector),
#   - integrated loudness, loudness range, true peak and sample peak (ffmpeg's ebur128),
#   - the integrated loudness of each scene's section,
#   - the render time.
# It also writes OUT_DIR/spectrogram.png, the whole piece (sox):
#   sox music.wav -n remix 1,2 rate 22050 spectrogram -x 2400 -y 600 -z 80 -o spectrogram.png
# OUT_DIR defaults to BUILD_DIR/music-measure.
set -euo pipefail

build=${1:?usage: measure.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/music-measure}
tool=$build/tools/music/pulsar-music
mkdir -p "$out"

start=$(date +%s.%N)
"$tool" "$out/music.mp3" | tee "$out/render.txt"
end=$(date +%s.%N)
"$tool" --flasher-starts > "$out/flasher.txt"

ffmpeg -v error -y -i "$out/music.mp3" -c:a pcm_f32le "$out/music.wav"
aubioonset -i "$out/music.wav" > "$out/onsets.txt"  # aubio's defaults: HFC, threshold 0.3

python3 - "$out" "$start" "$end" <<'PY'
import sys, wave, struct
out, start, end = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
flashes = [int(x) for x in open(f"{out}/flasher.txt")]
onsets = [float(x) * 1000.0 for x in open(f"{out}/onsets.txt") if x.strip()]
missed = [f for f in flashes if not any(abs(o - f) <= 30.0 for o in onsets)]
hit = len(flashes) - len(missed)
print(f"onsets: {len(onsets)} detected; flasher key starts with an onset within ±30 ms: "
      f"{hit}/{len(flashes)} = {100.0 * hit / len(flashes):.1f} %")
if missed:
    print("  missed:", " ".join(str(m) for m in missed))
print(f"wall time of the render command (render + encode): {end - start:.2f} s")
PY

echo "loudness (whole piece; integrated, range, sample peak, true peak):"
ffmpeg -nostats -hide_banner -v info -i "$out/music.wav" -filter_complex ebur128=peak=true+sample:framelog=verbose -f null - 2>&1 \
  | awk '/Summary:/ { block = "" } { block = block $0 "\n" } END { printf "%s", block }' \
  | grep -E 'I:|LRA:|Peak:' | sed 's/^ */  /'

echo "loudness per section (integrated LUFS, sample peak dBFS):"
sections=(0:intro 23.5:tunnel 47:magnet 69:cell 91:jellyfish 113.15:face 135.15:blob 157.25:soft-bodies 179.3:logo 193.15:outro 204.2:end)
for ((i = 0; i + 1 < ${#sections[@]}; i++)); do
  from=${sections[i]%%:*}; name=${sections[i]#*:}; to=${sections[i+1]%%:*}
  line=$(ffmpeg -nostats -hide_banner -v info -ss "$from" -to "$to" -i "$out/music.wav" \
         -filter_complex ebur128=peak=sample:framelog=verbose -f null - 2>&1 | sed -n '/Summary:/,$p' | tr -s ' \n' ' ')
  lufs=$(sed -E 's/.* I: (-?[0-9.]+) LUFS.*/\1/' <<< "$line")
  peak=$(sed -E 's/.*Sample peak: Peak: (-?[0-9.inf]+) dBFS.*/\1/' <<< "$line")
  printf '  %-12s %7.2f-%7.2f s  %7s LUFS  peak %6s dBFS\n' "$name" "$from" "$to" "$lufs" "$peak"
done

sox "$out/music.wav" -n remix 1,2 rate 22050 spectrogram -x 2400 -y 600 -z 80 \
  -t "music.mp3 (0 - 204.2 s)" -o "$out/spectrogram.png"
echo "spectrogram: $out/spectrogram.png"
