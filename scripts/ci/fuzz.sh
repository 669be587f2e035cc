#!/usr/bin/env bash
# Every fuzz target for about 20 s each, from its checked-in seeds.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/fuzz 20
