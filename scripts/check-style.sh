#!/usr/bin/env bash
# Checks the checkout's style without building anything: the C++ is formatted as
# .clang-format says (clang-format 14), and the shell scripts are shellcheck-clean
# (.shellcheckrc). scripts/test.sh runs it first; it also runs alone.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh style

echo "== style: clang-format and shellcheck"
git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror
git ls-files -z '*.sh' .ci/run | xargs -0 -r shellcheck
