#!/usr/bin/env bash
# Pictures of the desktop program's windows on the bundled trnL-F example, taken on a virtual
# display: the program loads the example, runs Find Template, selects a variable region and
# saves each window as a PNG file.
#   scripts/screenshots.sh [BUILD_DIR [OUT_DIR]]     (defaults: build, docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/screenshots}
if [[ ! -x "$build/varigap" ]]; then
  echo "No $build/varigap: build the project first (bash build.sh test)." >&2
  exit 1
fi
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing (Debian packages xvfb and xauth)." >&2
  exit 1
fi
mkdir -p "$out"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
# Windows as the program first opens them, not as a session of the user's left them.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
xvfb-run -a -s "-screen 0 1400x1000x24" \
  "$build/varigap" --screenshots "$out" data/example/trnLF.tpl data/example/sequences.fasta
