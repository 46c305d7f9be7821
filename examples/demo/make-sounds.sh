#!/bin/sh
# Makes the demo show's sounds with sox and oggenc: a 21-second music track of four
# soft chords and a short chime that comments the second slide. Like the pictures, the
# sounds are kept in the repository; run this only to change them.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chord() {  # name, three notes
  sox -n -r 44100 -c 2 -b 16 "$tmp/$1.wav" synth 5.25 sine "$2" sine "$3" sine "$4" \
    tremolo 0.5 20 fade q 0.6 5.25 1.2 gain -14
}
chord c C3 E4 G4
chord a A2 E4 C5
chord f F3 A4 C5
chord g G3 B4 D5
sox "$tmp/c.wav" "$tmp/a.wav" "$tmp/f.wav" "$tmp/g.wav" "$tmp/music.wav" reverb 40 fade q 0 0 2
oggenc -Q -q 2 -o sounds/music.ogg "$tmp/music.wav"
sox -n -r 44100 -c 2 -b 16 "$tmp/chime.wav" synth 1.6 pluck E5 pluck B5 gain -6 reverb 30 fade q 0 1.6 0.6
oggenc -Q -q 3 -o sounds/chime.ogg "$tmp/chime.wav"
