#!/usr/bin/env bash
# directshow-scenarios.sh TEMPLATE_PREFIX DLL RUNNER SCENARIO...: plays the scenario files on the
# runner's directshow host, which registers each story's devices with the system through DLL (the
# simulated card as DirectShow devices) and binds them as the shipped program does, in a prefix
# of its own (registering must not reach the prefix the other tests share). One run of the
# runner: the stories take turns with the one registry.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
template="$1"
dll="$2"
runner="$3"
shift 3
# shellcheck source=private-prefix.sh
. "$here/private-prefix.sh"
private_prefix "$template" directshow-scenarios
VZ_SIMCARD_DLL="$(winpath "$dll")" "$run" "$prefix" "$runner" --host directshow "$@"
