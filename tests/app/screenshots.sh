#!/bin/sh
# Screenshots of the workbench for a reviewer: a demo circuit, then every example circuit.
#   screenshots.sh KEST_SCREENS OUT_FOLDER EXAMPLES_FOLDER
set -eu
screens="$1"; out="$2"; examples="$3"
rm -rf "$out"
xvfb-run -a -s "-screen 0 1280x900x24" "$screens" "$out"
set -- "$examples"/*.kst
if [ -f "$1" ]; then
    xvfb-run -a -s "-screen 0 1280x900x24" "$screens" "$out/examples" "$@"
fi
echo "screenshots in $out"
