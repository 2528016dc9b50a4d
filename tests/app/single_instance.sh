#!/bin/sh
# A second start of kest hands its circuit to the first, which opens it, and ends at once.
# Run under xvfb-run; $1 is the kest program.
set -eu
kest="$1"
tmp="$(mktemp -d)"
trap 'kill "$first" 2>/dev/null || true; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/runtime" "$tmp/config" "$tmp/data"
chmod 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data"
# An empty circuit file: header and four zero counts.
printf '\000\001\000\000\000\005\000\000\000\005\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' > "$tmp/handed.kst"

"$kest" &
first=$!
# The first start registers the circuit type once it is up.
for i in $(seq 1 100); do
    [ -f "$XDG_DATA_HOME/applications/kest.desktop" ] && break
    sleep 0.1
done
[ -f "$XDG_DATA_HOME/applications/kest.desktop" ] || { echo "first start did not come up"; exit 1; }

timeout 20 "$kest" "$tmp/handed.kst"
echo "second start ended with $?"
kill -0 "$first" || { echo "first start is gone"; exit 1; }

# The first instance opened the file: it heads the recent-file list in the profile.
for i in $(seq 1 100); do
    grep -qx "File1=$tmp/handed.kst" "$XDG_CONFIG_HOME/kest/kest.ini" 2>/dev/null && exit 0
    sleep 0.1
done
echo "the first instance did not open the handed file"
cat "$XDG_CONFIG_HOME/kest/kest.ini" 2>/dev/null || true
exit 1
