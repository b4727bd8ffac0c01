#!/usr/bin/env bash
# Installs what is needed, builds the viewer and starts it with the given paths.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
exec "$top/build/ruk-viewer" "$@"
