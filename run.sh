#!/usr/bin/env bash
# Installs what is missing, builds, and starts both programs: the receiver
# (qrv) and the sender (korvalla). Without a display they run on a virtual
# one (Xvfb). Extra arguments go to both programs, e.g. ./run.sh /ENGLISH
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

# Both programs; the script ends when both have been closed.
start='build/bin/qrv "$@" & receiver=$!; build/bin/korvalla "$@"; wait "$receiver"'

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display; starting on a virtual one (Xvfb)" >&2
  exec xvfb-run -a bash -c "$start" run.sh "$@"
fi
exec bash -c "$start" run.sh "$@"
